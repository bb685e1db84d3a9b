#include "eot/TForm1.h"

#include "data/Conversions.h"
#include "data/Failure.h"
#include "data/Query.h"
#include "eot/FrequencyChoice.h"
#include "ui/Controls.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Handler.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/RadioGroup.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace eot {

namespace {

QStringList frequencyItems()
{
    QStringList items;
    for (const FrequencyChoice& c : frequencyTable())
        items.append(QString::fromLatin1(c.itemText));
    return items;
}

const QStringList merLookUp = {QStringLiteral("Select * from MER where sot = :tsot and r = :tr and eot = :reot")};
const QStringList frequencyLookUp = {
    QStringLiteral("select * from czestotl where sot = :Isot and C_ozn = :ico and eot = :ieot")};
const QStringList frequencyLookUpTwoLines = {QStringLiteral("select * from czestotl"),
                                             QStringLiteral(" where sot = :Isot and C_ozn = :ico and eot = :ieot")};

data::Query* makeQuery(QObject* owner, const char* name, const QStringList& sql)
{
    auto* q = new data::Query(owner);
    q->setObjectName(QString::fromLatin1(name));
    q->setSql(sql);
    return q;
}

void declareFrequencyFields(data::Query* q)
{
    using data::FieldKind;
    q->addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    q->addField(QStringLiteral("NR"), FieldKind::SmallInt);
    q->addField(QStringLiteral("C_OZN"), FieldKind::SmallInt);
    q->addField(QStringLiteral("CZESTOTL"), FieldKind::Float);
    q->addField(QStringLiteral("KOLOR"), FieldKind::Text, 20);
    q->addField(QStringLiteral("EOT"), FieldKind::Text, 3);
}

} // namespace

TForm1::TForm1()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Znajdowanie urz. EOT"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(612, 448), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(finderWindowColor));
    buildMenu();
    buildControls();
    buildQueries();
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

void TForm1::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    const QStringList items = frequencyItems();
    Rn = new ui::RadioGroup("Rn", QStringLiteral("Nadajnik"), items, client);
    Rn->setGeometry(24, 32, 105, 225);
    Ro1 = new ui::RadioGroup("Ro1", QStringLiteral("Odbiornik 1"), items, client);
    Ro1->setGeometry(160, 32, 113, 225);
    Ro2 = new ui::RadioGroup("Ro2", QStringLiteral("Odbiornik 2"), items, client);
    Ro2->setGeometry(304, 32, 105, 225);
    for (ui::RadioGroup* g : {Rn, Ro1, Ro2})
        g->setItemIndex(0);

    // Created in tab order: the groups, Find, the boxes, ZAMKNIJ, UWAGI, the family.
    Button1 = ui::makeButton(client, "Button1", QStringLiteral("Znajdź EOT"), QRect(440, 192, 89, 25));
    Label1 = ui::makeLabel(client, "Label1", QStringLiteral("Typ  EOT"), QPoint(48, 280));
    Edit1 = ui::makeEdit(client, "Edit1", QRect(24, 304, 121, 24));
    Label2 = ui::makeFixedLabel(client, "Label2", QString(), QRect(186, 281, 119, 16));
    Edit2 = ui::makeEdit(client, "Edit2", QRect(184, 304, 121, 24));
    Label3 = ui::makeFixedLabel(client, "Label3", QString(), QRect(352, 282, 118, 16));
    Edit3 = ui::makeEdit(client, "Edit3", QRect(352, 304, 121, 24));
    Label3->hide();
    Edit3->hide();
    Button2 = ui::makeButton(client, "Button2", QStringLiteral("ZAMKNIJ"), QRect(512, 8, 89, 25));
    BitBtn1 = ui::makeButton(client, "BitBtn1", QStringLiteral("UWAGI"), QRect(440, 64, 81, 25), ui::Glyph::Help);
    BitBtn1->setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setTextColor(BitBtn1, ui::winColor(0x000000FF));

    Panel1 = new ui::Panel("Panel1", client, QRect(424, 88, 121, 105), ui::winColor(0x000000FF));
    Rt = new ui::RadioGroup("Rt", QStringLiteral("TYP  EOT"),
                            {QStringLiteral("EOT 3-7"), QStringLiteral("EOT 9"), QStringLiteral("EOT 1")}, Panel1);
    Rt->setGeometry(8, 8, 105, 89);
    ui::setBackground(Rt, ui::winColor(11054809));
    Rt->setItemIndex(0);
    Button1->raise(); // its top edge lies over the panel's last row

    Rn->setClickHandler([this] { RnClick(); });
    Ro1->setClickHandler([this] { Ro1Click(); });
    Ro2->setClickHandler([this] { Ro2Click(); });
    Rt->setClickHandler([this] { RtClick(); });
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(BitBtn1, &QPushButton::clicked, this, ui::guarded([this] { Q_EMIT notesRequested(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
}

void TForm1::buildQueries()
{
    using data::FieldKind;
    Query1 = makeQuery(this, "Query1", merLookUp);
    Query1->addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    Query1->addField(QStringLiteral("R"), FieldKind::Text, 1);
    Query1->addField(QStringLiteral("TYP"), FieldKind::Float);

    Query2 = makeQuery(this, "Query2", frequencyLookUp);
    declareFrequencyFields(Query2);

    Query3 = makeQuery(this, "Query3", merLookUp);
    Query3->addField(QStringLiteral("SOT"), FieldKind::SmallInt);
    Query3->addField(QStringLiteral("TYP"), FieldKind::Float);
    Query3->addField(QStringLiteral("R"), FieldKind::Text, 1);
    Query3->addField(QStringLiteral("UWAGI"), FieldKind::Text, 20);
    Query3->addField(QStringLiteral("EOT"), FieldKind::Text, 3);

    Query4 = makeQuery(this, "Query4", frequencyLookUpTwoLines);
    declareFrequencyFields(Query4);
}

void TForm1::FormCreate()
{
    state_.codeRn = state_.codeRo1 = state_.codeRo2 = QStringLiteral("00");
    state_.eotName.clear();
    state_.eotFamily = QStringLiteral("3-7");
    state_.indexRt = 0;
    state_.twoDevices = 0;
    Label3->hide();
    Edit3->hide();
}

void TForm1::wyczysc()
{
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Label2->clear();
    Label3->clear();
    state_.twoDevices = 0;
    Label3->hide();
    Edit3->hide();
}

void TForm1::frequencyChanged(ui::RadioGroup* group, QString& code, int& index, int& sot)
{
    wyczysc();
    index = group->itemIndex();
    code = codeOfIndex(index);
    sot = sotClassOfIndex(index);
    ui::setBackground(group, ui::winColor(color(index)));
}

void TForm1::RnClick()
{
    frequencyChanged(Rn, state_.codeRn, state_.indexRn, state_.sotRn);
    drodbiornik();
}

void TForm1::Ro1Click()
{
    frequencyChanged(Ro1, state_.codeRo1, state_.indexRo1, state_.sotRo1);
}

void TForm1::Ro2Click()
{
    frequencyChanged(Ro2, state_.codeRo2, state_.indexRo2, state_.sotRo2);
}

void TForm1::drodbiornik()
{
    if (state_.indexRn == 0 && state_.indexRt == 0)
        Ro2->show();
    else if (state_.indexRn != 0)
        Ro2->hide();
}

void TForm1::RtClick()
{
    Edit1->clear();
    // Each group that leaves its "0" runs its own handling, which still sees
    // the previous family; the visibility is settled after.
    Rn->setItemIndex(0);
    Ro1->setItemIndex(0);
    Ro2->setItemIndex(0);
    state_.eotFamily = familyOfIndex(Rt->itemIndex());
    state_.indexRt = Rt->itemIndex();
    if (state_.indexRt == 1 || state_.indexRt == 2) {
        Ro1->hide();
        Ro2->hide();
    } else {
        Ro1->show();
        Ro2->setVisible(state_.codeRn == QLatin1String("00"));
    }
}

void TForm1::Button1Click()
{
    state_.eotName = composeDesignation(state_);
    Edit1->setText(state_.eotName);
    nazwy();
}

void TForm1::nazwy()
{
    assignRoles(state_);
    if (!Edit1->text().isEmpty())
        odczyt();
}

QString TForm1::lookUp(data::Query* types, data::Query* variants, int sot, const QString& role, const QString& code,
                       QString& typ, QString& nr)
{
    types->close();
    types->prepare();
    types->setParamInteger(0, sot);
    types->setParamText(1, role);
    types->setParamText(2, state_.eotFamily);
    types->open();
    typ = QString::number(types->fieldByName(QStringLiteral("TYP"))->asInteger());

    const std::optional<int> number = data::strictToInt(code);
    if (!number)
        throw data::Failure(QString::fromLatin1(data::Failure::Convert),
                            QStringLiteral("'%1' is not a valid integer value").arg(code));
    variants->close();
    variants->prepare();
    variants->setParamInteger(0, sot);
    variants->setParamInteger(1, *number);
    variants->setParamText(2, state_.eotFamily);
    variants->open();
    nr = QString::number(variants->fieldByName(QStringLiteral("NR"))->asInteger());
    return QStringLiteral("MER-") + typ + QLatin1Char('/') + nr;
}

namespace {
QString roleCaption(const QString& role)
{
    if (role == QLatin1String("N"))
        return QStringLiteral("NADAJNIK");
    if (role == QLatin1String("O"))
        return QStringLiteral("ODBIORNIK");
    return QString();
}
} // namespace

void TForm1::odczyt()
{
    Edit2->setText(lookUp(Query1, Query2, state_.sot1, state_.role1, state_.code1, state_.typ1, state_.nr1));
    const QString caption = roleCaption(state_.role1);
    if (!caption.isEmpty())
        Label2->setText(caption);
    if (state_.twoDevices == 1) {
        BOdczyt();
    } else {
        Label3->hide();
        Edit3->hide();
    }
}

void TForm1::BOdczyt()
{
    Label3->show();
    Edit3->show();
    Edit3->setText(lookUp(Query3, Query4, state_.sot2, state_.role2, state_.code2, state_.typ2, state_.nr2));
    const QString caption = roleCaption(state_.role2);
    if (!caption.isEmpty())
        Label3->setText(caption);
}

void TForm1::Button2Click()
{
    Query1->close();
    Query2->close();
    Query3->close();
    Query4->close();
    close();
}

} // namespace eot
