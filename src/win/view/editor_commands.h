// Command identifiers carried by the editor view and its command table, which
// turns editing commands into calls of page functions without arguments.
#pragma once

#include <string_view>

namespace qorva {

namespace cmd {
inline constexpr int Copy = 57634, Cut = 57635, Paste = 57637;
inline constexpr int Undo = 57643, Redo = 57644;
inline constexpr int CopyAsHtml = 32900, PasteQorvaFormat = 32901, PasteMultiMarkdown = 32902;
inline constexpr int InsertImage = 32910, InsertHyperlink = 32911, CodeLanguage = 32912, ImageDescription = 32913;
inline constexpr int ZoomLarger = 32920, ZoomSmaller = 32921, ZoomReset = 32922;
inline constexpr int Print = 57607;
}  // namespace cmd

// True for identifiers in the command table's ranges (57643-57644, 32800-32885).
bool InCommandTableRange(int id);

// The page function for an identifier, or empty when the table has no entry.
std::string_view PageFunctionForCommand(int id);

}  // namespace qorva
