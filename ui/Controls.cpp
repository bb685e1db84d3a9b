#include "ui/Controls.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace ui {

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
    case Glyph::Help: pixmap = QStyle::SP_DialogHelpButton; break;
    case Glyph::None: break;
    }
    if (pixmap != QStyle::SP_CustomBase)
        button->setIcon(button->style()->standardIcon(pixmap));
    return button;
}

} // namespace ui
