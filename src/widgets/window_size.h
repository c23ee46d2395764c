#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace vardelo {

// The room a window manager's frame takes around a window that has not been shown yet (title bar and
// borders).
inline constexpr QMargins assumedWindowFrame{8, 32, 8, 8};

// The first geometry of a window (its inside, without the frame): the size it wants, no larger than the
// available area less the frame, and placed so that the whole window, frame included, lies in that area
// (centred on it).
QRect fittedWindowGeometry(QSize wanted, const QRect& available, const QMargins& frame = assumedWindowFrame);

// Gives a window its first size: the wanted size (the window's own size hint when none is given), made to fit
// the available area of the window's screen, and centres it there. Every window calls it (the UI service does
// for the modal ones), so no button is ever off the edge of a small screen.
void fitWindowToScreen(QWidget& window, QSize wanted = QSize());

} // namespace vardelo
