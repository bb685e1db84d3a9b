#include "app/Guard.h"
#include "app/Shell.h"
#include "tests/support/Modal.h"
#include "tests/support/Station.h"
#include "tests/support/TempDir.h"
#include "tests/texts/TextsTestSupport.h"
#include "texts/TDtech.h"
#include "texts/TOp.h"
#include "ui/FormPlacement.h"
#include "ui/Handler.h"
#include "ui/TabStrip.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

using testing_support::SeenModal;
using testing_support::withModals;
using texts_testing::memoLines;

// The two viewers differ only in their window and their file names.
struct OpKind {
    using Window = texts::TOp;
    static QString atCreation() { return QStringLiteral("Spis.Txt"); }
    static QString byTab() { return QStringLiteral("Spis.txt"); }
    static QString page(int n) { return QStringLiteral("U%1.txt").arg(n); }
};
struct DtechKind {
    using Window = texts::TDtech;
    static QString atCreation() { return QStringLiteral("Tspis.Txt"); }
    static QString byTab() { return QStringLiteral("Tspis.txt"); }
    static QString page(int n) { return QStringLiteral("Dte%1.txt").arg(n); }
};

template <class Kind>
class ViewerTest : public ::testing::Test {
public:
    using Window = typename Kind::Window;

    void SetUp() override
    {
        app::Guard::install();
        QGuiApplication::setApplicationDisplayName(QStringLiteral("obwodnik"));
    }
    void TearDown() override { ui::setHandlerRunner({}); }

    // Builds the window and runs its creation handler as start-up does.
    std::vector<SeenModal> create()
    {
        return withModals([this] {
            window = std::make_unique<Window>();
            app::Guard::run([this] { window->FormCreate(); });
        });
    }
    void show() { ui::showForm(window.get()); }

    QPlainTextEdit* memo() const { return window->template findChild<QPlainTextEdit*>(QStringLiteral("Memo1")); }
    ui::TabStrip* tabs() const { return window->template findChild<ui::TabStrip*>(QStringLiteral("TabSet1")); }
    const texts::PageViewer& viewer() const { return window->viewer(); }

    std::vector<SeenModal> clickTab(int index)
    {
        return withModals([this, index] {
            ui::TabStrip* strip = tabs();
            for (int i = 0; i < 21 && strip->tabRect(index).isEmpty(); ++i)
                QTest::mouseClick(strip, Qt::LeftButton, {}, strip->scrollForwardRect().center());
            QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(index).center());
        });
    }

    void writePage(int n, const QByteArray& bytes) { dir.write(Kind::page(n), bytes); }

    testing_support::TempDir dir;
    std::unique_ptr<Window> window;
};

using ViewerKinds = ::testing::Types<OpKind, DtechKind>;
TYPED_TEST_SUITE(ViewerTest, ViewerKinds);

TYPED_TEST(ViewerTest, CreationShowsTheContentsPageWithItsPolishLetters)
{
    this->dir.write(TypeParam::atCreation(),
                    "Spis tre\x9c" "ci\r\n\r\n\xa3\xb9" "czno\x9c\xe6 z nadajnikiem\nEOT\r\n\x1a" "po ko\xf1" "cu");
    EXPECT_TRUE(this->create().empty());
    EXPECT_EQ(memoLines(this->memo()),
              (QStringList{QStringLiteral("Spis treści"), QString(), QStringLiteral("Łączność z nadajnikiem\u240AEOT")}));
    EXPECT_TRUE(this->memo()->toPlainText().endsWith(QLatin1Char('\n'))) << "every added line ends with a line end";
    EXPECT_EQ(this->tabs()->currentIndex(), 0);
    QStringList captions{QStringLiteral("Spis")};
    for (int n = 1; n <= 20; ++n)
        captions << QString::number(n);
    EXPECT_EQ(this->tabs()->tabs(), captions);
}

TYPED_TEST(ViewerTest, EachTabLoadsItsOwnPage)
{
    for (int n : {1, 3, 9, 20})
        this->writePage(n, QStringLiteral("strona %1\r\n").arg(n).toLatin1());
    this->create();
    this->show();
    for (int n : {3, 1, 9, 20}) {
        EXPECT_TRUE(this->clickTab(n).empty());
        EXPECT_EQ(this->tabs()->currentIndex(), n);
        EXPECT_EQ(this->viewer().fileName(), TypeParam::page(n));
        EXPECT_EQ(memoLines(this->memo()), QStringList{QStringLiteral("strona %1").arg(n)});
    }
}

TYPED_TEST(ViewerTest, ALongPageShowsFromItsTop)
{
    QByteArray page;
    for (int i = 1; i <= 200; ++i)
        page += "wiersz " + QByteArray::number(i) + "\r\n";
    this->writePage(7, page);
    this->create();
    this->show();
    this->clickTab(7);
    EXPECT_EQ(memoLines(this->memo()).size(), 200);
    EXPECT_EQ(this->memo()->textCursor().position(), 0);
    EXPECT_EQ(this->memo()->verticalScrollBar()->value(), 0);
}

TYPED_TEST(ViewerTest, SpisAfterAnotherTabShowsTheContentsPageUnderEitherSpelling)
{
    for (const QString& stored : {TypeParam::atCreation(), TypeParam::byTab(), TypeParam::atCreation().toUpper()}) {
        QDir here(this->dir.path());
        for (const QString& file : here.entryList(QDir::Files))
            here.remove(file);
        this->dir.write(stored, "spis\r\n");
        this->writePage(3, "trzy\r\n");
        this->create();
        this->show();
        EXPECT_EQ(memoLines(this->memo()), QStringList{QStringLiteral("spis")}) << stored.toStdString();
        this->clickTab(3);
        EXPECT_EQ(memoLines(this->memo()), QStringList{QStringLiteral("trzy")});
        EXPECT_TRUE(this->clickTab(0).empty());
        EXPECT_EQ(this->tabs()->currentIndex(), 0);
        EXPECT_EQ(this->viewer().fileName(), TypeParam::byTab());
        EXPECT_EQ(memoLines(this->memo()), QStringList{QStringLiteral("spis")}) << stored.toStdString();
    }
}

TYPED_TEST(ViewerTest, MissingEmptyOrDirectoryPageShowsEmptyWithoutAMessage)
{
    this->writePage(1, "jeden\r\n");
    this->writePage(2, "");
    ASSERT_TRUE(QDir(this->dir.path()).mkdir(TypeParam::page(3)));
    this->create();
    this->show();
    for (int n : {2, 1, 3, 1, 5}) {
        const auto seen = this->clickTab(n);
        EXPECT_TRUE(seen.empty()) << n;
        EXPECT_EQ(this->tabs()->currentIndex(), n);
        EXPECT_EQ(memoLines(this->memo()).isEmpty(), n != 1) << n;
    }
}

TYPED_TEST(ViewerTest, FailedReadKeepsThePreviousTabAndShowsTheMessage)
{
    this->writePage(2, "dwa\r\n");
    // Opens, then fails on the first read.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), this->dir.file(TypeParam::page(4))));
    this->create();
    this->show();
    this->clickTab(2);
    const auto seen = this->clickTab(4);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("I/O error 1117."));
    EXPECT_EQ(seen[0].title, QStringLiteral("obwodnik"));
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    EXPECT_EQ(this->tabs()->currentIndex(), 2);
    EXPECT_TRUE(memoLines(this->memo()).isEmpty());
    EXPECT_EQ(this->viewer().fileName(), TypeParam::page(4));
    // The still-selected tab does nothing; another tab loads again.
    EXPECT_TRUE(this->clickTab(2).empty());
    EXPECT_TRUE(memoLines(this->memo()).isEmpty());
    EXPECT_EQ(this->clickTab(4).size(), 1u);
}

// Root may read any file; the child drops that power, then reads a page
// without read permission.
template <class Kind>
[[noreturn]] void unreadablePageInAChild(ViewerTest<Kind>& t)
{
    texts_testing::WithoutFileOverride noOverride;
    t.writePage(2, "dwa\r\n");
    t.writePage(6, "sze\x9c\xe6\r\n");
    QFile::setPermissions(t.dir.file(Kind::page(6)), QFileDevice::Permissions{});
    t.create();
    t.show();
    t.clickTab(2);
    const auto seen = t.clickTab(6);
    for (const SeenModal& s : seen)
        std::fprintf(stderr, "seen: %s\n", qPrintable(s.text));
    const int open = texts_testing::openDescriptorsOf(t.dir.file(Kind::page(6)));
    std::fprintf(stderr, "selected %d, file %s, memo '%s', open %d\n", t.tabs()->currentIndex(),
                 qPrintable(t.viewer().fileName()), qPrintable(t.memo()->toPlainText()), open);
    const bool ok = seen.size() == 1 && seen[0].icon == QMessageBox::Critical && t.tabs()->currentIndex() == 2
        && memoLines(t.memo()).isEmpty() && t.viewer().fileName() == Kind::page(6) && open == 0;
    std::fflush(stderr);
    std::_Exit(ok ? 0 : 1);
}

TYPED_TEST(ViewerTest, UnreadablePageShowsAccessDeniedAndKeepsThePreviousTab)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(unreadablePageInAChild(*this), ::testing::ExitedWithCode(0), "seen: File access denied\\.\n");
}

TYPED_TEST(ViewerTest, ClickingTheSelectedTabKeepsWhatWasTyped)
{
    this->writePage(1, "jeden\r\n");
    this->create();
    this->show();
    this->clickTab(1);
    QTest::keyClicks(this->memo(), QStringLiteral("abc"));
    const QString typed = this->memo()->toPlainText();
    ASSERT_TRUE(typed.contains(QStringLiteral("abc")));
    this->writePage(1, "inny\r\n");
    EXPECT_TRUE(this->clickTab(1).empty());
    EXPECT_EQ(this->memo()->toPlainText(), typed);
}

TYPED_TEST(ViewerTest, KeyboardSelectsNoTab)
{
    this->writePage(1, "jeden\r\n");
    this->create();
    this->show();
    QApplication::setActiveWindow(this->window.get());
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Right, Qt::Key_Down, Qt::Key_1, Qt::Key_PageDown})
        QTest::keyClick(this->window.get(), key);
    QTest::keyClick(this->window.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(this->tabs()->currentIndex(), 0);
    EXPECT_EQ(this->viewer().fileName(), TypeParam::atCreation());
}

TYPED_TEST(ViewerTest, HidingAndShowingReadsNothing)
{
    this->dir.write(TypeParam::atCreation(), "spis\r\n");
    this->writePage(2, "dwa\r\n");
    this->create();
    this->show();
    this->clickTab(2);
    this->window->close();
    ASSERT_FALSE(this->window->isVisible());
    this->writePage(2, "zmieniona\r\n");
    this->dir.write(TypeParam::atCreation(), "zmieniony\r\n");
    this->show();
    EXPECT_EQ(this->tabs()->currentIndex(), 2);
    EXPECT_EQ(memoLines(this->memo()), QStringList{QStringLiteral("dwa")});
}

TEST(ViewerStartUp, FailingContentsPageShowsOneMessageAndStartUpGoesOn)
{
    testing_support::TempDir dir;
    testing_support::writeStation(dir.path());
    QGuiApplication::setApplicationDisplayName(QStringLiteral("obwodnik"));
    dir.write(QStringLiteral("Tspis.Txt"), "dane techniczne\r\n");
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), dir.file(QStringLiteral("Spis.Txt"))));
    std::unique_ptr<app::Shell> shell;
    const auto seen = withModals([&] { shell = std::make_unique<app::Shell>(); });
    ui::setHandlerRunner({});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("I/O error 1117."));
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->windows().size(), 10u);
    const auto* techMemo = shell->dtech()->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    const auto* opMemo = shell->op()->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    EXPECT_EQ(memoLines(techMemo), QStringList{QStringLiteral("dane techniczne")});
    EXPECT_TRUE(memoLines(opMemo).isEmpty());
    EXPECT_EQ(shell->op()->findChild<ui::TabStrip*>(QStringLiteral("TabSet1"))->currentIndex(), 0);
    shell->start();
    EXPECT_TRUE(shell->windows().front()->isVisible());
    EXPECT_FALSE(shell->op()->isVisible());
}

} // namespace
