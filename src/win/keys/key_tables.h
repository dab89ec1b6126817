// The editor view's keyboard tables: which keys the shell turns into page calls,
// which it leaves to the browser and which it swallows. Plain C++, no Qt, so the
// tables can be checked without a display.
#pragma once

#include "src/win/keys/virtual_keys.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qorva {

enum class KeyMessageKind { KeyDown, Char, KeyUp };

struct KeyMessage {
    KeyMessageKind kind;
    int code;       // virtual-key code, or the character code for Char
    int modifiers;  // state of Ctrl, Alt and Shift when the message is handled
};

struct KeyTableRow {
    int code;
    int modifiers;
    std::string_view command;
};

std::span<const KeyTableRow> KeyDownTable();
std::span<const KeyTableRow> CharacterTable();

// The command name of the row matching the message exactly, or empty.
std::string_view LookUpKeyCommand(const KeyMessage& message);

enum class KeyAction {
    CallPage,  // call the page function; consumed unless it answers "true"
    Browser,   // left to the browser (caret movement, select all)
    Swallow,   // consumed without action: the shell's accelerators do these
};

struct KeyDispatch {
    KeyAction action;
    std::string_view pageFunction;  // set for CallPage
};

KeyDispatch DispatchKeyCommand(std::string_view command);

enum class NavigationChange { None, Enter, Leave };

// Navigation mode follows the Ctrl key: on exactly while Ctrl alone is held.
NavigationChange NavigationChangeFor(const KeyMessage& message);

// Calls a page function by name without arguments and returns its text result.
using PageCall = std::function<std::string(std::string_view function)>;

// Everything the hook does after the message filters had their turn: navigation
// mode, table look-up and dispatch. Returns true when the message is consumed.
bool HandleKeyMessage(const KeyMessage& message, const PageCall& callPage);

}  // namespace qorva
