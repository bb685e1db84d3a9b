#include "app/FontSubstitutes.h"
#include "ui/WinFont.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

struct FontCase {
    const char* designName;
    int pixels;
    bool bold;
    const char* family; // the face drawn where the design's own is not installed
};

// The fonts and heights the windows ask for.
const FontCase cases[] = {
    {"System", 13, false, "DejaVu Sans"},
    {"System", 13, true, "DejaVu Sans"},
    {"System", 16, true, "DejaVu Sans"},
    {"MS Sans Serif", 11, false, "DejaVu Sans Condensed"},
    {"MS Sans Serif", 11, true, "DejaVu Sans Condensed"},
    {"MS Sans Serif", 19, true, "DejaVu Sans Condensed"},
    {"Arial", 16, true, "Liberation Sans"},
    {"Arial", 19, true, "Liberation Sans"},
    {"Arial Rounded MT Bold", 21, true, "Quicksand"},
};

class FontSubstitutes : public ::testing::Test {
protected:
    void SetUp() override { app::FontSubstitutes::install(); }
};

TEST_F(FontSubstitutes, DesignFontsResolveToTheChosenFacesAtTheirHeights)
{
    for (const FontCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.designName << " " << c.pixels << (c.bold ? " bold" : ""));
        const QFontInfo info(ui::winFont(QString::fromLatin1(c.designName), c.pixels, c.bold));
        // A machine that has the design's own font uses it.
        EXPECT_TRUE(info.family() == QLatin1String(c.family) || info.family() == QLatin1String(c.designName))
            << info.family().toStdString();
        EXPECT_EQ(info.pixelSize(), c.pixels);
        EXPECT_EQ(info.bold(), c.bold);
    }
}

TEST_F(FontSubstitutes, EveryFaceHasThePolishLetters)
{
    const QString letters = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.designName);
        const QFontMetrics metrics(ui::winFont(QString::fromLatin1(c.designName), c.pixels, c.bold));
        for (QChar letter : letters)
            EXPECT_TRUE(metrics.inFont(letter)) << QString(letter).toStdString();
    }
}

// The review window's heading label is laid out 102 pixels wide for its
// caption in the rounded face; the stand-in must not overrun it.
TEST_F(FontSubstitutes, RoundedHeadingFitsItsDesignedLabel)
{
    const QFontMetrics metrics(ui::winFont(QStringLiteral("Arial Rounded MT Bold"), 21, true));
    EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("Odcinek : ")), 102);
    EXPECT_GE(metrics.horizontalAdvance(QStringLiteral("Odcinek : ")), 90);
}

} // namespace
