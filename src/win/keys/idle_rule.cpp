#include "src/win/keys/idle_rule.h"

namespace qorva {

bool StartsIdlePeriod(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchEnd:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::WindowStateChange:
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Close:
        case QEvent::Clipboard:
            return true;
        default:
            // Events the program posts to itself count; Qt's own user range starts here.
            return type >= QEvent::User && type <= QEvent::MaxUser;
    }
}

}  // namespace qorva
