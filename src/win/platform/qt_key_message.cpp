#include "src/win/platform/qt_key_message.h"

namespace qorva {

int VirtualKeyFor(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return vk::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return vk::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return vk::Return;
        case Qt::Key_Shift: return vk::Shift;
        case Qt::Key_Control: return vk::Control;
        case Qt::Key_Alt: return vk::Menu;
        case Qt::Key_Pause: return vk::Pause;
        case Qt::Key_CapsLock: return vk::Capital;
        case Qt::Key_Escape: return vk::Escape;
        case Qt::Key_Space: return vk::Space;
        case Qt::Key_PageUp: return vk::Prior;
        case Qt::Key_PageDown: return vk::Next;
        case Qt::Key_End: return vk::End;
        case Qt::Key_Home: return vk::Home;
        case Qt::Key_Left: return vk::Left;
        case Qt::Key_Up: return vk::Up;
        case Qt::Key_Right: return vk::Right;
        case Qt::Key_Down: return vk::Down;
        case Qt::Key_Insert: return vk::Insert;
        case Qt::Key_Delete: return vk::Delete;
        // Shifted digits on a US keyboard share their key with the digit.
        case Qt::Key_ParenRight: return '0';
        case Qt::Key_Exclam: return '1';
        case Qt::Key_At: return '2';
        case Qt::Key_NumberSign: return '3';
        case Qt::Key_Dollar: return '4';
        case Qt::Key_Percent: return '5';
        case Qt::Key_AsciiCircum: return '6';
        case Qt::Key_Ampersand: return '7';
        case Qt::Key_Asterisk: return '8';
        case Qt::Key_ParenLeft: return '9';
        case Qt::Key_Semicolon:
        case Qt::Key_Colon: return vk::OemSemicolon;
        case Qt::Key_Equal:
        case Qt::Key_Plus: return vk::OemPlus;
        case Qt::Key_Comma:
        case Qt::Key_Less: return vk::OemComma;
        case Qt::Key_Minus:
        case Qt::Key_Underscore: return vk::OemMinus;
        case Qt::Key_Period:
        case Qt::Key_Greater: return vk::OemPeriod;
        case Qt::Key_Slash:
        case Qt::Key_Question: return vk::OemSlash;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde: return vk::OemBackquote;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft: return vk::OemOpenBracket;
        case Qt::Key_Backslash:
        case Qt::Key_Bar: return vk::OemBackslash;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight: return vk::OemCloseBracket;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl: return vk::OemQuote;
        default: return 0;
    }
}

int ModifierSetFor(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers) {
    int set = 0;
    if (modifiers & Qt::ControlModifier) set |= kModCtrl;
    if (modifiers & Qt::AltModifier) set |= kModAlt;
    if (modifiers & Qt::ShiftModifier) set |= kModShift;
    int own = 0;
    if (qtKey == Qt::Key_Control) own = kModCtrl;
    if (qtKey == Qt::Key_Alt) own = kModAlt;
    if (qtKey == Qt::Key_Shift) own = kModShift;
    if (own) set = type == QEvent::KeyRelease ? (set & ~own) : (set | own);
    return set;
}

namespace {

// The character code a key types, 0 when it types none.
int CharacterFor(int qtKey, const QString& text) {
    switch (qtKey) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return vk::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return vk::Return;
        case Qt::Key_Backspace: return vk::Back;
        case Qt::Key_Escape: return vk::Escape;
        default: return text.isEmpty() ? 0 : text.at(0).unicode();
    }
}

}  // namespace

std::vector<KeyMessage> KeyMessagesFor(QEvent::Type type, int qtKey,
                                       Qt::KeyboardModifiers modifiers, const QString& text) {
    const int modifierSet = ModifierSetFor(type, qtKey, modifiers);
    const int code = VirtualKeyFor(qtKey);
    if (type == QEvent::KeyRelease) return {{KeyMessageKind::KeyUp, code, modifierSet}};
    std::vector<KeyMessage> messages{{KeyMessageKind::KeyDown, code, modifierSet}};
    if (int character = CharacterFor(qtKey, text)) {
        messages.push_back({KeyMessageKind::Char, character, modifierSet});
    }
    return messages;
}

}  // namespace qorva
