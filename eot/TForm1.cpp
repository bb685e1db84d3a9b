#include "eot/TForm1.h"

#include "eot/FrequencyChoice.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Menus.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace eot {

TForm1::TForm1()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Znajdowanie urz. EOT"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(612, 448), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(finderWindowColor));
    buildMenu();
}

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* tablice = ui::addMenu(bar, "Tablice1", QStringLiteral("Tablice"));
    tablice->menuAction()->setCheckable(true);
    tablice->menuAction()->setChecked(true);
    ui::addCommand(tablice, "Opis1", QStringLiteral("Opis"), [this] { Q_EMIT descriptionsRequested(); });
    ui::addCommand(tablice, "Notatki1", QStringLiteral("Uwagi"), [this] { Q_EMIT notesRequested(); });
    ui::addCommand(tablice, "Dtechniczne1", QStringLiteral("D. techniczne"), [this] { Q_EMIT techDataRequested(); });
    ui::addCommand(tablice, "Przegld1", QStringLiteral("Przegląd"), [this] { Q_EMIT reviewRequested(); });
    ui::addCommand(tablice, "Planstacji1", QStringLiteral("Plan stacji"), [this] { Q_EMIT planRequested(); });
    QMenu* programmer = ui::addMenu(bar, "Dlaprogramisty1", QStringLiteral("Dla programisty"));
    ui::addCommand(programmer, "Wpis2", QStringLiteral("Wpis"), [this] { Q_EMIT programmerEntryRequested(); });
}

void TForm1::FormCreate()
{
    state_ = FinderState{};
}

} // namespace eot
