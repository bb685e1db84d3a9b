#include "app/Shell.h"
#include "data/Table.h"
#include "eot/TForm1.h"
#include "plan/TPlany.h"
#include "sections/TOdcinki.h"
#include "sections/TPasswordDlg.h"
#include "sections/TWpis.h"
#include "tests/sections/EntryTestSupport.h"
#include "tests/support/Menus.h"
#include "tests/support/Station.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"
#include "ui/DbNavigator.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using entry_test::CloseBy;
using testing_support::SeenModal;
using testing_support::withModals;

enum class Lock { Section, Programmer };

const QString refusalText = QStringLiteral("POZWOLIŁ  CI KTOŚ ?! ");
const QString refusalTitle = QStringLiteral("GDZIE  SIĘ  PCHASZ");

class Locks : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing_support::writeStation(dir.path());
        testing_support::writeOdcinki(dir.path(), {
            testing_support::section(QStringLiteral("A1"), QStringLiteral("21"), 15, 5),
            testing_support::section(QStringLiteral("A2"), QStringLiteral("22"), 10, 3),
            testing_support::section(QStringLiteral("A3"), QStringLiteral("21"), 21, 9),
        });
        shell = std::make_unique<app::Shell>();
        shell->start();
    }

    void showSectionEntry()
    {
        testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Przegląd odc.")});
        ASSERT_TRUE(shell->odcinki()->isVisible());
    }
    void showFinder()
    {
        testing_support::chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
        ASSERT_TRUE(shell->form1()->isVisible());
    }

    // "Dla programisty" › "Wpis" of the window that holds the lock.
    std::vector<SeenModal> ask(Lock lock, const testing_support::Responder& respond)
    {
        QMainWindow* window = lock == Lock::Section ? static_cast<QMainWindow*>(shell->odcinki())
                                                    : static_cast<QMainWindow*>(shell->form1());
        return withModals([&] { testing_support::chooseMenu(window, {QStringLiteral("Dla programisty"), QStringLiteral("Wpis")}); },
                          respond);
    }

    bool sectionWritable() const { return shell->odcinki()->table()->canModify(); }
    QString shownSection() const
    {
        return shell->odcinki()->findChild<QLineEdit*>(QStringLiteral("EditODCINEK"))->text();
    }
    QToolButton* navigatorButton(ui::NavigatorButton which) const
    {
        return shell->odcinki()->findChild<ui::DbNavigator*>(QStringLiteral("DBNavigator"))->button(which);
    }

    testing_support::TempDir dir;
    std::unique_ptr<app::Shell> shell;
};

struct LockCase {
    const char* name;
    Lock lock;
    const char* typed;
    CloseBy how;
    bool opens;
};

const LockCase lockCases[] = {
    {"SectionCodeOk", Lock::Section, "mewakul", CloseBy::Ok, true},
    {"SectionCodeEnter", Lock::Section, "mewakul", CloseBy::Enter, true},
    {"SectionCodeCancel", Lock::Section, "mewakul", CloseBy::Cancel, true},
    {"SectionCodeEsc", Lock::Section, "mewakul", CloseBy::Esc, true},
    {"SectionCodeCloseBox", Lock::Section, "mewakul", CloseBy::CloseBox, true},
    {"SectionEmpty", Lock::Section, "", CloseBy::Ok, false},
    {"SectionCapitals", Lock::Section, "MEWAKUL", CloseBy::Ok, false},
    {"SectionLeadingBlank", Lock::Section, " mewakul", CloseBy::Ok, false},
    {"SectionTrailingBlank", Lock::Section, "mewakul ", CloseBy::Ok, false},
    {"SectionShorter", Lock::Section, "mewaku", CloseBy::Ok, false},
    {"SectionOtherLocksCode", Lock::Section, "736294", CloseBy::Ok, false},
    {"SectionWrongThenCancel", Lock::Section, "haslo", CloseBy::Cancel, false},
    {"ProgrammerCodeOk", Lock::Programmer, "736294", CloseBy::Ok, true},
    {"ProgrammerCodeEnter", Lock::Programmer, "736294", CloseBy::Enter, true},
    {"ProgrammerCodeCancel", Lock::Programmer, "736294", CloseBy::Cancel, true},
    {"ProgrammerCodeEsc", Lock::Programmer, "736294", CloseBy::Esc, true},
    {"ProgrammerCodeCloseBox", Lock::Programmer, "736294", CloseBy::CloseBox, true},
    {"ProgrammerEmpty", Lock::Programmer, "", CloseBy::Ok, false},
    {"ProgrammerLeadingBlank", Lock::Programmer, " 736294", CloseBy::Ok, false},
    {"ProgrammerTrailingBlank", Lock::Programmer, "736294 ", CloseBy::Ok, false},
    {"ProgrammerLonger", Lock::Programmer, "7362945", CloseBy::Ok, false},
    {"ProgrammerOtherLocksCode", Lock::Programmer, "mewakul", CloseBy::Ok, false},
    {"ProgrammerWrongThenEsc", Lock::Programmer, "000000", CloseBy::Esc, false},
};

class LockMatrix : public Locks, public ::testing::WithParamInterface<LockCase> {};

TEST_P(LockMatrix, OpensOnlyOnItsOwnCode)
{
    const LockCase& c = GetParam();
    if (c.lock == Lock::Section)
        showSectionEntry();
    else
        showFinder();
    const std::vector<SeenModal> seen = ask(c.lock, entry_test::typeCode(QString::fromUtf8(c.typed), c.how));

    ASSERT_GE(seen.size(), 1u);
    EXPECT_EQ(seen[0].objectName, QStringLiteral("PasswordDlg"));
    EXPECT_EQ(seen[0].title, QStringLiteral("Password Dialog"));
    if (c.opens) {
        EXPECT_EQ(seen.size(), 1u) << "no message after the right code";
    } else {
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, refusalText);
        EXPECT_EQ(seen[1].title, refusalTitle);
        EXPECT_EQ(seen[1].icon, QMessageBox::NoIcon);
    }
    if (c.lock == Lock::Section) {
        EXPECT_EQ(sectionWritable(), c.opens);
        EXPECT_EQ(navigatorButton(ui::NavigatorButton::Insert)->isEnabled(), c.opens);
        EXPECT_EQ(shownSection(), QStringLiteral("A1"));
        EXPECT_FALSE(shell->wpis()->isVisible());
    } else {
        EXPECT_EQ(shell->wpis()->isVisible(), c.opens);
        EXPECT_FALSE(sectionWritable());
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, LockMatrix, ::testing::ValuesIn(lockCases),
                         [](const ::testing::TestParamInfo<LockCase>& info) { return std::string(info.param.name); });

TEST_F(Locks, PromptComesUpEmptyWithTheFocusAndMasksWhatIsTyped)
{
    showSectionEntry();
    ask(Lock::Section, entry_test::typeCode(QStringLiteral("zle"), CloseBy::Cancel));
    QString textAtShow = QStringLiteral("unset");
    QWidget* focusAtShow = nullptr;
    QString masked;
    const auto seen = ask(Lock::Section, [&](QWidget* modal) {
        if (auto* prompt = qobject_cast<sections::TPasswordDlg*>(modal)) {
            textAtShow = prompt->Password()->text();
            focusAtShow = QApplication::focusWidget();
            entry_test::typeText(prompt->Password(), QStringLiteral("mewakul"));
            masked = prompt->Password()->displayText();
        }
        entry_test::typeCode(QString(), CloseBy::Ok)(modal);
    });
    EXPECT_EQ(textAtShow, QString());
    EXPECT_EQ(focusAtShow, shell->passwordDlg()->Password());
    EXPECT_EQ(masked, QStringLiteral("*******"));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(sectionWritable());
    EXPECT_FALSE(shell->passwordDlg()->isVisible());
}

TEST_F(Locks, SectionLockOpenedTwiceGoesBackToTheFirstRowAndDropsAnEdit)
{
    showSectionEntry();
    ask(Lock::Section, entry_test::typeCode(QStringLiteral("mewakul")));
    entry_test::click(navigatorButton(ui::NavigatorButton::Last));
    auto* uwagi = shell->odcinki()->findChild<QLineEdit*>(QStringLiteral("EditUWAGI"));
    entry_test::click(uwagi);
    entry_test::typeText(uwagi, QStringLiteral("xyz"));
    ASSERT_EQ(shell->odcinki()->table()->state(), data::DataSet::State::Edit);

    const auto seen = ask(Lock::Section, entry_test::typeCode(QStringLiteral("mewakul")));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(sectionWritable());
    EXPECT_EQ(shell->odcinki()->table()->state(), data::DataSet::State::Browse);
    EXPECT_EQ(shownSection(), QStringLiteral("A1"));
    EXPECT_EQ(uwagi->text(), QString());
    EXPECT_EQ(entry_test::rowsByDataSet(dir.file(QStringLiteral("ODCINKI.DBF")), {{"UWAGI", data::FieldKind::Text, 50}}),
              QStringList({QString(), QString(), QString()}));
}

TEST_F(Locks, SectionTableStaysWritableWhenTheWindowIsShownAgain)
{
    showSectionEntry();
    ask(Lock::Section, entry_test::typeCode(QStringLiteral("mewakul")));
    entry_test::click(shell->odcinki()->findChild<QWidget*>(QStringLiteral("BitBtn1")));
    ASSERT_FALSE(shell->odcinki()->isVisible());
    showSectionEntry();
    EXPECT_TRUE(sectionWritable());
    EXPECT_TRUE(navigatorButton(ui::NavigatorButton::Edit)->isEnabled());
}

TEST_F(Locks, ProgrammersWindowAsksAgainAfterItWasClosed)
{
    showFinder();
    ask(Lock::Programmer, entry_test::typeCode(QStringLiteral("736294")));
    ASSERT_TRUE(shell->wpis()->isVisible());
    shell->wpis()->close();
    ASSERT_FALSE(shell->wpis()->isVisible());

    auto seen = ask(Lock::Programmer, entry_test::typeCode(QStringLiteral("736290")));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].objectName, QStringLiteral("PasswordDlg"));
    EXPECT_EQ(seen[1].text, refusalText);
    EXPECT_FALSE(shell->wpis()->isVisible());

    seen = ask(Lock::Programmer, entry_test::typeCode(QStringLiteral("736294")));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].objectName, QStringLiteral("PasswordDlg"));
    EXPECT_TRUE(shell->wpis()->isVisible());
}

TEST_F(Locks, ProgrammersWindowAlreadyShownComesToTheFront)
{
    showFinder();
    ask(Lock::Programmer, entry_test::typeCode(QStringLiteral("736294")));
    ASSERT_TRUE(QTest::qWaitForWindowActive(shell->wpis()));
    shell->form1()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shell->form1()));
    const auto seen = ask(Lock::Programmer, entry_test::typeCode(QStringLiteral("736294")));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(QTest::qWaitForWindowActive(shell->wpis()));
}

// A click that comes from the window system, as a person's would.
void systemClick(QWidget* widget, QPoint at)
{
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, at));
    QApplication::processEvents();
}
void systemClick(QWidget* widget)
{
    systemClick(widget, widget->rect().center());
}

TEST_F(Locks, WhileThePromptIsUpNoOtherWindowTakesInput)
{
    showSectionEntry();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shell->odcinki()));
    QToolButton* next = navigatorButton(ui::NavigatorButton::Next);
    systemClick(next);
    ASSERT_EQ(shownSection(), QStringLiteral("A2")) << "the click reaches the window when nothing is modal";

    bool promptWasModal = false;
    QString shownWhilePrompt;
    const auto seen = ask(Lock::Section, [&](QWidget* modal) {
        if (modal == shell->passwordDlg()) {
            promptWasModal = QApplication::activeModalWidget() == modal;
            systemClick(next);
            QMenuBar* bar = shell->plany()->menuBar();
            systemClick(bar, bar->actionGeometry(bar->actions().first()).center());
            shownWhilePrompt = shownSection();
        }
        entry_test::typeCode(QStringLiteral("mewakul"))(modal);
    });
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(promptWasModal);
    EXPECT_EQ(shownWhilePrompt, QStringLiteral("A2"));
    EXPECT_FALSE(QApplication::activePopupWidget()) << "the plan's menu did not open";

    // The window goes on: back at the first row, writable, taking clicks.
    EXPECT_EQ(shownSection(), QStringLiteral("A1"));
    systemClick(next);
    EXPECT_EQ(shownSection(), QStringLiteral("A2"));
    EXPECT_TRUE(sectionWritable());
}

} // namespace
