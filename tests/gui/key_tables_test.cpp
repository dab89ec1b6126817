// What the editor view's key hook does with the keys a user presses: the editing
// keys call the page, caret moves and select-all are left to the browser, and
// the keys the shell's own commands answer are swallowed. That no key is bound
// twice is checked with the menus (menu_layout_test).
#include "src/win/keys/key_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qorva {
namespace {

constexpr int None = 0, Ctrl = kModCtrl, Alt = kModAlt, Shift = kModShift;

// Records the page calls the hook makes and answers with a fixed text.
struct PageLog {
    std::vector<std::string> calls;
    std::string answer = "false";
    bool Handle(KeyMessageKind kind, int code, int modifiers) {
        return HandleKeyMessage({kind, code, modifiers}, [this](std::string_view function) {
            calls.emplace_back(function);
            return answer;
        });
    }
};

TEST(KeyHook, EachKeyCallsThePageLeavesItToTheBrowserOrSwallowsIt) {
    struct Case { const char* key; KeyMessageKind kind; int code, modifiers; const char* pageCall; bool consumed; };
    using K = KeyMessageKind;
    for (const Case& c : std::vector<Case>{
             {"Left", K::KeyDown, vk::Left, None, "moveBackward", true},
             {"Enter", K::KeyDown, vk::Return, None, "insertNewline", true},
             {"Shift+Enter", K::KeyDown, vk::Return, Shift, "insertLineBreak", true},
             {"Alt+Shift+Enter", K::KeyDown, vk::Return, Alt | Shift, "insertNewline", true},
             {"Ctrl+End", K::KeyDown, vk::End, Ctrl, "moveToEndOfDocument", true},
             {"Ctrl+Shift+End", K::KeyDown, vk::End, Ctrl | Shift, "", false},
             {"Ctrl+Left", K::KeyDown, vk::Left, Ctrl, "", false},
             {"Ctrl+A", K::KeyDown, 'A', Ctrl, "", false},
             {"a typed letter", K::Char, 'a', None, "", false},
             {"Ctrl+B", K::KeyDown, 'B', Ctrl, "", true},
             {"Shift+Delete (Cut)", K::KeyDown, vk::Delete, Shift, "", true},
             {"Escape", K::KeyDown, vk::Escape, None, "", true},
             // The characters after a handled Enter or Tab, and Tab's release.
             {"the Enter character", K::Char, vk::Return, None, "", true},
             {"Tab released", K::KeyUp, vk::Tab, None, "", true},
             {"Ctrl+Alt+Enter character", K::Char, vk::Return, Ctrl | Alt, "", false},
         }) {
        PageLog page;
        EXPECT_EQ(page.Handle(c.kind, c.code, c.modifiers), c.consumed) << c.key;
        EXPECT_EQ(page.calls, *c.pageCall ? std::vector<std::string>{c.pageCall} : std::vector<std::string>{}) << c.key;
    }
}

TEST(KeyHook, ThePageCanLeaveAKeyToTheBrowserAndAFailedCallCountsAsHandled) {
    PageLog page;
    page.answer = "true";  // the page leaves a move inside a word to the browser
    EXPECT_FALSE(page.Handle(KeyMessageKind::KeyDown, vk::Right, None));
    page.answer = "";
    EXPECT_TRUE(page.Handle(KeyMessageKind::KeyDown, vk::Return, None));
    EXPECT_EQ(page.calls, (std::vector<std::string>{"moveForward", "insertNewline"}));
}

TEST(NavigationMode, OnExactlyWhileCtrlAloneIsHeld) {
    PageLog page;
    page.Handle(KeyMessageKind::KeyDown, vk::Control, Ctrl);
    page.Handle(KeyMessageKind::KeyUp, vk::Control, None);
    page.Handle(KeyMessageKind::KeyDown, vk::Control, Ctrl | Shift);
    page.Handle(KeyMessageKind::KeyDown, vk::Control, Ctrl | Alt);
    EXPECT_EQ(page.calls, (std::vector<std::string>{"enterNavigationMode", "leaveNavigationMode",
                                                    "leaveNavigationMode", "leaveNavigationMode"}));
    EXPECT_EQ(NavigationChangeFor({KeyMessageKind::KeyDown, vk::Shift, Ctrl | Shift}), NavigationChange::None);
    EXPECT_EQ(NavigationChangeFor({KeyMessageKind::KeyDown, 'B', Ctrl}), NavigationChange::None);
}

}  // namespace
}  // namespace qorva
