#pragma once

#include <QString>
#include <QStringList>

class QMainWindow;
class QAction;

namespace testing_support {

// Chooses a menu command with real clicks: the bar item, then each item of the
// drop-downs by caption. A bar command ("ZAMKNIJ") is a path of one caption.
void chooseMenu(QMainWindow* window, const QStringList& path);

} // namespace testing_support
