#include "src/win/document/document_format.h"
#include "src/win/document/document_title.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(DocumentTitle, PathOrUntitledWithModifiedMarkAndWelcomeUntilModifiedOrSaved) {
    EXPECT_EQ(DocumentTitle("", true, false), "Welcome - Qorva");
    EXPECT_EQ(DocumentTitle("", true, true), "Untitled* - Qorva");
    EXPECT_EQ(DocumentTitle("/d/a.text", true, false), "/d/a.text - Qorva");
    EXPECT_EQ(DocumentTitle("", false, false), "Untitled - Qorva");
    EXPECT_EQ(DocumentTitle("/home/u/notes.text", false, true), "/home/u/notes.text* - Qorva");
}

TEST(CountSuffix, SelectionWinsTotalIsAskedOnlyWithoutOneNoneAsksNothingAndSingularPlural) {
    auto never = [] { return ADD_FAILURE() << "the page was asked", 0; };
    EXPECT_EQ(CountSuffix(CountDisplay::None, never, never), "");
    int totalAsked = 0;
    auto total = [&] { return ++totalAsked, 12; };
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return 4; }, total), " - 4 Words Selected");
    EXPECT_EQ(totalAsked, 0);
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return 0; }, total), " - 12 Words");
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return -1; }, total), " - 12 Words");
    EXPECT_EQ(totalAsked, 2);
    auto zero = [] { return 0; };
    auto one = [] { return 1; };
    EXPECT_EQ(CountSuffix(CountDisplay::Words, zero, one), " - 1 Word");
    EXPECT_EQ(CountSuffix(CountDisplay::Words, zero, zero), " - 0 Words");
    EXPECT_EQ(CountSuffix(CountDisplay::Words, one, zero), " - 1 Word Selected");
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, zero, one), " - 1 Character");
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, zero, [] { return 250; }), " - 250 Characters");
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, [] { return 9; }, zero), " - 9 Characters Selected");
}

TEST(DocumentFormat, DefaultFormatKeywordsAreExactAndIdsOutsideTheFormatItemsMapToNone) {
    EXPECT_EQ(FormatFromDefaultSetting("pandoc"), DocumentFormat::PandocMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting("github"), DocumentFormat::GitHubMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting("mmd"), DocumentFormat::MultiMarkdown);
    for (const char* other : {"text", "GitHub", "", "markdown"})
        EXPECT_EQ(FormatFromDefaultSetting(other), DocumentFormat::QorvaMarkdown) << other;
    EXPECT_FALSE(ReopenFormatOf(33004));
    EXPECT_FALSE(SaveFormatOf(33019));
}

}  // namespace
}  // namespace qorva
