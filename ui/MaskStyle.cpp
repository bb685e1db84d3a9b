#include "ui/MaskStyle.h"

#include <QApplication>
#include <QLineEdit>

namespace ui {

MaskStyle::MaskStyle() : QProxyStyle(QApplication::style()->name())
{
}

void MaskStyle::apply(QLineEdit* box)
{
    auto* style = new MaskStyle;
    style->setParent(box);
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}

int MaskStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const
{
    if (hint == QStyle::SH_LineEdit_PasswordCharacter)
        return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace ui
