#include "tools/export/export_metadata.h"

#include "convert/html_text.h"
#include "convert/latex_text.h"
#include "convert/tex_guard.h"
#include "model/model_json.h"

#include <cctype>

namespace qorva {
namespace {

std::string fileTitle(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

std::string collapsed(std::string_view text) {
    std::string out;
    for (char c : text) {
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!space) out += c;
        else if (!out.empty() && out.back() != ' ') out += ' ';
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string headingText(const Json& block) {
    std::string text;
    for (size_t i = 2; i < block.size(); ++i) {
        const Json& span = block[i];
        if (!span.is_array() || span.size() != 2 || !span[0].is_string() || !span[1].is_string()) continue;
        const std::string tag = span[0].get<std::string>();
        if (tag == "linkref" || tag == "noteref" || tag == "html" || tag == "tex") continue;
        text += tag == "break" ? std::string(" ") : span[1].get<std::string>();
    }
    return collapsed(text);
}

Json metaString(const std::string& text) { return {{"t", "MetaString"}, {"c", text}}; }

}  // namespace

std::string ExportTitle(std::string_view modelJson, const std::string& exportPath) {
    try {
        const Json model = parseJson(modelJson);
        for (size_t i = 1; model.is_array() && i < model.size(); ++i) {
            const Json& block = model[i];
            if (!block.is_array() || block.empty() || block[0] != "heading") continue;
            std::string text = headingText(block);
            if (!text.empty()) return text;
        }
    } catch (const std::exception&) {
    }
    return fileTitle(exportPath);
}

std::string WithoutTitleHeading(std::string_view modelJson, const std::string& title) {
    Json model = parseJson(modelJson);
    if (!model.is_array() || model.size() < 2 || !model[1].is_array() || model[1].empty() || model[1][0] != "heading" ||
        headingText(model[1]) != title)
        return std::string(modelJson);
    model.erase(1);
    return dumpCompact(model);
}

std::string LanguageTag(std::string_view setting) {
    std::string tag;
    for (char c : setting) tag += c == '_' ? '-' : c;
    // Two or three letters, then subtags of letters and digits.
    size_t letters = 0;
    while (letters < tag.size() && std::isalpha(static_cast<unsigned char>(tag[letters]))) ++letters;
    if (letters < 2 || letters > 3 || tag.size() > 35) return kDefaultLanguage;
    for (size_t i = letters; i < tag.size(); ++i) {
        const char c = tag[i];
        const bool ok = std::isalnum(static_cast<unsigned char>(c)) || (c == '-' && i + 1 < tag.size() && tag[i - 1] != '-');
        if (!ok) return kDefaultLanguage;
    }
    return tag;
}

std::string HtmlEscaped(std::string_view text) {
    std::string out;
    convert::appendHtmlAttributeValue(out, text);
    return out;
}

std::string LatexMetadata(const ExportMetadata& metadata) {
    // A line end inside the braces would end hyperref's value early.
    const std::string title = convert::neutralizeTex(convert::escapeLatex(collapsed(metadata.title)));
    // hyperref takes the language only in the preamble; XeTeX's driver takes it here.
    // The tag holds only letters, digits and hyphens, so it cannot end the PDF string.
    const std::string language = LanguageTag(metadata.language);
    return "\\ifdefined\\hypersetup\\hypersetup{pdftitle={" + title + "}}\\fi\n"
           "\\ifdefined\\XeTeXversion\\special{pdf:put @catalog << /Lang (" + language + ") >>}\\fi\n";
}

std::string WithPandocMetadata(std::string_view pandocJson, const ExportMetadata& metadata, bool titleBlock) {
    Json document = parseJson(pandocJson);
    if (!document.is_object()) return std::string(pandocJson);
    Json& meta = document["meta"];
    if (!meta.is_object()) meta = Json::object();
    meta[titleBlock ? "title" : "pagetitle"] = metaString(metadata.title);
    meta["lang"] = metaString(LanguageTag(metadata.language));
    return dumpCompact(document);
}

}  // namespace qorva
