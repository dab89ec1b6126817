// The view's command table: the editing commands that are calls of page functions
// without arguments.
#pragma once

#include <string_view>

namespace qorva {

// The page function for a command identifier (menus/command_ids.h), or empty when
// the command is not a plain page call.
std::string_view PageFunctionForCommand(int id);

}  // namespace qorva
