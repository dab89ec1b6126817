// Zoom steps, image references and the start-up decisions.
#include "src/win/editor_commands.h"
#include "src/win/image_reference.h"
#include "src/win/startup_rules.h"
#include "src/win/zoom.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(Zoom, LargerStepsBySinglePrecisionIncrement) {
    EXPECT_EQ(NextZoomText("1.0", ZoomCommand::Larger), "1.095445");
    EXPECT_EQ(NextZoomText("1.095445", ZoomCommand::Larger), "1.190890");
}

TEST(Zoom, SmallerFromDefault) { EXPECT_EQ(NextZoomText("1.0", ZoomCommand::Smaller), "0.904555"); }

TEST(Zoom, StaysInsideItsRange) {
    EXPECT_EQ(NextZoomText("2.950000", ZoomCommand::Larger), "2.950000");
    EXPECT_EQ(NextZoomText("0.650000", ZoomCommand::Smaller), "0.650000");
}

TEST(Zoom, ReachesTheLimitsAndStopsThere) {
    std::string zoom = "1.0";
    for (int i = 0; i < 40; ++i) zoom = NextZoomText(zoom, ZoomCommand::Larger);
    EXPECT_GE(std::stod(zoom), 2.9);
    EXPECT_LE(std::stod(zoom), 3.0);
    for (int i = 0; i < 60; ++i) zoom = NextZoomText(zoom, ZoomCommand::Smaller);
    EXPECT_GE(std::stod(zoom), 0.6);
    EXPECT_LT(std::stod(zoom), 0.7);
}

TEST(Zoom, ResetGivesDefaultText) { EXPECT_EQ(NextZoomText("2.5", ZoomCommand::Reset), "1.0"); }

TEST(Zoom, DamagedSettingStepsFromDefault) {
    EXPECT_EQ(NextZoomText("abc", ZoomCommand::Larger), "1.095445");
    EXPECT_EQ(NextZoomText("", ZoomCommand::Smaller), "0.904555");
    EXPECT_EQ(NextZoomText("-4", ZoomCommand::Larger), "1.095445");
}

TEST(ImageReference, SameFolderGivesFileName) {
    EXPECT_EQ(MakeImageReference("/home/u/docs/pic.png", "/home/u/docs"), "pic.png");
    EXPECT_EQ(MakeImageReference("/home/u/docs/pic.png", "/home/u/docs/"), "pic.png");
}

TEST(ImageReference, SubfolderGivesRelativePath) {
    EXPECT_EQ(MakeImageReference("/home/u/docs/img/pic.png", "/home/u/docs"), "img/pic.png");
}

TEST(ImageReference, SiblingFolderClimbsUpFirst) {
    EXPECT_EQ(MakeImageReference("/home/u/pictures/pic.jpg", "/home/u/docs"), "../pictures/pic.jpg");
}

TEST(ImageReference, UntitledDocumentGivesAbsolutePath) {
    EXPECT_EQ(MakeImageReference("/home/u/pictures/pic.jpg", ""), "/home/u/pictures/pic.jpg");
}

TEST(ImageReference, NamesWithSpacesAndBackslashesAreKept) {
    // A backslash is an ordinary character of a file name here, not a separator.
    EXPECT_EQ(MakeImageReference("/d/my pics/a\\b.png", "/d"), "my pics/a\\b.png");
}

TEST(CommandTable, MapsMenuCommandsToPageFunctions) {
    EXPECT_EQ(PageFunctionForCommand(57643), "undo");
    EXPECT_EQ(PageFunctionForCommand(57644), "redo");
    EXPECT_EQ(PageFunctionForCommand(32800), "styleParagraphHeading1");
    EXPECT_EQ(PageFunctionForCommand(32811), "styleParagraphPlain");
    EXPECT_EQ(PageFunctionForCommand(32821), "styleWordStrong");
    EXPECT_EQ(PageFunctionForCommand(32841), "setRTL");
    EXPECT_EQ(PageFunctionForCommand(32855), "unindentParagraph");
    EXPECT_EQ(PageFunctionForCommand(32860), "followLink");
    EXPECT_EQ(PageFunctionForCommand(32871), "insertTable");
    EXPECT_EQ(PageFunctionForCommand(32885), "removeTableColumn");
}

TEST(CommandTable, GapsInTheRangesDoNothing) {
    EXPECT_TRUE(InCommandTableRange(32812));
    EXPECT_EQ(PageFunctionForCommand(32812), "");
    EXPECT_TRUE(InCommandTableRange(32886 - 1));
    EXPECT_FALSE(InCommandTableRange(32886));
    EXPECT_FALSE(InCommandTableRange(57642));
    EXPECT_EQ(PageFunctionForCommand(32910), "") << "Insert Image is the view's own command";
}

TEST(Dictionary, OnlyEnglishIsUsedWhenAlone) {
    const auto choice = ChooseDictionary({"en-US.bdic"});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->fileName, "en-US.bdic");
    EXPECT_EQ(choice->languageCode, "en-US");
}

TEST(Dictionary, AnotherLanguageWinsOverEnglish) {
    const auto choice = ChooseDictionary({"en-US.bdic", "de-DE-frami.bdic"});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->fileName, "de-DE-frami.bdic");
    EXPECT_EQ(choice->languageCode, "de-DE");
}

TEST(Dictionary, FirstInPlainByteOrder) {
    const auto choice = ChooseDictionary({"fr-FR.bdic", "de-DE.bdic", "en-US.bdic", "Zz-ZZ.bdic"});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->fileName, "Zz-ZZ.bdic") << "upper case sorts before lower case";
}

TEST(Dictionary, NoFileNoDictionary) { EXPECT_FALSE(ChooseDictionary({})); }

TEST(CommandLine, QuotedPathWithSpaces) {
    EXPECT_EQ(CommandLineArgument("\"/tmp/my file.text\""), "/tmp/my file.text");
    EXPECT_EQ(CommandLineArgument("\"/tmp/my file.text\" ignored"), "/tmp/my file.text");
    EXPECT_EQ(CommandLineArgument("\"/tmp/unterminated"), "/tmp/unterminated");
}

TEST(CommandLine, UnquotedPathIsTakenWhole) {
    EXPECT_EQ(JoinCommandLine({"/tmp/my", "file.text"}), "/tmp/my file.text");
    EXPECT_EQ(CommandLineArgument("/tmp/my file.text"), "/tmp/my file.text");
}

TEST(CommandLine, FirstDocumentChoice) {
    EXPECT_EQ(ChooseFirstDocument("").kind, FirstDocumentKind::WelcomeIfFirstRun);
    EXPECT_EQ(ChooseFirstDocument("--welcome").kind, FirstDocumentKind::Welcome);
    EXPECT_EQ(ChooseFirstDocument("\"--welcome\"").kind, FirstDocumentKind::Welcome);
    EXPECT_EQ(ChooseFirstDocument("--welcome x").kind, FirstDocumentKind::File);
    const FirstDocument file = ChooseFirstDocument("notes.text");
    EXPECT_EQ(file.kind, FirstDocumentKind::File);
    EXPECT_EQ(file.argument, "notes.text");
    EXPECT_EQ(ChooseFirstDocument("\"\"").kind, FirstDocumentKind::Untitled);
}

TEST(WindowPlacement, CentredOnWorkArea) {
    EXPECT_EQ(CentreOnWorkArea(700, 480, {0, 0, 1280, 800}), std::make_pair(290, 160));
    // A panel on top shifts the work area.
    EXPECT_EQ(CentreOnWorkArea(700, 480, {0, 30, 1280, 770}), std::make_pair(290, 175));
}

TEST(WindowPlacement, KeptInsideSmallWorkArea) {
    EXPECT_EQ(CentreOnWorkArea(700, 480, {100, 50, 600, 400}), std::make_pair(100, 50));
}

TEST(FileVersion, TwoOrFourParts) {
    EXPECT_EQ(FileVersionText("0.1.0"), "0.1");
    EXPECT_EQ(FileVersionText("2.3"), "2.3");
    EXPECT_EQ(FileVersionText("1.2.3"), "1.2.3.0");
    EXPECT_EQ(FileVersionText("1.2.0.7"), "1.2.0.7");
}

}  // namespace
}  // namespace qorva
