// Turns Qt key events into the key messages the editor view's tables speak: a
// key-down message and, for keys that type a character, a character message; a
// key release becomes a key-up message. Qt Core only, so it tests without a display.
#pragma once

#include "src/win/keys/key_tables.h"

#include <QEvent>
#include <QString>

#include <vector>

namespace qorva {

// The virtual-key code for a Qt key (US layout), 0 when there is none.
int VirtualKeyFor(int qtKey);

// The modifier set (Ctrl 1, Alt 2, Shift 4) as it stands once the event has
// happened: pressing Ctrl adds Ctrl, releasing it removes it.
int ModifierSetFor(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers);

std::vector<KeyMessage> KeyMessagesFor(QEvent::Type type, int qtKey,
                                       Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace qorva
