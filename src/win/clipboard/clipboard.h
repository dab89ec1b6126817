// The clipboard commands of the editor: Copy, Cut, Copy as HTML, Paste and the two
// Paste as Markdown commands, on the desktop's clipboard.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qorva {

// The private MIME type that carries model JSON between Qorva windows.
inline constexpr char kModelMimeType[] = "application/x-qorva-model";

// Calls a page function with no argument or one (model JSON) and returns its result.
using ClipboardPageCall = std::function<std::string(std::string_view function, const std::string* argument)>;

bool IsClipboardCommand(int commandId);

// Carries out one of the six clipboard commands; false for any other identifier.
bool HandleClipboardCommand(int commandId, const ClipboardPageCall& page);

// Pastes the X11 primary selection (what a middle click pastes) the way Paste
// pastes the clipboard.
void PastePrimarySelection(const ClipboardPageCall& page);

}  // namespace qorva
