#include "texts/TDtech.h"

#include "ui/FormFrame.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

namespace texts {

TDtech::TDtech()
{
    setObjectName(QStringLiteral("Dtech"));
    setWindowTitle(QStringLiteral("Dane techniczne urządzeń"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(461, 418), ui::Frame::Sizeable);
    move(226, 87);
    ui::setBackground(this, ui::winColor(0x00DB79F0));
}

void TDtech::FormCreate()
{
}

} // namespace texts
