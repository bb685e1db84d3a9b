#include "ui/Controls.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace ui {

namespace {
// The help kind's question mark; the style's own help icon needs an icon
// theme that a plain desktop may not have.
QIcon helpGlyph()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(pixmap);
}
} // namespace

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(at);
    label->adjustSize(); // sized to its text
    return label;
}

QLabel* makeFixedLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry, Glyph glyph)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    QStyle::StandardPixmap pixmap = QStyle::SP_CustomBase;
    switch (glyph) {
    case Glyph::Ok: pixmap = QStyle::SP_DialogOkButton; break;
    case Glyph::Cancel: pixmap = QStyle::SP_DialogCancelButton; break;
    case Glyph::Close: pixmap = QStyle::SP_DialogCloseButton; break;
    case Glyph::Ignore: pixmap = QStyle::SP_DialogDiscardButton; break;
    case Glyph::Help: button->setIcon(helpGlyph()); return button;
    case Glyph::None: break;
    }
    if (pixmap != QStyle::SP_CustomBase)
        button->setIcon(button->style()->standardIcon(pixmap));
    return button;
}

} // namespace ui
