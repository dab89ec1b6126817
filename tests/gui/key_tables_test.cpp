// The key-message hook's tables and dispatch, checked row by row against the
// table of keys the editor view answers.
#include "src/win/keys/key_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qorva {
namespace {

constexpr int None = 0, Ctrl = kModCtrl, Alt = kModAlt, Shift = kModShift;

// A key's command with no modifier, Shift, Ctrl, Ctrl+Shift, Alt and Alt+Shift;
// "" where the table has no row. Written out independently of the implementation.
struct KeyRow {
    int code;
    std::vector<const char*> commands;
};
const int kModifierColumns[] = {None, Shift, Ctrl, Ctrl | Shift, Alt, Alt | Shift};

const std::vector<KeyRow> kKeyDown = {
    {37, {"MoveLeft", "MoveLeftAndModifySelection", "MoveWordLeft", "MoveWordLeftAndModifySelection"}},
    {39, {"MoveRight", "MoveRightAndModifySelection", "MoveWordRight", "MoveWordRightAndModifySelection"}},
    {38, {"MoveUp", "MoveUpAndModifySelection", "MoveToBeginningOfParagraph", ""}},
    {40, {"MoveDown", "MoveDownAndModifySelection", "MoveToEndOfParagraph", ""}},
    {33, {"", "MovePageUpAndModifySelection"}}, {34, {"", "MovePageDownAndModifySelection"}},
    {36, {"MoveToBeginningOfLine", "MoveToBeginningOfLineAndModifySelection", "MoveToBeginningOfDocument",
          "MoveToBeginningOfDocumentAndModifySelection"}},
    {35, {"MoveToEndOfLine", "MoveToEndOfLineAndModifySelection", "MoveToEndOfDocument",
          "MoveToEndOfDocumentAndModifySelection"}},
    {8, {"DeleteBackward", "DeleteBackward", "DeleteWordBackward", ""}},
    {46, {"DeleteForward", "Cut", "DeleteWordForward", ""}},
    {9, {"InsertTab", "InsertBacktab", "", ""}},
    {13, {"InsertNewline", "InsertLineBreak", "InsertNewline", "", "InsertNewline", "InsertNewline"}},
    {45, {"", "Paste", "Copy", ""}}, {66, {"", "", "ToggleBold", ""}}, {73, {"", "", "ToggleItalic", ""}},
    {85, {"", "", "ToggleUnderline", ""}}, {27, {"Cancel", "", "", ""}}, {190, {"", "", "Cancel", ""}},
    {67, {"", "", "Copy", ""}}, {86, {"", "", "Paste", "PasteAndMatchStyle"}}, {88, {"", "", "Cut", ""}},
    {65, {"", "", "SelectAll", ""}}, {90, {"", "", "Undo", "Redo"}}, {89, {"", "", "Redo", ""}},
    {'Q', {"", "", "", ""}},
};
const std::vector<KeyRow> kCharacter = {
    {9, {"InsertTab", "InsertBacktab", "", ""}},
    {13, {"InsertNewline", "InsertLineBreak", "InsertNewline", "", "InsertNewline", "InsertNewline"}},
    {'a', {"", "", "", ""}},
};

// Checks each row against the lookup for `kinds`; gives the number of commands listed.
size_t CheckRows(const std::vector<KeyRow>& rows, std::vector<KeyMessageKind> kinds) {
    size_t listed = 0;
    for (const KeyRow& row : rows) {
        for (size_t column = 0; column < row.commands.size(); ++column) {
            const std::string command = row.commands[column];
            listed += !command.empty();
            for (KeyMessageKind kind : kinds) {
                EXPECT_EQ(LookUpKeyCommand({kind, row.code, kModifierColumns[column]}), command)
                    << row.code << " with modifiers " << kModifierColumns[column];
            }
        }
    }
    return listed;
}

TEST(KeyTables, EveryRowAndNothingElse) {
    EXPECT_EQ(CheckRows(kKeyDown, {KeyMessageKind::KeyDown}), KeyDownTable().size());
    // Key releases are looked up in the character table too.
    EXPECT_EQ(CheckRows(kCharacter, {KeyMessageKind::Char, KeyMessageKind::KeyUp}), CharacterTable().size());
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::Char, 13, Ctrl | Alt}), "");
}

TEST(KeyDispatch, EditingCommandsCallThePageOthersGoToTheBrowserOrAreSwallowed) {
    const std::vector<std::pair<const char*, const char*>> calls = {
        {"MoveLeft", "moveBackward"}, {"MoveRight", "moveForward"}, {"MoveUp", "moveUp"},
        {"MoveDown", "moveDown"}, {"MoveToBeginningOfParagraph", "moveToBeginningOfParagraph"},
        {"MoveToEndOfParagraph", "moveToEndOfParagraph"}, {"DeleteBackward", "deleteBackward"},
        {"DeleteForward", "deleteForward"}, {"DeleteWordBackward", "deleteWordBackward"},
        {"DeleteWordForward", "deleteWordForward"}, {"InsertTab", "insertTab"},
        {"InsertBacktab", "insertBacktab"}, {"InsertNewline", "insertNewline"},
        {"InsertLineBreak", "insertLineBreak"},
    };
    for (const auto& [command, function] : calls) {
        const KeyDispatch dispatch = DispatchKeyCommand(command);
        EXPECT_EQ(dispatch.action, KeyAction::CallPage) << command;
        EXPECT_EQ(dispatch.pageFunction, function) << command;
    }
    for (const char* command : {"MoveWordLeft", "MoveLeftAndModifySelection", "MoveToEndOfDocument",
                                "MovePageUpAndModifySelection", "MoveToBeginningOfLine", "SelectAll"}) {
        EXPECT_EQ(DispatchKeyCommand(command).action, KeyAction::Browser) << command;
    }
    for (const char* command : {"Cut", "Copy", "Paste", "PasteAndMatchStyle", "Undo", "Redo",
                                "ToggleBold", "ToggleItalic", "ToggleUnderline", "Cancel"}) {
        EXPECT_EQ(DispatchKeyCommand(command).action, KeyAction::Swallow) << command;
    }
}

// Records the page calls the hook makes and answers with a fixed text.
struct PageLog {
    std::vector<std::string> calls;
    std::string answer;
    bool Handle(KeyMessageKind kind, int code, int modifiers) {
        return HandleKeyMessage({kind, code, modifiers}, [this](std::string_view function) {
            calls.emplace_back(function);
            return answer;
        });
    }
};

TEST(KeyHook, HandledKeyIsConsumedAndUnhandledOneGoesOn) {
    PageLog page;
    page.answer = "false";
    EXPECT_TRUE(page.Handle(KeyMessageKind::KeyDown, 39, None));
    page.answer = "true";  // the page leaves a move inside a word to the browser
    EXPECT_FALSE(page.Handle(KeyMessageKind::KeyDown, 39, None));
    page.answer = "";  // a failed call counts as handled, like any answer but "true"
    EXPECT_TRUE(page.Handle(KeyMessageKind::KeyDown, 13, None));
    EXPECT_EQ(page.calls, (std::vector<std::string>{"moveForward", "moveForward", "insertNewline"}));
}

TEST(KeyHook, SwallowedKeysCharactersAndBrowserKeysCallNothing) {
    PageLog page;
    for (int letter : {'U', 'B', 'I', 'C', 'V', 'X', 'Z', 'Y'}) {
        EXPECT_TRUE(page.Handle(KeyMessageKind::KeyDown, letter, Ctrl)) << char(letter);
    }
    EXPECT_TRUE(page.Handle(KeyMessageKind::KeyDown, 27, None));
    // The Enter character after a handled Enter is swallowed, like other table characters.
    EXPECT_TRUE(page.Handle(KeyMessageKind::Char, 13, None));
    EXPECT_TRUE(page.Handle(KeyMessageKind::Char, 9, Shift));
    EXPECT_TRUE(page.Handle(KeyMessageKind::KeyUp, 9, None));
    EXPECT_FALSE(page.Handle(KeyMessageKind::Char, 'a', None));
    EXPECT_FALSE(page.Handle(KeyMessageKind::KeyDown, 'A', Ctrl));
    EXPECT_FALSE(page.Handle(KeyMessageKind::KeyDown, 36, Shift));
    EXPECT_FALSE(page.Handle(KeyMessageKind::KeyDown, 'Q', None));
    EXPECT_TRUE(page.calls.empty());
}

TEST(NavigationMode, OnExactlyWhileCtrlAloneIsHeld) {
    PageLog page;
    page.Handle(KeyMessageKind::KeyDown, vk::Control, Ctrl);
    page.Handle(KeyMessageKind::KeyUp, vk::Control, None);
    page.Handle(KeyMessageKind::KeyDown, vk::Control, Ctrl | Shift);
    page.Handle(KeyMessageKind::KeyDown, vk::Control, Ctrl | Alt);
    EXPECT_EQ(page.calls, (std::vector<std::string>{"enterNavigationMode", "leaveNavigationMode",
                                                    "leaveNavigationMode", "leaveNavigationMode"}));
    EXPECT_EQ(NavigationChangeFor({KeyMessageKind::KeyDown, vk::Shift, Ctrl | Shift}),
              NavigationChange::None);
    EXPECT_EQ(NavigationChangeFor({KeyMessageKind::KeyDown, 'B', Ctrl}), NavigationChange::None);
}

}  // namespace
}  // namespace qorva
