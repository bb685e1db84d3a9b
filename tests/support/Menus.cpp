#include "tests/support/Menus.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <stdexcept>

namespace testing_support {

namespace {
QAction* findAction(const QList<QAction*>& actions, const QString& caption)
{
    for (QAction* a : actions) {
        if (a->text() == caption)
            return a;
    }
    throw std::runtime_error("no menu item " + caption.toStdString());
}
} // namespace

void chooseMenu(QMainWindow* window, const QStringList& path)
{
    QMenuBar* bar = window->menuBar();
    QAction* action = findAction(bar->actions(), path.first());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
    for (qsizetype i = 1; i < path.size(); ++i) {
        QMenu* menu = action->menu();
        if (!menu)
            throw std::runtime_error("not a menu: " + action->text().toStdString());
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000))
            throw std::runtime_error("menu did not open: " + action->text().toStdString());
        action = findAction(menu->actions(), path.at(i));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }
    QApplication::processEvents();
}

} // namespace testing_support
