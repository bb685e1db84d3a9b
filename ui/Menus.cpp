#include "ui/Menus.h"

#include "ui/Handler.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace ui {

namespace {
QAction* bind(QAction* action, const char* name, std::function<void()> handler)
{
    action->setObjectName(QString::fromLatin1(name));
    if (handler)
        QObject::connect(action, &QAction::triggered, action, guarded(std::move(handler)));
    return action;
}
} // namespace

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    return menu;
}

QAction* addCommand(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler)
{
    return bind(menu->addAction(caption), name, std::move(handler));
}

QAction* addBarCommand(QMenuBar* bar, const char* name, const QString& caption, std::function<void()> handler)
{
    return bind(bar->addAction(caption), name, std::move(handler));
}

} // namespace ui
