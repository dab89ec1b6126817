// Full screen for the main window: the menu bar hidden and the window covering its
// monitor, task bars included, then put back as it was. The state is kept here:
// without a window manager Qt never reports it.
#pragma once

#include <QByteArray>
#include <QRect>

class QMainWindow;

namespace qorva {

class FullScreen {
public:
    explicit FullScreen(QMainWindow& frame) : frame_(frame) {}

    // With no monitor to cover, nothing changes.
    void Toggle();

    // The window as it is when shown normally (before full screen, if on), so that
    // the next window can be placed the same way.
    bool NormallyMaximized() const;
    QRect NormalGeometry() const;

private:
    QMainWindow& frame_;
    bool on_ = false;
    QByteArray savedGeometry_;
    QRect savedRect_;
    Qt::WindowStates savedStates_;
};

}  // namespace qorva
