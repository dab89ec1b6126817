// Puts the editor view's and start-up's stored values (Zoom, LastRunVersion) into
// the settings store, next to every other setting.
#pragma once

namespace qorva {

// Call once, before the editor view is created.
void UseSettingsStoreForShellValues();

}  // namespace qorva
