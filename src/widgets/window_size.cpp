#include "widgets/window_size.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vardelo {

QRect fittedWindowGeometry(QSize wanted, const QRect& available, const QMargins& frame) {
    const QSize room = available.marginsRemoved(frame).size().expandedTo(QSize(1, 1));
    const QSize size = wanted.boundedTo(room).expandedTo(QSize(1, 1));
    QRect outer(QPoint(0, 0), size.grownBy(frame));
    outer.moveCenter(available.center());
    // Centring an odd leftover can put the frame a pixel outside; the top left corner always stays inside.
    outer.moveLeft(std::max(outer.left(), available.left()));
    outer.moveTop(std::max(outer.top(), available.top()));
    return outer.marginsRemoved(frame);
}

void fitWindowToScreen(QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    if (!wanted.isValid())
        wanted = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
    if (!wanted.isValid())
        return;
    const QRect geometry = fittedWindowGeometry(wanted, screen->availableGeometry());
    // Never below what its content needs: a screen smaller than that leaves the window at its minimum size
    // rather than cut its fields (every window's minimum fits a 1024x768 screen).
    window.resize(geometry.size());
    window.move(geometry.topLeft() - QPoint(assumedWindowFrame.left(), assumedWindowFrame.top()));
}

} // namespace vardelo
