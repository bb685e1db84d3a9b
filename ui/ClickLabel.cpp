#include "ui/ClickLabel.h"

#include "ui/Handler.h"

#include <QMouseEvent>

namespace ui {

ClickLabel::ClickLabel(const char* name, const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setObjectName(QString::fromLatin1(name));
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click && handler_)
        runHandler(handler_);
}

// The second press of a double click arrives as a double-click event; it is
// no press, so its release clicks nothing.
void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = false;
    event->accept();
}

} // namespace ui
