#include "data/DbfFile.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "data/Win1250.h"
#include "station/tool/StationBuilder.h"
#include "station/tool/StationTables.h"
#include "tests/station/StationCopy.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using testing_support::StationCopy;

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString pagePath(const QString& name)
{
    return QDir(StationCopy::dir()).filePath(name);
}

QStringList pageLines(const QString& name)
{
    QStringList lines = data::Win1250::decode(bytesOf(pagePath(name))).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    return lines;
}

TEST(StationFiles, TheToolMakesStationAgainByteForByte)
{
    testing_support::TempDir out;
    QStringList written = station::StationBuilder::build(StationCopy::sourceDir(), out.path());
    written.sort();
    QStringList committed = StationCopy::files();
    committed.sort();
    // A difference means station/ is stale: cmake --build <dir> --target station, then commit it.
    EXPECT_EQ(written, committed);
    for (const QString& name : written)
        EXPECT_TRUE(bytesOf(out.file(name)) == bytesOf(pagePath(name))) << name.toStdString() << " differs";
}

TEST(StationFiles, PicturesAreSixteenColourWindowsBitmapsOfTheStoredSizes)
{
    const struct {
        const char* file;
        QSize size;
    } pictures[] = {{"kzn1.bmp", {1185, 498}}, {"kzn.bmp", {1166, 422}}};
    for (const auto& p : pictures) {
        const QString path = pagePath(QString::fromLatin1(p.file));
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray("bmp")) << p.file;
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << p.file << ": " << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), p.size) << p.file;
        const QByteArray bytes = bytesOf(path);
        EXPECT_EQ(bytes.left(2), QByteArray("BM")) << p.file;
        EXPECT_EQ(int(bytes.at(28)), 4) << p.file << ": bits per pixel";
        EXPECT_EQ(image.colorCount(), 16) << p.file;
    }
    // The rows above the window's top edge hold nothing but paper.
    const QImage kzn1(pagePath(QStringLiteral("kzn1.bmp")));
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < kzn1.width(); ++x)
            ASSERT_EQ(kzn1.pixel(x, y), kzn1.pixel(0, 0)) << x << "," << y;
    }
}

TEST(StationFiles, PagesAreWindows1250WithCrLfLineEnds)
{
    for (const QString& name : station::StationBuilder::pageNames()) {
        const QByteArray bytes = bytesOf(pagePath(name));
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        EXPECT_TRUE(bytes.endsWith("\r\n")) << name.toStdString();
        EXPECT_FALSE(bytes.contains('\x1A')) << name.toStdString();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes.at(i) == '\n') {
                EXPECT_TRUE(i > 0 && bytes.at(i - 1) == '\r') << name.toStdString() << ": lone LF at " << i;
            }
            if (bytes.at(i) == '\r') {
                EXPECT_TRUE(i + 1 < bytes.size() && bytes.at(i + 1) == '\n') << name.toStdString() << ": lone CR at " << i;
            }
        }
        const QString text = data::Win1250::decode(bytes);
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << name.toStdString();
        EXPECT_EQ(data::Win1250::encode(text), bytes) << name.toStdString();
    }
}

// Each contents page lists pages 1 to 20 under the headings those pages carry,
// and says that the installation only illustrates.
TEST(StationFiles, ContentsPagesListTheirTwentyPagesAndSayTheDataAreExamples)
{
    const struct {
        const char* contents;
        const char* page;
    } viewers[] = {{"Spis.Txt", "U%1.txt"}, {"Tspis.Txt", "Dte%1.txt"}};
    for (const auto& v : viewers) {
        const QStringList lines = pageLines(QString::fromLatin1(v.contents));
        const QString all = lines.join(QLatin1Char(' ')).simplified();
        EXPECT_TRUE(all.contains(QStringLiteral("instalacja przykładowa"))) << v.contents;
        EXPECT_TRUE(all.contains(QStringLiteral("ilustracyjn"))) << v.contents;
        EXPECT_TRUE(all.contains(QStringLiteral("Zastąp")) || all.contains(QStringLiteral("zastąp"))) << v.contents;
        for (int n = 1; n <= 20; ++n) {
            const QString prefix = QStringLiteral("%1. ").arg(n);
            const auto entry = std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(prefix); });
            ASSERT_NE(entry, lines.end()) << v.contents << " lists no page " << n;
            const QStringList page = pageLines(QString::fromLatin1(v.page).arg(n));
            ASSERT_FALSE(page.isEmpty());
            EXPECT_EQ(page.first(), entry->toUpper()) << v.contents << " page " << n;
        }
    }
}

// Sources that would make an installation other than they say are refused,
// naming the file and the place.
TEST(StationFiles, TheToolRefusesSourcesThatWouldMakeABadInstallation)
{
    const struct {
        const char* file;
        const char* from;
        const char* to;
        const char* message;
    } cases[] = {
        {"ODCINKI.txt", "wjazdowym A", "wjazdowym A od strony szlaku", "ODCINKI.DBF row 1, UWAGI: longer than 50 characters"},
        {"ODCINKI.txt", "EOT-9150", "EOT-9180", "does not carry the section's code 15"},
        {"ODCINKI.txt", "| Iz1>  ", "| Iz9>  ", "no section Iz9"},
        {"ODCINKI.txt", "<ITA Iz2> Iz3>", "<ITA Iz2 Iz3>", "neighbour Iz2 is neither <west nor east>"},
        {"CZESTOTL.txt", "| 1580     |", "| 1580 Hz  |", "CZESTOTL.DBF row 1, CZESTOTL: not a number"},
        {"MER.txt", "| nadajnik EOT-7", "| nadajnik EOT-7 | 1", "MER.txt line 9: 6 cells, the header names 5"},
        {"kzn.plan", "size 1166 422", "size 1166 422\ncircle 1,1", "kzn.plan line 6: unknown command circle"},
        {"kzn1.plan", "joint 300,341", "joint 300;341", "'300;341' is not a point x,y"},
        {"kzn.plan", "\"szlak S\"", "\"szlak S \u2192\"", "The plan font has no character"},
        {"pages/U3.txt", "KODY", "KODY \u2192", "U3.txt line 1: a character Windows-1250 lacks"},
    };
    for (const auto& c : cases) {
        testing_support::TempDir src;
        QDirIterator it(StationCopy::sourceDir(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString to = src.file(QDir(StationCopy::sourceDir()).relativeFilePath(from));
            QDir().mkpath(QFileInfo(to).path());
            QFile::copy(from, to);
        }
        const QString name = QString::fromLatin1(c.file);
        QString text = QString::fromUtf8(bytesOf(src.file(name)));
        ASSERT_TRUE(text.contains(QString::fromUtf8(c.from))) << c.file << ": " << c.from;
        text.replace(text.indexOf(QString::fromUtf8(c.from)), qsizetype(qstrlen(c.from)), QString::fromUtf8(c.to));
        src.write(name, text.toUtf8());
        testing_support::TempDir out;
        try {
            station::StationBuilder::build(src.path(), out.path());
            ADD_FAILURE() << c.file << ": no failure for " << c.to;
        } catch (const data::Failure& f) {
            EXPECT_TRUE(f.message().contains(QString::fromUtf8(c.message))) << f.message().toStdString();
        }
    }
}

TEST(StationFiles, TablesHaveTheInstallationLayoutTheCodePageAndTheIndex)
{
    // The layouts the fixtures of every other test use.
    EXPECT_STREQ(station::StationTables::merLayout, testing_support::merLayout);
    EXPECT_STREQ(station::StationTables::czestotlLayout, testing_support::czestotlLayout);
    EXPECT_STREQ(station::StationTables::odcinkiLayout, testing_support::odcinkiLayout);

    testing_support::TempDir dir;
    StationCopy::copyTo(dir.path());
    for (const char* table : {"MER.DBF", "CZESTOTL.DBF", "ODCINKI.DBF"}) {
        const auto file = data::DbfFile::open(dir.file(QString::fromLatin1(table)));
        EXPECT_EQ(file->languageDriver(), 0xC8) << table;
        EXPECT_EQ(file->version(), 0x03) << table;
    }
    const auto czestotl = data::DbfFile::open(dir.file(QStringLiteral("CZESTOTL.DBF")));
    ASSERT_TRUE(czestotl->hasProductionIndex());
    data::MdxIndex* index = czestotl->productionIndex();
    ASSERT_NE(index, nullptr);
    const int tag = index->tagForField(QStringLiteral("C_OZN"));
    ASSERT_GE(tag, 0);
    EXPECT_EQ(index->walk(tag).size(), czestotl->recordCount());
    // The index was right as made: opening it found nothing to mend.
    EXPECT_EQ(bytesOf(dir.file(QStringLiteral("CZESTOTL.MDX"))), bytesOf(pagePath(QStringLiteral("CZESTOTL.MDX"))));
}

} // namespace
