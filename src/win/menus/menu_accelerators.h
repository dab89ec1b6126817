// The accelerator table: key (virtual-key code, US layout) with an exact modifier
// set (Ctrl 1, Alt 2, Shift 4) to command identifier. It also binds keys that the
// menus do not show (Ctrl+Insert, Shift+Delete, Shift+Insert, Ctrl+Y, Ctrl+Alt with
// the arrows).
#pragma once

#include <optional>
#include <vector>

namespace qorva {

struct Accelerator {
    int virtualKey = 0;
    int modifiers = 0;
    int commandId = 0;
};

const std::vector<Accelerator>& AcceleratorTable();

// The command for a key-down with exactly these modifiers, if any.
std::optional<int> AcceleratorCommand(int virtualKey, int modifiers);

}  // namespace qorva
