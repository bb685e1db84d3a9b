#include "plan/TPlany.h"

#include "ui/FormFrame.h"
#include "ui/Menus.h"
#include "ui/WinFont.h"

#include <QMenuBar>

namespace plan {

TPlany::TPlany()
{
    setObjectName(QStringLiteral("Plany"));
    setWindowTitle(QStringLiteral("Plan stacji"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(648, 488), ui::Frame::Sizeable);
    buildMenu();
}

void TPlany::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* tablice = ui::addMenu(bar, "TABLICE1", QStringLiteral("TABLICE    "));
    ui::addCommand(tablice, "Kzn11", QStringLiteral("Kzn 1"), [this] { Kzn11Click(); });
    ui::addCommand(tablice, "cdplanu1", QStringLiteral("Kzn"), [this] { cdplanu1Click(); });
    ui::addCommand(tablice, "Odcinkidane1", QStringLiteral("Odcinki - dane"), [this] { Q_EMIT reviewRequested(); });
    ui::addCommand(tablice, "OpisSOT1", QStringLiteral("Opis SOT"), [this] { Q_EMIT descriptionsRequested(); });
    ui::addCommand(tablice, "Dane", QStringLiteral("Dane tech SOT"), [this] { Q_EMIT techDataRequested(); });
    ui::addCommand(tablice, "EOT1", QStringLiteral("EOT"), [this] { Q_EMIT finderRequested(); });
    ui::addCommand(tablice, "UwagioEOT1", QStringLiteral("Uwagi o EOT"), [this] { Q_EMIT notesRequested(); });
    ui::addCommand(tablice, "Przegldodc1", QStringLiteral("Przegląd odc."), [this] { Q_EMIT sectionEntryRequested(); });
    QMenu* info = ui::addMenu(bar, "INFO1", QStringLiteral("INFO      "));
    ui::addCommand(info, "Oorogramie1", QStringLiteral("Oprogramie"), [this] { Q_EMIT aboutRequested(); });
    ui::addBarCommand(bar, "N1", QStringLiteral("ZAMKNIJ"), [this] { Q_EMIT quitRequested(); });
}

void TPlany::FormCreate()
{
}

void TPlany::Kzn11Click()
{
}

void TPlany::cdplanu1Click()
{
}

} // namespace plan
