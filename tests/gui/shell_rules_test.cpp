// Zoom steps, image references and the start-up decisions.
#include "src/win/view/image_reference.h"
#include "src/win/app/startup_rules.h"
#include "src/win/view/zoom.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(Zoom, StepsStayInRangeAndDamagedSettingsStartFromTheDefault) {
    struct Case { const char* from; ZoomCommand command; const char* to; };
    for (const Case& c : std::vector<Case>{
             {"1.095445", ZoomCommand::Larger, "1.190890"}, {"1.0", ZoomCommand::Smaller, "0.904555"},
             {"2.5", ZoomCommand::Reset, "1.0"}, {"abc", ZoomCommand::Larger, "1.095445"},
             {"-4", ZoomCommand::Larger, "1.095445"}}) {
        EXPECT_EQ(NextZoomText(c.from, c.command), c.to) << c.from;
    }
    std::string zoom = "1.0";
    for (int i = 0; i < 40; ++i) zoom = NextZoomText(zoom, ZoomCommand::Larger);
    EXPECT_GE(std::stod(zoom), 2.9);
    EXPECT_LE(std::stod(zoom), 3.0);
    for (int i = 0; i < 60; ++i) zoom = NextZoomText(zoom, ZoomCommand::Smaller);
    EXPECT_GE(std::stod(zoom), 0.6);
    EXPECT_LT(std::stod(zoom), 0.7);
    // As Preferences show and store it.
    for (auto [text, percent] : {std::pair{"1.095445", 110}, {"abc", 100}, {"0.6", 60}}) EXPECT_EQ(ZoomPercent(text), percent);
    for (auto [percent, text] : {std::pair{100, "1.0"}, {110, "1.100000"}, {20, "0.600000"}, {900, "3.000000"}})
        EXPECT_EQ(ZoomTextForPercent(percent), text);
}

// Each case: picture, document folder, copy setting, what is planned. A reference is
// relative to the document's folder, or absolute while the document is untitled.
TEST(ImageReference, DroppedPictureIsReferredToInOrBelowTheFolderElseCopied) {
    struct Case { const char* image; const char* folder; bool copy; ImageDropPlan plan; };
    for (const Case& c : std::vector<Case>{
             {"/d/doc/pic.png", "/d/doc/", true, {false, "pic.png"}},
             {"/d/my pics/a\\b.png", "/d", true, {false, "my pics/a\\b.png"}},  // a backslash is no separator
             {"/d/doc/shots/../img/a b.PNG", "/d/doc", true, {false, "img/a b.PNG"}},
             {"/d/other/pic.png", "/d/doc", true, {true, ""}},
             {"/d/other/pic.png", "/d/doc", false, {false, "../other/pic.png"}},
             {"/d/doc2/pic.png", "/d/doc", true, {true, ""}},
             {"/d/other/pic.png", "", true, {false, "/d/other/pic.png"}}}) {
        EXPECT_EQ(PlanImageDrop(c.image, c.folder, c.copy), c.plan) << c.image << " " << c.folder;
    }
    EXPECT_TRUE(IsImageFileName("/a/b.JPEG") && IsImageFileName("x.svg") && !IsImageFileName("/a/png") &&
                !IsImageFileName("b.png.text"));
    EXPECT_EQ(NumberedFileName("image", ".png", 0) + NumberedFileName("image", ".png", 2), "image.pngimage-2.png");
}

TEST(CommandLine, PathsAndFirstDocument) {
    EXPECT_EQ(CommandLineArgument("\"/tmp/my file.text\" ignored"), "/tmp/my file.text");
    EXPECT_EQ(CommandLineArgument("\"/tmp/unterminated"), "/tmp/unterminated");
    EXPECT_EQ(JoinCommandLine({"/tmp/my", "file.text"}), "/tmp/my file.text");
    EXPECT_EQ(ChooseFirstDocument("").kind, FirstDocumentKind::WelcomeIfFirstRun);
    EXPECT_EQ(ChooseFirstDocument("\"--welcome\"").kind, FirstDocumentKind::Welcome);
    EXPECT_EQ(ChooseFirstDocument("--welcome x").kind, FirstDocumentKind::File);
    const FirstDocument file = ChooseFirstDocument("notes.text");
    EXPECT_EQ(std::pair(file.kind, file.argument), std::pair(FirstDocumentKind::File, std::string("notes.text")));
    EXPECT_EQ(ChooseFirstDocument("\"\"").kind, FirstDocumentKind::Untitled);
}

TEST(WindowPlacement, CentredOnTheWorkAreaAndKeptInsideIt) {
    EXPECT_EQ(CentreOnWorkArea(700, 480, {0, 0, 1280, 800}), std::make_pair(290, 160));
    // A panel on top shifts the work area.
    EXPECT_EQ(CentreOnWorkArea(700, 480, {0, 30, 1280, 770}), std::make_pair(290, 175));
    EXPECT_EQ(CentreOnWorkArea(700, 480, {100, 50, 600, 400}), std::make_pair(100, 50));
    // The first window takes a share of the screen; one stored is brought back onto it.
    for (auto [first, area] : {std::pair{Rect{320, 75, 960, 850}, Rect{0, 0, 1600, 1000}},
                               {Rect{0, 0, 640, 480}, Rect{0, 0, 640, 480}}, {Rect{2320, 162, 1200, 1836}, Rect{1920, 0, 2000, 2160}}})
        EXPECT_EQ(FirstWindowRect(area), first) << area.width;
    for (auto [stored, fitted] : {std::pair{Rect{50, 60, 800, 600}, Rect{50, 60, 800, 600}},
                                  {Rect{1500, -40, 800, 600}, Rect{800, 0, 800, 600}}, {Rect{-9, 9, 3000, 900}, Rect{0, 9, 1600, 900}}})
        EXPECT_EQ(FitToWorkArea(stored, {0, 0, 1600, 1000}), fitted) << stored.left;
}

TEST(FileVersion, TwoOrFourParts) {
    EXPECT_EQ(FileVersionText("0.1.0"), "0.1");
    EXPECT_EQ(FileVersionText("1.2.3"), "1.2.3.0");
}

}  // namespace
}  // namespace qorva
