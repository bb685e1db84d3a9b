#include "texts/Tinfor.h"

#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/WinColor.h"

namespace texts {

Tinfor::Tinfor()
{
    setObjectName(QStringLiteral("infor"));
    setWindowTitle(QStringLiteral("Informacja o programie"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ui::setFixedClientSize(this, QSize(298, 213));
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(0x00BC438E));
}

} // namespace texts
