#include "data/DbfFile.h"
#include "data/MdxIndex.h"
#include "tests/data/MdxTestChecks.h"
#include "tests/data/MdxTestTable.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <random>

using data::DbfFile;
using data::MdxIndex;
using mdx_test::MdxTestTable;

namespace {

const QString kCode = QStringLiteral("C_OZN");
const QString kFamily = QStringLiteral("EOT");
const int kCodes[] = {15, 18, 21, 24, 28, 80, 10, 12, 14};
const char* const kFamilies[] = {"3-7", "9", "1"};

// Tables written through DbfFile, which keeps their index by MdxIndex, and
// what TDbf (tests/fixtures/mdx/tdbf_walk.pas) and Perl XBase
// (tests/fixtures/mdx/xbase_keys.pl) then read from the index: both must
// agree with the table's rows.
class MdxPeers : public testing::Test {
protected:
    QString dbf() const { return dir.file(QStringLiteral("CZESTOTL.DBF")); }
    QString mdx() const { return dir.file(QStringLiteral("CZESTOTL.MDX")); }

    void expectTdbfAgrees(const MdxTestTable& table, const QString& field)
    {
        const QStringList lines = mdx_test::run(QStringLiteral(MDX_TDBF_WALK), {dbf(), field, field}).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        ASSERT_EQ(lines.front(), QStringLiteral("walk"));
        std::vector<quint32> order;
        QStringList keys;
        std::map<QString, QString> found;
        for (const QString& line : lines.mid(1)) {
            if (line.startsWith(QStringLiteral("find "))) {
                const qsizetype colon = line.indexOf(u':');
                found[line.mid(5, colon - 5)] = line.mid(colon + 1).trimmed();
                continue;
            }
            const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
            ASSERT_GE(parts.size(), 2) << line.toStdString();
            const quint32 recno = parts.front().toUInt() - 1;
            order.push_back(recno);
            keys << (parts.size() == 3 ? parts[1] : QString());
            EXPECT_EQ(parts.back() == QStringLiteral("1"), table.deleted(recno)) << line.toStdString();
        }
        mdx_test::expectInTagOrder(table, field, order, keys);
        // TDbf's own search of every key finds that key's records.
        std::map<QString, QStringList> expected;
        for (quint32 recno : order)
            expected[table.text(recno, field)] << QString::number(recno + 1);
        ASSERT_EQ(found.size(), expected.size());
        for (const auto& [key, recnos] : expected)
            EXPECT_EQ(found[key], recnos.join(u' ')) << field.toStdString() << " = " << key.toStdString();
    }

    void expectPerlAgrees(const MdxTestTable& table, const QString& tag)
    {
        const QStringList lines = mdx_test::run(QStringLiteral("perl"), {QStringLiteral(MDX_XBASE_KEYS), mdx(), tag}).split(u'\n', Qt::SkipEmptyParts);
        std::vector<quint32> order;
        QStringList keys;
        for (const QString& line : lines) {
            const QStringList parts = line.split(u'\t');
            ASSERT_EQ(parts.size(), 2) << line.toStdString();
            keys << parts[0];
            order.push_back(parts[1].toUInt() - 1);
        }
        mdx_test::expectInTagOrder(table, tag, order, keys);
    }

    void expectPeersAgree()
    {
        const MdxTestTable table = MdxTestTable::load(dbf());
        expectTdbfAgrees(table, kCode);
        expectTdbfAgrees(table, kFamily);
        expectPerlAgrees(table, kCode);
        expectPerlAgrees(table, kFamily);
    }

    QByteArray someRow(DbfFile& file)
    {
        QByteArray r = file.blankRecord();
        file.setValue(r, 0, QString::fromLatin1(kFamilies[random() % 3]));
        file.setValue(r, 1, 21);
        file.setValue(r, 2, int(random() % 40));
        file.setValue(r, 3, kCodes[random() % 9]);
        file.setValue(r, 4, 1580.0);
        file.setValue(r, 5, QStringLiteral("k"));
        return r;
    }

    void changeKeys(DbfFile& file, quint32 recno, const QVariant& code, const QVariant& family)
    {
        QByteArray r;
        ASSERT_TRUE(file.readRecord(recno, r));
        file.setValue(r, file.fieldIndex(kCode), code);
        file.setValue(r, file.fieldIndex(kFamily), family);
        file.writeRecord(recno, r);
    }

    testing_support::TempDir dir;
    std::mt19937 random{3};
};

TEST_F(MdxPeers, ReadChangesMadeToATdbfIndex)
{
    for (const char* name : {"CZESTOTL.DBF", "CZESTOTL.MDX"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(OBW_FIXTURES_DIR "/mdx/") + QString::fromLatin1(name), dir.file(QString::fromLatin1(name))));
    auto file = DbfFile::open(dbf());
    ASSERT_NE(file->productionIndex(), nullptr);

    for (int code : {10, 99, 1, 15, 80, 28}) {
        QByteArray r = someRow(*file);
        file->setValue(r, file->fieldIndex(kCode), code);
        file->appendRecord(r);
    }
    for (quint32 recno : {0u, 33u, 77u, 149u})
        changeKeys(*file, recno, 21, QStringLiteral("0"));
    file->deleteRecord(2);
    file->deleteRecord(151);
    QByteArray r;
    ASSERT_TRUE(file->readRecord(50, r));
    file->setValue(r, file->fieldIndex(QStringLiteral("KOLOR")), QStringLiteral("inny"));
    file->writeRecord(50, r);

    expectPeersAgree();
}

// An index made here from the records, then grown by posts past one level
// of pages.
TEST_F(MdxPeers, ReadAnIndexMadeHere)
{
    data::DbfCreateOptions options;
    options.indexedFields = {kCode, kFamily};
    DbfFile::create(dbf(), MdxTestTable::frequencyFields(), options);
    auto file = DbfFile::open(dbf());
    std::vector<QByteArray> records;
    for (int i = 0; i < 200; ++i)
        records.push_back(someRow(*file));
    MdxIndex::create(mdx(), file->fields(), {kCode, kFamily}, {}, file->languageDriver());
    file->appendRecords(records);
    // The same index made again at once from the records, page by page.
    MdxIndex::create(mdx(), file->fields(), {kCode, kFamily}, records, file->languageDriver());
    expectPeersAgree();

    for (int i = 0; i < 400; ++i)
        file->appendRecord(someRow(*file));
    for (int i = 0; i < 200; ++i)
        changeKeys(*file, quint32(random() % file->recordCount()), kCodes[random() % 9],
                   QString::fromLatin1(kFamilies[random() % 3]));
    for (int i = 0; i < 20; ++i)
        file->deleteRecord(quint32(random() % file->recordCount()));
    expectPeersAgree();
}

// TDbf appending, changing keys and deleting through an index this program
// made and changed: the index still opens here, holds every record in key
// order, and repair() puts equal keys back in record order.
TEST_F(MdxPeers, TdbfWritesThroughAnIndexMadeHere)
{
    data::DbfCreateOptions options;
    options.indexedFields = {kCode, kFamily};
    DbfFile::create(dbf(), MdxTestTable::frequencyFields(), options);
    MdxIndex::create(mdx(), MdxTestTable::frequencyFields(), {kCode, kFamily}, {}, 0xC8);
    {
        auto file = DbfFile::open(dbf());
        for (int i = 0; i < 300; ++i)
            file->appendRecord(someRow(*file));
        for (int i = 0; i < 100; ++i)
            changeKeys(*file, quint32(random() % 300), kCodes[random() % 9], QStringLiteral("9"));
    }
    mdx_test::run(QStringLiteral(MDX_TDBF_POST), {dbf(), QStringLiteral("200")});

    const MdxTestTable table = MdxTestTable::load(dbf());
    ASSERT_EQ(table.records().size(), 500u);
    auto index = MdxIndex::open(mdx(), table.fields());
    mdx_test::expectTagAgrees(*index, table, kCode);
    mdx_test::expectTagAgrees(*index, table, kFamily);
    index->repair(table.reader());
    mdx_test::expectTagAgrees(*index, table, kCode);
    EXPECT_FALSE(index->repair(table.reader()));
    expectPeersAgree();
}

} // namespace
