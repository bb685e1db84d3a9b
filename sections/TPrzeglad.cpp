#include "sections/TPrzeglad.h"

#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

namespace sections {

TPrzeglad::TPrzeglad()
{
    setObjectName(QStringLiteral("Przeglad"));
    setWindowTitle(QStringLiteral("Przeglad danych"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(500, 371), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(8388672));
}

void TPrzeglad::FormCreate()
{
}

void TPrzeglad::podcinka()
{
}

} // namespace sections
