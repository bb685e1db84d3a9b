#pragma once

#include <QString>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace ui {

// A drop-down menu on `bar`, carrying the component name as its object name.
QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption);
// A command of `menu` whose handler runs guarded. Captions have no '&': no
// item has a shortcut key.
QAction* addCommand(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler);
// A command that stands on the bar itself, without a drop-down.
QAction* addBarCommand(QMenuBar* bar, const char* name, const QString& caption, std::function<void()> handler);

} // namespace ui
