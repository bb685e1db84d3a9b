#pragma once

class QWidget;

namespace ui {

// "Delete record?" with OK and Cancel, asked by the navigator and the grid
// before a row goes; true only on OK.
bool askDeleteRecord(QWidget* parent);

} // namespace ui
