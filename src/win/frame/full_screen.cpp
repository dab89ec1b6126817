#include "src/win/frame/full_screen.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

namespace qorva {

void FullScreen::Toggle() {
    if (!on_) {
        QScreen* screen = frame_.screen() ? frame_.screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        savedGeometry_ = frame_.saveGeometry();
        savedRect_ = frame_.geometry();
        savedStates_ = frame_.windowState();
        frame_.menuBar()->hide();
        frame_.setWindowState(savedStates_ | Qt::WindowFullScreen);
        // Also where no window manager carries out the full-screen state.
        frame_.setGeometry(screen->geometry());
        on_ = true;
    } else {
        frame_.setWindowState(savedStates_ & ~Qt::WindowFullScreen);
        frame_.restoreGeometry(savedGeometry_);
        // Put back explicitly too, for desktops without a window manager.
        if (!(savedStates_ & Qt::WindowMaximized)) frame_.setGeometry(savedRect_);
        frame_.menuBar()->show();
        on_ = false;
    }
}

bool FullScreen::NormallyMaximized() const {
    return (on_ ? savedStates_ : frame_.windowState()).testFlag(Qt::WindowMaximized);
}

QRect FullScreen::NormalGeometry() const {
    if (on_) return savedRect_;
    return NormallyMaximized() ? frame_.normalGeometry() : frame_.geometry();
}

}  // namespace qorva
