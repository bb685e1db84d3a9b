#include "app/MainIcon.h"

#include <QPixmap>
#include <QSet>

#include <gtest/gtest.h>

namespace {

using app::MainIcon;

TEST(MainIcon, DrawnSizesUseOnlyTheSixteenColoursOnAClearGround)
{
    const QList<QRgb> palette = MainIcon::palette();
    ASSERT_EQ(palette.size(), 16);
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        const QImage image = MainIcon::image(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        QSet<QRgb> used;
        int clear = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 0) {
                    ++clear;
                    continue;
                }
                ASSERT_EQ(qAlpha(pixel), 255) << x << "," << y;
                ASSERT_TRUE(palette.contains(pixel)) << x << "," << y << " " << std::hex << pixel;
                used.insert(pixel);
            }
        // A picture, not a blank or a solid square.
        EXPECT_GE(used.size(), 6);
        EXPECT_GT(clear, 0);
        EXPECT_LT(clear, size * size / 2);
    }
}

TEST(MainIcon, LargerSizesRepeatThe32PictureExactly)
{
    const QImage base = MainIcon::image(32);
    for (int size : {64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage image = MainIcon::image(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        const int k = size / 32;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_EQ(image.pixel(x, y), base.pixel(x / k, y / k)) << x << "," << y;
    }
}

TEST(MainIcon, IconCarriesEverySize)
{
    const QIcon icon = MainIcon::icon();
    for (int size : MainIcon::sizes()) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        EXPECT_EQ(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
                  MainIcon::image(size));
    }
}

} // namespace
