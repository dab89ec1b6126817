// Real documents: every Markdown file that the installed Debian packages ship under /usr/share/doc
// (gzip-compressed ones included) goes through the native round trip and is opened and saved twice in Pandoc
// Markdown and GitHub Markdown. The run prints its counts: documents, words, failures and known Pandoc quirks,
// and per flavour how many first saves equal Pandoc's own normal form of the document, how many more equal
// Pandoc's normal form of that normal form (where Pandoc's output does not read back as itself), and what
// kinds of content the first save dropped. QORVA_REAL_DOCUMENTS_SAMPLE=N checks every Nth document only, for a quick look while
// developing; QORVA_REAL_DOCUMENTS_DIFF=1 prints where each first save that is neither first departs from
// Pandoc's normal form.
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"
#include "tools/files/file_io.h"
#include "tools/process/process_runner.h"
#include "tests/convert/flavour_saves.h"
#include "tests/model/first_difference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

namespace qorva::convert {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDocFolder = "/usr/share/doc";
constexpr const char* kFlavours[] = {"markdown", "markdown_github"};

std::vector<fs::path> markdownFiles() {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(kDocFolder, fs::directory_options::skip_permission_denied, error), end;
         it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const bool markdown = name.ends_with(".md") || name.ends_with(".md.gz");
        if (markdown && it->is_regular_file(error)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    const char* sample = std::getenv("QORVA_REAL_DOCUMENTS_SAMPLE");
    const std::size_t every = sample ? std::max(1, std::atoi(sample)) : 1;
    std::vector<fs::path> sampled;
    for (std::size_t i = 0; i < files.size(); i += every) sampled.push_back(files[i]);
    return sampled;
}

bool readDocument(const fs::path& path, std::string& text) {
    if (path.extension() == ".gz")
        return RunProcess("gzip -dc \"" + path.string() + "\"", "", "", "", text);
    try {
        text = ReadWholeFile(path.string());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::size_t countWords(const std::string& text) {
    std::istringstream words(text);
    return std::distance(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
}

// Documents whose second open in a flavour differs from the first because of how
// Pandoc itself writes and reads them; each says why. They still go through every
// check, and a failure of any other document, or of the native round trip, fails.
struct PandocQuirk {
    const char* path;  // a part of the file's path
    const char* flavour;
    const char* why;
};

const PandocQuirk kPandocQuirks[] = {
    {"/nodejs/changelogs/CHANGELOG_", "markdown_github",
     "the file escapes the \"@\" of \"name@1.2.3\"; Pandoc's GitHub writer does not, and GitHub Markdown then reads an e-mail address"},
    {"/nodejs/changelogs/CHANGELOG_", "markdown",
     "Pandoc writes curly quotes back as straight ones, and its smart quotes turn a lone one the other way on reading; "
     "a line it wraps to start with \"(@name)\" reads back as an example list"},
    {"/nodejs/api/esm.md", "markdown", "emphasis of a lone \"@\" between curly quotes does not read back as emphasis"},
    {"/python3-pip/html/topics/configuration.md", "markdown",
     "a definition that holds only a list gives an item two levels deeper, which Pandoc writes as an empty item"},
    {"/nodejs/api/modules.md", "markdown", "raw HTML right before inline code is written `<a>`{=html}`code`, which reads back as one code span"},
    {"/nodejs/contributing/releases.md", "markdown", "inline code right before raw HTML is written `code``<sup>`{=html}, which reads back as one raw span"},
    {"/nodejs/api/n-api.md", "markdown", "raw HTML right before inline code is written `<sup>`{=html}`code`, which reads back as one code span"},
    {"/nodejs/contributing/security-release-process.md", "markdown_github",
     "a task box item wrapped after its box starts its next line with \"1.\", which reads back as a numbered list"},
    {"/iso-codes/CHANGELOG-PRE-4.0.md", "markdown_github",
     "the separator between two lists in a tight item is written with blank lines around it, which make the item's list read back loose"},
    {"/libcrypt-dev/README.md", "markdown",
     "\"$$)\" in running text opens display math that runs to a later \"$\"; written on lines of its own it reads otherwise"},
};

// Any document: Pandoc Markdown lays a table with widths out as a multiline table and reads
// them back from the layout, a character off. A second open that differs in them alone is that.
const PandocQuirk kTableWidths = {"", "", "a table's column widths read back as Pandoc lays them out"};
std::string withoutTableWidths(const std::string& model) { return std::regex_replace(model, std::regex(R"(,"widths":"[^"]*")"), ""); }

// Any document: Pandoc Markdown reads a space after an abbreviation as a no-break space,
// and a line end after one as a space; a save may move the space inside a line.
const PandocQuirk kAbbreviationSpaces = {"", "", "a space after an abbreviation, where it moved inside a line, reads back as a no-break space"};
std::string withAbbreviationSpacesUnbroken(const std::string& model) {
    static const std::regex kSpaceAfterAbbreviation(
        R"((^|[^A-Za-z.])((?:Mrs?|Ms|Capt|Dr|Prof|Gen|Gov|e\.g|i\.e|Sgt|St|vol|vs|Sen|Rep|Pres|Hon|Rev|Ph\.D|M\.[DA]|pp?|ch|sec|cf|cp|c)\.) )");
    return withoutTableWidths(std::regex_replace(model, kSpaceAfterAbbreviation, "$1$2\u00A0"));
}

const PandocQuirk* knownQuirk(const std::string& path, std::string_view flavour) {
    for (const PandocQuirk& quirk : kPandocQuirks)
        if (path.find(quirk.path) != std::string::npos && flavour == quirk.flavour) return &quirk;
    return nullptr;
}

// Kinds of content in Pandoc's JSON of a document, counted: every constructor but
// words and spaces, and the parts of some that the model could drop on its own.
using ContentCounts = std::map<std::string, std::size_t>;

void countContent(const Json& value, ContentCounts& counts) {
    if (value.is_array()) {
        for (const Json& member : value) countContent(member, counts);
        return;
    }
    if (!value.is_object()) return;
    if (auto blocks = value.find("blocks"); blocks != value.end()) return countContent(*blocks, counts);
    const auto t = value.find("t");
    if (t == value.end() || !t->is_string()) return;
    const std::string name = *t;
    const Json c = value.value("c", Json());
    const auto nonEmpty = [&](std::size_t i, std::size_t j = SIZE_MAX) {
        if (!c.is_array() || i >= c.size()) return false;
        const Json& part = j == SIZE_MAX ? c[i] : c[i].is_array() && j < c[i].size() ? c[i][j] : Json();
        return part.is_string() ? !part.get<std::string>().empty() : part.is_array() && !part.empty();
    };
    if (name == "Header" && c.is_array() && !c.empty()) ++counts["heading level " + c[0].dump()];
    else if (name == "RawBlock" || name == "RawInline") ++counts[name + " " + (c.is_array() && !c.empty() ? c[0].dump() : "")];
    else if (name != "Str" && name != "Space" && name != "SoftBreak") ++counts[name];
    if (name == "CodeBlock" && (nonEmpty(0, 1) || nonEmpty(0, 2))) ++counts["code block info"];
    if ((name == "Link" || name == "Image") && nonEmpty(2, 1)) ++counts[name + " title"];
    if (name == "Image" && nonEmpty(1)) ++counts["Image description"];
    if (name == "Cite" && c.is_array() && !c.empty())
        for (const Json& citation : c[0]) {
            if (!citation.value("citationPrefix", Json::array()).empty()) ++counts["citation prefix"];
            if (!citation.value("citationSuffix", Json::array()).empty()) ++counts["citation locator or suffix"];
        }
    if (name == "Table" && c.is_array() && c.size() == 6 && nonEmpty(3, 1)) ++counts["table header row"];
    countContent(c, counts);
}

ContentCounts contentOf(const std::string& pandocJson) {
    ContentCounts counts;
    try {
        countContent(parseJson(pandocJson), counts);
    } catch (const std::exception&) {
    }
    return counts;
}

// The line where a save departs from Pandoc's normal form, as each has it.
std::string departure(const std::string& normal, const std::string& saved) {
    const std::size_t at = std::mismatch(normal.begin(), normal.end(), saved.begin(), saved.end()).first - normal.begin(),
                      start = at == 0 ? 0 : normal.rfind('\n', at - 1) + 1;  // npos + 1 is 0
    const auto line = [&](const std::string& text) { return text.substr(start, text.find('\n', start) - start); };
    return "\n    pandoc: " + line(normal) + "\n    saved:  " + line(saved);
}

struct FlavourResult {
    bool normalForm = false;  // the first save equals Pandoc's own normal form of the text
    bool settledForm = false; // else it equals Pandoc's normal form of that normal form
    bool unsettled = false;   // else Pandoc's normal form is not its own normal form
    std::string departure;    // where the first save departs from that normal form
    ContentCounts dropped;    // what Pandoc read in the text and not in the first save
};

struct DocumentResult {
    std::size_t words = 0;
    bool skipped = false;
    FlavourResult flavours[std::size(kFlavours)];
    std::vector<std::string> failures;
    std::vector<std::string> quirks;  // failures a known Pandoc quirk explains
};

DocumentResult checkDocument(const PandocInstallation& pandoc, const fs::path& path) {
    DocumentResult result;
    std::string text;
    if (!readDocument(path, text)) {
        result.skipped = true;
        return result;
    }
    result.words = countWords(text);
    for (std::size_t f = 0; f < std::size(kFlavours); ++f) {
        const char* flavour = kFlavours[f];
        const testing::FlavourSaves saves = testing::openAndSaveTwice(pandoc, text, flavour);
        if (saves.firstModel.empty() && saves.failure.starts_with("pandoc could not read")) {
            result.skipped = true;  // not Markdown Pandoc can read
            return result;
        }
        std::string normalForm;
        FlavourResult& measured = result.flavours[f];
        const bool normalFormWritten = PandocFromJson(pandoc, saves.originalJson, PandocFormatName(pandoc, flavour), normalForm);
        // Pandoc leaves front matter out of its normal form; the program keeps it as it stands.
        if (const auto front = ReadsFrontMatter(PandocFormatName(pandoc, flavour)) ? FindFrontMatter(text) : std::nullopt)
            normalForm = "---\n" + std::string(front->yaml) + "\n---\n\n" + normalForm;
        measured.normalForm = normalFormWritten &&
                              saves.failure.empty() && normalForm == saves.firstSave;
        if (!measured.normalForm && saves.failure.empty()) {
            std::string json, settled;
            const bool settles = PandocToJson(pandoc, normalForm, PandocFormatName(pandoc, flavour), json) &&
                                 PandocFromJson(pandoc, json, PandocFormatName(pandoc, flavour), settled);
            measured.settledForm = settles && settled == saves.firstSave;
            measured.unsettled = !measured.settledForm && settles && settled != normalForm;
        }
        if (!measured.normalForm && std::getenv("QORVA_REAL_DOCUMENTS_DIFF"))
            measured.departure = departure(normalForm, saves.firstSave);
        const ContentCounts saved = contentOf(saves.firstSaveJson);
        for (const auto& [kind, count] : contentOf(saves.originalJson)) {
            const auto found = saved.find(kind);
            const std::size_t kept = found == saved.end() ? 0 : found->second;
            if (count > kept) measured.dropped[kind] = count - kept;
        }
        if (!saves.converged()) {
            const PandocQuirk* quirk =
                !saves.failure.empty()                                                                       ? nullptr
                : withoutTableWidths(saves.firstModel) == withoutTableWidths(saves.secondModel)              ? &kTableWidths
                : withAbbreviationSpacesUnbroken(saves.firstModel) == withAbbreviationSpacesUnbroken(saves.secondModel) ? &kAbbreviationSpaces
                                                                                                             : knownQuirk(path.string(), flavour);
            (quirk ? result.quirks : result.failures)
                .push_back(std::string(flavour) + ": " +
                           (quirk ? quirk->why
                                  : saves.failure.empty() ? qorva::testing::firstDifference(saves.firstModel, saves.secondModel) : saves.failure));
        }
        if (std::string_view(flavour) != "markdown") continue;
        for (bool wrap : {true, false}) {
            std::string back;
            try {
                back = readTextFormat(writeTextFormat(saves.firstModel, TextWriterOptions{wrap, false}));
            } catch (const std::exception& e) {
                back = std::string("error: ") + e.what();
            }
            if (back != saves.firstModel)
                result.failures.push_back(std::string("native, ") + (wrap ? "wrapped" : "unwrapped") + ": " +
                                          qorva::testing::firstDifference(saves.firstModel, back));
        }
    }
    return result;
}

TEST(RealDocuments, SurviveTheNativeRoundTripAndConvergeInPandocAndGitHubMarkdown) {
    const PandocInstallation pandoc = DetectPandoc();
    ASSERT_TRUE(pandoc.usable()) << "Pandoc is not installed here (scripts/setup.sh installs it)";
    const std::vector<fs::path> files = markdownFiles();

    std::vector<DocumentResult> results(files.size());
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(2u, std::thread::hardware_concurrency()); ++w) {
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < files.size();) results[i] = checkDocument(pandoc, files[i]);
        });
    }
    for (std::thread& worker : workers) worker.join();

    std::size_t documents = 0, words = 0, failed = 0, skipped = 0, quirks = 0;
    std::size_t normalForms[std::size(kFlavours)] = {}, settledForms[std::size(kFlavours)] = {}, unsettled[std::size(kFlavours)] = {};
    std::map<std::string, std::pair<std::size_t, std::size_t>> dropped[std::size(kFlavours)];  // documents, count
    for (std::size_t i = 0; i < files.size(); ++i) {
        const DocumentResult& r = results[i];
        if (r.skipped) {
            ++skipped;
            continue;
        }
        ++documents;
        words += r.words;
        if (!r.failures.empty()) ++failed;
        for (std::size_t f = 0; f < std::size(kFlavours); ++f) {
            normalForms[f] += r.flavours[f].normalForm;
            settledForms[f] += r.flavours[f].settledForm;
            unsettled[f] += r.flavours[f].unsettled;
            if (!r.flavours[f].departure.empty())
                std::cout << "not normal: " << kFlavours[f] << " " << files[i].string()
                          << (r.flavours[f].settledForm ? " (settled)" : r.flavours[f].unsettled ? " (Pandoc changes its normal form)" : "")
                          << r.flavours[f].departure << "\n";
            for (const auto& [kind, count] : r.flavours[f].dropped) {
                ++dropped[f][kind].first;
                dropped[f][kind].second += count;
            }
        }
        quirks += r.quirks.size();
        for (const std::string& quirk : r.quirks) std::cout << "Pandoc quirk: " << files[i].string() << ": " << quirk << "\n";
        for (const std::string& failure : r.failures) ADD_FAILURE() << files[i].string() << "\n  " << failure;
    }
    std::cout << "real documents: " << documents << " documents, " << words << " words, " << failed << " failed, "
              << quirks << " flavour saves changed by a known Pandoc quirk, " << skipped
              << " skipped (not readable as Markdown)\n";
    for (std::size_t f = 0; f < std::size(kFlavours); ++f) {
        std::cout << kFlavours[f] << ": first save equals Pandoc's normal form in " << normalForms[f] << " of "
                  << documents << " documents (" << (documents ? normalForms[f] * 1000 / documents / 10.0 : 0.0)
                  << "%), and Pandoc's normal form of that normal form in " << settledForms[f] << " more ("
                  << (documents ? (normalForms[f] + settledForms[f]) * 1000 / documents / 10.0 : 0.0) << "% in all); of the "
                  << documents - normalForms[f] - settledForms[f] << " others, Pandoc changes its own normal form on its second save in "
                  << unsettled[f] << "\n"
                  << kFlavours[f] << ": dropped on the first save (kind: documents, count)\n";
        for (const auto& [kind, counts] : dropped[f])
            std::cout << "  " << kind << ": " << counts.first << ", " << counts.second << "\n";
    }
    if (std::getenv("QORVA_REAL_DOCUMENTS_SAMPLE")) return;
    EXPECT_GE(documents, 100u) << "too few documents under " << kDocFolder;
    EXPECT_GE(words, 300000u) << "too few words under " << kDocFolder;
}

}  // namespace
}  // namespace qorva::convert
