#include "tests/support/TempDir.h"
#include "tests/texts/TextsTestSupport.h"
#include "texts/TNotatki.h"
#include "ui/FormPlacement.h"
#include "ui/WinColor.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using texts_testing::memoLines;

// What each page must show, written out here on its own so that a slip in
// the window's texts shows up.
struct ExpectedPage {
    const char16_t* caption;
    const char* memo;
    std::uint32_t color;
    bool editable;
    std::vector<const char16_t*> lines;
};

const std::vector<ExpectedPage>& expectedPages()
{
    static const std::vector<ExpectedPage> pages = {
        {u"EOT", "Memo5", 0x00C9FEFD, true,
         {
             u"Oznaczanie urzadzeń.",
             u"EOT- 1......  - nie produkowany",
             u"EOT- 3 ..... jeden lub dwa odbiorniki",
             u"EOT- 5..... nadajnik SOT-22 i odbiornik SOT-21 lub SOT-22",
             u"EOT- 6... nadajnik SOT-22",
             u"EOT- 7... nadajnik SOT-21",
             u"EOT-9... nadajnik SOT-21 ( EOT-9..1- nad. dużej mocy)",
             u"Druga i trzecia cyfra - cz.nadajnika lub odb. o niższej ",
             u"częstotliwości.",
             u"Czwarta i piąta cyfra - cz. drugiego odb. lub 00 gdy jest ",
             u"tylko 1 odbiornik.",
             u"Tylko dwie druga i trzecia - sam nadajnik.",
             u"Ostatnia - wyróżnik typu.",
         }},
        {u"EOT-3", "Memo3", 0x00C9FEFD, false,
         {
             u"Odbiorniki SOT-21 posiadają wykonania współpracujące ",
             u"z przekaźnikami JRV 10207 ( na 4.5V ).",
             u"Wykonania te posiadają oznaczenia MER-111401/1A - ",
             u"6A, a urz. EOT-3  zawierają ostatnią cyfrę \"1\" (np.  EOT - ",
             u"315001 )",
         }},
        {u"EOT-5", "Memo4", 0x00D2FFFF, false,
         {
             u"Odbiorniki SOT-21 posiadają wykonania współpracujące ",
             u"z przekaźnikami JRV 10207 ( na 4.5V ).",
             u"Wykonania te posiadają oznaczenia MER-111401/1A - ",
             u"6A, a urz. EOT-5  zawierają ostatnią cyfrę \"1\" (np.  EOT - ",
             u"315001 )",
         }},
        {u"EOT - 7", "Memo2", 0x00C9FEFD, false,
         {
             u"                                UWAGA  !!!",
             u"Istnieją różnice pomiędzy wykazem a DTR :",
             u"",
             u"W/g DTR- 94  EOT-7210 posiada MER 111702/2 a nie /3 ",
             u"natomiast EOT-7240 opsiada MER-111702/3 a nie  /2.",
             u"",
             u"W/g arkusza X-4-01258 :",
             u"EOT-7150 ; MER-111702/1",
             u"EOT-7180 ; MER-111702/2",
             u"EOT-7210 ; MER-111702/3",
             u"EOT-7280 ; MER-111702/4",
             u"",
             u"WNIOSEK ? : Patrz na kolor płyty.",
         }},
        {u"EOT - 9", "Memo1", 0x00C9FEFD, false,
         {
             u"Nadajniki EOT-9 z końcową liczbą \" 0 \" (np. EOT-9150) ",
             u"mają moc wyjściową jak nadajniki EOT-1 lub  EOT7. ",
             u"",
             u"Odmiany zakończone cyfrą \" 1 \" ( EOT-9151) posiadają ",
             u"zespoły MER oznaczone na końcy literą \" A \" i posiadają ",
             u"większą moc wyjściową. Są one stosowane w lin. obw. ",
             u"SOT-1.",
         }},
        {u"Nowości", "Memo6", 0x00C9FEFD, true,
         {
             u"Uzyskano zgodę na produkcję:",
             u" - SOT-2 o częstotliwościach 7 i 16,8 kHz.",
             u" - odb. MER 111709/1-6 ",
             u" - odb. MER 111712/1-6",
             u" - nad. MER 111701/5-6",
             u" - urz. EOT-8 i EOZ-5",
             u" - stosowanie urz. SOT w rozjazdach krzyżowych ",
         }},
    };
    return pages;
}

class NotesTest : public ::testing::Test {
protected:
    QTabWidget* notebook() const { return notes.findChild<QTabWidget*>(QStringLiteral("TabbedNotebook1")); }
    QPlainTextEdit* memo(const char* name) const { return notes.findChild<QPlainTextEdit*>(QLatin1String(name)); }
    QString shownPage() const { return notebook()->tabText(notebook()->currentIndex()); }
    void choosePage(int index)
    {
        QTabBar* bar = notebook()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    texts::TNotatki notes;
};

TEST_F(NotesTest, EveryPageShowsItsTextLineByLine)
{
    ASSERT_EQ(notebook()->count(), 6);
    for (int i = 0; i < 6; ++i) {
        const ExpectedPage& page = expectedPages()[static_cast<size_t>(i)];
        const QString caption = QString::fromUtf16(page.caption);
        EXPECT_EQ(notebook()->tabText(i), caption);
        const QPlainTextEdit* m = memo(page.memo);
        ASSERT_NE(m, nullptr) << page.memo;
        EXPECT_EQ(notebook()->widget(i)->findChild<QPlainTextEdit*>(), m) << page.memo;
        EXPECT_EQ(ui::toWinColor(m->palette().color(QPalette::Base)), page.color) << page.memo;
        const QStringList shown = memoLines(m);
        ASSERT_EQ(shown.size(), static_cast<qsizetype>(page.lines.size())) << caption.toStdString();
        for (qsizetype line = 0; line < shown.size(); ++line)
            EXPECT_EQ(shown[line], QString::fromUtf16(page.lines[static_cast<size_t>(line)]))
                << caption.toStdString() << ", line " << line + 1;
    }
}

TEST_F(NotesTest, TypingIsRefusedOnTheFourReadOnlyPages)
{
    ui::showForm(&notes);
    for (int i = 0; i < 6; ++i) {
        const ExpectedPage& page = expectedPages()[static_cast<size_t>(i)];
        choosePage(i);
        QPlainTextEdit* m = memo(page.memo);
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        const QString before = m->toPlainText();
        QTest::keyClicks(m, QStringLiteral("xyz"));
        QTest::keyClick(m, Qt::Key_Delete);
        EXPECT_EQ(m->toPlainText() != before, page.editable) << page.memo;
    }
}

TEST_F(NotesTest, FirstShowsNowosciThenThePageLeftAtHiding)
{
    ui::showForm(&notes);
    EXPECT_EQ(shownPage(), QStringLiteral("Nowości"));
    choosePage(3);
    ASSERT_EQ(shownPage(), QStringLiteral("EOT - 7"));
    QTest::mouseClick(notes.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    EXPECT_FALSE(notes.isVisible());
    ui::showForm(&notes);
    EXPECT_TRUE(notes.isVisible());
    EXPECT_EQ(shownPage(), QStringLiteral("EOT - 7"));
}

TEST_F(NotesTest, TypedTextStaysAcrossHidingAndShowing)
{
    ui::showForm(&notes);
    QPlainTextEdit* news = memo("Memo6");
    QTest::keyClicks(news, QStringLiteral("nowa uwaga "));
    const QString typed = news->toPlainText();
    notes.close();
    ui::showForm(&notes);
    EXPECT_EQ(news->toPlainText(), typed);
    EXPECT_TRUE(typed.contains(QStringLiteral("nowa uwaga ")));
}

} // namespace
