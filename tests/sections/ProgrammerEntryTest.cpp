#include "app/Shell.h"
#include "data/Failure.h"
#include "data/Table.h"
#include "eot/TForm1.h"
#include "plan/TPlany.h"
#include "sections/TWpis.h"
#include "tests/sections/EntryTestSupport.h"
#include "tests/support/Menus.h"
#include "tests/support/Station.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"
#include "ui/DataSetModel.h"
#include "ui/DbGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using data::FieldKind;
using testing_support::SeenModal;
using testing_support::withModals;

const std::vector<entry_test::Column> merColumns = {
    {"SOT", FieldKind::SmallInt}, {"TYP", FieldKind::Float}, {"R", FieldKind::Text, 1},
    {"EOT", FieldKind::Text, 3},  {"UWAGI", FieldKind::Text, 20}};
const std::vector<entry_test::Column> czestotlColumns = {
    {"EOT", FieldKind::Text, 3},   {"SOT", FieldKind::SmallInt},   {"NR", FieldKind::SmallInt},
    {"C_OZN", FieldKind::SmallInt}, {"CZESTOTL", FieldKind::Float}, {"KOLOR", FieldKind::Text, 20}};

enum class Grid { Modules, Frequencies };

class ProgrammerEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing_support::writeStation(dir.path());
        mer = {"21|11702|N|3-7|nadajnik 21", "22|11701|N|3-7|nadajnik 22", "21|11401|O|3-7|odbiornik 21",
               "22|11403|O|3-7|odbiornik 22"};
        czestotl = {"3-7|21|1|15|1580|niebieski", "3-7|21|3|21|2170|czerwony", "3-7|22|2|10|10000|szary"};
        testing_support::writeMer(dir.path(), rowsOf(mer));
        testing_support::writeCzestotl(dir.path(), rowsOf(czestotl));
        shell = std::make_unique<app::Shell>();
        shell->start();
        testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
        const auto seen = withModals(
            [&] {
                testing_support::chooseMenu(shell->form1(), {QStringLiteral("Dla programisty"), QStringLiteral("Wpis")});
            },
            entry_test::typeCode(QStringLiteral("736294")));
        ASSERT_EQ(seen.size(), 1u);
        window = shell->wpis();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    static std::vector<QVariantList> rowsOf(const QStringList& texts)
    {
        std::vector<QVariantList> rows;
        for (const QString& t : texts) {
            QVariantList row;
            for (const QString& v : t.split(QLatin1Char('|'))) {
                bool number = false;
                const int n = v.toInt(&number);
                row << (number ? QVariant(n) : QVariant(v));
            }
            rows.push_back(row);
        }
        return rows;
    }

    ui::DbGrid* grid(Grid which) const
    {
        return window->findChild<ui::DbGrid*>(which == Grid::Modules ? QStringLiteral("DBGrid2") : QStringLiteral("DBGrid1"));
    }
    data::DataSet* table(Grid which) const
    {
        return which == Grid::Modules ? static_cast<data::DataSet*>(window->modules()) : window->frequencies();
    }
    QString cell(Grid which, int row, int column) const
    {
        return grid(which)->model()->index(row, column).data().toString();
    }
    QString marker(Grid which, int row) const
    {
        return grid(which)->model()->headerData(row, Qt::Vertical).toString();
    }
    int rowCount(Grid which) const { return grid(which)->model()->rowCount(); }

    // A click on a cell; on the current cell it would start its editor after
    // a while, so there the grid only takes the focus.
    void clickCell(Grid which, int row, int column)
    {
        ui::DbGrid* g = grid(which);
        const QModelIndex index = g->model()->index(row, column);
        if (g->currentIndex() == index)
            g->setFocus(Qt::MouseFocusReason);
        else
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
    }
    // The headless platform gives no window the activation back when a
    // message box closes; a window manager does.
    void focusBack() const
    {
        if (!QApplication::focusWidget()) {
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        }
    }
    // Typing over the current cell: the first key opens its editor, unless
    // one is open already (after Tab).
    void typeOver(const QString& text)
    {
        for (const QChar c : text) {
            focusBack();
            entry_test::typeText(QApplication::focusWidget(), QString(c));
        }
    }
    // A key to whatever has the focus, as a person's goes.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        focusBack();
        QTest::keyClick(QApplication::focusWidget(), k, mods);
        QApplication::processEvents(); // Enter stores the editor's text from the event loop
    }
    QLineEdit* editor(Grid which) const
    {
        return grid(which)->viewport()->findChild<QLineEdit*>(QStringLiteral("InplaceEditor"));
    }

    QString merPath() const { return dir.file(QStringLiteral("MER.DBF")); }
    QString czestotlPath() const { return dir.file(QStringLiteral("CZESTOTL.DBF")); }
    void expectFiles() const
    {
        EXPECT_EQ(entry_test::rowsByDataSet(merPath(), merColumns), mer) << "MER.DBF by a fresh data set";
        EXPECT_EQ(entry_test::rowsByDbfread(merPath(), merColumns), mer) << "MER.DBF by python3-dbfread";
        EXPECT_EQ(entry_test::rowsByDataSet(czestotlPath(), czestotlColumns), czestotl) << "CZESTOTL.DBF by a fresh data set";
        EXPECT_EQ(entry_test::rowsByDbfread(czestotlPath(), czestotlColumns), czestotl) << "CZESTOTL.DBF by python3-dbfread";
    }

    testing_support::TempDir dir;
    QStringList mer;
    QStringList czestotl;
    std::unique_ptr<app::Shell> shell;
    sections::TWpis* window = nullptr;
};

TEST_F(ProgrammerEntry, GridsShowTheirTablesInTheDeclaredColumns)
{
    const QStringList merTitles = {"SOT", "TYP", "R", "EOT", "UWAGI"};
    const QStringList czestotlTitles = {"EOT", "SOT", "NR", "Symb", QStringLiteral("Częstotl"), "KOLOR"};
    for (auto [which, titles, rows] : {std::tuple{Grid::Modules, merTitles, mer}, std::tuple{Grid::Frequencies, czestotlTitles, czestotl}}) {
        QStringList shownTitles;
        for (int c = 0; c < grid(which)->model()->columnCount(); ++c)
            shownTitles << grid(which)->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(shownTitles, titles);
        ASSERT_EQ(rowCount(which), rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            QStringList shown;
            for (int c = 0; c < titles.size(); ++c)
                shown << cell(which, r, c);
            EXPECT_EQ(shown.join(QLatin1Char('|')), rows[r]);
        }
        EXPECT_EQ(marker(which, 0), ui::DataSetModel::browseMarker);
        EXPECT_EQ(marker(which, 1), QString());
    }
    // Display widths in characters of the grid's font, the title's width at least.
    const QFontMetrics fm(grid(Grid::Frequencies)->font());
    const auto chars = [&](int n) { return n * fm.averageCharWidth() + 4; };
    EXPECT_EQ(grid(Grid::Frequencies)->columnWidth(5), chars(14)) << "KOLOR";
    EXPECT_EQ(grid(Grid::Frequencies)->columnWidth(4), std::max(chars(8), fm.horizontalAdvance(QStringLiteral("Częstotl")) + 4));
    EXPECT_EQ(grid(Grid::Modules)->columnWidth(1), chars(10)) << "TYP";
    EXPECT_EQ(grid(Grid::Modules)->columnWidth(4), chars(20)) << "UWAGI";
    EXPECT_EQ(grid(Grid::Modules)->columnWidth(2), std::max(chars(2), fm.horizontalAdvance(QStringLiteral("R")) + 4));

    // The lower grid reaches past the client area, and the frame can be enlarged.
    EXPECT_GT(grid(Grid::Frequencies)->geometry().right(), window->width());
    EXPECT_GT(grid(Grid::Frequencies)->geometry().bottom(), window->height());
    EXPECT_GT(window->maximumWidth(), window->width());
    EXPECT_EQ(window->font().family(), QStringLiteral("System"));
}

struct CellEdit {
    const char* name;
    Grid grid;
    int row;
    int column;
    const char* typed;
    const char* stored;
    Qt::Key leaveBy; // Qt::Key_unknown: a click on another row
};

const CellEdit cellEdits[] = {
    {"TextLeftDownwards", Grid::Modules, 1, 4, "nowa uwaga", "nowa uwaga", Qt::Key_Down},
    {"SmallIntegerLeftByAClick", Grid::Modules, 2, 0, "22", "22", Qt::Key_unknown},
    {"FloatLeftUpwards", Grid::Frequencies, 1, 4, "1.65e3", "1650", Qt::Key_Up},
    {"IndexedCodeLeftDownwards", Grid::Frequencies, 0, 3, "18", "18", Qt::Key_Down},
    {"LastColumnLeftByTab", Grid::Frequencies, 0, 5, "zielony", "zielony", Qt::Key_Tab},
};

class GridEdits : public ProgrammerEntry, public ::testing::WithParamInterface<CellEdit> {};

TEST_P(GridEdits, EditedCellIsPostedWhenTheCursorLeavesTheRow)
{
    const CellEdit& c = GetParam();
    clickCell(c.grid, c.row, c.column);
    auto seen = withModals([&] {
        typeOver(QString::fromUtf8(c.typed));
        key(Qt::Key_Return);
    });
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(cell(c.grid, c.row, c.column), QString::fromUtf8(c.stored));
    EXPECT_EQ(table(c.grid)->state(), data::DataSet::State::Edit);
    EXPECT_EQ(marker(c.grid, c.row), ui::DataSetModel::editMarker);
    expectFiles(); // nothing written yet

    seen = withModals([&] {
        if (c.leaveBy == Qt::Key_unknown)
            clickCell(c.grid, c.row == 0 ? 1 : 0, c.column);
        else
            key(c.leaveBy);
    });
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(table(c.grid)->state(), data::DataSet::State::Browse);
    EXPECT_NE(grid(c.grid)->currentIndex().row(), c.row);
    QStringList& rows = c.grid == Grid::Modules ? mer : czestotl;
    QStringList values = rows[c.row].split(QLatin1Char('|'));
    values[c.column] = QString::fromUtf8(c.stored);
    rows[c.row] = values.join(QLatin1Char('|'));
    expectFiles();
}

INSTANTIATE_TEST_SUITE_P(Cells, GridEdits, ::testing::ValuesIn(cellEdits),
                         [](const ::testing::TestParamInfo<CellEdit>& info) { return std::string(info.param.name); });

TEST_F(ProgrammerEntry, EscDropsTheChangesOfTheRow)
{
    clickCell(Grid::Modules, 1, 4);
    typeOver(QStringLiteral("zmiana"));
    key(Qt::Key_Return);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    typeOver(QStringLiteral("O"));
    ASSERT_TRUE(editor(Grid::Modules));
    key(Qt::Key_Escape); // in the editor
    EXPECT_FALSE(editor(Grid::Modules) && editor(Grid::Modules)->isVisible());
    EXPECT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Browse);
    EXPECT_EQ(cell(Grid::Modules, 1, 4), QStringLiteral("nadajnik 22"));
    EXPECT_EQ(cell(Grid::Modules, 1, 2), QStringLiteral("N"));

    typeOver(QStringLiteral("O"));
    key(Qt::Key_Return);
    ASSERT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Edit);
    key(Qt::Key_Escape); // on the grid, no editor open
    EXPECT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Browse);
    EXPECT_EQ(cell(Grid::Modules, 1, 2), QStringLiteral("N"));
    key(Qt::Key_Down);
    expectFiles();
}

TEST_F(ProgrammerEntry, InsertKeyAddsARowPostedWhenTheCursorLeavesIt)
{
    clickCell(Grid::Frequencies, 1, 0);
    key(Qt::Key_Insert);
    ASSERT_EQ(rowCount(Grid::Frequencies), 4);
    EXPECT_EQ(grid(Grid::Frequencies)->currentIndex().row(), 3);
    EXPECT_EQ(marker(Grid::Frequencies, 3), ui::DataSetModel::insertMarker);
    EXPECT_EQ(table(Grid::Frequencies)->state(), data::DataSet::State::Insert);
    const QStringList values = {"9", "21", "7", "28", "2800", "żółty"};
    for (const QString& v : values) {
        typeOver(v);
        key(Qt::Key_Tab);
    }
    // Tab past the last column went to the next row: the new one was posted.
    EXPECT_EQ(table(Grid::Frequencies)->state(), data::DataSet::State::Browse);
    czestotl << values.join(QLatin1Char('|'));
    expectFiles();

    // The frequency table's index knows the new code.
    data::Table byCode;
    byCode.setTableName(czestotlPath());
    byCode.setIndexFieldNames(QStringLiteral("C_OZN"));
    data::Field* code = byCode.addField(QStringLiteral("C_OZN"), FieldKind::SmallInt);
    byCode.open();
    byCode.last();
    EXPECT_EQ(code->asInteger(), 28);
}

TEST_F(ProgrammerEntry, DownPastTheLastRowAddsOneAndAnUntouchedNewRowGoesAway)
{
    clickCell(Grid::Modules, 3, 1);
    key(Qt::Key_Down);
    ASSERT_EQ(rowCount(Grid::Modules), 5);
    EXPECT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Insert);
    key(Qt::Key_Down);
    EXPECT_EQ(rowCount(Grid::Modules), 5) << "an empty new row is not followed by another";

    // Focus going to the other grid drops the untouched row.
    clickCell(Grid::Frequencies, 1, 1);
    EXPECT_EQ(rowCount(Grid::Modules), 4);
    EXPECT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Browse);

    // Esc drops one too; a row typed into is posted by the next Down.
    clickCell(Grid::Modules, 3, 0);
    key(Qt::Key_Insert);
    key(Qt::Key_Escape);
    EXPECT_EQ(rowCount(Grid::Modules), 4);
    key(Qt::Key_Down);
    typeOver(QStringLiteral("21"));
    key(Qt::Key_Down);
    EXPECT_EQ(rowCount(Grid::Modules), 6);
    EXPECT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Insert);
    mer << QStringLiteral("21||||");
    clickCell(Grid::Modules, 0, 0);
    EXPECT_EQ(rowCount(Grid::Modules), 5);
    expectFiles();
}

TEST_F(ProgrammerEntry, CtrlDeleteAsksFirst)
{
    clickCell(Grid::Modules, 1, 2);
    auto seen = withModals([&] { key(Qt::Key_Delete, Qt::ControlModifier); }, entry_test::answerDelete(false));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Delete record?"));
    EXPECT_EQ(rowCount(Grid::Modules), 4);

    seen = withModals([&] { key(Qt::Key_Delete, Qt::ControlModifier); }, entry_test::answerDelete(true));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(rowCount(Grid::Modules), 3);
    EXPECT_EQ(grid(Grid::Modules)->currentIndex().row(), 1);
    EXPECT_EQ(cell(Grid::Modules, 1, 1), QStringLiteral("11401"));
    mer.removeAt(1);
    expectFiles();
}

TEST_F(ProgrammerEntry, EndingTheProgramDropsRowsStillBeingEdited)
{
    clickCell(Grid::Modules, 0, 4);
    typeOver(QStringLiteral("stored in the row"));
    key(Qt::Key_Return);
    clickCell(Grid::Frequencies, 1, 5);
    typeOver(QStringLiteral("still in its editor"));
    ASSERT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Edit);
    ASSERT_TRUE(editor(Grid::Frequencies));
    shell.reset();
    expectFiles();
}

TEST_F(ProgrammerEntry, HiddenWindowLetsOthersAtTheRowsItEdits)
{
    clickCell(Grid::Modules, 0, 4);
    typeOver(QStringLiteral("tu"));
    key(Qt::Key_Return);
    ASSERT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Edit);
    data::Table other;
    other.setTableName(merPath());
    other.open();
    EXPECT_THROW(other.edit(), data::Failure) << "the row is locked while the window shows";
    window->close();
    EXPECT_NO_THROW(other.edit()) << "and free once it is hidden";
    other.cancel();
    EXPECT_EQ(table(Grid::Modules)->state(), data::DataSet::State::Edit) << "the edit itself stays";
}

struct GridRefusal {
    const char* name;
    Grid grid;
    int column;
    const char* typed; // a letter after it is not taken
    const char* message;
};

const GridRefusal gridRefusals[] = {
    {"SmallIntegerOutOfRange", Grid::Modules, 0, "70000",
     "70000 is not a valid value for field 'SOT'. The allowed range is -32768 to 32767"},
    {"SignsOnlyUnderItsLabel", Grid::Frequencies, 3, "+-", "'+-' is not a valid integer value for field 'Symb'"},
    {"FloatUnderItsLabel", Grid::Frequencies, 4, "1e", "'1e' is not a valid floating point value for field 'Częstotl'"},
    {"FloatWithTwoSigns", Grid::Modules, 1, "--5", "'--5' is not a valid floating point value for field 'TYP'"},
};

class GridRefusals : public ProgrammerEntry, public ::testing::WithParamInterface<GridRefusal> {};

TEST_P(GridRefusals, RefusedValueKeepsTheRowInEdit)
{
    const GridRefusal& c = GetParam();
    const QString typed = QString::fromUtf8(c.typed);
    const QString before = cell(c.grid, 0, c.column);
    clickCell(c.grid, 0, c.column);
    typeOver(typed + QStringLiteral("q"));
    for (Qt::Key leave : {Qt::Key_Down, Qt::Key_Return}) {
        const auto seen = withModals([&] { key(leave); });
        ASSERT_EQ(seen.size(), 1u) << "one message for one refusal";
        EXPECT_EQ(seen[0].objectName, QStringLiteral("failureBox"));
        EXPECT_EQ(seen[0].text, QString::fromUtf8(c.message) + QLatin1Char('.'));
        EXPECT_EQ(table(c.grid)->state(), data::DataSet::State::Edit);
        EXPECT_EQ(grid(c.grid)->currentIndex().row(), 0);
        ASSERT_TRUE(editor(c.grid));
        EXPECT_TRUE(editor(c.grid)->isVisible());
        EXPECT_EQ(editor(c.grid)->text(), typed);
    }
    expectFiles();
    key(Qt::Key_Escape);
    EXPECT_EQ(table(c.grid)->state(), data::DataSet::State::Browse);
    EXPECT_EQ(cell(c.grid, 0, c.column), before);
}

INSTANTIATE_TEST_SUITE_P(Values, GridRefusals, ::testing::ValuesIn(gridRefusals),
                         [](const ::testing::TestParamInfo<GridRefusal>& info) { return std::string(info.param.name); });

} // namespace


