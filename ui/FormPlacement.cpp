#include "ui/FormPlacement.h"

#include "ui/FormFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {
constexpr const char* centredProperty = "obwScreenCentred";
constexpr const char* placedProperty = "obwPlaced";
} // namespace

void setScreenCentred(QWidget* window)
{
    window->setProperty(centredProperty, true);
}

void placeForFirstShow(QWidget* window)
{
    if (window->property(placedProperty).toBool())
        return;
    window->setProperty(placedProperty, true);
    if (!window->property(centredProperty).toBool())
        return;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    const QSize outer = designedOuterSize(window);
    const int left = std::max(0, area.left() + (area.width() - outer.width()) / 2);
    const int top = std::max(0, area.top() + (area.height() - outer.height()) / 2);
    window->move(left, top);
}

void showForm(QWidget* window)
{
    placeForFirstShow(window);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace ui
