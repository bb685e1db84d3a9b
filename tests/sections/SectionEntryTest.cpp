#include "app/Shell.h"
#include "data/Failure.h"
#include "data/Table.h"
#include "plan/TPlany.h"
#include "sections/TOdcinki.h"
#include "tests/sections/EntryTestSupport.h"
#include "tests/support/Menus.h"
#include "tests/support/Station.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"
#include "ui/DbEdit.h"
#include "ui/DbNavigator.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using data::FieldKind;
using entry_test::click;
using testing_support::SeenModal;
using testing_support::withModals;
using Nav = ui::NavigatorButton;

// The section table's columns in the order the station's file has them.
const std::vector<entry_test::Column> fileColumns = {
    {"ODCINEK", FieldKind::Text, 10}, {"SOT", FieldKind::Text, 10},     {"CZEST", FieldKind::SmallInt},
    {"IL_ODB", FieldKind::SmallInt},  {"DLUGOSC", FieldKind::Text, 10}, {"UWAGI", FieldKind::Text, 50},
    {"OD_GR1", FieldKind::Text, 10},  {"U_GR1", FieldKind::Text, 1},    {"G_Z1", FieldKind::Text, 1},
    {"OD_GR2", FieldKind::Text, 10},  {"U_GR2", FieldKind::Text, 1},    {"G_Z2", FieldKind::Text, 1},
    {"OD_GR3", FieldKind::Text, 10},  {"U_GR3", FieldKind::Text, 1},    {"G_Z3", FieldKind::Text, 1},
    {"OD_GR4", FieldKind::Text, 10},  {"U_GR4", FieldKind::Text, 1},    {"G_Z4", FieldKind::Text, 1},
    {"E1", FieldKind::Float},         {"E2", FieldKind::Float},         {"E3", FieldKind::Float},
    {"E4", FieldKind::Float},         {"NAD_EOT", FieldKind::SmallInt},
};

int column(const char* name)
{
    for (size_t i = 0; i < fileColumns.size(); ++i) {
        if (QLatin1String(fileColumns[i].name) == QLatin1String(name))
            return int(i);
    }
    throw std::runtime_error(std::string("no column ") + name);
}

// Every value differs from every other, so a box bound to the wrong column shows.
QVariantList sectionRow(int n)
{
    const QString s = QString::number(n);
    QVariantList row{QStringLiteral("A") + s, QStringLiteral("2") + s, 10 + n, n, QStringLiteral("1") + s + QStringLiteral("0"),
                     QStringLiteral("uwagi A") + s};
    const char marks[] = "abcdefgh";
    for (int g = 0; g < 4; ++g)
        row << QStringLiteral("N%1r%2").arg(g + 1).arg(n) << QString(QLatin1Char(marks[2 * g]))
            << QString(QLatin1Char(marks[2 * g + 1]));
    for (int g = 0; g < 4; ++g)
        row << 100 * n + g + 1;
    row << n + 4;
    return row;
}

QString rowText(const QVariantList& row)
{
    QStringList values;
    for (const QVariant& v : row)
        values << (v.isNull() ? QString() : v.toString());
    return values.join(QLatin1Char('|'));
}

class SectionEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing_support::writeStation(dir.path());
        for (int n = 1; n <= 3; ++n)
            rows.push_back(sectionRow(n));
        testing_support::writeTable(dir.file(QStringLiteral("ODCINKI.DBF")), QString::fromLatin1(testing_support::odcinkiLayout),
                                    rows);
        start();
    }

    void start()
    {
        shell = std::make_unique<app::Shell>();
        shell->start();
        window = shell->odcinki();
        testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Przegląd odc.")});
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    std::vector<SeenModal> unlock()
    {
        return withModals(
            [&] { testing_support::chooseMenu(window, {QStringLiteral("Dla programisty"), QStringLiteral("Wpis")}); },
            entry_test::typeCode(QStringLiteral("mewakul")));
    }

    ui::DbEdit* box(const char* name) const
    {
        auto* b = window->findChild<ui::DbEdit*>(QString::fromLatin1(name));
        if (!b)
            throw std::runtime_error(std::string("no box ") + name);
        return b;
    }
    QToolButton* nav(Nav which) const
    {
        return window->findChild<ui::DbNavigator*>(QStringLiteral("DBNavigator"))->button(which);
    }
    // The ten buttons' enabled states, first to refresh, as '1' and '0'.
    QString navStates() const
    {
        QString s;
        for (int i = 0; i < ui::navigatorButtonCount; ++i)
            s += nav(Nav(i))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    // Replaces a box's text by typing, as a person does: click, select all, type.
    void type(const char* name, const QString& text)
    {
        ui::DbEdit* b = box(name);
        click(b);
        QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(b, Qt::Key_Delete);
        entry_test::typeText(b, text);
    }
    std::vector<SeenModal> press(Nav which, const testing_support::Responder& respond = testing_support::answerDefault)
    {
        return withModals([&] { click(nav(which)); }, respond);
    }
    data::DataSet::State state() const { return window->table()->state(); }

    QString path() const { return dir.file(QStringLiteral("ODCINKI.DBF")); }
    QStringList expectedFile() const
    {
        QStringList out;
        for (const QVariantList& r : rows)
            out << rowText(r);
        return out;
    }
    // The file as a fresh data set and python3-dbfread read it.
    void expectFileHolds(const QStringList& expected) const
    {
        EXPECT_EQ(entry_test::rowsByDataSet(path(), fileColumns), expected) << "read by a fresh data set";
        EXPECT_EQ(entry_test::rowsByDbfread(path(), fileColumns), expected) << "read by python3-dbfread";
    }

    testing_support::TempDir dir;
    std::vector<QVariantList> rows;
    std::unique_ptr<app::Shell> shell;
    sections::TOdcinki* window = nullptr;
};

// Each box by name and the column it shows.
const std::pair<const char*, const char*> boxes[] = {
    {"EditODCINEK", "ODCINEK"}, {"EditSOT", "SOT"},       {"EditCZEST", "CZEST"},     {"EditIL_ODB", "IL_ODB"},
    {"EditDLUGOSC", "DLUGOSC"}, {"EditUWAGI", "UWAGI"},   {"DBEdit9", "NAD_EOT"},     {"EditU_GR", "U_GR1"},
    {"EditOD_GR", "OD_GR1"},    {"DBEdit1", "G_Z1"},      {"DBEdit5", "E1"},          {"EditU_GR2", "U_GR2"},
    {"EditOD_GR2", "OD_GR2"},   {"DBEdit2", "G_Z2"},      {"DBEdit6", "E2"},          {"EditU_GR3", "U_GR3"},
    {"EditOD_GR3", "OD_GR3"},   {"DBEdit3", "G_Z3"},      {"DBEdit7", "E3"},          {"EditU_GR4", "U_GR4"},
    {"EditOD_GR4", "OD_GR4"},   {"DBEdit4", "G_Z4"},      {"DBEdit8", "E4"},
};

TEST_F(SectionEntry, BoxesShowTheCurrentRowAndFollowTheNavigator)
{
    EXPECT_EQ(navStates(), QStringLiteral("0011000001"));
    for (int n : {0, 1, 2}) {
        if (n == 1)
            press(Nav::Next);
        if (n == 2)
            press(Nav::Last);
        for (const auto& [name, col] : boxes)
            EXPECT_EQ(box(name)->text(), rows[size_t(n)][column(col)].toString()) << name << " row " << n;
    }
    EXPECT_EQ(navStates(), QStringLiteral("1100000001")) << "at the end";
    press(Nav::Prior);
    EXPECT_EQ(box("EditODCINEK")->text(), QStringLiteral("A2"));
    EXPECT_EQ(navStates(), QStringLiteral("1111000001"));
    press(Nav::First);
    EXPECT_EQ(box("EditODCINEK")->text(), QStringLiteral("A1"));
    EXPECT_EQ(navStates(), QStringLiteral("0011000001"));
}

TEST_F(SectionEntry, TabGoesThroughTheBoxesInOrderAndTextBoxesKeepToTheirWidth)
{
    const QStringList order = {
        "EditODCINEK", "EditSOT",   "EditCZEST",  "EditIL_ODB", "EditDLUGOSC", "EditU_GR",   "EditOD_GR", "DBEdit1",
        "EditU_GR2",   "EditOD_GR2", "DBEdit2",   "EditU_GR3",  "EditOD_GR3",  "DBEdit3",    "EditU_GR4", "EditOD_GR4",
        "DBEdit4",     "EditUWAGI", "DBEdit5",    "DBEdit6",    "DBEdit7",     "DBEdit8",    "DBEdit9"};
    click(box("EditODCINEK"));
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, order);
    EXPECT_EQ(box("EditODCINEK")->maxLength(), 10);
    EXPECT_EQ(box("EditUWAGI")->maxLength(), 50);
    EXPECT_EQ(box("EditU_GR3")->maxLength(), 1);
    EXPECT_EQ(box("DBEdit4")->maxLength(), 1);
}

TEST_F(SectionEntry, ReadOnlyTableTakesNoTyping)
{
    const QByteArray before = dir.read(QStringLiteral("ODCINKI.DBF"));
    const auto seen = withModals([&] {
        type("EditUWAGI", QStringLiteral("abc"));
        QTest::keyClick(box("EditUWAGI"), Qt::Key_Backspace);
        type("EditIL_ODB", QStringLiteral("7"));
        QTest::keyClick(box("EditIL_ODB"), Qt::Key_Tab);
    });
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("uwagi A1"));
    EXPECT_EQ(box("EditIL_ODB")->text(), QStringLiteral("1"));
    EXPECT_EQ(state(), data::DataSet::State::Browse);
    EXPECT_EQ(navStates(), QStringLiteral("0011000001")) << "insert, delete, edit, post and cancel disabled";
    EXPECT_EQ(dir.read(QStringLiteral("ODCINKI.DBF")), before);
}

TEST_F(SectionEntry, NavigatorFollowsEditing)
{
    ASSERT_EQ(unlock().size(), 1u);
    EXPECT_EQ(navStates(), QStringLiteral("0011111001"));
    type("EditUWAGI", QStringLiteral("x"));
    EXPECT_EQ(state(), data::DataSet::State::Edit);
    EXPECT_EQ(navStates(), QStringLiteral("0011110111"));
    press(Nav::Post);
    EXPECT_EQ(navStates(), QStringLiteral("1111111001"));
    press(Nav::Insert);
    EXPECT_EQ(navStates(), QStringLiteral("1111110111"));
    press(Nav::Cancel);
    EXPECT_EQ(state(), data::DataSet::State::Browse);
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("x"));
}

enum class PostBy { Post, Next, Last, Insert };

struct EditCase {
    const char* name;
    const char* box;
    const char* typed;
    const char* column;
    const char* stored;
    PostBy how;
};

const EditCase editCases[] = {
    {"TextPostedByTheNavigator", "EditUWAGI", "Zażółć gęślą jaźń", "UWAGI", "Zażółć gęślą jaźń", PostBy::Post},
    {"SmallIntegerPostedByMovingOn", "EditIL_ODB", "7", "IL_ODB", "7", PostBy::Next},
    {"NegativeSmallIntegerPostedByMovingToTheEnd", "EditCZEST", "-9", "CZEST", "-9", PostBy::Last},
    {"FloatWithAnExponent", "DBEdit5", "2.5e3", "E1", "2500", PostBy::Post},
    {"FloatEmptiedIsBlank", "DBEdit6", "", "E2", "", PostBy::Next},
    {"MarkPostedBeforeAnInsert", "EditU_GR2", "x", "U_GR2", "x", PostBy::Insert},
    {"TextCutToItsColumn", "EditODCINEK", "ABCDEFGHIJKL", "ODCINEK", "ABCDEFGHIJ", PostBy::Post},
};

class SectionEdits : public SectionEntry, public ::testing::WithParamInterface<EditCase> {};

TEST_P(SectionEdits, PostedChangeIsInTheFileAndNothingBefore)
{
    const EditCase& c = GetParam();
    ASSERT_EQ(unlock().size(), 1u);
    const auto typing = withModals([&] { type(c.box, QString::fromUtf8(c.typed)); });
    EXPECT_TRUE(typing.empty());
    EXPECT_EQ(state(), data::DataSet::State::Edit);
    EXPECT_EQ(entry_test::rowsByDataSet(path(), fileColumns), expectedFile()) << "nothing written before the post";

    const Nav button = c.how == PostBy::Post ? Nav::Post : c.how == PostBy::Next ? Nav::Next : c.how == PostBy::Last ? Nav::Last : Nav::Insert;
    const auto posting = press(button);
    EXPECT_TRUE(posting.empty()) << (posting.empty() ? std::string() : posting[0].text.toStdString());
    EXPECT_EQ(state(), c.how == PostBy::Insert ? data::DataSet::State::Insert : data::DataSet::State::Browse);
    rows[0][column(c.column)] = QString::fromUtf8(c.stored);
    expectFileHolds(expectedFile());
}

INSTANTIATE_TEST_SUITE_P(Boxes, SectionEdits, ::testing::ValuesIn(editCases),
                         [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST_F(SectionEntry, BoxesTakeOnlyCharactersThatSuitTheirField)
{
    ASSERT_EQ(unlock().size(), 1u);
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"EditIL_ODB", "1a2 b", "12"},
        {"DBEdit9", "x-3,", "-3"},
        {"DBEdit5", "x1.5y", "1.5"},
        {"EditUWAGI", "a1-? ź", "a1-? ź"},
    };
    for (const auto& [name, typed, shown] : cases) {
        type(name, QString::fromUtf8(typed));
        EXPECT_EQ(box(name)->text(), QString::fromUtf8(shown)) << name;
    }
    press(Nav::Cancel);
}

TEST_F(SectionEntry, CancelAndEscDropTypedText)
{
    ASSERT_EQ(unlock().size(), 1u);
    type("EditUWAGI", QStringLiteral("zz"));
    QTest::keyClick(box("EditUWAGI"), Qt::Key_Escape);
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("uwagi A1")) << "Esc gives the box its field back";
    type("EditUWAGI", QStringLiteral("yy"));
    type("EditIL_ODB", QStringLiteral("9"));
    EXPECT_TRUE(press(Nav::Cancel).empty());
    EXPECT_EQ(state(), data::DataSet::State::Browse);
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("uwagi A1"));
    EXPECT_EQ(box("EditIL_ODB")->text(), QStringLiteral("1"));
    press(Nav::Next);
    expectFileHolds(expectedFile());
}

TEST_F(SectionEntry, InsertedRowGoesToTheEndOfTheFile)
{
    ASSERT_EQ(unlock().size(), 1u);
    press(Nav::Insert);
    for (const auto& [name, col] : boxes)
        EXPECT_EQ(box(name)->text(), QString()) << name;
    type("EditODCINEK", QStringLiteral("NOWY"));
    type("EditSOT", QStringLiteral("22"));
    type("EditCZEST", QStringLiteral("80"));
    type("DBEdit8", QStringLiteral("318800"));
    EXPECT_TRUE(press(Nav::Post).empty());
    EXPECT_EQ(box("EditODCINEK")->text(), QStringLiteral("NOWY"));
    QVariantList added(int(fileColumns.size()));
    added[column("ODCINEK")] = QStringLiteral("NOWY");
    added[column("SOT")] = QStringLiteral("22");
    added[column("CZEST")] = 80;
    added[column("E4")] = 318800;
    rows.push_back(added);
    expectFileHolds(expectedFile());
}

TEST_F(SectionEntry, DeleteAsksFirstAndGoesOnlyOnOk)
{
    ASSERT_EQ(unlock().size(), 1u);
    press(Nav::Next);
    auto seen = press(Nav::Delete, entry_test::answerDelete(false));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Delete record?"));
    EXPECT_EQ(box("EditODCINEK")->text(), QStringLiteral("A2"));
    expectFileHolds(expectedFile());

    seen = press(Nav::Delete, entry_test::answerDelete(true));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(box("EditODCINEK")->text(), QStringLiteral("A3"));
    rows.erase(rows.begin() + 1);
    expectFileHolds(expectedFile());
}

struct RefusalCase {
    const char* name;
    const char* box;
    const char* typed;
    const char* message;
};

const RefusalCase refusals[] = {
    {"SmallIntegerOutOfRange", "EditIL_ODB", "99999",
     "99999 is not a valid value for field 'IL_ODB'. The allowed range is -32768 to 32767"},
    {"SmallIntegerWithASignInside", "EditCZEST", "1-2", "'1-2' is not a valid integer value for field 'CZEST'"},
    {"SignAlone", "DBEdit9", "-", "'-' is not a valid integer value for field 'NAD_EOT'"},
    {"FloatWithoutExponentDigits", "DBEdit5", "1e", "'1e' is not a valid floating point value for field 'E1'"},
    {"FloatWithTwoPoints", "DBEdit7", "1.2.3", "'1.2.3' is not a valid floating point value for field 'E3'"},
    {"NumberWiderThanItsColumn", "EditCZEST", "-12", "Value -12 does not fit field 'CZEST' of width 2.\nFile: ODCINKI.DBF"},
};

class SectionRefusals : public SectionEntry, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(SectionRefusals, RefusedTextKeepsTheRowInEdit)
{
    const RefusalCase& c = GetParam();
    const QString message = QString::fromUtf8(c.message) + QLatin1Char('.');
    ASSERT_EQ(unlock().size(), 1u);
    type(c.box, QString::fromUtf8(c.typed));
    for (Nav way : {Nav::Post, Nav::Next}) {
        const auto seen = press(way);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].objectName, QStringLiteral("failureBox"));
        EXPECT_EQ(seen[0].text, message);
        EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
        EXPECT_EQ(state(), data::DataSet::State::Edit);
        EXPECT_EQ(box("EditODCINEK")->text(), QStringLiteral("A1"));
        EXPECT_EQ(box(c.box)->text(), QString::fromUtf8(c.typed)) << "the text stays to be corrected";
    }
    expectFileHolds(expectedFile());
    press(Nav::Cancel);
    EXPECT_EQ(state(), data::DataSet::State::Browse);
}

INSTANTIATE_TEST_SUITE_P(Texts, SectionRefusals, ::testing::ValuesIn(refusals),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(SectionEntry, TableThatCannotOpenAgainStaysClosedUntilTheCodeIsEnteredAgain)
{
    ASSERT_TRUE(QFile::rename(path(), dir.file(QStringLiteral("ODCINKI.BAK"))));
    auto seen = unlock();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].objectName, QStringLiteral("failureBox"));
    EXPECT_TRUE(seen[1].text.startsWith(QStringLiteral("Table does not exist."))) << seen[1].text.toStdString();
    EXPECT_FALSE(window->table()->isActive());
    for (const auto& [name, col] : boxes)
        EXPECT_EQ(box(name)->text(), QString()) << name;
    EXPECT_EQ(navStates(), QStringLiteral("0000000000"));
    type("EditUWAGI", QStringLiteral("x"));
    EXPECT_EQ(box("EditUWAGI")->text(), QString());

    ASSERT_TRUE(QFile::rename(dir.file(QStringLiteral("ODCINKI.BAK")), path()));
    seen = unlock();
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(window->table()->canModify());
    EXPECT_EQ(box("EditODCINEK")->text(), QStringLiteral("A1"));
    EXPECT_EQ(navStates(), QStringLiteral("0011111001"));
}

TEST_F(SectionEntry, ClosedWindowKeepsTheRowBeingEdited)
{
    ASSERT_EQ(unlock().size(), 1u);
    type("EditUWAGI", QStringLiteral("kept"));
    click(window->findChild<QWidget*>(QStringLiteral("BitBtn1")));
    ASSERT_FALSE(window->isVisible());
    testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Przegląd odc.")});
    EXPECT_EQ(state(), data::DataSet::State::Edit);
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("kept"));
    press(Nav::Post);
    rows[0][column("UWAGI")] = QStringLiteral("kept");
    expectFileHolds(expectedFile());
}

// Another workstation's data set: its own descriptor, so its record locks
// and this window's exclude each other as two programs' do.
class OtherUser {
public:
    explicit OtherUser(const QString& path)
    {
        table.setTableName(path);
        uwagi = table.addField(QStringLiteral("UWAGI"), FieldKind::Text, 50);
        table.open();
    }
    data::Table table;
    data::Field* uwagi;
};

TEST_F(SectionEntry, RowEditedElsewhereIsRefusedUntilPostedThere)
{
    ASSERT_EQ(unlock().size(), 1u);
    OtherUser other(path());
    other.table.edit();
    other.uwagi->setAsString(QStringLiteral("tam"));

    const auto seen = withModals([&] { type("EditUWAGI", QStringLiteral("tu")); });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].objectName, QStringLiteral("failureBox"));
    EXPECT_EQ(seen[0].text, QStringLiteral("Record locked by another user.\nFile: ODCINKI.DBF."));
    EXPECT_EQ(state(), data::DataSet::State::Browse);
    EXPECT_EQ(box("EditUWAGI")->text(), rows[0][column("UWAGI")].toString()) << "the row stays as it was";

    other.table.post();
    QTest::keyClick(box("EditUWAGI"), Qt::Key_X);
    EXPECT_EQ(state(), data::DataSet::State::Edit);
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("tam")) << "the edit starts from the row on disk, the key unapplied";
    type("EditUWAGI", QStringLiteral("tu"));
    EXPECT_TRUE(press(Nav::Post).empty());
    rows[0][column("UWAGI")] = QStringLiteral("tu");
    expectFileHolds(expectedFile());
}

// A hidden window keeps its edit but lets others at the row; its post then
// goes through only over the record its edit started from.
TEST_F(SectionEntry, HiddenWindowLetsOthersAtTheRowItEdits)
{
    ASSERT_EQ(unlock().size(), 1u);
    type("EditUWAGI", QStringLiteral("tu"));
    OtherUser other(path());
    EXPECT_THROW(other.table.edit(), data::Failure);

    click(window->findChild<QWidget*>(QStringLiteral("BitBtn1")));
    other.table.edit();
    other.uwagi->setAsString(QStringLiteral("tam"));
    other.table.post();

    testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Przegląd odc.")});
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("tu"));
    const auto seen = press(Nav::Post);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Couldn't perform the edit because another user changed the record."));
    EXPECT_EQ(state(), data::DataSet::State::Edit);
    rows[0][column("UWAGI")] = QStringLiteral("tam");
    expectFileHolds(expectedFile());
    EXPECT_NO_THROW({ other.table.edit(); other.table.cancel(); }) << "the refusal holds no lock";

    press(Nav::Cancel);
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("tam")) << "cancel shows the row as it is now";
    type("EditUWAGI", QStringLiteral("tu"));
    press(Nav::Post);
    rows[0][column("UWAGI")] = QStringLiteral("tu");
    expectFileHolds(expectedFile());
}

TEST_F(SectionEntry, PostedEditSurvivesTheNextStartAndAnUnpostedOneIsDropped)
{
    ASSERT_EQ(unlock().size(), 1u);
    type("EditUWAGI", QStringLiteral("posted"));
    press(Nav::Next);
    type("EditUWAGI", QStringLiteral("unposted"));
    shell.reset();
    rows[0][column("UWAGI")] = QStringLiteral("posted");
    expectFileHolds(expectedFile());

    start();
    EXPECT_EQ(box("EditUWAGI")->text(), QStringLiteral("posted"));
    EXPECT_FALSE(window->table()->canModify()) << "a new run starts locked";
}

} // namespace
