#include "sections/TOdcinki.h"

#include "data/DataSource.h"
#include "data/Table.h"
#include "sections/SectionFields.h"
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

    Table1 = new data::Table(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("odcinki.dbf"));
    Table1->setReadOnly(true);
    declareSectionEntryFields(*Table1);
    DataSource1 = new data::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);
    Table1->open();
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
    Table1->open(); // already open: nothing changes
}

} // namespace sections

namespace sections {

void TOdcinki::unlock()
{
}

} // namespace sections
