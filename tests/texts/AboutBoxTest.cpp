#include "texts/ProgramIcon.h"
#include "texts/Tinfor.h"
#include "ui/FormPlacement.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::showForm(&about);
        QApplication::setActiveWindow(&about);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    }

    QPushButton* ok() const { return about.findChild<QPushButton*>(QStringLiteral("OKButton")); }
    QStringList captions() const
    {
        QStringList out;
        for (const QLabel* label : about.findChildren<QLabel*>())
            out << label->text();
        return out;
    }

    texts::Tinfor about;
};

TEST_F(AboutBoxTest, NamesTheProgramWithOkFocused)
{
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informacja o programie"));
    EXPECT_TRUE(captions().contains(QStringLiteral("OBWODNIK")));
    EXPECT_EQ(QApplication::focusWidget(), ok());
    EXPECT_TRUE(ok()->isDefault());
}

TEST_F(AboutBoxTest, EnterOrOkHidesItAndItComesBackTheSame)
{
    const QStringList shown = captions();
    const struct {
        const char* how;
        std::function<void()> act;
    } ways[] = {
        {"Enter", [this] { QTest::keyClick(&about, Qt::Key_Return); }},
        {"Enter on the keypad", [this] { QTest::keyClick(&about, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"OK", [this] { QTest::mouseClick(ok(), Qt::LeftButton); }},
    };
    for (const auto& way : ways) {
        ui::showForm(&about);
        QApplication::setActiveWindow(&about);
        ok()->setFocus();
        way.act();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !about.isVisible(); }, 2000)) << way.how;
        ui::showForm(&about);
        EXPECT_EQ(captions(), shown) << way.how;
    }
}

TEST_F(AboutBoxTest, EscapeDoesNotCloseIt)
{
    QTest::keyClick(&about, Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(about.isVisible());
}

TEST(ProgramIcon, HasALargeAndASmallPictureInSixteenColours)
{
    const QIcon icon = texts::ProgramIcon::icon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    for (int size : {32, 16}) {
        const QImage image = texts::ProgramIcon::image(size);
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_LE(image.colorCount(), 16);
        // Grey panel: the middle of the top rows and the corners of the lower half are grey.
        EXPECT_EQ(image.pixel(size / 8 + 1, size * 3 / 4), qRgb(192, 192, 192)) << size;
        // Black dot in the lower half, in the middle.
        EXPECT_EQ(image.pixel(size / 2, size * 17 / 32), qRgb(0, 0, 0)) << size;
    }
}

} // namespace
