#include "sections/TPrzeglad.h"

#include "data/DataSource.h"
#include "data/Query.h"
#include "data/SelectedSection.h"
#include "data/Table.h"
#include "eot/FrequencyChoice.h"
#include "sections/ModuleRules.h"
#include "ui/Controls.h"
#include "ui/DbEdit.h"
#include "ui/DbLookupCombo.h"
#include "ui/DbText.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Handler.h"
#include "ui/Panel.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sections {

namespace {

const QColor panelColour = ui::winColor(15454834);
const QColor silver(192, 192, 192);

const QStringList reviewStatement = {
    QStringLiteral("select odcinki. *, czestotl.czestotl  from odcinki ,czestotl"),
    QStringLiteral("where (odcinki.odcinek =  :od) and (czestotl.C_ozn = odcinki.czest)")};

QFont arial(int pixels) { return ui::winFont(QStringLiteral("Arial"), pixels, true); }

QLabel* label(QWidget* parent, const char* name, const QString& caption, QPoint at)
{
    return ui::makeLabel(parent, name, caption, at);
}

void blackText(QWidget* w, const QFont& font)
{
    w->setFont(font);
    ui::setTextColor(w, Qt::black);
}

// A label sized to its text in its own font.
QLabel* boldLabel(QWidget* parent, const char* name, const QString& caption, QPoint at, const QFont& font)
{
    QLabel* l = ui::makeLabel(parent, name, caption, at);
    blackText(l, font);
    l->adjustSize();
    return l;
}

ui::DbEdit* dbEdit(QWidget* parent, const char* name, const QRect& at, data::DataSource* source, const char* field)
{
    auto* edit = new ui::DbEdit(name, parent, at);
    edit->setDataSource(source, QString::fromLatin1(field));
    return edit;
}

} // namespace

TPrzeglad::TPrzeglad()
{
    setObjectName(QStringLiteral("Przeglad"));
    setWindowTitle(QStringLiteral("Przeglad danych"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(500, 371), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(8388672));
    buildDataSets();
    buildControls();
    Table1->open();
    Table2->open();
}

void TPrzeglad::buildDataSets()
{
    using data::FieldKind;
    Table1 = new data::Table(this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(QStringLiteral("ODCINKI.DBF"));
    Table1->addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10);
    Table1->addField(QStringLiteral("CZEST"), FieldKind::SmallInt);
    DataSource2 = new data::DataSource(this);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource2->setDataSet(Table1);

    Query1 = new data::Query(this);
    Query1->setObjectName(QStringLiteral("Query1"));
    Query1->setSql(reviewStatement);
    const auto centred = [](data::Field* f) { f->setAlignment(Qt::AlignHCenter); };
    centred(Query1->addField(QStringLiteral("ODCINEK"), FieldKind::Text, 10));
    centred(Query1->addField(QStringLiteral("SOT"), FieldKind::Text, 10));
    centred(Query1->addField(QStringLiteral("IL_ODB"), FieldKind::SmallInt));
    centred(Query1->addField(QStringLiteral("DLUGOSC"), FieldKind::Text, 10));
    Query1->addField(QStringLiteral("UWAGI"), FieldKind::Text, 50);
    for (int n = 1; n <= 4; ++n) {
        centred(Query1->addField(QStringLiteral("OD_GR%1").arg(n), FieldKind::Text, 10));
        Query1->addField(QStringLiteral("U_GR%1").arg(n), FieldKind::Text, 1);
    }
    for (int n = 1; n <= 4; ++n)
        Query1->addField(QStringLiteral("G_Z%1").arg(n), FieldKind::Text, 1);
    for (int n = 1; n <= 4; ++n)
        Query1->addField(QStringLiteral("E%1").arg(n), FieldKind::Float);
    Query1->addField(QStringLiteral("CZESTOTL"), FieldKind::Float);
    Query1->addField(QStringLiteral("CZEST"), FieldKind::SmallInt);
    Query1->addField(QStringLiteral("NAD_EOT"), FieldKind::SmallInt);
    DataSource1 = new data::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(Query1);

    Table2 = new data::Table(this);
    Table2->setObjectName(QStringLiteral("Table2"));
    Table2->setTableName(QStringLiteral("CZESTOTL.DBF"));
    Table2->setIndexFieldNames(QStringLiteral("C_OZN"));
    Table2->setMasterSource(DataSource1);
    Table2->setMasterFields(QStringLiteral("CZEST"));
    Table2->addField(QStringLiteral("NR"), FieldKind::SmallInt);
    Table2->addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    Table2->addField(QStringLiteral("C_OZN"), FieldKind::SmallInt);
    Table2->addField(QStringLiteral("CZESTOTL"), FieldKind::Float);
    Table2->addField(QStringLiteral("KOLOR"), FieldKind::Text, 20);
    Table2->addField(QStringLiteral("EOT"), FieldKind::Text, 3);
}

void TPrzeglad::buildControls()
{
    // Panels and their controls are made in tab order.
    Panel1 = new ui::Panel("Panel1", this, QRect(16, 8, 249, 41), panelColour);
    const QFont rounded = ui::winFont(QStringLiteral("Arial Rounded MT Bold"), 21, true);
    blackText(ui::makeFixedLabel(Panel1, "Label3", QStringLiteral("Odcinek : "), QRect(8, 8, 102, 24)), rounded);
    auto* name = new ui::DbText("DBText1", Panel1, QRect(120, 8, 65, 25));
    name->setDataSource(DataSource1, QStringLiteral("ODCINEK"));
    blackText(name, rounded);

    Panel2 = new ui::Panel("Panel2", this, QRect(16, 56, 465, 225), panelColour);
    label(Panel2, "Label12", QStringLiteral("Typ SOT"), {56, 52});
    label(Panel2, "Label1", QStringLiteral("Częstotliwość"), {21, 85});
    boldLabel(Panel2, "Label2", QStringLiteral("Hz"), {178, 85}, ui::winFont(QStringLiteral("System"), 16, true));
    label(Panel2, "Il", QStringLiteral("Ilośc odb."), {48, 117});
    label(Panel2, "Label6", QStringLiteral("szt."), {178, 117});
    label(Panel2, "Label4", QStringLiteral("Długość"), {55, 152});
    label(Panel2, "Label5", QStringLiteral("m"), {178, 152});
    label(Panel2, "Label7", QStringLiteral("Graniczy z :"), {242, 24});
    const int rows[] = {51, 84, 116, 151};
    const char* eotLabels[] = {"Label8", "Label9", "Label10", "Label11"};
    const char* eotTexts[] = {"DBText2", "DBText3", "DBText4", "DBText5"};
    for (int i = 0; i < 4; ++i) {
        boldLabel(Panel2, eotLabels[i], QStringLiteral("EOT"), {320, rows[i]}, arial(16));
        auto* eot = new ui::DbText(eotTexts[i], Panel2, QRect(360, rows[i] + 1, 65, 17));
        eot->setDataSource(DataSource1, QStringLiteral("E%1").arg(i + 1));
        blackText(eot, arial(16));
    }
    boldLabel(Panel2, "Label13", QStringLiteral("UWAGI"), {48, 192}, arial(19));
    dbEdit(Panel2, "DBEdit1", QRect(120, 81, 57, 24), DataSource1, "CZESTOTL");
    dbEdit(Panel2, "DBEdit4", QRect(120, 113, 57, 24), DataSource1, "IL_ODB");
    dbEdit(Panel2, "DBEdit3", QRect(120, 148, 57, 24), DataSource1, "DLUGOSC");
    dbEdit(Panel2, "DBEdit5", QRect(120, 192, 337, 24), DataSource1, "UWAGI");
    dbEdit(Panel2, "DBEdit6", QRect(240, 48, 73, 24), DataSource1, "OD_GR1");
    dbEdit(Panel2, "DBEdit8", QRect(240, 81, 73, 24), DataSource1, "OD_GR2");
    dbEdit(Panel2, "DBEdit9", QRect(240, 113, 73, 24), DataSource1, "OD_GR3");
    dbEdit(Panel2, "DBEdit10", QRect(240, 148, 73, 24), DataSource1, "OD_GR4");
    dbEdit(Panel2, "DBEdit2", QRect(120, 48, 57, 24), DataSource1, "SOT");

    Panel3 = new ui::Panel("Panel3", this, QRect(272, 8, 209, 41), panelColour);
    Dodcinek = new ui::DbLookupCombo("Dodcinek", Panel3, QRect(16, 8, 73, 25));
    Dodcinek->setListSource(DataSource2, QStringLiteral("ODCINEK"));
    Dodcinek->setChangeHandler([this] { DodcinekChange(); });
    zm = ui::makeButton(Panel3, "zm", QStringLiteral("&Zamknij"), QRect(104, 8, 89, 25), ui::Glyph::Close);
    Bprz = ui::makeButton(Panel3, "Bprz", QStringLiteral("Przegląd"), QRect(8, 8, 81, 25));
    Bprz->stackUnder(Dodcinek);
    connect(zm, &QPushButton::clicked, this, ui::guarded([this] { close(); }));
    connect(Bprz, &QPushButton::clicked, this, ui::guarded([this] { BprzClick(); }));

    Panel4 = new ui::Panel("Panel4", this, QRect(16, 296, 465, 41), silver);
    label(Panel4, "Label14", QStringLiteral("Odbiornik"), {24, 12});
    Edit1 = ui::makeEdit(Panel4, "Edit1", QRect(104, 8, 113, 24));
    label(Panel4, "Label15", QStringLiteral("Nadajnik"), {240, 12});
    Edit2 = ui::makeEdit(Panel4, "Edit2", QRect(304, 8, 121, 24));
}

bool TPrzeglad::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        ui::runHandler([this] { FormActivate(); });
    return QWidget::event(e);
}

void TPrzeglad::FormCreate()
{
    Table2->open(); // already open: nothing changes
    Bprz->hide();
    Dodcinek->show();
}

void TPrzeglad::FormActivate()
{
    zm->setFocus();
}

bool TPrzeglad::planMode() const
{
    return Bprz->isVisibleTo(this);
}

void TPrzeglad::load(const QString& name)
{
    Query1->close();
    Query1->prepare();
    Query1->setParamText(0, name);
    Query1->open();
    wmer();
}

void TPrzeglad::podcinka()
{
    Bprz->show();
    Dodcinek->hide();
    load(data::selectedSection());
}

void TPrzeglad::DodcinekChange()
{
    const QString name = Table1->fieldByName(QStringLiteral("ODCINEK"))->asString();
    lastPicked_ = name;
    load(name);
}

void TPrzeglad::BprzClick()
{
    Dodcinek->show();
    Bprz->hide();
}

void TPrzeglad::wmer()
{
    const int nr = Table2->fieldByName(QStringLiteral("NR"))->asInteger();
    const int sot = Query1->fieldByName(QStringLiteral("SOT"))->asInteger();
    Edit1->setText(receiverModule(sot, nr));
    wnad();
}

void TPrzeglad::wnad()
{
    const int nr = Table2->fieldByName(QStringLiteral("NR"))->asInteger();
    const int sot = Query1->fieldByName(QStringLiteral("SOT"))->asInteger();
    const int n = Query1->fieldByName(QStringLiteral("NAD_EOT"))->asInteger();
    Edit2->setText(transmitterModule(n, sot, nr));
    Color();
}

void TPrzeglad::Color()
{
    const int code = Query1->fieldByName(QStringLiteral("CZEST"))->asInteger();
    // A section without one of the nine codes shows silver, the panel's
    // colour before any section: no frequency colour to show.
    const std::optional<std::uint32_t> colour = eot::colorOfCode(code);
    ui::setBackground(Panel4, colour ? ui::winColor(*colour) : silver);
}

} // namespace sections
