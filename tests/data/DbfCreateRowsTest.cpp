#include "data/DbfFile.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/TempDir.h"

#include <QDate>
#include <QFile>

#include <gtest/gtest.h>

using data::DbfFile;
using namespace dbf_test;

namespace {

const char* const layout = "ODCINEK C 10; CZEST N 2; E1 N 8 1";

data::DbfCreateOptions withRows(QDate updated)
{
    data::DbfCreateOptions options;
    options.updated = updated;
    options.rows = {{QStringLiteral("ITA"), 15, 9150.5}, {QStringLiteral("Iz1"), QVariant(), QVariant()}};
    return options;
}

} // namespace

// A table made whole with its rows carries the given date and reads back as
// if the rows had been appended; made twice, it is the same bytes.
TEST(DbfCreateRows, RowsAndDateGoInWithTheHeader)
{
    testing_support::TempDir dir;
    const QDate issued(1999, 4, 30);
    DbfFile::create(dir.file("A.DBF"), fields(QString::fromLatin1(layout)), withRows(issued));
    DbfFile::create(dir.file("B.DBF"), fields(QString::fromLatin1(layout)), withRows(issued));

    const QByteArray bytes = readFile(dir.file("A.DBF"));
    EXPECT_EQ(bytes.mid(1, 3), QByteArray("\x63\x04\x1E", 3));
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("\x02\x00\x00\x00", 4));
    EXPECT_TRUE(bytes.endsWith('\x1A'));
    EXPECT_EQ(bytes, readFile(dir.file("B.DBF")));

    const auto file = DbfFile::open(dir.file("A.DBF"));
    const std::vector<Row> expected = {{false, {QStringLiteral("ITA"), 15, 9150.5}}, {false, {QString(), QVariant(), QVariant()}}};
    std::vector<Row> rows = readRows(*file);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], expected[0]);
    EXPECT_EQ(rows[1].values.at(0), QStringLiteral("Iz1"));
    EXPECT_FALSE(rows[1].values.at(1).isValid());
    EXPECT_EQ(qint64(bytes.size()), file->headerLength() + 2 * file->recordLength() + 1);
}

TEST(DbfCreateRows, ARowWithMoreValuesThanFieldsIsRefusedAndNothingIsWritten)
{
    testing_support::TempDir dir;
    data::DbfCreateOptions options;
    options.rows = {{QStringLiteral("ITA"), 15, 1.0, QStringLiteral("extra")}};
    try {
        DbfFile::create(dir.file("A.DBF"), fields(QString::fromLatin1(layout)), options);
        FAIL() << "no failure";
    } catch (const data::Failure& f) {
        EXPECT_TRUE(f.message().contains(QStringLiteral("a row holds 4 values for 3 fields"))) << f.message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.file("A.DBF")));
}

// The index made from those rows carries the same date in both its places.
TEST(DbfCreateRows, AnIndexMadeOnAGivenDateCarriesIt)
{
    testing_support::TempDir dir;
    data::DbfCreateOptions options = withRows(QDate(1999, 4, 30));
    options.indexedFields = {QStringLiteral("CZEST")};
    DbfFile::create(dir.file("A.DBF"), fields(QString::fromLatin1(layout)), options);
    const auto file = DbfFile::open(dir.file("A.DBF"));
    std::vector<QByteArray> records;
    DbfFile::Scanner scan(*file);
    while (const char* r = scan.next())
        records.emplace_back(r, file->recordLength());
    data::MdxIndex::create(dir.file("A.MDX"), file->fields(), {QStringLiteral("CZEST")}, records, 0xC8, QDate(1999, 4, 30));
    const QByteArray mdx = readFile(dir.file("A.MDX"));
    EXPECT_EQ(mdx.mid(1, 3), QByteArray("\x63\x04\x1E", 3));
    EXPECT_EQ(mdx.mid(44, 3), QByteArray("\x63\x04\x1E", 3));
    const int tag = file->productionIndex()->tagForField(QStringLiteral("CZEST"));
    EXPECT_EQ(file->productionIndex()->walk(tag).size(), 2u);
}
