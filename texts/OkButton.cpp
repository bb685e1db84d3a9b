#include "texts/OkButton.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace texts {

OkButton::OkButton(QWidget* parent) : QPushButton(QStringLiteral("OK"), parent)
{
}

QPixmap OkButton::glyph()
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath check;
    check.moveTo(3, 9);
    check.lineTo(7, 14);
    check.lineTo(15, 4);
    p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(check);
    return pixmap;
}

void OkButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    p.drawControl(QStyle::CE_PushButton, option);

    const QPixmap check = glyph();
    const int shift = isDown() ? 1 : 0;
    const int glyphLeft = margin + shift;
    p.drawPixmap(glyphLeft, (height() - check.height()) / 2 + shift, check);
    const QRect rest(glyphLeft + check.width(), shift, width() - glyphLeft - check.width(), height());
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(rest, Qt::AlignCenter, text());
}

} // namespace texts
