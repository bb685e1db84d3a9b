#include "sections/TWpis.h"

#include "data/DataSource.h"
#include "data/Table.h"
#include "ui/DbGrid.h"
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
    buildDataSets();
    buildGrids();
    Table1->open();
    Table2->open();
}

// A hidden window keeps its edits, but not the rows from other users.
void TWpis::hideEvent(QHideEvent* event)
{
    Table1->releaseRecordLock();
    Table2->releaseRecordLock();
    QWidget::hideEvent(event);
}

void TWpis::buildDataSets()
{
    using data::FieldKind;
    Table1 = new data::Table(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("CZESTOTL.DBF"));
    Table1->addField(QStringLiteral("EOT"), FieldKind::Text, 3, QString(), 4);
    Table1->addField(QStringLiteral("SOT"), FieldKind::SmallInt, 0, QString(), 4);
    Table1->addField(QStringLiteral("NR"), FieldKind::SmallInt, 0, QString(), 4);
    Table1->addField(QStringLiteral("C_OZN"), FieldKind::SmallInt, 0, QStringLiteral("Symb"), 6);
    Table1->addField(QStringLiteral("CZESTOTL"), FieldKind::Float, 0, QStringLiteral("Częstotl"), 8);
    Table1->addField(QStringLiteral("KOLOR"), FieldKind::Text, 20, QString(), 14);
    DataSource1 = new data::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);

    Table2 = new data::Table(this);
    Table2->setObjectName(QStringLiteral("Table2"));
    Table2->setTableName(QStringLiteral("MER.DBF"));
    Table2->addField(QStringLiteral("SOT"), FieldKind::SmallInt, 0, QString(), 5);
    Table2->addField(QStringLiteral("TYP"), FieldKind::Float, 0, QString(), 10);
    Table2->addField(QStringLiteral("R"), FieldKind::Text, 1, QString(), 2);
    Table2->addField(QStringLiteral("EOT"), FieldKind::Text, 3);
    Table2->addField(QStringLiteral("UWAGI"), FieldKind::Text, 20);
    DataSource2 = new data::DataSource(this);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource2->setDataSet(Table2);
}

// The lower grid reaches past the client area; the frame can be enlarged.
void TWpis::buildGrids()
{
    DBGrid2 = new ui::DbGrid("DBGrid2", this, QRect(16, 16, 385, 137));
    DBGrid2->setDataSource(DataSource2);
    DBGrid1 = new ui::DbGrid("DBGrid1", this, QRect(13, 164, 388, 285));
    DBGrid1->setDataSource(DataSource1);
}

} // namespace sections
