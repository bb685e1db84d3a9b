#include "texts/TNotatki.h"

#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

namespace texts {

TNotatki::TNotatki()
{
    setObjectName(QStringLiteral("Notatki"));
    setWindowTitle(QStringLiteral("UWAGI O SPRZĘCIE"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(435, 337), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(0x00FE8386));
}

} // namespace texts
