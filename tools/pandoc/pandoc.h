// Pandoc: finding it, reading its version, and the command lines of every run.
// Documents always travel to and from Pandoc as its JSON syntax tree, in the
// dialect of the Pandoc that is installed (1.11, or the pandoc-types version of a
// current Pandoc), which the Pandoc JSON converters translate.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

inline constexpr const char* kPandocDownloadPrompt =
    "This action requires Pandoc 1.11 or later. Download it now?";
inline constexpr const char* kPandocDownloadPage = "https://qorva.org/support/0004/";

// The user's own installation (~/.local/bin/pandoc), then a system-wide one in
// /usr/local/bin, else the bare name "pandoc" for the search on PATH.
std::string LocatePandoc();

// The version from `pandoc --version` output: the text after the first space of
// the first line, which may end in CR LF or a bare LF ("pandoc 2.17.1.1\n..." gives
// "2.17.1.1"). Output without any line end at all cannot be read and counts as 1.11.
std::string ParsePandocVersion(std::string_view versionOutput);

// The pandoc-types version of the JSON that a Pandoc version reads and writes:
// "1.11" for Pandoc 1.11.x, "1.17" to "1.23" for Pandoc 1.18 to 3.x; empty for a
// version whose JSON the converters do not speak (1.12 to 1.17, unknown majors).
std::string PandocJsonApiFor(std::string_view version);

// What a run needs to know about the Pandoc at hand; worked out anew each time.
struct PandocInstallation {
    std::string location;
    std::string version;  // empty when Pandoc could not be run
    std::string jsonApi;  // empty when not usable
    bool usable() const { return !jsonApi.empty(); }
    bool legacy() const { return jsonApi == "1.11"; }
    // The options text for the Pandoc JSON writer: {"api":"1.22"} and so on, with
    // "headerRow" for a flavour whose tables need a header row.
    std::string writerOptions(bool headerRow = false) const {
        return "{\"api\":\"" + jsonApi + "\"" + (headerRow ? ",\"headerRow\":true" : "") + "}";
    }
};

// Locates Pandoc, runs it for its version and, for a major version this program
// does not know yet, asks Pandoc itself which JSON it writes.
PandocInstallation DetectPandoc();

std::string PandocVersion();
bool IsPandocUsable();

// The format name to hand to this Pandoc: the names of 1.11 are kept for 1.11;
// current Pandoc gets "gfm" for "markdown_github".
std::string PandocFormatName(const PandocInstallation& pandoc, std::string_view format);

// The options text for the Pandoc JSON reader, for `format` as the program names it: Pandoc
// Markdown does not tell a left-aligned table column from a default one, and that its
// divisions and spans are the document's own (in HTML and LaTeX, the page's structure),
// that it loses a table's empty rows, and that GitHub Markdown reads a blank line
// between the blocks of a list item as loose.
inline const char* PandocReaderOptions(std::string_view format) {
    return format == "markdown"          ? "{\"leftAlignment\":false,\"divsAndSpans\":true,\"emptyRows\":false}"
           : format == "markdown_github" ? "{\"blankLinesLoosen\":true}"
                                         : "{}";
}

// The options text for the Pandoc JSON writer when saving a document in `format`:
// every table with its header row, except a table of one row in Pandoc Markdown,
// which reads a header row alone back as a paragraph and ends a table at an empty row
// (left out there); there, the HTML tags of a division or span as the reader keeps
// them are a division or span again. The other
// flavours have no citations: "@doe" stays text. GitHub Markdown reads a code block or
// quotation right after a line of text as one.
inline std::string PandocSavingOptions(const PandocInstallation& pandoc, std::string_view format) {
    std::string options = pandoc.writerOptions(true);
    options.insert(options.size() - 1, format == "markdown"           ? ",\"headerAlone\":false,\"emptyRows\":false,\"divsAndSpans\":true"
                                       : format == "markdown_github" ? ",\"citations\":false,\"blockAfterText\":true"
                                                                     : ",\"citations\":false");
    return options;
}

// Pandoc 2.15 and later read and write in a sandbox on request: no file and no
// URL beyond what the command line names (a LaTeX \input, an HTML <iframe>).
bool PandocHasSandbox(const PandocInstallation& pandoc);

// Command lines, exactly as run. Reading and saving run sandboxed when Pandoc can.
std::string PandocToJsonCommand(const PandocInstallation& pandoc, std::string_view inputFormat);
// `unwrapped` keeps each paragraph on one line.
std::string PandocFromJsonCommand(const PandocInstallation& pandoc, std::string_view outputFormat,
                                  bool unwrapped = false);
std::string PandocExportCommand(const PandocInstallation& pandoc, std::string_view outputFormat,
                                std::string_view outputPath);
std::string PandocVersionCommand(std::string_view location);

// Runs Pandoc. On success `output` holds what Pandoc wrote to standard output (the
// JSON or the converted document); Pandoc's warnings go to `messages`, never into
// the document. On failure `output` holds Pandoc's messages (or, when Pandoc could
// not be started, stays unchanged while `messages` says why).
bool PandocToJson(const PandocInstallation& pandoc, std::string_view input, std::string_view inputFormat,
                  std::string& output, std::string* messages = nullptr);
bool PandocFromJson(const PandocInstallation& pandoc, std::string_view json, std::string_view outputFormat,
                    std::string& output, std::string* messages = nullptr, bool unwrapped = false);
// Pandoc writes the file itself; `output` receives its messages. `cancelled`, when
// given, tells whether the user stopped the run.
bool PandocExport(const PandocInstallation& pandoc, std::string_view json, std::string_view outputFormat,
                  std::string_view outputPath, std::string_view workingFolder, std::string& output,
                  bool* cancelled = nullptr);

// The same, for the Pandoc found now.
bool PandocToJson(std::string_view input, std::string_view inputFormat, std::string& output);
bool PandocFromJson(std::string_view json, std::string_view outputFormat, std::string& output);

}  // namespace qorva
