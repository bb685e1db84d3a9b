#include "sections/TOdcinki.h"

#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Menus.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QMenuBar>

namespace sections {

TOdcinki::TOdcinki()
{
    setObjectName(QStringLiteral("Odcinki"));
    setWindowTitle(QStringLiteral("Wpis danych odcinków"));
    setFont(ui::winFont(QStringLiteral("MS Sans Serif"), 11));
    ui::setOuterSize(this, QSize(437, 337), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(15255705));
    buildMenu();
}

void TOdcinki::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* programmer = ui::addMenu(bar, "dLAPROGRAMISTY1", QStringLiteral("Dla programisty"));
    ui::addCommand(programmer, "Wpis1", QStringLiteral("Wpis"), [this] { Q_EMIT sectionLockRequested(); });
}

void TOdcinki::FormCreate()
{
}

} // namespace sections

namespace sections {

void TOdcinki::unlock()
{
}

} // namespace sections
