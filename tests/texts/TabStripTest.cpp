#include "data/Failure.h"
#include "ui/Handler.h"
#include "ui/TabStrip.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

class TabStripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Stands in for the program's guard: records what a handler raised.
        ui::setHandlerRunner([this](const std::function<void()>& handler) {
            try {
                handler();
            } catch (const data::Failure& f) {
                failures.push_back(f.message());
            }
        });
        QStringList captions{QStringLiteral("Spis")};
        for (int n = 1; n <= 20; ++n)
            captions << QString::number(n);
        strip.setTabs(captions);
        strip.setCurrentIndex(0);
        strip.setGeometry(0, 0, 425, 17);
        strip.setChangeHandler([this](int newTab, bool& allow) {
            calls.push_back({newTab, strip.currentIndex()});
            allow = allowChange;
            if (fail)
                throw data::Failure(QString::fromLatin1(data::Failure::InOut), QStringLiteral("File access denied"));
        });
        strip.show();
    }

    void TearDown() override { ui::setHandlerRunner({}); }

    void click(int index) { QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.tabRect(index).center()); }

    struct Call {
        int newTab;
        int selectedDuringCall;
        bool operator==(const Call&) const = default;
    };

    ui::TabStrip strip;
    std::vector<Call> calls;
    std::vector<QString> failures;
    bool allowChange = true;
    bool fail = false;
};

TEST_F(TabStripTest, AsksBeforeTheSelectionMoves)
{
    click(3);
    EXPECT_EQ(calls, (std::vector<Call>{{3, 0}}));
    EXPECT_EQ(strip.currentIndex(), 3);
}

TEST_F(TabStripTest, RefusalOrFailureKeepsTheOldTab)
{
    allowChange = false;
    click(2);
    EXPECT_EQ(strip.currentIndex(), 0);
    allowChange = true;
    fail = true;
    click(2);
    EXPECT_EQ(strip.currentIndex(), 0);
    EXPECT_EQ(failures, std::vector<QString>{QStringLiteral("File access denied")});
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(TabStripTest, ClickingTheSelectedTabDoesNothing)
{
    click(4);
    click(4);
    QTest::mouseClick(&strip, Qt::RightButton, {}, strip.tabRect(5).center());
    EXPECT_EQ(calls, (std::vector<Call>{{4, 0}}));
    EXPECT_EQ(strip.currentIndex(), 4);
}

TEST_F(TabStripTest, KeyboardSelectsNoTab)
{
    EXPECT_EQ(strip.focusPolicy(), Qt::NoFocus);
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_End, Qt::Key_Tab, Qt::Key_1, Qt::Key_Space})
        QTest::keyClick(&strip, key);
    QTest::keyClick(&strip, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(strip.currentIndex(), 0);
}

TEST_F(TabStripTest, ArrowsScrollTheTabsThatDoNotFit)
{
    ASSERT_TRUE(strip.tabRect(20).isEmpty()) << "21 tabs should not fit into 425 pixels";
    ASSERT_FALSE(strip.scrollForwardRect().isEmpty());
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.scrollBackRect().center());
    EXPECT_EQ(strip.firstIndex(), 0);
    for (int i = 0; i < 21 && strip.tabRect(20).isEmpty(); ++i)
        QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.scrollForwardRect().center());
    ASSERT_FALSE(strip.tabRect(20).isEmpty());
    const int first = strip.firstIndex();
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.scrollForwardRect().center());
    EXPECT_EQ(strip.firstIndex(), first) << "no scrolling past the last tab";
    EXPECT_TRUE(calls.empty()) << "scrolling selects nothing";
    click(20);
    EXPECT_EQ(strip.currentIndex(), 20);
    EXPECT_TRUE(strip.tabRect(0).isEmpty());
}

TEST_F(TabStripTest, AllTabsShowWithoutArrowsWhenThereIsRoom)
{
    strip.resize(900, 17);
    EXPECT_TRUE(strip.scrollForwardRect().isEmpty());
    for (int i = 0; i <= 20; ++i)
        EXPECT_FALSE(strip.tabRect(i).isEmpty()) << i;
}

} // namespace
