// A document opened in a Markdown flavour and saved in it twice, the way the program
// does it: Pandoc to JSON, the Pandoc reader, the Pandoc writer, Pandoc to the flavour.
#pragma once

#include "convert/converters.h"
#include "convert/front_matter.h"
#include "tools/pandoc/pandoc.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace qorva::convert::testing {

// A suite run against the installed Pandoc, found once per suite.
template <class Base = ::testing::Test>
class PandocSuite : public Base {
protected:
    static void SetUpTestSuite() { pandoc_ = new PandocInstallation(DetectPandoc()); }
    static void TearDownTestSuite() { delete pandoc_, pandoc_ = nullptr; }
    void SetUp() override {
        ASSERT_TRUE(pandoc_->usable()) << "Pandoc is not installed here (scripts/setup.sh installs it)";
    }
    static inline PandocInstallation* pandoc_ = nullptr;
};

struct FlavourSaves {
    std::string firstModel, firstSave, secondModel, secondSave;
    std::string originalJson, firstSaveJson;  // Pandoc's reading of the text and of the first save
    std::string failure;  // what went wrong, empty when every step ran
    bool converged() const { return failure.empty() && firstModel == secondModel && firstSave == secondSave; }
};

// `flavour` as the program names it: "markdown", "markdown_github", "markdown_mmd".
inline FlavourSaves openAndSaveTwice(const PandocInstallation& pandoc, std::string_view text, std::string_view flavour) {
    const std::string format = PandocFormatName(pandoc, flavour);
    FlavourSaves s;
    // As the program opens a file: front matter apart, the rest through Pandoc.
    const auto open = [&](std::string_view markdown, std::string& model, std::string& json) {
        const auto frontMatter = ReadsFrontMatter(format) ? FindFrontMatter(markdown) : std::nullopt;
        if (!PandocToJson(pandoc, frontMatter ? frontMatter->rest : markdown, format, json))
            s.failure = "pandoc could not read it: " + json;
        else {
            model = ReadPandocJson(json, PandocReaderOptions(flavour));
            if (frontMatter) model = WithMetadataBlock(model, frontMatter->yaml);
        }
        return s.failure.empty();
    };
    const auto save = [&](const std::string& model, std::string& markdown) {
        const std::string json = WritePandocJson(model, PandocSavingOptions(pandoc, flavour).c_str());
        if (!PandocFromJson(pandoc, json, format, markdown)) s.failure = "pandoc could not write it: " + markdown;
        return s.failure.empty();
    };
    try {
        if (open(text, s.firstModel, s.originalJson) && save(s.firstModel, s.firstSave) &&
            open(s.firstSave, s.secondModel, s.firstSaveJson)) {
            // Saving is a function of the model: the same model saves to the same file.
            if (s.secondModel == s.firstModel) s.secondSave = s.firstSave;
            else save(s.secondModel, s.secondSave);
        }
    } catch (const std::exception& e) {
        s.failure = std::string("converter error: ") + e.what();
    }
    return s;
}

}  // namespace qorva::convert::testing
