#include "tools/pandoc/pandoc_fragments.h"

#include "model/model_json.h"
#include "tools/process/command_line.h"
#include "tools/files/file_io.h"
#include "tools/process/process_runner.h"

namespace qorva {
namespace {

constexpr std::string_view kBodyMark = "<!--qorva-fragments-->\n";
constexpr std::string_view kSeparator = "\n<hr />\n";

Json apiVersion(const std::string& api) {
    Json version = Json::array();
    size_t start = 0;
    for (size_t dot; (dot = api.find('.', start)) != std::string::npos; start = dot + 1)
        version.push_back(std::stoi(api.substr(start, dot - start)));
    version.push_back(std::stoi(api.substr(start)));
    return version;
}

Json block(const convert::HtmlFragmentSource& source) {
    using Kind = convert::HtmlFragmentKind;
    if (source.kind == Kind::Code)
        return {{"t", "CodeBlock"}, {"c", Json::array({Json::array({"", Json::array({source.language}), Json::array()}), source.text})}};
    const char* type = source.kind == Kind::InlineMath ? "InlineMath" : "DisplayMath";
    return {{"t", "Para"}, {"c", Json::array({{{"t", "Math"}, {"c", Json::array({{{"t", type}}, source.text})}}})}};
}

// Macro definitions let a short formula expand into gigabytes (each macro ten of
// the one before); such formulas, and huge ones, keep their source.
bool sendable(const convert::HtmlFragmentSource& source) {
    if (source.text.size() > 20000) return false;
    if (source.kind == convert::HtmlFragmentKind::Code) return true;
    for (const char* definition : {"\\newcommand", "\\renewcommand", "\\providecommand", "\\def", "\\let"})
        if (source.text.find(definition) != std::string::npos) return false;
    return true;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The piece Pandoc wrote for one source, when it is what was asked for.
std::string accepted(const convert::HtmlFragmentSource& source, std::string_view piece) {
    if (source.kind == convert::HtmlFragmentKind::Code)
        return piece.starts_with("<div class=\"sourceCode\"") && endsWith(piece, "</div>") ? std::string(piece) : "";
    if (!piece.starts_with("<p><math ") || !endsWith(piece, "</math></p>")) return {};
    return std::string(piece.substr(3, piece.size() - 7));
}

}  // namespace

std::string PandocFragmentsCommand(const PandocInstallation& pandoc, const std::string& templatePath) {
    return QuoteArgument(pandoc.location) +
           " --from json --to html5 --mathml --wrap=none --sandbox --standalone --template " +
           QuoteArgument(templatePath);
}

PandocFragments MakePandocFragments(const PandocInstallation& pandoc,
                                    const std::vector<convert::HtmlFragmentSource>& sources,
                                    const std::string& workFolder) {
    PandocFragments result;
    result.markup.resize(sources.size());
    if (sources.empty()) return result;
    if (!pandoc.usable() || !PandocHasSandbox(pandoc)) {
        result.problem = "Formulas and code are written as their source: they need Pandoc 2.15 or later.";
        return result;
    }
    Json blocks = Json::array();
    std::vector<size_t> sent;
    for (size_t i = 0; i < sources.size(); ++i) {
        if (!sendable(sources[i])) continue;
        if (!blocks.empty()) blocks.push_back({{"t", "HorizontalRule"}});
        blocks.push_back(block(sources[i]));
        sent.push_back(i);
    }
    if (sent.empty()) return result;
    const Json document = {{"pandoc-api-version", apiVersion(pandoc.jsonApi)},
                           {"meta", {{"pagetitle", {{"t", "MetaString"}, {"c", "-"}}}}},
                           {"blocks", std::move(blocks)}};
    const std::string templatePath = JoinPath(workFolder, "fragments.html5");
    std::string out, err;
    try {
        WriteWholeFile(templatePath, "$highlighting-css$\n" + std::string(kBodyMark) + "$body$\n");
    } catch (const FileError& error) {
        result.problem = error.what();
        return result;
    }
    const ProcessResult run =
        RunChild({PandocFragmentsCommand(pandoc, templatePath), workFolder, "", dumpCompact(document)}, out, &err);
    const size_t mark = out.find(kBodyMark);
    if (!run.succeeded() || mark == std::string::npos) {
        result.problem = "Formulas and code are written as their source: " +
                         (run.succeeded() ? std::string("Pandoc wrote no fragments.") : DescribeFailure("Pandoc", run));
        return result;
    }
    std::string_view body = std::string_view(out).substr(mark + kBodyMark.size());
    while (!body.empty() && body.back() == '\n') body.remove_suffix(1);
    std::vector<std::string_view> pieces;
    for (size_t start = 0;;) {
        const size_t end = body.find(kSeparator, start);
        pieces.push_back(body.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + kSeparator.size();
    }
    // Separators cannot occur inside a piece (Pandoc escapes "<"), so a count that
    // does not match means the output is not understood.
    if (pieces.size() != sent.size()) {
        result.problem = "Formulas and code are written as their source: Pandoc's output was not understood.";
        return result;
    }
    for (size_t i = 0; i < sent.size(); ++i) result.markup[sent[i]] = accepted(sources[sent[i]], pieces[i]);
    result.css = out.substr(0, mark);
    return result;
}

}  // namespace qorva
