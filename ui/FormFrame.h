#pragma once

#include <QSize>

class QWidget;

namespace ui {

// Window sizes of the design are outer sizes, frame and caption included.
// Qt sizes a window by its inside, so the frame of the platform the design
// was made on is taken off: a sizeable frame is 4 px on each side under a
// 19 px caption, a dialog frame 3 px under the same caption.
enum class Frame { Sizeable, Dialog };

QSize clientSizeOf(QSize outer, Frame frame);
QSize outerSizeOf(QSize client, Frame frame);

// Sizes a top-level window to the outer size of the design and records it,
// so placement can centre the window as the design measured it.
void setOuterSize(QWidget* window, QSize outer, Frame frame);
// Sizes a fixed dialog by its client area.
void setFixedClientSize(QWidget* window, QSize client);
QSize designedOuterSize(const QWidget* window);

} // namespace ui
