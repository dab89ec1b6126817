#include "src/win/keys/key_tables.h"

#include <array>

namespace qorva {
namespace {

constexpr int kNone = 0;
constexpr int kCtrlShift = kModCtrl | kModShift;
constexpr int kAltShift = kModAlt | kModShift;

constexpr std::array<KeyTableRow, 52> kKeyDownRows{{
    {vk::Left, kNone, "MoveLeft"},
    {vk::Left, kModShift, "MoveLeftAndModifySelection"},
    {vk::Left, kModCtrl, "MoveWordLeft"},
    {vk::Left, kCtrlShift, "MoveWordLeftAndModifySelection"},
    {vk::Right, kNone, "MoveRight"},
    {vk::Right, kModShift, "MoveRightAndModifySelection"},
    {vk::Right, kModCtrl, "MoveWordRight"},
    {vk::Right, kCtrlShift, "MoveWordRightAndModifySelection"},
    {vk::Up, kNone, "MoveUp"},
    {vk::Up, kModShift, "MoveUpAndModifySelection"},
    {vk::Up, kModCtrl, "MoveToBeginningOfParagraph"},
    {vk::Down, kNone, "MoveDown"},
    {vk::Down, kModShift, "MoveDownAndModifySelection"},
    {vk::Down, kModCtrl, "MoveToEndOfParagraph"},
    {vk::Prior, kModShift, "MovePageUpAndModifySelection"},
    {vk::Next, kModShift, "MovePageDownAndModifySelection"},
    {vk::Home, kNone, "MoveToBeginningOfLine"},
    {vk::Home, kModShift, "MoveToBeginningOfLineAndModifySelection"},
    {vk::Home, kModCtrl, "MoveToBeginningOfDocument"},
    {vk::Home, kCtrlShift, "MoveToBeginningOfDocumentAndModifySelection"},
    {vk::End, kNone, "MoveToEndOfLine"},
    {vk::End, kModShift, "MoveToEndOfLineAndModifySelection"},
    {vk::End, kModCtrl, "MoveToEndOfDocument"},
    {vk::End, kCtrlShift, "MoveToEndOfDocumentAndModifySelection"},
    {vk::Back, kNone, "DeleteBackward"},
    {vk::Back, kModShift, "DeleteBackward"},
    {vk::Back, kModCtrl, "DeleteWordBackward"},
    {vk::Delete, kNone, "DeleteForward"},
    {vk::Delete, kModShift, "Cut"},
    {vk::Delete, kModCtrl, "DeleteWordForward"},
    {vk::Tab, kNone, "InsertTab"},
    {vk::Tab, kModShift, "InsertBacktab"},
    {vk::Return, kNone, "InsertNewline"},
    {vk::Return, kModShift, "InsertLineBreak"},
    {vk::Return, kModCtrl, "InsertNewline"},
    {vk::Return, kModAlt, "InsertNewline"},
    {vk::Return, kAltShift, "InsertNewline"},
    {vk::Insert, kModShift, "Paste"},
    {vk::Insert, kModCtrl, "Copy"},
    {'B', kModCtrl, "ToggleBold"},
    {'I', kModCtrl, "ToggleItalic"},
    {'U', kModCtrl, "ToggleUnderline"},
    {vk::Escape, kNone, "Cancel"},
    {vk::OemPeriod, kModCtrl, "Cancel"},
    {'C', kModCtrl, "Copy"},
    {'V', kModCtrl, "Paste"},
    {'V', kCtrlShift, "PasteAndMatchStyle"},
    {'X', kModCtrl, "Cut"},
    {'A', kModCtrl, "SelectAll"},
    {'Z', kModCtrl, "Undo"},
    {'Z', kCtrlShift, "Redo"},
    {'Y', kModCtrl, "Redo"},
}};

constexpr std::array<KeyTableRow, 7> kCharacterRows{{
    {vk::Tab, kNone, "InsertTab"},
    {vk::Tab, kModShift, "InsertBacktab"},
    {vk::Return, kNone, "InsertNewline"},
    {vk::Return, kModCtrl, "InsertNewline"},
    {vk::Return, kModShift, "InsertLineBreak"},
    {vk::Return, kModAlt, "InsertNewline"},
    {vk::Return, kAltShift, "InsertNewline"},
}};

struct DispatchRow {
    std::string_view command;
    std::string_view pageFunction;
};

// Tested in this order; the first seven come before the "Move" prefix rule.
constexpr std::array<DispatchRow, 15> kDispatchRows{{
    {"MoveLeft", "moveBackward"},
    {"MoveRight", "moveForward"},
    {"MoveUp", "moveUp"},
    {"MoveDown", "moveDown"},
    {"MoveToBeginningOfParagraph", "moveToBeginningOfParagraph"},
    {"MoveToEndOfParagraph", "moveToEndOfParagraph"},
    {"MoveToEndOfDocument", "moveToEndOfDocument"},
    {"DeleteBackward", "deleteBackward"},
    {"DeleteForward", "deleteForward"},
    {"DeleteWordBackward", "deleteWordBackward"},
    {"DeleteWordForward", "deleteWordForward"},
    {"InsertTab", "insertTab"},
    {"InsertBacktab", "insertBacktab"},
    {"InsertNewline", "insertNewline"},
    {"InsertLineBreak", "insertLineBreak"},
}};

}  // namespace

std::span<const KeyTableRow> KeyDownTable() { return kKeyDownRows; }
std::span<const KeyTableRow> CharacterTable() { return kCharacterRows; }

std::string_view LookUpKeyCommand(const KeyMessage& message) {
    auto rows = message.kind == KeyMessageKind::KeyDown ? KeyDownTable() : CharacterTable();
    for (const KeyTableRow& row : rows) {
        if (row.code == message.code && row.modifiers == message.modifiers) return row.command;
    }
    return {};
}

KeyDispatch DispatchKeyCommand(std::string_view command) {
    for (const DispatchRow& row : kDispatchRows) {
        if (row.command == command) return {KeyAction::CallPage, row.pageFunction};
    }
    if (command.starts_with("Move") || command == "SelectAll") return {KeyAction::Browser, {}};
    return {KeyAction::Swallow, {}};
}

NavigationChange NavigationChangeFor(const KeyMessage& message) {
    if (message.code != vk::Control) return NavigationChange::None;
    const bool ctrlAlone = message.modifiers == kModCtrl;
    return ctrlAlone ? NavigationChange::Enter : NavigationChange::Leave;
}

bool HandleKeyMessage(const KeyMessage& message, const PageCall& callPage) {
    switch (NavigationChangeFor(message)) {
        case NavigationChange::Enter: callPage("enterNavigationMode"); break;
        case NavigationChange::Leave: callPage("leaveNavigationMode"); break;
        case NavigationChange::None: break;
    }
    const std::string_view command = LookUpKeyCommand(message);
    if (command.empty()) return false;
    if (message.kind != KeyMessageKind::KeyDown) return true;
    const KeyDispatch dispatch = DispatchKeyCommand(command);
    switch (dispatch.action) {
        case KeyAction::CallPage: return callPage(dispatch.pageFunction) != "true";
        case KeyAction::Browser: return false;
        case KeyAction::Swallow: return true;
    }
    return true;
}

}  // namespace qorva
