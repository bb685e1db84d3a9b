#include "sections/TWpis.h"

#include "ui/FormFrame.h"
#include "ui/WinFont.h"

namespace sections {

TWpis::TWpis()
{
    setObjectName(QStringLiteral("Wpis"));
    setWindowTitle(QStringLiteral("Wpis"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(387, 346), ui::Frame::Sizeable);
    move(213, 78);
}

} // namespace sections
