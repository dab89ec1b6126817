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
const std::vector<Row> kKeyDown = {
    {37, None, "MoveLeft"}, {37, Shift, "MoveLeftAndModifySelection"}, {37, Ctrl, "MoveWordLeft"},
    {37, Ctrl | Shift, "MoveWordLeftAndModifySelection"}, {39, None, "MoveRight"},
    {39, Shift, "MoveRightAndModifySelection"}, {39, Ctrl, "MoveWordRight"},
    {39, Ctrl | Shift, "MoveWordRightAndModifySelection"}, {38, None, "MoveUp"},
    {38, Shift, "MoveUpAndModifySelection"}, {38, Ctrl, "MoveToBeginningOfParagraph"},
    {40, None, "MoveDown"}, {40, Shift, "MoveDownAndModifySelection"},
    {40, Ctrl, "MoveToEndOfParagraph"}, {33, Shift, "MovePageUpAndModifySelection"},
    {34, Shift, "MovePageDownAndModifySelection"}, {36, None, "MoveToBeginningOfLine"},
    {36, Shift, "MoveToBeginningOfLineAndModifySelection"}, {36, Ctrl, "MoveToBeginningOfDocument"},
    {36, Ctrl | Shift, "MoveToBeginningOfDocumentAndModifySelection"}, {35, None, "MoveToEndOfLine"},
    {35, Shift, "MoveToEndOfLineAndModifySelection"}, {35, Ctrl, "MoveToEndOfDocument"},
    {35, Ctrl | Shift, "MoveToEndOfDocumentAndModifySelection"}, {8, None, "DeleteBackward"},
    {8, Shift, "DeleteBackward"}, {8, Ctrl, "DeleteWordBackward"}, {46, None, "DeleteForward"},
    {46, Shift, "Cut"}, {46, Ctrl, "DeleteWordForward"}, {9, None, "InsertTab"},
    {9, Shift, "InsertBacktab"}, {13, None, "InsertNewline"}, {13, Shift, "InsertLineBreak"},
    {13, Ctrl, "InsertNewline"}, {13, Alt, "InsertNewline"}, {13, Alt | Shift, "InsertNewline"},
    {45, Shift, "Paste"}, {45, Ctrl, "Copy"}, {66, Ctrl, "ToggleBold"}, {73, Ctrl, "ToggleItalic"},
    {85, Ctrl, "ToggleUnderline"}, {27, None, "Cancel"}, {190, Ctrl, "Cancel"}, {67, Ctrl, "Copy"},
    {86, Ctrl, "Paste"}, {86, Ctrl | Shift, "PasteAndMatchStyle"}, {88, Ctrl, "Cut"},
    {65, Ctrl, "SelectAll"}, {90, Ctrl, "Undo"}, {90, Ctrl | Shift, "Redo"}, {89, Ctrl, "Redo"},
};

const std::vector<Row> kCharacter = {
    {9, None, "InsertTab"}, {9, Shift, "InsertBacktab"}, {13, None, "InsertNewline"},
    {13, Ctrl, "InsertNewline"}, {13, Shift, "InsertLineBreak"}, {13, Alt, "InsertNewline"},
    {13, Alt | Shift, "InsertNewline"},
};

TEST(KeyTables, EveryRowAndNothingElse) {
    ASSERT_EQ(KeyDownTable().size(), kKeyDown.size());
    ASSERT_EQ(CharacterTable().size(), kCharacter.size());
    for (const Row& row : kKeyDown) {
        EXPECT_EQ(LookUpKeyCommand({KeyMessageKind::KeyDown, row.code, row.modifiers}), row.command)
            << row.code << " with modifiers " << row.modifiers;
    }
    for (const Row& row : kCharacter) {
        // Key releases are looked up in the character table too.
        for (KeyMessageKind kind : {KeyMessageKind::Char, KeyMessageKind::KeyUp}) {
            EXPECT_EQ(LookUpKeyCommand({kind, row.code, row.modifiers}), row.command)
                << row.code << " with modifiers " << row.modifiers;
        }
    }
    // Modifier sets must match exactly, and ordinary letters are in neither table.
    for (const KeyMessage& message : std::vector<KeyMessage>{
             {KeyMessageKind::KeyDown, 66, Ctrl | Shift}, {KeyMessageKind::KeyDown, 66, None},
             {KeyMessageKind::KeyDown, 38, Ctrl | Shift}, {KeyMessageKind::KeyDown, 33, None},
             {KeyMessageKind::KeyDown, 9, Ctrl}, {KeyMessageKind::Char, 13, Ctrl | Alt},
             {KeyMessageKind::KeyDown, 'Q', None}, {KeyMessageKind::Char, 'a', None}}) {
        EXPECT_EQ(LookUpKeyCommand(message), "") << message.code << " with " << message.modifiers;
    }
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
