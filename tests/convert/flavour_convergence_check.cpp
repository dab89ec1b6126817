// Opening and saving in a Markdown flavour without any edit changes the document at
// most once: the second save equals the first and so do the models read from them.
#include "model/model_json.h"
#include "tests/convert/flavour_saves.h"

#include <gtest/gtest.h>

namespace qorva::convert {
namespace {

struct Case {
    const char* name;
    const char* markdown;
    const char* firstModelHolds;  // a piece of the model after the first open
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Case kCases[] = {
    {"BracketedCitation", "As shown [@item1] and [@a; -@b].\n", R"(["plain","As shown [@item1] and [@a; -@b]."])"},
    {"CitationInText", "@doe99 says so.\n", R"(["plain","@doe99 says so."])"},
    {"QuotationInAListItem", "- item\n\n    > quoted\n\n- next\n", R"(["quote",{"level":1},["plain","quoted"]])"},
    {"ParagraphAfterATableInAListItem", "- item\n\n    | a | b |\n    |---|---|\n    | 1 | 2 |\n\n    After the table.\n",
     R"(["para",{"level":0},["plain","After the table."]])"},
    {"ListAfterAHeadingInAListItem", "- item\n\n    ### Heading\n\n    * CLI\n        * nested\n    * JS\n",
     R"(["plain","nested"])"},  // a heading there in GitHub Markdown only
    {"AdjacentCodeBlocks", "```bash\nfirst\n```\n\n```\nsecond\n```\n",
     R"(["verbatim",{"level":0},["plain","first"]],["verbatim",{"level":0},["plain","second"]])"},
    {"FootnoteOfSeveralParagraphs", "Text.[^n]\n\n[^n]: First.\n\n    Second.\n\n        code\n\nAfter.\n",
     R"(["note",{"level":0},["noteref","1"],["plain","First."],["break","\n"],["break","\n"],["plain","Second."],)"
     R"(["break","\n"],["break","\n"],["code","code"]],["para",{"level":0},["plain","After."]])"},
};

class FlavourConvergence : public testing::PandocSuite<::testing::TestWithParam<Case>> {};

TEST_P(FlavourConvergence, SecondSaveEqualsTheFirst) {
    for (const char* flavour : {"markdown", "markdown_github", "markdown_mmd"}) {
        const testing::FlavourSaves saves = testing::openAndSaveTwice(*pandoc_, GetParam().markdown, flavour);
        EXPECT_TRUE(saves.converged()) << flavour << ": " << saves.failure << "\n first save:\n" << saves.firstSave
                                       << "\n second save:\n" << saves.secondSave << "\n first model:  " << saves.firstModel
                                       << "\n second model: " << saves.secondModel;
        if (std::string_view(flavour) == "markdown")
            EXPECT_NE(saves.firstModel.find(GetParam().firstModelHolds), std::string::npos) << saves.firstModel;
    }
}

INSTANTIATE_TEST_SUITE_P(, FlavourConvergence, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qorva::convert
