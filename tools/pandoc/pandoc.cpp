#include "tools/pandoc/pandoc.h"

#include "model/model_json.h"
#include "tools/process/command_line.h"
#include "tools/files/file_io.h"
#include "tools/process/process_runner.h"

#include <cstdlib>
#include <vector>

namespace qorva {
namespace {

std::vector<int> versionNumbers(std::string_view version) {
    std::vector<int> numbers;
    int current = -1;
    for (char c : version) {
        if (c >= '0' && c <= '9') {
            current = (current < 0 ? 0 : current * 10) + (c - '0');
            if (current > 100000) return {};
        } else if (c == '.' && current >= 0) {
            numbers.push_back(current);
            current = -1;
        } else {
            break;
        }
    }
    if (current >= 0) numbers.push_back(current);
    return numbers;
}

bool atLeast(const std::vector<int>& version, std::vector<int> minimum) {
    return version >= minimum;
}

// Asks a Pandoc of unknown version for the pandoc-types version of its JSON.
std::string probeJsonApi(const std::string& location) {
    std::string out, err;
    ProcessResult run =
        RunChild({QuoteArgument(location) + " --from markdown --to json", "", "", ""}, out, &err);
    if (!run.succeeded()) return {};
    try {
        Json document = parseJson(out);
        const Json& api = document.at("pandoc-api-version");
        if (api.size() < 2) return {};
        return std::to_string(api[0].get<int>()) + "." + std::to_string(api[1].get<int>());
    } catch (const std::exception&) {
        return {};
    }
}

bool supportedCurrentApi(std::string_view api) {
    std::vector<int> numbers = versionNumbers(api);
    return numbers.size() >= 2 && numbers[0] == 1 && numbers[1] >= 17 && numbers[1] <= 23;
}

bool run(std::string_view command, std::string_view workingFolder, std::string_view input,
         std::string& output, std::string* messages, bool* cancelled = nullptr) {
    std::string out, err;
    // A run in a work folder of its own keeps its temporary files there too.
    std::vector<std::string> environment;
    if (!workingFolder.empty()) environment.push_back("TMPDIR=" + std::string(workingFolder));
    ProcessResult result = RunChild({command, workingFolder, "", input, environment}, out, &err);
    if (cancelled) *cancelled = result.cancelled;
    if (!result.started) {
        if (messages) *messages = DescribeFailure("pandoc", result);
        return false;
    }
    if (result.timedOut || result.cancelled) {
        output = DescribeFailure("Pandoc", result);
        if (messages) *messages = output;
        return false;
    }
    if (result.succeeded()) {
        output = std::move(out);
        if (messages) *messages = std::move(err);
        return true;
    }
    // Pandoc's own messages explain the failure; the exit code is a last resort.
    std::string text = err + out;
    if (text.empty()) text = DescribeFailure("pandoc", result);
    output = text;
    if (messages) *messages = std::move(text);
    return false;
}

}  // namespace

std::string LocatePandoc() {
    const char* home = getenv("HOME");
    if (home && *home) {
        std::string local = JoinPath(home, ".local/bin/pandoc");
        if (FileExists(local)) return local;
    }
    if (FileExists("/usr/local/bin/pandoc")) return "/usr/local/bin/pandoc";
    return "pandoc";
}

std::string ParsePandocVersion(std::string_view output) {
    size_t space = output.find(' ');
    size_t lineEnd = output.find('\n');
    if (space == std::string_view::npos || lineEnd == std::string_view::npos || space > lineEnd)
        return "1.11";
    std::string_view version = output.substr(space + 1, lineEnd - space - 1);
    if (!version.empty() && version.back() == '\r') version.remove_suffix(1);
    return std::string(version);
}

std::string PandocJsonApiFor(std::string_view version) {
    if (version.substr(0, 4) == "1.11") return "1.11";
    std::vector<int> v = versionNumbers(version);
    if (v.size() < 2) return {};
    if (v[0] == 1) return v[1] >= 18 ? "1.17" : "";
    if (v[0] == 2) {
        if (v[1] <= 7) return "1.17";
        if (v[1] <= 9) return "1.20";
        if (v[1] == 10) return "1.21";
        return "1.22";
    }
    if (v[0] == 3) return "1.23";
    return {};
}

PandocInstallation DetectPandoc() {
    PandocInstallation pandoc;
    pandoc.location = LocatePandoc();
    std::string out, err;
    ProcessResult result = RunChild({PandocVersionCommand(pandoc.location), "", "", ""}, out, &err);
    if (!result.succeeded()) return pandoc;
    pandoc.version = ParsePandocVersion(out);
    pandoc.jsonApi = PandocJsonApiFor(pandoc.version);
    if (pandoc.jsonApi.empty() && versionNumbers(pandoc.version).size() >= 1 &&
        versionNumbers(pandoc.version)[0] > 3) {
        std::string probed = probeJsonApi(pandoc.location);
        if (supportedCurrentApi(probed)) pandoc.jsonApi = probed;
    }
    return pandoc;
}

std::string PandocVersion() { return DetectPandoc().version; }

bool IsPandocUsable() { return DetectPandoc().usable(); }

std::string PandocFormatName(const PandocInstallation& pandoc, std::string_view format) {
    if (!pandoc.legacy() && format == "markdown_github") return "gfm";
    return std::string(format);
}

std::string PandocVersionCommand(std::string_view location) { return QuoteArgument(location) + " --version"; }

bool PandocHasSandbox(const PandocInstallation& pandoc) {
    return !pandoc.legacy() && atLeast(versionNumbers(pandoc.version), {2, 15});
}

std::string PandocToJsonCommand(const PandocInstallation& pandoc, std::string_view inputFormat) {
    return QuoteArgument(pandoc.location) + " --from " + PandocFormatName(pandoc, inputFormat) + " --to json" +
           (PandocHasSandbox(pandoc) ? " --sandbox" : "");
}

std::string PandocFromJsonCommand(const PandocInstallation& pandoc, std::string_view outputFormat, bool unwrapped) {
    // --atx-headers gave way to --markdown-headings=atx in Pandoc 2.11.2.
    bool newHeadingOption = !pandoc.legacy() && atLeast(versionNumbers(pandoc.version), {2, 11, 2});
    return QuoteArgument(pandoc.location) + " --from json --to " + PandocFormatName(pandoc, outputFormat) +
           " --reference-links " + (newHeadingOption ? "--markdown-headings=atx" : "--atx-headers") +
           (unwrapped ? pandoc.legacy() ? " --no-wrap" : " --wrap=none" : "") +
           (PandocHasSandbox(pandoc) ? " --sandbox" : "");
}

// Not sandboxed: Debian's Pandoc 2.17 cannot write DOCX or EPUB in its sandbox (its
// own data files are outside it) and would leave the pictures out of RTF. The run
// reads no stranger's text: its JSON comes from this program's writer, without
// raw content, and names only the checked picture copies in the work folder it
// runs in (remote pictures only when the user allows fetching them).
std::string PandocExportCommand(const PandocInstallation& pandoc, std::string_view outputFormat,
                                std::string_view outputPath) {
    std::string command = QuoteArgument(pandoc.location) + " --standalone --mathml --from json --to " +
                          PandocFormatName(pandoc, outputFormat) + " --reference-links --output " +
                          QuoteArgument(outputPath);
    if (outputFormat == "epub") command += " --toc";
    return command;
}

bool PandocToJson(const PandocInstallation& pandoc, std::string_view input, std::string_view inputFormat,
                  std::string& output, std::string* messages) {
    return run(PandocToJsonCommand(pandoc, inputFormat), "", input, output, messages);
}

bool PandocFromJson(const PandocInstallation& pandoc, std::string_view json, std::string_view outputFormat,
                    std::string& output, std::string* messages, bool unwrapped) {
    return run(PandocFromJsonCommand(pandoc, outputFormat, unwrapped), "", json, output, messages);
}

bool PandocExport(const PandocInstallation& pandoc, std::string_view json, std::string_view outputFormat,
                  std::string_view outputPath, std::string_view workingFolder, std::string& output,
                  bool* cancelled) {
    std::string ignored;
    bool ok = run(PandocExportCommand(pandoc, outputFormat, outputPath), workingFolder, json, ignored, &output,
                  cancelled);
    return ok;
}

bool PandocToJson(std::string_view input, std::string_view inputFormat, std::string& output) {
    return PandocToJson(DetectPandoc(), input, inputFormat, output);
}

bool PandocFromJson(std::string_view json, std::string_view outputFormat, std::string& output) {
    return PandocFromJson(DetectPandoc(), json, outputFormat, output);
}

}  // namespace qorva
