#include "src/win/document_format.h"
#include "src/win/document_title.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(DocumentTitle, PathOrUntitledWithModifiedMarkAndWelcomeUntilModifiedOrSaved) {
    EXPECT_EQ(DocumentTitle("", true, false), "Welcome - Qorva");
    EXPECT_EQ(DocumentTitle("", true, true), "Untitled* - Qorva");
    EXPECT_EQ(DocumentTitle("/d/a.text", true, false), "/d/a.text - Qorva");
    EXPECT_EQ(DocumentTitle("", false, false), "Untitled - Qorva");
    EXPECT_EQ(DocumentTitle("", false, true), "Untitled* - Qorva");
    EXPECT_EQ(DocumentTitle("/home/u/notes.text", false, true), "/home/u/notes.text* - Qorva");
}

TEST(CountSuffix, NoneAsksNothingAndAnUnreadableSelectionCountFallsBackToTheTotal) {
    auto never = [] {
        ADD_FAILURE() << "the page was asked";
        return 0;
    };
    EXPECT_EQ(CountSuffix(CountDisplay::None, never, never), "");
    // A page that answers nothing gives -1 or 0: the document total is shown.
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return -1; }, [] { return 3; }), " - 3 Words");
}

TEST(CountSuffix, SelectionWinsAndTotalIsAskedOnlyWithoutOne) {
    int totalAsked = 0;
    auto total = [&] {
        ++totalAsked;
        return 12;
    };
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return 1; }, total), " - 1 Word Selected");
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return 4; }, total), " - 4 Words Selected");
    EXPECT_EQ(totalAsked, 0);
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return 0; }, total), " - 12 Words");
    EXPECT_EQ(totalAsked, 1);
}

TEST(CountSuffix, SingularPluralAndZero) {
    auto none = [] { return 0; };
    EXPECT_EQ(CountSuffix(CountDisplay::Words, none, [] { return 1; }), " - 1 Word");
    EXPECT_EQ(CountSuffix(CountDisplay::Words, none, none), " - 0 Words");
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, none, [] { return 1; }), " - 1 Character");
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, none, [] { return 250; }), " - 250 Characters");
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, [] { return 1; }, none), " - 1 Character Selected");
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, [] { return 9; }, none), " - 9 Characters Selected");
}

TEST(DocumentFormat, DefaultFormatKeywordsAreExactAndCaseSensitive) {
    EXPECT_EQ(FormatFromDefaultSetting("text"), DocumentFormat::QorvaMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting("pandoc"), DocumentFormat::PandocMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting("github"), DocumentFormat::GitHubMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting("mmd"), DocumentFormat::MultiMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting("GitHub"), DocumentFormat::QorvaMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting(""), DocumentFormat::QorvaMarkdown);
    EXPECT_EQ(FormatFromDefaultSetting("markdown"), DocumentFormat::QorvaMarkdown);
}

TEST(DocumentFormat, MenuItemsMapToFormatValues) {
    EXPECT_EQ(ReopenFormatOf(33000), DocumentFormat::QorvaMarkdown);
    EXPECT_EQ(ReopenFormatOf(33001), DocumentFormat::PandocMarkdown);
    EXPECT_EQ(ReopenFormatOf(33002), DocumentFormat::GitHubMarkdown);
    EXPECT_EQ(ReopenFormatOf(33003), DocumentFormat::MultiMarkdown);
    EXPECT_EQ(SaveFormatOf(33022), DocumentFormat::GitHubMarkdown);
    EXPECT_EQ(SaveFormatOf(33023), DocumentFormat::MultiMarkdown);
    EXPECT_FALSE(ReopenFormatOf(33004));
    EXPECT_FALSE(SaveFormatOf(33019));
    EXPECT_EQ(static_cast<int>(DocumentFormat::MultiMarkdown), 2);
    EXPECT_EQ(static_cast<int>(DocumentFormat::GitHubMarkdown), 3);
}

TEST(DocumentFormat, PandocNames) {
    EXPECT_EQ(PandocNameOf(DocumentFormat::PandocMarkdown), "markdown");
    EXPECT_EQ(PandocNameOf(DocumentFormat::MultiMarkdown), "markdown_mmd");
    EXPECT_EQ(PandocNameOf(DocumentFormat::GitHubMarkdown), "markdown_github");
    EXPECT_EQ(PandocNameOf(DocumentFormat::QorvaMarkdown), "");
}

}  // namespace
}  // namespace qorva
