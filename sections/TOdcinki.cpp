#include "sections/TOdcinki.h"

#include "data/DataSource.h"
#include "data/Table.h"
#include "sections/SectionFields.h"
#include "ui/Controls.h"
#include "ui/DbEdit.h"
#include "ui/DbNavigator.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Handler.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>

namespace sections {

namespace {

constexpr int boxHeight = 21;

ui::DbEdit* dbEdit(QWidget* parent, const char* name, QPoint at, int width, data::DataSource* source,
                   const QString& field)
{
    auto* edit = new ui::DbEdit(name, parent, QRect(at, QSize(width, boxHeight)));
    edit->setDataSource(source, field);
    return edit;
}

// The edit boxes in tab order, by name; the rows of neighbours are filled in
// by buildNeighbourRows.
const char* const tabOrder[] = {
    "EditODCINEK", "EditSOT",   "EditCZEST", "EditIL_ODB", "EditDLUGOSC", "EditU_GR",  "EditOD_GR",
    "DBEdit1",     "EditU_GR2", "EditOD_GR2", "DBEdit2",   "EditU_GR3",   "EditOD_GR3", "DBEdit3",
    "EditU_GR4",   "EditOD_GR4", "DBEdit4",  "EditUWAGI",  "DBEdit5",     "DBEdit6",   "DBEdit7",
    "DBEdit8",     "DBEdit9",
};

} // namespace

TOdcinki::TOdcinki()
{
    setObjectName(QStringLiteral("Odcinki"));
    setWindowTitle(QStringLiteral("Wpis danych odcinków"));
    setFont(ui::winFont(QStringLiteral("MS Sans Serif"), 11));
    ui::setTextColor(this, Qt::black);
    ui::setOuterSize(this, QSize(437, 337), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(15255705));
    buildMenu();
    buildDataSet();
    buildControls();
    Table1->open();
}

void TOdcinki::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* programmer = ui::addMenu(bar, "dLAPROGRAMISTY1", QStringLiteral("Dla programisty"));
    ui::addCommand(programmer, "Wpis1", QStringLiteral("Wpis"), [this] { Wpis1Click(); });
}

void TOdcinki::buildDataSet()
{
    Table1 = new data::Table(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("odcinki.dbf"));
    Table1->setReadOnly(true);
    declareSectionEntryFields(*Table1);
    DataSource1 = new data::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Table1);
}

void TOdcinki::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    Panel1 = new ui::Panel("Panel1", client, QRect(8, 0, 265, 41), ui::winColor(4467949));
    Panel1->setFocusPolicy(Qt::ClickFocus);
    DBNavigator = new ui::DbNavigator("DBNavigator", Panel1, QRect(8, 8, 240, 25));
    DBNavigator->setDataSource(DataSource1);

    BitBtn1 = ui::makeButton(client, "BitBtn1", QStringLiteral("&ZAMKNIJ"), QRect(312, 0, 105, 33), ui::Glyph::Ignore);
    BitBtn1->setFont(ui::winFont(QStringLiteral("System"), 11, true));
    connect(BitBtn1, &QPushButton::clicked, this, ui::guarded([this] { BitBtn1Click(); }));

    // A raised panel with a lowered inner bevel four pixels inside it.
    Panel2 = new ui::Panel("Panel2", client, QRect(8, 48, 409, 217));
    auto* caption = new QLabel(QStringLiteral("Panel2"), Panel2);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(Panel2->rect());
    auto* inner = new QFrame(Panel2);
    inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    inner->setLineWidth(1);
    inner->setGeometry(5, 5, 409 - 10, 217 - 10);

    ScrollBox = new QScrollArea(Panel2);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setGeometry(6, 6, 395, 203);
    ScrollBox->setFrameShape(QFrame::NoFrame);
    // Its scroll range (262) is narrower than the box: no bar shows.
    ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setWidgetResizable(true);
    auto* box = new QWidget;
    box->setObjectName(QStringLiteral("ScrollBoxArea"));
    ui::setBackground(box, ui::winColor(8445728));
    ScrollBox->setWidget(box);
    buildScrollBox(box);
    orderTabs(box);
}

void TOdcinki::buildScrollBox(QWidget* box)
{
    struct Row {
        const char* label;
        const char* caption;
        QPoint labelAt;
        const char* edit;
        QPoint editAt;
        int width;
        const char* field;
    };
    const Row rows[] = {
        {"Label1", "ODCINEK", {62, 22}, "EditODCINEK", {6, 17}, 50, "ODCINEK"},
        {"Label2", "SOT", {62, 48}, "EditSOT", {6, 44}, 50, "SOT"},
        {"Label3", "Częstotliwość", {62, 77}, "EditCZEST", {6, 71}, 50, "CZEST"},
        {"Label4", "Il. odbiorników", {62, 104}, "EditIL_ODB", {6, 98}, 50, "IL_ODB"},
        {"Label13", "Długość", {62, 131}, "EditDLUGOSC", {6, 125}, 50, "DLUGOSC"},
        {"Label14", "UWAGI", {6, 164}, "EditUWAGI", {62, 163}, 250, "UWAGI"},
        {"Label10", "Typ EOT nad.", {320, 144}, "DBEdit9", {344, 160}, 25, "NAD_EOT"},
    };
    for (const Row& r : rows) {
        ui::makeLabel(box, r.label, QString::fromUtf8(r.caption), r.labelAt);
        dbEdit(box, r.edit, r.editAt, r.width, DataSource1, QString::fromLatin1(r.field));
    }
    ui::makeLabel(box, "Label6", QStringLiteral("Odcinki graniczące"), {224, 32});
    ui::makeLabel(box, "Label8", QStringLiteral("EOT"), {336, 32});
    buildNeighbourRows(box);
}

void TOdcinki::buildNeighbourRows(QWidget* box)
{
    struct Neighbour {
        const char* label;
        int labelTop;
        const char* uGr;
        const char* odGr;
        int top;
        const char* gZ;
        const char* e;
        int gzTop;
    };
    const Neighbour rows[] = {
        {"Label5", 56, "EditU_GR", "EditOD_GR", 50, "DBEdit1", "DBEdit5", 49},
        {"Label7", 80, "EditU_GR2", "EditOD_GR2", 75, "DBEdit2", "DBEdit6", 74},
        {"Label9", 104, "EditU_GR3", "EditOD_GR3", 100, "DBEdit3", "DBEdit7", 99},
        {"Label11", 131, "EditU_GR4", "EditOD_GR4", 124, "DBEdit4", "DBEdit8", 124},
    };
    for (int i = 0; i < 4; ++i) {
        const Neighbour& r = rows[i];
        const int n = i + 1;
        ui::makeLabel(box, r.label, QStringLiteral("Graniczy z:"), {162, r.labelTop});
        dbEdit(box, r.uGr, {222, r.top}, 20, DataSource1, QStringLiteral("U_GR%1").arg(n));
        dbEdit(box, r.odGr, {249, r.top}, 40, DataSource1, QStringLiteral("OD_GR%1").arg(n));
        dbEdit(box, r.gZ, {296, r.gzTop}, 25, DataSource1, QStringLiteral("G_Z%1").arg(n));
        dbEdit(box, r.e, {328, r.gzTop}, 49, DataSource1, QStringLiteral("E%1").arg(n));
    }
}

void TOdcinki::orderTabs(QWidget* box)
{
    QWidget* previous = nullptr;
    for (const char* name : tabOrder) {
        QWidget* w = box->findChild<QWidget*>(QString::fromLatin1(name));
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

// The first focus is on Panel1, the navigator's panel.
void TOdcinki::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        Panel1->setFocus();
    }
}

// A hidden window keeps its edit, but not the row from other users.
void TOdcinki::hideEvent(QHideEvent* event)
{
    Table1->releaseRecordLock();
    QMainWindow::hideEvent(event);
}

void TOdcinki::FormCreate()
{
    Table1->open(); // already open: nothing changes
}

// Closing hides the window; the table keeps its state, its row and an edit.
void TOdcinki::BitBtn1Click()
{
    close();
}

void TOdcinki::Wpis1Click()
{
    Q_EMIT sectionLockRequested();
}

void TOdcinki::unlock()
{
    Table1->close();
    Table1->setReadOnly(false);
    Table1->open();
}

} // namespace sections
