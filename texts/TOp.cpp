#include "texts/TOp.h"

#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Menus.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QMenuBar>

namespace texts {

TOp::TOp()
{
    setObjectName(QStringLiteral("Op"));
    setWindowTitle(QStringLiteral("Opis urządzeń"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(477, 446), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(0x0000DB6D));
    buildMenu();
}

void TOp::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* tablice = ui::addMenu(bar, "Tablice1", QStringLiteral("Tablice"));
    ui::addCommand(tablice, "EOT1", QStringLiteral("EOT"), {});
    ui::addCommand(tablice, "Uwagi1", QStringLiteral("Uwagi"), {});
}

void TOp::FormCreate()
{
}

} // namespace texts
