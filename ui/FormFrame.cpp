#include "ui/FormFrame.h"

#include <QVariant>
#include <QWidget>

namespace ui {

namespace {
constexpr int caption = 19;
int border(Frame frame) { return frame == Frame::Sizeable ? 4 : 3; }
constexpr const char* outerProperty = "obwOuterSize";
} // namespace

QSize clientSizeOf(QSize outer, Frame frame)
{
    const int b = border(frame);
    return QSize(outer.width() - 2 * b, outer.height() - 2 * b - caption);
}

QSize outerSizeOf(QSize client, Frame frame)
{
    const int b = border(frame);
    return QSize(client.width() + 2 * b, client.height() + 2 * b + caption);
}

void setOuterSize(QWidget* window, QSize outer, Frame frame)
{
    window->resize(clientSizeOf(outer, frame));
    window->setProperty(outerProperty, outer);
}

void setFixedClientSize(QWidget* window, QSize client)
{
    window->setFixedSize(client);
    window->setProperty(outerProperty, outerSizeOf(client, Frame::Dialog));
}

QSize designedOuterSize(const QWidget* window)
{
    const QVariant v = window->property(outerProperty);
    return v.isValid() ? v.toSize() : window->frameGeometry().size();
}

} // namespace ui
