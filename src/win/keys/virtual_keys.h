// Key codes in the classic virtual-key numbering (US layout), and modifier sets,
// as the key tables, the accelerators and the engine layer's key messages use them.
#pragma once

namespace qorva {

namespace vk {
inline constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19, Capital = 20;
inline constexpr int Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36;
inline constexpr int Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46;
inline constexpr int F1 = 112, F11 = 122;
// The punctuation keys, named by their unshifted character.
inline constexpr int OemSemicolon = 186, OemPlus = 187, OemComma = 188, OemMinus = 189, OemPeriod = 190,
                     OemSlash = 191, OemBackquote = 192, OemOpenBracket = 219, OemBackslash = 220,
                     OemCloseBracket = 221, OemQuote = 222;
}  // namespace vk

// Modifier set: Ctrl 1, Alt 2, Shift 4, added.
inline constexpr int kModCtrl = 1, kModAlt = 2, kModShift = 4;

}  // namespace qorva
