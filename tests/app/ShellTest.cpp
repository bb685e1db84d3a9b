#include "app/Guard.h"
#include "app/Shell.h"
#include "data/Failure.h"
#include "plan/TPlany.h"
#include "tests/support/Menus.h"
#include "tests/support/Modal.h"
#include "tests/support/Station.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using testing_support::chooseMenu;
using testing_support::withModals;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing_support::writeStation(dir.path());
        shell = std::make_unique<app::Shell>();
        shell->start();
        QApplication::processEvents();
    }

    QWidget* window(const char* name) const
    {
        for (QWidget* w : shell->windows()) {
            if (w->objectName() == QLatin1String(name))
                return w;
        }
        throw std::runtime_error(std::string("no window ") + name);
    }

    std::vector<QString> visibleWindows() const
    {
        std::vector<QString> names;
        for (QWidget* w : shell->windows()) {
            if (w->isVisible())
                names.push_back(w->objectName());
        }
        return names;
    }

    testing_support::TempDir dir;
    std::unique_ptr<app::Shell> shell;
};

TEST_F(ShellTest, StartsWithOnlyTheMainWindowMaximised)
{
    const std::vector<QString> order = {
        QStringLiteral("Plany"), QStringLiteral("Form1"), QStringLiteral("Odcinki"), QStringLiteral("Wpis"),
        QStringLiteral("Notatki"), QStringLiteral("Dtech"), QStringLiteral("PasswordDlg"), QStringLiteral("Op"),
        QStringLiteral("Przeglad"), QStringLiteral("infor")};
    std::vector<QString> created;
    for (QWidget* w : shell->windows())
        created.push_back(w->objectName());
    EXPECT_EQ(created, order);
    EXPECT_EQ(visibleWindows(), std::vector<QString>{QStringLiteral("Plany")});
    EXPECT_TRUE(shell->plany()->isMaximized());
    EXPECT_EQ(shell->plany()->windowTitle(), QStringLiteral("Plan stacji"));
    EXPECT_EQ(shell->plany()->normalGeometry().topLeft(), QPoint(260, 89));
}

TEST_F(ShellTest, CaptionsOfTheWindowSet)
{
    const struct {
        const char* name;
        const char* caption;
    } cases[] = {
        {"Form1", "Znajdowanie urz. EOT"}, {"Odcinki", "Wpis danych odcinków"}, {"Wpis", "Wpis"},
        {"Notatki", "UWAGI O SPRZĘCIE"}, {"Dtech", "Dane techniczne urządzeń"}, {"PasswordDlg", "Password Dialog"},
        {"Op", "Opis urządzeń"}, {"Przeglad", "Przeglad danych"}, {"infor", "Informacja o programie"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(window(c.name)->windowTitle(), QString::fromUtf8(c.caption)) << c.name;
}

struct NavigationCase {
    const char* from;       // window whose menu is used
    QStringList menu;       // captions from the bar down
    const char* shows;      // window that must be visible afterwards
};

TEST_F(ShellTest, EveryMenuCommandShowsItsWindow)
{
    const NavigationCase cases[] = {
        {"Plany", {QStringLiteral("TABLICE    "), QStringLiteral("Odcinki - dane")}, "Przeglad"},
        {"Plany", {QStringLiteral("TABLICE    "), QStringLiteral("Opis SOT")}, "Op"},
        {"Plany", {QStringLiteral("TABLICE    "), QStringLiteral("Dane tech SOT")}, "Dtech"},
        {"Plany", {QStringLiteral("TABLICE    "), QStringLiteral("EOT")}, "Form1"},
        {"Plany", {QStringLiteral("TABLICE    "), QStringLiteral("Uwagi o EOT")}, "Notatki"},
        {"Plany", {QStringLiteral("TABLICE    "), QStringLiteral("Przegląd odc.")}, "Odcinki"},
        {"Plany", {QStringLiteral("INFO      "), QStringLiteral("Oprogramie")}, "infor"},
        {"Form1", {QStringLiteral("Tablice"), QStringLiteral("Opis")}, "Op"},
        {"Form1", {QStringLiteral("Tablice"), QStringLiteral("Uwagi")}, "Notatki"},
        {"Form1", {QStringLiteral("Tablice"), QStringLiteral("D. techniczne")}, "Dtech"},
        {"Form1", {QStringLiteral("Tablice"), QStringLiteral("Przegląd")}, "Przeglad"},
        {"Form1", {QStringLiteral("Tablice"), QStringLiteral("Plan stacji")}, "Plany"},
    };
    for (const NavigationCase& c : cases) {
        for (QWidget* w : shell->windows()) {
            if (w != shell->plany())
                w->hide();
        }
        auto* from = qobject_cast<QMainWindow*>(window(c.from));
        from->show();
        chooseMenu(from, c.menu);
        EXPECT_TRUE(window(c.shows)->isVisible()) << c.from << " " << c.menu.join(QStringLiteral(" > ")).toStdString();
        if (window(c.shows) != from) {
            EXPECT_EQ(QApplication::activeWindow(), window(c.shows)) << c.shows;
        }
    }
}

TEST_F(ShellTest, ShowingAVisibleWindowOnlyBringsItToTheFront)
{
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
    QWidget* finder = window("Form1");
    finder->move(40, 50);
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Uwagi o EOT")});
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
    EXPECT_TRUE(finder->isVisible());
    EXPECT_EQ(finder->pos(), QPoint(40, 50));
    EXPECT_EQ(QApplication::activeWindow(), finder);
}

TEST_F(ShellTest, CentredOnFirstShowingOnlyThenWhereItWasHidden)
{
    QWidget* finder = window("Form1");
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
    const QRect screen = finder->screen()->geometry();
    EXPECT_EQ(finder->pos(), QPoint((screen.width() - 612) / 2, (screen.height() - 448) / 2));
    finder->move(11, 22);
    finder->resize(700, 500);
    finder->close();
    EXPECT_FALSE(finder->isVisible());
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
    EXPECT_EQ(finder->pos(), QPoint(11, 22));
    EXPECT_EQ(finder->size(), QSize(700, 500));
}

TEST_F(ShellTest, DesignedPositionsOnFirstShowing)
{
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Dane tech SOT")});
    EXPECT_EQ(window("Dtech")->pos(), QPoint(226, 87));
}

TEST_F(ShellTest, ClosingAnyOtherWindowHidesIt)
{
    for (QWidget* w : shell->windows()) {
        if (w == shell->plany())
            continue;
        w->show();
        EXPECT_TRUE(w->close()) << w->objectName().toStdString();
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
}

TEST_F(ShellTest, ClosingTheMainWindowEndsTheLoopWhileOthersAreOpen)
{
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("EOT")});
    chooseMenu(shell->plany(), {QStringLiteral("TABLICE    "), QStringLiteral("Uwagi o EOT")});
    QTimer::singleShot(0, shell->plany(), [this] { shell->plany()->close(); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST_F(ShellTest, ZamknijOnTheBarEndsTheLoop)
{
    QTimer::singleShot(0, shell->plany(), [this] { chooseMenu(shell->plany(), {QStringLiteral("ZAMKNIJ")}); });
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(FailureBox, MessageGetsAFullStopAppendedAlways)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("obwodnik"));
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Cannot open file kzn1.bmp", "Cannot open file kzn1.bmp."},
        {"Table is busy.", "Table is busy.."},
        {"", "."},
    };
    for (const auto& c : cases) {
        const auto seen = withModals([&] {
            app::Guard::run([&] { throw data::Failure(QString::fromLatin1(data::Failure::Engine), QString::fromLatin1(c.message)); });
        });
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text.toStdString(), c.shown);
        EXPECT_EQ(seen[0].title, QStringLiteral("obwodnik"));
        EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    }
}

TEST(FailureBox, HandlerStopsAtTheFailingStep)
{
    std::vector<int> steps;
    withModals([&] {
        app::Guard::run([&] {
            steps.push_back(1);
            throw data::Failure(QString::fromLatin1(data::Failure::Convert), QStringLiteral("'x' is not a valid integer value"));
            steps.push_back(2);
        });
    });
    EXPECT_EQ(steps, std::vector<int>{1});
}

TEST(FatalText, NamesKindModuleAddressAndMessage)
{
    const data::Failure f(QString::fromLatin1(data::Failure::Engine), QStringLiteral("Table does not exist"));
    const QStringList lines = app::Guard::fatalText(f).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Exception EDBEngineError in module "))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QLatin1Char('.')));
    EXPECT_EQ(lines[1], QStringLiteral("Table does not exist."));
    const data::Failure dotted(QString::fromLatin1(data::Failure::Engine), QStringLiteral("Done."));
    EXPECT_EQ(app::Guard::fatalText(dotted).split(QLatin1Char('\n')).at(1), QStringLiteral("Done."));
}

} // namespace
