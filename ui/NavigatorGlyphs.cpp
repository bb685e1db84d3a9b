#include "ui/NavigatorGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {

namespace {

constexpr int side = 16;

// Drawn on a 16 x 16 grid; the centre line is y = 8.
void triangle(QPainter& p, qreal tipX, qreal baseX)
{
    QPainterPath path;
    path.moveTo(tipX, 8);
    path.lineTo(baseX, 3.5);
    path.lineTo(baseX, 12.5);
    path.closeSubpath();
    p.fillPath(path, Qt::black);
}

void bar(QPainter& p, qreal x)
{
    p.fillRect(QRectF(x, 3.5, 2, 9), Qt::black);
}

void plus(QPainter& p, bool vertical)
{
    p.fillRect(QRectF(3, 7, 10, 2), Qt::black);
    if (vertical)
        p.fillRect(QRectF(7, 3, 2, 10), Qt::black);
}

void upTriangle(QPainter& p)
{
    QPainterPath path;
    path.moveTo(8, 4);
    path.lineTo(13, 12);
    path.lineTo(3, 12);
    path.closeSubpath();
    p.fillPath(path, Qt::black);
}

void tick(QPainter& p)
{
    p.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
}

void cross(QPainter& p)
{
    p.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void circleArrow(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 280 * 16);
    QPainterPath head;
    head.moveTo(8, 0.8);
    head.lineTo(11.5, 3);
    head.lineTo(8, 5.2);
    head.closeSubpath();
    p.fillPath(head, Qt::black);
}

void draw(QPainter& p, NavigatorButton button)
{
    switch (button) {
    case NavigatorButton::First: bar(p, 3); triangle(p, 5.5, 12.5); break;
    case NavigatorButton::Prior: triangle(p, 4.5, 11.5); break;
    case NavigatorButton::Next: triangle(p, 11.5, 4.5); break;
    case NavigatorButton::Last: triangle(p, 10.5, 3.5); bar(p, 11); break;
    case NavigatorButton::Insert: plus(p, true); break;
    case NavigatorButton::Delete: plus(p, false); break;
    case NavigatorButton::Edit: upTriangle(p); break;
    case NavigatorButton::Post: tick(p); break;
    case NavigatorButton::Cancel: cross(p); break;
    case NavigatorButton::Refresh: circleArrow(p); break;
    }
}

} // namespace

QIcon navigatorGlyph(NavigatorButton button)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, button);
    p.end();
    return QIcon(pixmap);
}

} // namespace ui
