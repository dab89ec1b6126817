// The key-message hook's tables and dispatch, checked row by row against the
// table of keys the editor view answers.
#include "src/win/key_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qorva {
namespace {

constexpr int None = 0, Ctrl = kModCtrl, Alt = kModAlt, Shift = kModShift;

struct Row {
    int code;
    int modifiers;
    const char* command;
};

// Every key-down row, written out independently of the implementation.
const std::vector<Row> kExpectedKeyDown = {
    {37, None, "MoveLeft"}, {37, Shift, "MoveLeftAndModifySelection"},
    {37, Ctrl, "MoveWordLeft"}, {37, Ctrl | Shift, "MoveWordLeftAndModifySelection"},
    {39, None, "MoveRight"}, {39, Shift, "MoveRightAndModifySelection"},
    {39, Ctrl, "MoveWordRight"}, {39, Ctrl | Shift, "MoveWordRightAndModifySelection"},
    {38, None, "MoveUp"}, {38, Shift, "MoveUpAndModifySelection"},
    {38, Ctrl, "MoveToBeginningOfParagraph"},
    {40, None, "MoveDown"}, {40, Shift, "MoveDownAndModifySelection"},
    {40, Ctrl, "MoveToEndOfParagraph"},
    {33, Shift, "MovePageUpAndModifySelection"}, {34, Shift, "MovePageDownAndModifySelection"},
    {36, None, "MoveToBeginningOfLine"}, {36, Shift, "MoveToBeginningOfLineAndModifySelection"},
    {36, Ctrl, "MoveToBeginningOfDocument"},
    {36, Ctrl | Shift, "MoveToBeginningOfDocumentAndModifySelection"},
    {35, None, "MoveToEndOfLine"}, {35, Shift, "MoveToEndOfLineAndModifySelection"},
    {35, Ctrl, "MoveToEndOfDocument"}, {35, Ctrl | Shift, "MoveToEndOfDocumentAndModifySelection"},
    {8, None, "DeleteBackward"}, {8, Shift, "DeleteBackward"}, {8, Ctrl, "DeleteWordBackward"},
    {46, None, "DeleteForward"}, {46, Shift, "Cut"}, {46, Ctrl, "DeleteWordForward"},
    {9, None, "InsertTab"}, {9, Shift, "InsertBacktab"},
    {13, None, "InsertNewline"}, {13, Shift, "InsertLineBreak"}, {13, Ctrl, "InsertNewline"},
    {13, Alt, "InsertNewline"}, {13, Alt | Shift, "InsertNewline"},
    {45, Shift, "Paste"}, {45, Ctrl, "Copy"},
    {66, Ctrl, "ToggleBold"}, {73, Ctrl, "ToggleItalic"}, {85, Ctrl, "ToggleUnderline"},
    {27, None, "Cancel"}, {190, Ctrl, "Cancel"},
    {67, Ctrl, "Copy"}, {86, Ctrl, "Paste"}, {86, Ctrl | Shift, "PasteAndMatchStyle"},
    {88, Ctrl, "Cut"}, {65, Ctrl, "SelectAll"},
    {90, Ctrl, "Undo"}, {90, Ctrl | Shift, "Redo"}, {89, Ctrl, "Redo"},
};

const std::vector<Row> kExpectedCharacter = {
    {9, None, "InsertTab"}, {9, Shift, "InsertBacktab"},
    {13, None, "InsertNewline"}, {13, Ctrl, "InsertNewline"}, {13, Shift, "InsertLineBreak"},
    {13, Alt, "InsertNewline"}, {13, Alt | Shift, "InsertNewline"},
};

std::string Describe(const Row& row) {
    return std::to_string(row.code) + " with modifiers " + std::to_string(row.modifiers);
}

TEST(KeyTables, KeyDownTableHasExactlyTheListedRows) {
    ASSERT_EQ(KeyDownTable().size(), 52u);
    ASSERT_EQ(kExpectedKeyDown.size(), 52u);
    for (const Row& row : kExpectedKeyDown) {
        EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, row.code, row.modifiers}), row.command)
            << Describe(row);
    }
}

TEST(KeyTables, CharacterTableHasExactlyTheListedRows) {
    ASSERT_EQ(CharacterTable().size(), 7u);
    for (const Row& row : kExpectedCharacter) {
        EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::Char, row.code, row.modifiers}), row.command)
            << Describe(row);
        // Key releases are looked up in the character table too.
        EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyUp, row.code, row.modifiers}), row.command)
            << Describe(row);
    }
}

TEST(KeyTables, ModifierSetsMustMatchExactly) {
    // Extra modifiers never match a row with fewer.
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, 66, Ctrl | Shift}), "");
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, 66, None}), "");
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, 38, Ctrl | Shift}), "");
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, 33, None}), "");
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, 9, Ctrl}), "");
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::Char, 13, Ctrl | Alt}), "");
    // Ordinary letters are not in either table.
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, 'Q', None}), "");
    EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::Char, 'a', None}), "");
}

TEST(KeyDispatch, EditingCommandsCallTheirPageFunctions) {
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"MoveLeft", "moveBackward"}, {"MoveRight", "moveForward"}, {"MoveUp", "moveUp"},
        {"MoveDown", "moveDown"}, {"MoveToBeginningOfParagraph", "moveToBeginningOfParagraph"},
        {"MoveToEndOfParagraph", "moveToEndOfParagraph"}, {"DeleteBackward", "deleteBackward"},
        {"DeleteForward", "deleteForward"}, {"DeleteWordBackward", "deleteWordBackward"},
        {"DeleteWordForward", "deleteWordForward"}, {"InsertTab", "insertTab"},
        {"InsertBacktab", "insertBacktab"}, {"InsertNewline", "insertNewline"},
        {"InsertLineBreak", "insertLineBreak"},
    };
    for (const auto& [command, function] : expected) {
        const KeyDispatch dispatch = DispatchKeyCommand(command);
        EXPECT_EQ(dispatch.action, KeyAction::CallPage) << command;
        EXPECT_EQ(dispatch.pageFunction, function) << command;
    }
}

TEST(KeyDispatch, OtherMovesAndSelectAllGoToTheBrowser) {
    for (const char* command : {"MoveWordLeft", "MoveLeftAndModifySelection", "MoveToEndOfDocument",
                                "MovePageUpAndModifySelection", "MoveToBeginningOfLine", "SelectAll"}) {
        EXPECT_EQ(DispatchKeyCommand(command).action, KeyAction::Browser) << command;
    }
}

TEST(KeyDispatch, ClipboardUndoAndStyleKeysAreSwallowed) {
    for (const char* command : {"Cut", "Copy", "Paste", "PasteAndMatchStyle", "Undo", "Redo",
                                "ToggleBold", "ToggleItalic", "ToggleUnderline", "Cancel"}) {
        EXPECT_EQ(DispatchKeyCommand(command).action, KeyAction::Swallow) << command;
    }
}

// Records the page calls the hook makes and answers with a fixed text.
struct PageLog {
    std::vector<std::string> calls;
    std::string answer;
    PageCall Caller() {
        return [this](std::string_view function) {
            calls.emplace_back(function);
            return answer;
        };
    }
};

TEST(KeyHook, HandledKeyIsConsumedAndUnhandledOneGoesOn) {
    PageLog page;
    page.answer = "false";
    EXPECT_TRUE(HandleKeyMessage({KeyMessageKind::KeyDown, 39, None}, page.Caller()));
    page.answer = "true";  // the page leaves a move inside a word to the browser
    EXPECT_FALSE(HandleKeyMessage({KeyMessageKind::KeyDown, 39, None}, page.Caller()));
    page.answer = "";  // a failed call counts as handled, like any answer but "true"
    EXPECT_TRUE(HandleKeyMessage({KeyMessageKind::KeyDown, 13, None}, page.Caller()));
    EXPECT_EQ(page.calls, (std::vector<std::string>{"moveForward", "moveForward", "insertNewline"}));
}

TEST(KeyHook, SwallowedKeysCallNothing) {
    PageLog page;
    for (int letter : {'U', 'B', 'I', 'C', 'V', 'X', 'Z', 'Y'}) {
        EXPECT_TRUE(HandleKeyMessage({KeyMessageKind::KeyDown, letter, Ctrl}, page.Caller()));
    }
    EXPECT_TRUE(HandleKeyMessage({KeyMessageKind::KeyDown, 27, None}, page.Caller()));
    EXPECT_TRUE(page.calls.empty());
}

TEST(KeyHook, BrowserKeysAreNotConsumed) {
    PageLog page;
    EXPECT_FALSE(HandleKeyMessage({KeyMessageKind::KeyDown, 'A', Ctrl}, page.Caller()));
    EXPECT_FALSE(HandleKeyMessage({KeyMessageKind::KeyDown, 36, Shift}, page.Caller()));
    EXPECT_FALSE(HandleKeyMessage({KeyMessageKind::KeyDown, 35, Shift}, page.Caller()));
    EXPECT_FALSE(HandleKeyMessage({KeyMessageKind::KeyDown, 'Q', None}, page.Caller()));
    EXPECT_TRUE(page.calls.empty());
}

TEST(KeyHook, EnterCharacterAfterHandledEnterIsSwallowed) {
    PageLog page;
    EXPECT_TRUE(HandleKeyMessage({KeyMessageKind::Char, 13, None}, page.Caller()));
    EXPECT_TRUE(HandleKeyMessage({KeyMessageKind::Char, 9, Shift}, page.Caller()));
    EXPECT_TRUE(HandleKeyMessage({KeyMessageKind::KeyUp, 9, None}, page.Caller()));
    EXPECT_TRUE(page.calls.empty()) << "characters and releases never call the page";
    EXPECT_FALSE(HandleKeyMessage({KeyMessageKind::Char, 'a', None}, page.Caller()));
}

TEST(NavigationMode, OnExactlyWhileCtrlAloneIsHeld) {
    PageLog page;
    HandleKeyMessage({KeyMessageKind::KeyDown, vk::Control, Ctrl}, page.Caller());
    HandleKeyMessage({KeyMessageKind::KeyUp, vk::Control, None}, page.Caller());
    HandleKeyMessage({KeyMessageKind::KeyDown, vk::Control, Ctrl | Shift}, page.Caller());
    HandleKeyMessage({KeyMessageKind::KeyDown, vk::Control, Ctrl | Alt}, page.Caller());
    EXPECT_EQ(page.calls, (std::vector<std::string>{"enterNavigationMode", "leaveNavigationMode",
                                                    "leaveNavigationMode", "leaveNavigationMode"}));
}

TEST(NavigationMode, OtherKeysLeaveItAlone) {
    EXPECT_EQ(NavigationChangeFor({KeyMessageKind::KeyDown, vk::Shift, Ctrl | Shift}),
              NavigationChange::None);
    EXPECT_EQ(NavigationChangeFor({KeyMessageKind::KeyDown, 'B', Ctrl}), NavigationChange::None);
}

}  // namespace
}  // namespace qorva
