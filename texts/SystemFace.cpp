#include "texts/SystemFace.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace texts {

void SystemFace::keep(QWidget* widget)
{
    const QPalette system = QGuiApplication::palette();
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, system.color(QPalette::Window));
    p.setColor(QPalette::Button, system.color(QPalette::Button));
    widget->setPalette(p);
}

} // namespace texts
