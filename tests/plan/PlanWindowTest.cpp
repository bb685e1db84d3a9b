#include "app/Shell.h"
#include "data/SelectedSection.h"
#include "plan/TPlany.h"
#include "sections/TPrzeglad.h"
#include "tests/support/Menus.h"
#include "tests/support/Modal.h"
#include "tests/support/Station.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"
#include "ui/ClickLabel.h"
#include "ui/Picture.h"
#include "ui/WinColor.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testing_support::section;
using testing_support::withModals;

const QString kzn1 = QStringLiteral("TABLICE    ");

// A bitmap whose every pixel tells where it is, so a test can read back
// which part of the picture lies under a point.
void writeBitmap(const QString& path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)));
    }
    ASSERT_TRUE(image.save(path, "BMP"));
}

QPoint pixelPosition(QRgb c)
{
    return {qRed(c) | ((qBlue(c) >> 4) << 8), qGreen(c) | ((qBlue(c) & 0xF) << 8)};
}

class PlanWindow : public ::testing::Test {
protected:
    virtual void writeFiles()
    {
        writeBitmap(dir.file(QStringLiteral("kzn1.bmp")), {1185, 498});
        writeBitmap(dir.file(QStringLiteral("KZN.BMP")), {1000, 400});
    }

    void SetUp() override
    {
        testing_support::writeStation(dir.path());
        QStringList names = {QStringLiteral("ITA"), QStringLiteral("IT1"), QStringLiteral("Iz13")};
        std::vector<QVariantList> rows;
        for (const QString& n : names)
            rows.push_back(section(n, QStringLiteral("21"), 21, 5));
        testing_support::writeOdcinki(dir.path(), rows);
        QFile::remove(dir.file(QStringLiteral("kzn1.bmp")));
        QFile::remove(dir.file(QStringLiteral("kzn.bmp")));
        writeFiles();
        seen = withModals([&] { shell = std::make_unique<app::Shell>(); });
        shell->start();
        plan = shell->plany();
    }

    std::vector<int> visibleMarkers() const
    {
        std::vector<int> out;
        for (int n = 1; n <= 27; ++n) {
            if (plan->marker(n)->isVisible())
                out.push_back(n);
        }
        return out;
    }
    static std::vector<int> range(int from, int to)
    {
        std::vector<int> r;
        for (int n = from; n <= to; ++n)
            r.push_back(n);
        return r;
    }
    void clickMarker(int n) { QTest::mouseClick(plan->marker(n), Qt::LeftButton, {}, QPoint(5, 5)); }
    QString reviewName() const { return shell->przeglad()->findChild<QLabel*>(QStringLiteral("DBText1"))->text(); }

    testing_support::TempDir dir;
    std::vector<testing_support::SeenModal> seen;
    std::unique_ptr<app::Shell> shell;
    plan::TPlany* plan = nullptr;
};

TEST_F(PlanWindow, StartsOnKzn1WithItsTwelveMarkers)
{
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(visibleMarkers(), range(1, 12));
    EXPECT_TRUE(plan->Image1()->isVisible());
    EXPECT_FALSE(plan->Image2()->isVisible());
    EXPECT_EQ(plan->Image1()->geometry(), QRect(7, -22, 1185, 498));
    EXPECT_EQ(plan->Image2()->geometry(), QRect(8, 0, 1000, 400)); // the bitmap's size
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(ui::background(plan->marker(n)), QColor(255, 255, 130)) << n;
    EXPECT_EQ(plan->marker(1)->text(), QStringLiteral(" ?"));
    EXPECT_EQ(plan->marker(2)->text(), QStringLiteral(" ? "));
    EXPECT_EQ(plan->marker(1)->size(), QSize(14, 16));
    EXPECT_EQ(plan->marker(24)->size(), QSize(16, 17));
    EXPECT_EQ(plan->marker(6)->geometry(), QRect(765, 373, 16, 16));
    EXPECT_EQ(plan->marker(6)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(plan->marker(6)->font().bold());
}

TEST_F(PlanWindow, PlanCommandsFromEitherState)
{
    const struct {
        const char* command;
        std::vector<int> markers;
        bool image1;
    } steps[] = {
        {"Kzn 1", range(1, 12), true}, // the plan shown already: nothing changes
        {"Kzn", range(13, 27), false},
        {"Kzn", range(13, 27), false},
        {"Kzn 1", range(1, 12), true},
    };
    for (const auto& s : steps) {
        testing_support::chooseMenu(plan, {kzn1, QString::fromLatin1(s.command)});
        EXPECT_EQ(visibleMarkers(), s.markers) << s.command;
        EXPECT_EQ(plan->Image1()->isVisible(), s.image1) << s.command;
        EXPECT_EQ(plan->Image2()->isVisible(), !s.image1) << s.command;
        EXPECT_EQ(plan->showKzn1Markers, s.image1);
        EXPECT_EQ(plan->showKznMarkers, !s.image1);
    }
    testing_support::chooseMenu(plan, {kzn1, QStringLiteral("Kzn")});
    for (int n = 13; n <= 27; ++n)
        EXPECT_EQ(ui::background(plan->marker(n)), QColor(253, 254, 201)) << n;
}

TEST_F(PlanWindow, BothIt1MarkersLoadTheSameSection)
{
    clickMarker(6);
    EXPECT_EQ(data::selectedSection(), QStringLiteral("IT1"));
    EXPECT_TRUE(shell->przeglad()->isVisible());
    EXPECT_EQ(reviewName(), QStringLiteral("IT1"));
    shell->przeglad()->hide();
    data::selectedSection().clear();
    testing_support::chooseMenu(plan, {kzn1, QStringLiteral("Kzn")});
    clickMarker(26);
    EXPECT_EQ(data::selectedSection(), QStringLiteral("IT1"));
    EXPECT_TRUE(shell->przeglad()->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(shell->przeglad()));
}

TEST_F(PlanWindow, AClickWhileTheReviewIsShownReloadsIt)
{
    clickMarker(1);
    EXPECT_EQ(reviewName(), QStringLiteral("ITA"));
    plan->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(plan));
    clickMarker(6);
    EXPECT_EQ(reviewName(), QStringLiteral("IT1"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(shell->przeglad()));
}

TEST_F(PlanWindow, AMarkerWhoseSectionIsMissingLeavesTheReviewHidden)
{
    const auto boxes = withModals([&] { clickMarker(2); }); // ITB has no row here
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("'' is not a valid integer value."));
    EXPECT_EQ(data::selectedSection(), QStringLiteral("ITB"));
    EXPECT_FALSE(shell->przeglad()->isVisible());
    EXPECT_TRUE(shell->przeglad()->planMode());
}

TEST_F(PlanWindow, APressReleasedElsewhereDoesNothingAndADoubleClickIsOneClick)
{
    QSignalSpy clicks(plan, &plan::TPlany::sectionClicked);
    ui::ClickLabel* marker = plan->marker(1);
    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(shell->przeglad()->isVisible());
    QTest::mouseClick(marker, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 0);
    // A double click as the platform delivers it: press, release, double click, release.
    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), marker->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &dbl);
    QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(shell->przeglad()->isVisible());
}

TEST_F(PlanWindow, ScrollRangeFollowsTheVisiblePlan)
{
    plan->showNormal();
    plan->resize(400, 300);
    QApplication::processEvents();
    QScrollArea* area = plan->scrollArea();
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
    EXPECT_EQ(plan->canvas()->minimumSize(), QSize(7 + 1185, 498 - 22));
    area->verticalScrollBar()->setValue(0);
    // The top 22 rows of the picture lie above 0 and cannot be scrolled into view.
    EXPECT_EQ(plan->Image1()->mapTo(plan->canvas(), QPoint(0, 22)), QPoint(7, 0));
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    EXPECT_EQ(plan->marker(6)->mapTo(plan->canvas(), QPoint(0, 0)), QPoint(765, 373)); // markers move with the picture
    testing_support::chooseMenu(plan, {kzn1, QStringLiteral("Kzn")});
    EXPECT_EQ(plan->canvas()->minimumSize(), QSize(8 + 1000, 400));
}

TEST_F(PlanWindow, MarkersLieOnTheirPlaceOfThePicture)
{
    // The picture as a person sees it: the pixel under marker 6's corner is
    // the picture's pixel at the marker's position minus the picture's.
    plan->showNormal();
    plan->resize(1300, 600);
    QApplication::processEvents();
    plan->marker(6)->hide();
    const QImage shot = plan->canvas()->grab().toImage();
    plan->marker(6)->show();
    const qreal ratio = shot.devicePixelRatio();
    // The first device pixel inside the marker's corner.
    const QRgb under = shot.pixel(QPoint(int(std::ceil(765 * ratio)), int(std::ceil(373 * ratio))));
    EXPECT_EQ(pixelPosition(under), QPoint(765 - 7, 373 + 22));
}

class PlanWithoutKzn1 : public PlanWindow {
protected:
    void writeFiles() override { writeBitmap(dir.file(QStringLiteral("kzn.bmp")), {1000, 400}); }
};

TEST_F(PlanWithoutKzn1, TheMessageComesFirstThenNoPictureForTheWholeRun)
{
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Cannot open file kzn1.bmp."));
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(plan->Image1()->image().isNull());
    EXPECT_TRUE(plan->Image2()->image().isNull());
    EXPECT_TRUE(plan->Image1()->isVisibleTo(plan));
    EXPECT_TRUE(plan->Image2()->isVisibleTo(plan));
    EXPECT_EQ(visibleMarkers(), range(1, 12));
    testing_support::chooseMenu(plan, {kzn1, QStringLiteral("Kzn")});
    EXPECT_EQ(visibleMarkers(), range(13, 27));
    EXPECT_TRUE(plan->Image2()->image().isNull());
}

class PlanWithBadKzn : public PlanWindow {
protected:
    void writeFiles() override
    {
        writeBitmap(dir.file(QStringLiteral("kzn1.bmp")), {1185, 498});
        dir.write(QStringLiteral("kzn.bmp"), QByteArray("BM this is no bitmap at all"));
    }
};

TEST_F(PlanWithBadKzn, TheReadersMessageAndKzn1FullySetUp)
{
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].text.isEmpty());
    EXPECT_TRUE(seen[0].text.endsWith(QLatin1Char('.')));
    EXPECT_FALSE(plan->Image1()->image().isNull());
    EXPECT_FALSE(plan->Image2()->isVisible());
}

} // namespace
