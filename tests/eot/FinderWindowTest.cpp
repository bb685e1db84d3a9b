#include "app/Shell.h"
#include "data/Engine.h"
#include "data/Query.h"
#include "eot/TForm1.h"
#include "plan/TPlany.h"
#include "tests/support/Menus.h"
#include "tests/support/Modal.h"
#include "tests/support/Station.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"
#include "ui/RadioGroup.h"
#include "ui/WinColor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using testing_support::withModals;

const QString family37 = QStringLiteral("3-7");

// Module types and variants chosen so that a wrong class, role, family or
// code would show another text: the variant numbers are unique per
// (family, class, code), the types per (family, class, role).
void writeFinderTables(const QString& dir)
{
    testing_support::writeMer(dir, {
        {21, 11702, QStringLiteral("N"), family37, QString()},
        {22, 11701, QStringLiteral("N"), family37, QString()},
        {21, 11401, QStringLiteral("O"), family37, QString()},
        {22, 11403, QStringLiteral("O"), family37, QString()},
        {21, 11710, QStringLiteral("N"), QStringLiteral("9"), QString()},
        {21, 11720, QStringLiteral("N"), QStringLiteral("1"), QString()},
    });
    std::vector<QVariantList> rows;
    const int codes21[] = {15, 18, 21, 24, 28};
    const int codes22[] = {80, 10, 12, 14};
    for (int i = 0; i < 5; ++i) {
        rows.push_back({family37, 21, i + 1, codes21[i], 0, QString()});
        rows.push_back({QStringLiteral("9"), 21, i + 11, codes21[i], 0, QString()});
        rows.push_back({QStringLiteral("1"), 21, i + 21, codes21[i], 0, QString()});
    }
    for (int i = 0; i < 4; ++i)
        rows.push_back({family37, 22, i + 6, codes22[i], 0, QString()});
    testing_support::writeCzestotl(dir, rows);
}

int itemOf(const QString& text)
{
    static const QStringList items = {QStringLiteral("0"), QStringLiteral("1580"), QStringLiteral("1860"),
                                      QStringLiteral("2170"), QStringLiteral("2470"), QStringLiteral("2800"),
                                      QStringLiteral("8000"), QStringLiteral("10000"), QStringLiteral("12150"),
                                      QStringLiteral("14600")};
    return int(items.indexOf(text));
}

class FinderWindow : public ::testing::Test {
protected:
    virtual void writeTables() { writeFinderTables(dir.path()); }

    void SetUp() override
    {
        testing_support::writeStation(dir.path());
        writeTables();
        shell = std::make_unique<app::Shell>();
        shell->start();
        testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
        finder = shell->form1();
        ASSERT_TRUE(finder->isVisible());
    }

    template <class T>
    T* child(const char* name) const
    {
        T* w = finder->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            throw std::runtime_error(std::string("no control ") + name);
        return w;
    }
    ui::RadioGroup* group(const char* name) const { return child<ui::RadioGroup>(name); }
    QString text(const char* edit) const { return child<QLineEdit>(edit)->text(); }
    QString caption(const char* label) const { return child<QLabel>(label)->text(); }
    bool shown(const char* name) const { return child<QWidget>(name)->isVisible(); }

    // On the item's round button, where a person clicks.
    void click(const char* groupName, int item)
    {
        QRadioButton* b = group(groupName)->item(item);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    void pick(const char* groupName, const QString& itemText) { click(groupName, itemOf(itemText)); }
    void family(int index) { click("Rt", index); }
    void find() { QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton); }
    QColor colourOf(const char* name) const { return ui::background(child<QWidget>(name)); }

    testing_support::TempDir dir;
    std::unique_ptr<app::Shell> shell;
    eot::TForm1* finder = nullptr;
};

struct LookUpCase {
    int family;
    const char* tx;
    const char* r1;
    const char* r2; // nullptr: not touched (hidden)
    const char* edit1;
    const char* edit2;
    const char* label2;
    const char* edit3; // nullptr: Label3 and Edit3 hidden
};

TEST_F(FinderWindow, WorkedExamplesThroughRealClicks)
{
    const LookUpCase cases[] = {
        {0, "0", "1860", "8000", "EOT-318800", "MER-11401/2", "ODBIORNIK", "MER-11403/6"},
        {0, "0", "8000", "1860", "EOT-318800", "MER-11403/6", "ODBIORNIK", "MER-11401/2"},
        {0, "0", "12150", "10000", "EOT-310120", "MER-11403/8", "ODBIORNIK", "MER-11403/7"},
        {0, "0", "2470", "0", "EOT-324000", "MER-11401/4", "ODBIORNIK", nullptr},
        {0, "0", "2170", "2170", "", "", "", nullptr},
        {0, "0", "0", "2470", "", "", "", nullptr},
        {0, "10000", "2170", nullptr, "EOT-510210", "MER-11701/7", "NADAJNIK", "MER-11401/3"},
        {0, "10000", "10000", nullptr, "", "", "", nullptr},
        {0, "10000", "0", nullptr, "EOT-6100", "MER-11701/7", "NADAJNIK", nullptr},
        {0, "1860", "0", nullptr, "EOT-7180", "MER-11702/2", "NADAJNIK", nullptr},
        {0, "1860", "2170", nullptr, "", "", "", nullptr},
        {1, "2170", nullptr, nullptr, "EOT-9210", "MER-11710/13", "NADAJNIK", nullptr},
        {1, "1580", nullptr, nullptr, "EOT-9150", "MER-11710/11", "NADAJNIK", nullptr},
        {1, "8000", nullptr, nullptr, "", "", "", nullptr},
        {2, "2800", nullptr, nullptr, "EOT-1280", "MER-11720/25", "NADAJNIK", nullptr},
        {2, "1580", nullptr, nullptr, "", "", "", nullptr},
    };
    for (const LookUpCase& c : cases) {
        const std::string what = std::string(c.tx) + " / " + (c.r1 ? c.r1 : "-") + " / " + (c.r2 ? c.r2 : "-");
        // Back to a known start: family 3-7 and every group at "0".
        family(c.family == 0 ? 1 : 0);
        family(c.family);
        if (c.r2)
            pick("Ro2", QString::fromLatin1(c.r2));
        if (c.r1)
            pick("Ro1", QString::fromLatin1(c.r1));
        pick("Rn", QString::fromLatin1(c.tx));
        find();
        EXPECT_EQ(text("Edit1").toStdString(), c.edit1) << what;
        EXPECT_EQ(text("Edit2").toStdString(), c.edit2) << what;
        EXPECT_EQ(caption("Label2").toStdString(), c.label2) << what;
        EXPECT_EQ(shown("Edit3"), c.edit3 != nullptr) << what;
        EXPECT_EQ(shown("Label3"), c.edit3 != nullptr) << what;
        if (c.edit3) {
            EXPECT_EQ(text("Edit3").toStdString(), c.edit3) << what;
            EXPECT_EQ(caption("Label3"), QStringLiteral("ODBIORNIK")) << what;
        }
    }
}

TEST_F(FinderWindow, ColoursAndVisibilityFollowEveryChange)
{
    const QColor window = ui::winColor(14006444);
    EXPECT_EQ(ui::background(finder), window);
    EXPECT_EQ(colourOf("Rn"), window);
    EXPECT_EQ(colourOf("Rt"), QColor(217, 174, 168));
    EXPECT_EQ(colourOf("Panel1"), QColor(255, 0, 0));
    EXPECT_TRUE(shown("Ro2"));
    EXPECT_FALSE(shown("Label3"));

    // A result on screen, then a transmitter choice: colour, Ro2 hidden, boxes emptied.
    pick("Ro1", QStringLiteral("2170"));
    EXPECT_EQ(colourOf("Ro1"), QColor(255, 0, 0));
    pick("Rn", QStringLiteral("10000"));
    find();
    ASSERT_EQ(text("Edit1"), QStringLiteral("EOT-510210"));
    pick("Rn", QStringLiteral("8000"));
    EXPECT_EQ(colourOf("Rn"), QColor(202, 101, 0));
    EXPECT_FALSE(shown("Ro2"));
    for (const char* edit : {"Edit1", "Edit2", "Edit3"})
        EXPECT_TRUE(text(edit).isEmpty()) << edit;
    EXPECT_TRUE(caption("Label2").isEmpty());
    EXPECT_FALSE(shown("Edit3"));

    // Back to "0": the window colour, Ro2 again.
    pick("Rn", QStringLiteral("0"));
    EXPECT_EQ(colourOf("Rn"), window);
    EXPECT_TRUE(shown("Ro2"));
}

TEST_F(FinderWindow, ReclickingTheSelectedItemChangesNothing)
{
    pick("Rn", QStringLiteral("10000"));
    find();
    const QString designation = text("Edit1");
    ASSERT_FALSE(designation.isEmpty());
    pick("Rn", QStringLiteral("10000"));
    family(0);
    EXPECT_EQ(text("Edit1"), designation);
    EXPECT_EQ(text("Edit2"), QStringLiteral("MER-11701/7"));
    EXPECT_EQ(colourOf("Rn"), QColor(176, 176, 176));
}

TEST_F(FinderWindow, FamilyChangeResetsTheGroupsThroughTheirOwnHandling)
{
    pick("Ro1", QStringLiteral("2170"));
    pick("Rn", QStringLiteral("10000"));
    find();
    family(1);
    EXPECT_FALSE(shown("Ro1"));
    EXPECT_FALSE(shown("Ro2"));
    for (const char* g : {"Rn", "Ro1", "Ro2"}) {
        EXPECT_EQ(group(g)->itemIndex(), 0) << g;
        EXPECT_EQ(colourOf(g), ui::winColor(14006444)) << g;
    }
    EXPECT_TRUE(text("Edit1").isEmpty());
    EXPECT_TRUE(text("Edit2").isEmpty());
    EXPECT_EQ(finder->state().eotFamily, QStringLiteral("9"));
    EXPECT_EQ(finder->state().codeRn, QStringLiteral("00"));
    EXPECT_EQ(finder->state().sotRo1, 21);

    family(0);
    EXPECT_TRUE(shown("Ro1"));
    EXPECT_TRUE(shown("Ro2"));
}

TEST_F(FinderWindow, FamilyChangeWithAllGroupsAtZeroEmptiesOnlyTheDesignation)
{
    pick("Ro1", QStringLiteral("2470"));
    find();
    pick("Ro1", QStringLiteral("0"));
    // Typed by the user; only Edit1 is emptied by a family change.
    child<QLineEdit>("Edit1")->setText(QStringLiteral("x"));
    child<QLineEdit>("Edit2")->setText(QStringLiteral("y"));
    family(2);
    EXPECT_TRUE(text("Edit1").isEmpty());
    EXPECT_EQ(text("Edit2"), QStringLiteral("y"));
}

TEST_F(FinderWindow, HiddenReceiverTwoKeepsItsChoiceAndCountsAgain)
{
    pick("Ro2", QStringLiteral("8000"));
    pick("Ro1", QStringLiteral("2170"));
    pick("Rn", QStringLiteral("10000"));
    EXPECT_FALSE(shown("Ro2"));
    find();
    EXPECT_EQ(text("Edit1"), QStringLiteral("EOT-510210")); // receiver 2 ignored with a transmitter
    pick("Rn", QStringLiteral("0"));
    EXPECT_TRUE(shown("Ro2"));
    EXPECT_EQ(group("Ro2")->itemIndex(), itemOf(QStringLiteral("8000")));
    EXPECT_EQ(colourOf("Ro2"), QColor(202, 101, 0));
    find();
    EXPECT_EQ(text("Edit1"), QStringLiteral("EOT-321800"));
    EXPECT_EQ(text("Edit3"), QStringLiteral("MER-11403/6"));
}

TEST_F(FinderWindow, TypeFivePairsAClass22TransmitterWithAClass21Receiver)
{
    pick("Ro1", QStringLiteral("2170"));
    pick("Rn", QStringLiteral("10000"));
    find();
    const eot::FinderState& s = finder->state();
    EXPECT_EQ(s.role1, QStringLiteral("N"));
    EXPECT_EQ(s.sot1, 22);
    EXPECT_EQ(s.code1, QStringLiteral("10"));
    EXPECT_EQ(s.role2, QStringLiteral("O"));
    EXPECT_EQ(s.sot2, 21);
    EXPECT_EQ(s.code2, QStringLiteral("21"));
    EXPECT_EQ(caption("Label2"), QStringLiteral("NADAJNIK"));
    EXPECT_EQ(caption("Label3"), QStringLiteral("ODBIORNIK"));
}

TEST_F(FinderWindow, AnEmptyDesignationRunsNoQuery)
{
    const quint64 scans = data::Engine::instance().scanCount();
    const QStringList attached = data::Engine::instance().attachedTables();
    pick("Ro1", QStringLiteral("2170"));
    pick("Ro2", QStringLiteral("2170"));
    find();
    EXPECT_TRUE(text("Edit1").isEmpty());
    EXPECT_EQ(data::Engine::instance().scanCount(), scans);
    EXPECT_EQ(data::Engine::instance().attachedTables(), attached);
    for (const char* q : {"Query1", "Query2", "Query3", "Query4"})
        EXPECT_FALSE(child<data::Query>(q)->isActive()) << q;
}

TEST_F(FinderWindow, PressingFindTwiceGivesTheSameResult)
{
    pick("Rn", QStringLiteral("1860"));
    find();
    const QString first = text("Edit2");
    find();
    EXPECT_EQ(text("Edit1"), QStringLiteral("EOT-7180"));
    EXPECT_EQ(text("Edit2"), first);
}

TEST_F(FinderWindow, ZamknijClosesTheQueriesAndEotShowsTheSameState)
{
    pick("Ro1", QStringLiteral("2170"));
    pick("Rn", QStringLiteral("10000"));
    find();
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_FALSE(finder->isVisible());
    for (const char* q : {"Query1", "Query2", "Query3", "Query4"})
        EXPECT_FALSE(child<data::Query>(q)->isActive()) << q;
    testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
    EXPECT_TRUE(finder->isVisible());
    EXPECT_EQ(text("Edit1"), QStringLiteral("EOT-510210"));
    EXPECT_EQ(text("Edit3"), QStringLiteral("MER-11401/3"));
    EXPECT_EQ(group("Rn")->itemIndex(), itemOf(QStringLiteral("10000")));
    EXPECT_EQ(colourOf("Rn"), QColor(176, 176, 176));
}

TEST_F(FinderWindow, TheCloseBoxLeavesTheQueriesOpen)
{
    pick("Rn", QStringLiteral("1860"));
    find();
    finder->close();
    EXPECT_FALSE(finder->isVisible());
    EXPECT_TRUE(child<data::Query>("Query1")->isActive());
}

TEST_F(FinderWindow, UwagiShowsTheNotesWindow)
{
    QTest::mouseClick(child<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_TRUE(shell->windows().at(4)->isVisible());
}

class FinderOverEmptyTables : public FinderWindow {
protected:
    void writeTables() override
    {
        testing_support::writeMer(dir.path(), {});
        testing_support::writeCzestotl(dir.path(), {});
    }
};

TEST_F(FinderOverEmptyTables, EveryDeviceShowsMer00WithItsCaption)
{
    pick("Ro1", QStringLiteral("2170"));
    pick("Rn", QStringLiteral("10000"));
    find();
    EXPECT_EQ(text("Edit2"), QStringLiteral("MER-0/0"));
    EXPECT_EQ(caption("Label2"), QStringLiteral("NADAJNIK"));
    EXPECT_EQ(text("Edit3"), QStringLiteral("MER-0/0"));
    EXPECT_EQ(caption("Label3"), QStringLiteral("ODBIORNIK"));
}

class FinderOverDuplicateRows : public FinderWindow {
protected:
    void writeTables() override
    {
        testing_support::writeMer(dir.path(), {
            {21, 11702, QStringLiteral("N"), family37, QString()},
            {21, 11799, QStringLiteral("N"), family37, QString()},
        });
        testing_support::writeCzestotl(dir.path(), {
            {family37, 21, 2, 18, 1860, QString()},
            {family37, 21, 9, 18, 1860, QString()},
        });
    }
};

TEST_F(FinderOverDuplicateRows, TheFirstMatchingRowIsTaken)
{
    pick("Rn", QStringLiteral("1860"));
    find();
    EXPECT_EQ(text("Edit2"), QStringLiteral("MER-11702/2"));
}

TEST_F(FinderWindow, AMissingColumnStopsTheLookUpWhereItFails)
{
    // The module table loses UWAGI, which only device 2's query declares.
    testing_support::writeTable(dir.file(QStringLiteral("MER.DBF")), QStringLiteral("SOT N 2; TYP N 6; R C 1; EOT C 3"),
                                {{21, 11401, QStringLiteral("O"), family37}, {22, 11403, QStringLiteral("O"), family37}});
    pick("Ro2", QStringLiteral("8000"));
    pick("Ro1", QStringLiteral("1860"));
    const auto seen = withModals([&] { find(); });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Field 'UWAGI' not found."));
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    EXPECT_EQ(text("Edit1"), QStringLiteral("EOT-318800"));
    EXPECT_EQ(text("Edit2"), QStringLiteral("MER-11401/2"));
    EXPECT_TRUE(shown("Edit3"));
    EXPECT_TRUE(shown("Label3"));
    EXPECT_TRUE(text("Edit3").isEmpty());
}

TEST_F(FinderWindow, LayoutOfTheWindow)
{
    const struct {
        const char* name;
        QRect geometry;
    } cases[] = {
        {"Rn", {24, 32, 105, 225}}, {"Ro1", {160, 32, 113, 225}}, {"Ro2", {304, 32, 105, 225}},
        {"Panel1", {424, 88, 121, 105}}, {"Rt", {8, 8, 105, 89}}, {"Button1", {440, 192, 89, 25}},
        {"BitBtn1", {440, 64, 81, 25}}, {"Button2", {512, 8, 89, 25}}, {"Edit1", {24, 304, 121, 24}},
        {"Label2", {186, 281, 119, 16}}, {"Edit2", {184, 304, 121, 24}}, {"Label3", {352, 282, 118, 16}},
        {"Edit3", {352, 304, 121, 24}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(child<QWidget>(c.name)->geometry(), c.geometry) << c.name;
    EXPECT_EQ(child<QPushButton>("Button1")->text(), QStringLiteral("Znajdź EOT"));
    EXPECT_EQ(caption("Label1"), QStringLiteral("Typ  EOT"));
    EXPECT_EQ(group("Rt")->title(), QStringLiteral("TYP  EOT"));
    EXPECT_EQ(group("Ro1")->title(), QStringLiteral("Odbiornik 1"));
    // Tab order: the groups, Find, the boxes shown, ZAMKNIJ, UWAGI, the family.
    finder->activateWindow();
    group("Rn")->item(0)->setFocus();
    std::vector<QString> order;
    for (int i = 0; i < 9; ++i) {
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr);
        order.push_back(qobject_cast<QRadioButton*>(w) ? w->parentWidget()->objectName() : w->objectName());
        QTest::keyClick(w, Qt::Key_Tab);
    }
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("Rn"), QStringLiteral("Ro1"), QStringLiteral("Ro2"),
                                           QStringLiteral("Button1"), QStringLiteral("Edit1"), QStringLiteral("Edit2"),
                                           QStringLiteral("Button2"), QStringLiteral("BitBtn1"), QStringLiteral("Rt")}));
}

} // namespace
