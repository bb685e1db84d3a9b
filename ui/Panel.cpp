#include "ui/Panel.h"

#include "ui/WinColor.h"

namespace ui {

Panel::Panel(const char* name, QWidget* parent, const QRect& geometry) : QFrame(parent)
{
    setObjectName(QString::fromLatin1(name));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setGeometry(geometry);
}

Panel::Panel(const char* name, QWidget* parent, const QRect& geometry, const QColor& color) : Panel(name, parent, geometry)
{
    setBackground(this, color);
}

} // namespace ui
