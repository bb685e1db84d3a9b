// The table's side of its production index: found by header byte 28 and by
// name beside the table, kept valid by every write, mended on first use, and
// a reason to refuse every write when it cannot be kept valid.

#include "data/DbfFile.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using data::DbfFile;
using data::MdxIndex;
using namespace dbf_test;

namespace {

const QString kLayout = QStringLiteral("EOT C 3; SOT N 2; NR N 2; C_OZN N 2; CZESTOTL N 8; KOLOR C 20");

Row frequency(int code, int hertz)
{
    return {false, {QStringLiteral("3-7"), 21, 1, code, double(hertz), QStringLiteral("zielony")}};
}

// CZESTOTL.DBF with byte 28 set and a tag over C_OZN in "czestotl.mdx"
// (another letter case than the table's): the empty table, its empty index,
// then the rows appended through both.
std::shared_ptr<DbfFile> indexedTable(const testing_support::TempDir& dir, const std::vector<Row>& rows)
{
    data::DbfCreateOptions options;
    options.indexedFields = {QStringLiteral("C_OZN")};
    auto file = makeTable(dir.file("CZESTOTL.DBF"), kLayout, {}, options);
    MdxIndex::create(dir.file("czestotl.mdx"), file->fields(), {QStringLiteral("C_OZN")}, {}, file->languageDriver());
    std::vector<QByteArray> records;
    for (const Row& r : rows)
        records.push_back(record(*file, r));
    file->appendRecords(records);
    return file;
}

QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const data::Failure& f) {
        return f.message();
    }
    return QStringLiteral("(no failure)");
}

} // namespace

TEST(DbfIndex, EveryWriteKeepsTheIndexInKeyOrder)
{
    testing_support::TempDir dir;
    auto file = indexedTable(dir, {frequency(80, 8000), frequency(15, 1580), frequency(21, 2170)});
    MdxIndex* index = file->productionIndex();
    ASSERT_NE(index, nullptr);
    const int tag = index->tagForField(QStringLiteral("C_OZN"));
    ASSERT_GE(tag, 0);
    EXPECT_EQ(index->walk(tag), (std::vector<quint32>{1, 2, 0}));

    file->appendRecord(record(*file, frequency(18, 1780)));
    file->appendRecords({record(*file, frequency(10, 10000)), record(*file, frequency(24, 2430))});
    EXPECT_EQ(index->walk(tag), (std::vector<quint32>{4, 1, 3, 2, 5, 0}));

    file->writeRecord(0, record(*file, frequency(12, 12000)));
    EXPECT_EQ(index->find(tag, 12), (std::vector<quint32>{0}));
    EXPECT_TRUE(index->find(tag, 80).empty());

    // A deleted record keeps its key, as in dBase.
    file->deleteRecord(3);
    EXPECT_EQ(index->walk(tag), (std::vector<quint32>{4, 0, 1, 3, 2, 5}));
}

TEST(DbfIndex, AppendMadeWithoutTheIndexIsMendedOnFirstUse)
{
    testing_support::TempDir dir;
    {
        auto file = indexedTable(dir, {frequency(80, 8000)});
        // Appended by a program that does not keep the index: straight bytes.
        QByteArray bytes = readFile(dir.file("CZESTOTL.DBF"));
        bytes.chop(1);
        bytes += record(*file, frequency(14, 14600)) + char(0x1A);
        putLe32(bytes, 4, 2);
        writeFile(dir.file("CZESTOTL.DBF"), bytes);
    }
    auto file = DbfFile::open(dir.file("CZESTOTL.DBF"));
    MdxIndex* index = file->productionIndex();
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->walk(index->tagForField(QStringLiteral("C_OZN"))), (std::vector<quint32>{1, 0}));
}

TEST(DbfIndex, IndexOnlyWhereTheHeaderSaysSo)
{
    testing_support::TempDir dir;
    makeTable(dir.file("MER.DBF"), "SOT N 2", {{false, {21}}});
    indexedTable(dir, {frequency(80, 8000)});
    QFile::copy(dir.file("czestotl.mdx"), dir.file("MER.MDX"));
    EXPECT_EQ(DbfFile::open(dir.file("MER.DBF"))->productionIndex(), nullptr);

    // Flag set, index gone: the table reads, but no write goes past the index.
    QFile::remove(dir.file("czestotl.mdx"));
    auto file = DbfFile::open(dir.file("CZESTOTL.DBF"));
    EXPECT_EQ(readRows(*file).size(), 1u);
    const QByteArray before = readFile(dir.file("CZESTOTL.DBF"));
    const QString missing = failureOf([&] { file->productionIndex(); });
    EXPECT_TRUE(missing.contains(QStringLiteral("CZESTOTL.mdx"), Qt::CaseInsensitive)) << missing.toStdString();
    EXPECT_EQ(failureOf([&] { file->appendRecord(record(*file, frequency(15, 1580))); }), missing);
    EXPECT_EQ(readFile(dir.file("CZESTOTL.DBF")), before);
}

TEST(DbfIndex, IndexThatCannotBeKeptRefusesEveryWrite)
{
    // TDbf's table with a tag over UPPER(KOLOR), an expression kept here
    // only as a reason to refuse writes.
    testing_support::TempDir dir;
    for (const char* name : {"EXPR.DBF", "EXPR.MDX"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(OBW_FIXTURES_DIR "/mdx/") + QString::fromLatin1(name),
                                dir.file(QString::fromLatin1(name))));
    QFile::setPermissions(dir.file("EXPR.DBF"), QFile::ReadOwner | QFile::WriteOwner);
    auto file = DbfFile::open(dir.file("EXPR.DBF"));
    ASSERT_NE(file->productionIndex(), nullptr);
    const QString refusal = file->productionIndex()->writeRefusal();
    ASSERT_FALSE(refusal.isEmpty());
    const QByteArray before = readFile(dir.file("EXPR.DBF"));
    QByteArray r;
    ASSERT_TRUE(file->readRecord(0, r));
    EXPECT_EQ(failureOf([&] { file->writeRecord(0, r); }), refusal);
    EXPECT_EQ(failureOf([&] { file->appendRecord(r); }), refusal);
    EXPECT_EQ(failureOf([&] { file->deleteRecord(0); }), refusal);
    EXPECT_EQ(readFile(dir.file("EXPR.DBF")), before);
}
