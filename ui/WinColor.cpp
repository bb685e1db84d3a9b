#include "ui/WinColor.h"

#include <QWidget>

namespace ui {

void setBackground(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

QColor background(const QWidget* widget)
{
    return widget->palette().color(QPalette::Window);
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

} // namespace ui
