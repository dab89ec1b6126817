// The colours of the window around the page: dark with the Dark theme, the
// desktop's own otherwise.
#pragma once

class QPalette;

namespace qorva {

// Darkens the whole program (menus, panels, dialogs, the status line) or gives
// it back the desktop's palette and style; nothing happens when already so.
void UseDarkWindowPalette(bool dark);

QPalette DarkWindowPalette();

}  // namespace qorva
