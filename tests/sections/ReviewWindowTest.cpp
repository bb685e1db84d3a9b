#include "app/Guard.h"
#include "app/Shell.h"
#include "data/Query.h"
#include "data/SelectedSection.h"
#include "data/Table.h"
#include "plan/TPlany.h"
#include "sections/TPrzeglad.h"
#include "tests/support/Menus.h"
#include "tests/support/Modal.h"
#include "tests/support/Station.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"
#include "ui/DbEdit.h"
#include "ui/DbLookupCombo.h"
#include "ui/DbText.h"
#include "ui/FormPlacement.h"
#include "eot/FrequencyChoice.h"
#include "ui/WinColor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using testing_support::section;
using testing_support::withModals;

const QString f37 = QStringLiteral("3-7");

struct Worked {
    const char* name;
    const char* sot;
    int nadEot;
    int czest;
    int nr;
    const char* receiver;
    const char* transmitter;
};

// The worked examples: each section on a code of its own, with its NR.
const Worked worked[] = {
    {"A1", "21", 5, 15, 2, "MER 11401/2", "MER 11702/2"},
    {"A2", "22", 3, 80, 1, "MER 11403/1", "MER 11701/1"},
    {"A3", "21", 9, 21, 3, "MER 11401/3", "MER 11710/3"},
    {"A4", "21", 9, 24, 6, "MER 11401/6", ""},
    {"A5", "22", 9, 10, 1, "MER 11403/1", ""},
    {"A6", "21", 1, 18, 4, "MER 11401/4", ""},
};

class ReviewWindow : public ::testing::Test {
protected:
    virtual void writeTables()
    {
        std::vector<QVariantList> sections;
        std::vector<QVariantList> frequencies;
        for (const Worked& w : worked) {
            sections.push_back(section(QString::fromLatin1(w.name), QString::fromLatin1(w.sot), w.czest, w.nadEot,
                                       {QStringLiteral("X1"), QStringLiteral("X2")}, {510210, 7180}, 2, QStringLiteral("345"),
                                       QStringLiteral("Zażółć gęślą jaźń")));
            frequencies.push_back({f37, 21, w.nr, w.czest, 1000 + w.czest, QString()});
        }
        sections.push_back(section(QStringLiteral("BAD"), QStringLiteral("2a"), 15, 5));
        sections.push_back(section(QStringLiteral("NOFREQ"), QStringLiteral("21"), 28, 5));
        sections.push_back(section(QStringLiteral("ODD"), QStringLiteral("23"), 80, 5));
        sections.push_back(section(QStringLiteral("NOCODE"), QStringLiteral("21"), 12, 5));
        frequencies.push_back({f37, 22, 9, 12, 12150, QString()}); // code 12 has a row, but a colour of its own
        testing_support::writeOdcinki(dir.path(), sections);
        testing_support::writeCzestotl(dir.path(), frequencies);
    }

    void SetUp() override
    {
        testing_support::writeStation(dir.path());
        writeTables();
        shell = std::make_unique<app::Shell>();
        shell->start();
        review = shell->przeglad();
    }

    template <class T>
    T* child(const char* name) const
    {
        T* w = review->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            throw std::runtime_error(std::string("no control ") + name);
        return w;
    }
    QString text(const char* name) const
    {
        if (auto* e = review->findChild<QLineEdit*>(QString::fromLatin1(name)))
            return e->text();
        return child<QLabel>(name)->text();
    }
    QColor panel4() const { return ui::background(child<QWidget>("Panel4")); }

    // What the plan's markers do: hand the name over, load, show.
    std::vector<testing_support::SeenModal> loadFromPlan(const QString& name)
    {
        return withModals([&] {
            app::Guard::run([&] {
                data::selectedSection() = name;
                review->podcinka();
            });
        });
    }

    // A pick in the list: open it with its arrow, click the row.
    std::vector<testing_support::SeenModal> pickInList(const QString& name)
    {
        auto* list = child<ui::DbLookupCombo>("Dodcinek");
        return withModals([&] {
            list->showPopup();
            QAbstractItemView* view = list->view();
            const int row = list->findText(name);
            if (row < 0)
                throw std::runtime_error("no row " + name.toStdString());
            view->scrollTo(view->model()->index(row, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
        });
    }

    testing_support::TempDir dir;
    std::unique_ptr<app::Shell> shell;
    sections::TPrzeglad* review = nullptr;
};

TEST_F(ReviewWindow, StartsInListModeEmptyAndSilver)
{
    ui::showForm(review);
    EXPECT_TRUE(child<QWidget>("Dodcinek")->isVisible());
    EXPECT_FALSE(child<QWidget>("Bprz")->isVisible());
    EXPECT_EQ(panel4(), QColor(192, 192, 192));
    EXPECT_TRUE(text("DBEdit2").isEmpty());
    EXPECT_TRUE(text("DBText1").isEmpty());
    EXPECT_TRUE(child<ui::DbLookupCombo>("Dodcinek")->currentText().isEmpty());
    ASSERT_TRUE(QTest::qWaitForWindowActive(review));
    EXPECT_EQ(review->focusWidget(), child<QWidget>("zm"));
}

TEST_F(ReviewWindow, WorkedExamplesFromThePlanAndFromTheList)
{
    ui::showForm(review);
    for (const Worked& w : worked) {
        const QString name = QString::fromLatin1(w.name);
        for (int way = 0; way < 2; ++way) {
            const auto seen = way == 0 ? loadFromPlan(name) : pickInList(name);
            const std::string what = std::string(w.name) + (way == 0 ? " from the plan" : " from the list");
            EXPECT_TRUE(seen.empty()) << what;
            EXPECT_EQ(text("DBText1"), name) << what;
            EXPECT_EQ(text("DBEdit2").toStdString(), w.sot) << what;
            EXPECT_EQ(text("Edit1").toStdString(), w.receiver) << what;
            EXPECT_EQ(text("Edit2").toStdString(), w.transmitter) << what;
            EXPECT_EQ(panel4(), ui::winColor(*eot::colorOfCode(w.czest))) << what;
            EXPECT_EQ(review->planMode(), way == 0) << what;
            if (way == 0)
                QTest::mouseClick(child<QPushButton>("Bprz"), Qt::LeftButton); // back to the list
        }
    }
}

TEST_F(ReviewWindow, ShowsEveryFieldOfTheSection)
{
    loadFromPlan(QStringLiteral("A1"));
    EXPECT_EQ(text("DBEdit1"), QStringLiteral("1015")); // the frequency in hertz from the join
    EXPECT_EQ(text("DBEdit4"), QStringLiteral("2"));
    EXPECT_EQ(text("DBEdit3"), QStringLiteral("345"));
    EXPECT_EQ(text("DBEdit5"), QStringLiteral("Zażółć gęślą jaźń"));
    EXPECT_EQ(text("DBEdit6"), QStringLiteral("X1"));
    EXPECT_EQ(text("DBEdit8"), QStringLiteral("X2"));
    EXPECT_TRUE(text("DBEdit9").isEmpty());
    EXPECT_EQ(text("DBText2"), QStringLiteral("510210"));
    EXPECT_EQ(text("DBText3"), QStringLiteral("7180"));
    EXPECT_TRUE(text("DBText4").isEmpty());
    EXPECT_EQ(child<ui::DbEdit>("DBEdit2")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    // A query's row cannot be typed into.
    auto* sot = child<ui::DbEdit>("DBEdit2");
    ui::showForm(review);
    sot->setFocus();
    QTest::keyClicks(sot, QStringLiteral("9"));
    EXPECT_EQ(sot->text(), QStringLiteral("21"));
}

TEST_F(ReviewWindow, AnSotOtherThan21Or22LeavesBothModulesEmptyAndColours)
{
    loadFromPlan(QStringLiteral("ODD"));
    EXPECT_TRUE(text("Edit1").isEmpty());
    EXPECT_TRUE(text("Edit2").isEmpty());
    EXPECT_EQ(panel4(), QColor(202, 101, 0));
}

TEST_F(ReviewWindow, FailuresKeepTheModulesAndTheColourOfThePreviousSection)
{
    const struct {
        const char* name;
        const char* message;
        const char* shownName; // the data-aware controls: the row, or empty without one
    } cases[] = {
        {"BAD", "'2a' is not a valid integer value.", "BAD"},
        {"NOFREQ", "'' is not a valid integer value.", ""},
        {"NOSUCH", "'' is not a valid integer value.", ""},
    };
    for (const auto& c : cases) {
        loadFromPlan(QStringLiteral("A2"));
        const auto seen = loadFromPlan(QString::fromLatin1(c.name));
        ASSERT_EQ(seen.size(), 1u) << c.name;
        EXPECT_EQ(seen[0].text.toStdString(), c.message) << c.name;
        EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
        EXPECT_EQ(text("DBText1").toStdString(), c.shownName) << c.name;
        EXPECT_EQ(text("Edit1"), QStringLiteral("MER 11403/1")) << c.name;
        EXPECT_EQ(text("Edit2"), QStringLiteral("MER 11701/1")) << c.name;
        EXPECT_EQ(panel4(), QColor(202, 101, 0)) << c.name;
    }
}

class ReviewOverTransmitterTypeNine : public ReviewWindow {
protected:
    void writeTables() override
    {
        const int codes[] = {15, 18, 21, 24, 28, 80};
        std::vector<QVariantList> sections;
        std::vector<QVariantList> frequencies;
        for (int nr = 1; nr <= 6; ++nr) {
            sections.push_back(section(QStringLiteral("N%1").arg(nr), QStringLiteral("21"), codes[nr - 1], 9));
            frequencies.push_back({f37, 21, nr, codes[nr - 1], 0, QString()});
        }
        testing_support::writeOdcinki(dir.path(), sections);
        testing_support::writeCzestotl(dir.path(), frequencies);
    }
};

TEST_F(ReviewOverTransmitterTypeNine, EveryVariantNumber)
{
    const char* expected[] = {"MER 11710/2", "MER 11710/4", "MER 11710/3", "MER 11710/5", "MER 11710/1", ""};
    for (int nr = 1; nr <= 6; ++nr) {
        loadFromPlan(QStringLiteral("N%1").arg(nr));
        EXPECT_EQ(text("Edit2").toStdString(), expected[nr - 1]) << nr;
        EXPECT_EQ(text("Edit1"), QStringLiteral("MER 11401/%1").arg(nr)) << nr;
    }
}

class ReviewOverSharedCodes : public ReviewWindow {
protected:
    void writeTables() override
    {
        testing_support::writeOdcinki(dir.path(), {section(QStringLiteral("S"), QStringLiteral("21"), 15, 5)});
        // Code 15 three times; the first in index order belongs to another class and family.
        testing_support::writeCzestotl(dir.path(), {
            {f37, 21, 4, 18, 1860, QString()},
            {QStringLiteral("9"), 22, 7, 15, 1580, QString()},
            {f37, 21, 2, 15, 1580, QString()},
        });
    }
};

TEST_F(ReviewOverSharedCodes, NrComesFromTheFirstRowOfTheCodeInIndexOrder)
{
    const auto seen = loadFromPlan(QStringLiteral("S"));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(text("Edit1"), QStringLiteral("MER 11401/7"));
    EXPECT_EQ(text("Edit2"), QStringLiteral("MER 11702/7"));
}

TEST_F(ReviewWindow, TypingIntoTheListLoadsTheCurrentRowOfItsTable)
{
    ui::showForm(review);
    auto* list = child<ui::DbLookupCombo>("Dodcinek");
    list->lineEdit()->setFocus();
    QTest::keyClicks(list->lineEdit(), QStringLiteral("zz"));
    EXPECT_EQ(text("DBText1"), QStringLiteral("A1")); // the first row until the list is used
    pickInList(QStringLiteral("A3"));
    list->lineEdit()->setFocus();
    QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(text("DBText1"), QStringLiteral("A3"));
    EXPECT_EQ(text("Edit2"), QStringLiteral("MER 11710/3"));
}

TEST_F(ReviewWindow, PrzegladReturnsToTheListWithTheNameLastPicked)
{
    ui::showForm(review);
    pickInList(QStringLiteral("A2"));
    loadFromPlan(QStringLiteral("A1"));
    EXPECT_FALSE(child<QWidget>("Dodcinek")->isVisible());
    QTest::mouseClick(child<QPushButton>("Bprz"), Qt::LeftButton);
    EXPECT_TRUE(child<QWidget>("Dodcinek")->isVisible());
    EXPECT_FALSE(child<QWidget>("Bprz")->isVisible());
    EXPECT_EQ(child<ui::DbLookupCombo>("Dodcinek")->currentText(), QStringLiteral("A2"));
    EXPECT_EQ(text("DBText1"), QStringLiteral("A1")); // nothing loaded by the button
    pickInList(QStringLiteral("A2"));                  // the same name: nothing loads
    EXPECT_EQ(text("DBText1"), QStringLiteral("A1"));
    pickInList(QStringLiteral("A3"));
    EXPECT_EQ(text("DBText1"), QStringLiteral("A3"));
}

TEST_F(ReviewWindow, TheListOpensWithTheKeysAndEveryMovePicks)
{
    ui::showForm(review);
    auto* list = child<ui::DbLookupCombo>("Dodcinek");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_TRUE(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    const QString first = text("DBText1");
    EXPECT_FALSE(first.isEmpty());
    QTest::keyClick(list->view(), Qt::Key_Down);
    EXPECT_NE(text("DBText1"), first);
    EXPECT_EQ(list->currentText(), text("DBText1"));
    QTest::keyClick(list->view(), Qt::Key_Escape);
    EXPECT_FALSE(list->view()->isVisible());
}

TEST_F(ReviewWindow, CloseButtonHidesAndKeepsTheSection)
{
    loadFromPlan(QStringLiteral("A3"));
    ui::showForm(review);
    QTest::mouseClick(child<QPushButton>("zm"), Qt::LeftButton);
    EXPECT_FALSE(review->isVisible());
    testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Odcinki - dane")});
    EXPECT_TRUE(review->isVisible());
    EXPECT_EQ(text("DBText1"), QStringLiteral("A3"));
    EXPECT_EQ(text("Edit2"), QStringLiteral("MER 11710/3"));
    EXPECT_TRUE(review->planMode());
}

} // namespace
