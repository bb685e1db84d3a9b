#pragma once

class QWidget;

namespace ui {

// The window is placed in the middle of the screen on its first showing only;
// afterwards it reappears wherever it was hidden.
void setScreenCentred(QWidget* window);

// Places a window due for its first showing. Called by showForm, and by
// whoever shows a window modally.
void placeForFirstShow(QWidget* window);

// The modeless show of the program: place on first showing, make visible and
// bring to the front. A window already visible only comes to the front.
void showForm(QWidget* window);

} // namespace ui
