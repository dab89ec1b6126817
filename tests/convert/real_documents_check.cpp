// Real documents: every Markdown file that the installed Debian packages ship under
// /usr/share/doc (gzip-compressed ones included) goes through the native round trip
// and is opened and saved twice in Pandoc Markdown and GitHub Markdown. The run
// prints its counts: documents, words, failures and known Pandoc quirks.
#include "model/text_reader.h"
#include "model/text_writer.h"
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/process_runner.h"
#include "tests/convert/flavour_saves.h"
#include "tests/model/first_difference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <iterator>
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
    return files;
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
     "Pandoc writes curly quotes back as straight ones, and its smart quotes turn a lone one the other way on reading"},
    {"/nodejs/api/esm.md", "markdown", "emphasis of a lone \"@\" between curly quotes does not read back as emphasis"},
    {"/nodejs/contributing/collaborator-guide.md", "markdown",
     "the link text \"the @node-core/utils guide\" is written as it is and Pandoc Markdown reads it as a citation"},
    {"/python3-pip/html/topics/configuration.md", "markdown",
     "a definition that holds only a list gives an item two levels deeper, which Pandoc writes as an empty item"},
    {"/nodejs/contributing/releases.md", "markdown",
     "\"**c.** **Release builds:**\" is one strong span whose space after \"c.\" Pandoc Markdown reads back as a no-break space"},
    {"/libcrypt-dev/README.md", "markdown",
     "\"$$)\" in running text opens display math that runs to a later \"$\"; written on lines of its own it reads otherwise"},
};

const PandocQuirk* knownQuirk(const std::string& path, std::string_view flavour) {
    for (const PandocQuirk& quirk : kPandocQuirks)
        if (path.find(quirk.path) != std::string::npos && flavour == quirk.flavour) return &quirk;
    return nullptr;
}

struct DocumentResult {
    std::size_t words = 0;
    bool skipped = false;
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
    for (const char* flavour : kFlavours) {
        const testing::FlavourSaves saves = testing::openAndSaveTwice(pandoc, text, flavour);
        if (saves.firstModel.empty() && saves.failure.starts_with("pandoc could not read")) {
            result.skipped = true;  // not Markdown Pandoc can read
            return result;
        }
        if (!saves.converged()) {
            const PandocQuirk* quirk = saves.failure.empty() ? knownQuirk(path.string(), flavour) : nullptr;
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
    for (std::size_t i = 0; i < files.size(); ++i) {
        const DocumentResult& r = results[i];
        if (r.skipped) {
            ++skipped;
            continue;
        }
        ++documents;
        words += r.words;
        if (!r.failures.empty()) ++failed;
        quirks += r.quirks.size();
        for (const std::string& quirk : r.quirks) std::cout << "Pandoc quirk: " << files[i].string() << ": " << quirk << "\n";
        for (const std::string& failure : r.failures) ADD_FAILURE() << files[i].string() << "\n  " << failure;
    }
    std::cout << "real documents: " << documents << " documents, " << words << " words, " << failed << " failed, "
              << quirks << " flavour saves changed by a known Pandoc quirk, " << skipped
              << " skipped (not readable as Markdown)\n";
    EXPECT_GE(documents, 100u) << "too few documents under " << kDocFolder;
    EXPECT_GE(words, 300000u) << "too few words under " << kDocFolder;
}

}  // namespace
}  // namespace qorva::convert
