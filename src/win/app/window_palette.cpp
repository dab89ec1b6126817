#include "src/win/app/window_palette.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace qorva {
namespace {

// Styles that draw with the application's palette; others (those that paint
// with the desktop toolkit's own colours) are replaced by Fusion while dark.
bool StyleFollowsPalette(const QString& name) {
    for (const char* style : {"fusion", "breeze", "oxygen", "windows"})
        if (name.compare(QLatin1String(style), Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

QPalette DarkWindowPalette() {
    const QColor window(0x2d, 0x2d, 0x2d), base(0x1e, 0x1e, 0x1e), text(0xda, 0xda, 0xda),
        button(0x35, 0x35, 0x35), faint(0x80, 0x80, 0x80);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x6b));
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, faint);
    palette.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    palette.setColor(QPalette::Midlight, QColor(0x42, 0x42, 0x42));
    palette.setColor(QPalette::Mid, QColor(0x26, 0x26, 0x26));
    palette.setColor(QPalette::Dark, QColor(0x1a, 0x1a, 0x1a));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x6e, 0x5a, 0x78));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    palette.setColor(QPalette::LinkVisited, QColor(0xc5, 0x8a, 0xf9));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, faint);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, button);
    return palette;
}

void UseDarkWindowPalette(bool dark) {
    static bool isDark = false;
    static const QString desktopStyle = QApplication::style()->name();
    if (dark == isDark) return;
    isDark = dark;
    if (dark) {
        if (!StyleFollowsPalette(desktopStyle)) QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkWindowPalette());
    } else {
        if (!StyleFollowsPalette(desktopStyle)) QApplication::setStyle(QStyleFactory::create(desktopStyle));
        // An empty palette is the desktop's again, and follows its changes.
        QApplication::setPalette(QPalette());
    }
}

}  // namespace qorva
