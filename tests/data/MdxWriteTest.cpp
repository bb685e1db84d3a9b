#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "tests/data/MdxTestChecks.h"
#include "tests/data/MdxTestTable.h"
#include "tests/support/TempDir.h"

#include <QDate>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using data::MdxIndex;
using mdx_test::MdxTestTable;

namespace {

const QString kCode = QStringLiteral("C_OZN");
const QString kFamily = QStringLiteral("EOT");
const int kCodes[] = {15, 18, 21, 24, 28, 80, 10, 12, 14};

template <typename F>
QString failureOf(F&& f)
{
    try {
        f();
    } catch (const data::Failure& e) {
        return e.message();
    }
    return {};
}

// A table and its index in a working directory. The index never reads the
// table file, so changes to the table stay in memory.
class MdxWrite : public testing::Test {
protected:
    void useTdbfFixture()
    {
        for (const char* name : {"CZESTOTL.DBF", "CZESTOTL.MDX"}) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(OBW_FIXTURES_DIR "/mdx/") + QString::fromLatin1(name),
                                    dir.file(QString::fromLatin1(name))));
        }
        table = MdxTestTable::load(dbf());
        index = MdxIndex::open(mdx(), table.fields());
    }

    void createWith(int rows, quint32 seed = 1)
    {
        table = MdxTestTable::frequency();
        std::mt19937 random(seed);
        for (int i = 0; i < rows; ++i)
            table.records().push_back(someRow(random));
        MdxIndex::create(mdx(), table.fields(), {kCode, kFamily}, table.records(), 0xC8);
        index = MdxIndex::open(mdx(), table.fields());
    }

    QByteArray someRow(std::mt19937& random) const
    {
        static const char* const families[] = {"3-7", "9", "1"};
        const int code = kCodes[random() % 9];
        return table.row(QString::fromLatin1(families[random() % 3]), 21 + int(random() % 2), int(random() % 40), code,
                         1580 + code, QStringLiteral("kolor"));
    }

    quint32 append(const QByteArray& record)
    {
        table.records().push_back(record);
        const quint32 recno = quint32(table.records().size() - 1);
        index->recordChanged(recno, nullptr, record.constData());
        return recno;
    }

    void change(quint32 recno, const QString& field, const QString& value)
    {
        const QByteArray before = table.records()[recno];
        table.set(recno, field, value);
        index->recordChanged(recno, before.constData(), table.records()[recno].constData());
    }

    void remove(quint32 recno)
    {
        const QByteArray before = table.records()[recno];
        table.setDeleted(recno, true);
        index->recordChanged(recno, before.constData(), table.records()[recno].constData());
    }

    void expectAgrees()
    {
        mdx_test::expectTagAgrees(*index, table, kCode);
        mdx_test::expectTagAgrees(*index, table, kFamily);
        // open() checks every page; repair() finds nothing to mend.
        index = MdxIndex::open(mdx(), table.fields());
        EXPECT_FALSE(index->repair(table.reader()));
    }

    QString dbf() const { return dir.file(QStringLiteral("CZESTOTL.DBF")); }
    QString mdx() const { return dir.file(QStringLiteral("CZESTOTL.MDX")); }

    testing_support::TempDir dir;
    MdxTestTable table;
    std::unique_ptr<MdxIndex> index;
};

TEST_F(MdxWrite, AppendsGoIntoEveryTag)
{
    useTdbfFixture();
    const quint32 a = append(table.row(QStringLiteral("9"), 22, 1, 10, 1590, QStringLiteral("a")));
    const quint32 b = append(table.row(QStringLiteral("1"), 21, 2, 99, 1600, QStringLiteral("b")));
    const quint32 c = append(table.row(QStringLiteral("0"), 21, 3, 1, 1610, QStringLiteral("c")));
    EXPECT_EQ(index->find(0, 10).back(), a);
    EXPECT_EQ(index->walk(0).back(), b);
    EXPECT_EQ(index->walk(0).front(), c);
    EXPECT_EQ(index->walk(1).front(), c);
    expectAgrees();
}

TEST_F(MdxWrite, KeyChangeMovesTheKey)
{
    useTdbfFixture();
    change(0, kCode, QStringLiteral("80"));
    change(3, kFamily, QStringLiteral("1"));
    const std::vector<quint32> fifteen = index->find(0, 15);
    EXPECT_EQ(std::count(fifteen.begin(), fifteen.end(), 0u), 0);
    // Equal keys stay in record order, as they do in dBase.
    const std::vector<quint32> eighty = index->find(0, 80);
    EXPECT_EQ(eighty.front(), 0u);
    EXPECT_TRUE(std::is_sorted(eighty.begin(), eighty.end()));
    const std::vector<quint32> one = index->find(1, QStringLiteral("1"));
    EXPECT_EQ(std::count(one.begin(), one.end(), 3u), 1);
    EXPECT_TRUE(std::is_sorted(one.begin(), one.end()));
    expectAgrees();
}

TEST_F(MdxWrite, DeletedRecordKeepsItsKey)
{
    useTdbfFixture();
    const QByteArray before = dir.read(QStringLiteral("CZESTOTL.MDX"));
    remove(0);
    EXPECT_EQ(dir.read(QStringLiteral("CZESTOTL.MDX")), before);
    EXPECT_EQ(index->find(0, 15).front(), 0u);
    expectAgrees();
}

TEST_F(MdxWrite, ChangeOutsideTheKeysLeavesTheIndexAlone)
{
    useTdbfFixture();
    const QByteArray before = dir.read(QStringLiteral("CZESTOTL.MDX"));
    change(5, QStringLiteral("KOLOR"), QStringLiteral("zloty"));
    change(5, QStringLiteral("CZESTOTL"), QStringLiteral("1999"));
    EXPECT_EQ(dir.read(QStringLiteral("CZESTOTL.MDX")), before);
}

// A post repeated after a failure, or after a repair that already took it
// in, must not add a second key.
TEST_F(MdxWrite, RepeatingAChangeChangesNothing)
{
    useTdbfFixture();
    const quint32 added = append(table.row(QStringLiteral("9"), 22, 1, 10, 1590, QStringLiteral("a")));
    const QByteArray before = table.records()[7];
    change(7, kCode, QStringLiteral("28"));
    const QByteArray once = dir.read(QStringLiteral("CZESTOTL.MDX"));
    index->recordChanged(added, nullptr, table.records()[added].constData());
    index->recordChanged(7, before.constData(), table.records()[7].constData());
    EXPECT_EQ(dir.read(QStringLiteral("CZESTOTL.MDX")), once);
    expectAgrees();
}

// Thousands of appends and key changes: pages split into new levels, and
// pages that lose every key leave the tree.
TEST_F(MdxWrite, ManyChangesKeepTheTreeValid)
{
    createWith(0);
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i)
        append(someRow(random));
    for (int i = 0; i < 1500; ++i)
        change(quint32(random() % 3000), kCode, QString::number(kCodes[random() % 9]));
    for (quint32 recno = 0; recno < 3000; recno += 2)
        change(recno, kCode, QStringLiteral("99"));
    expectAgrees();
    EXPECT_GT(QFile(mdx()).size(), 100 * 1024) << "three levels of pages";
}

TEST_F(MdxWrite, EveryKeyLeavingItsPages)
{
    createWith(0);
    for (int i = 0; i < 300; ++i)
        append(table.row(QStringLiteral("1"), 21, 1, 10, 1590, QStringLiteral("k")));
    for (quint32 recno = 0; recno < 300; ++recno)
        change(recno, kCode, QStringLiteral("90"));
    for (quint32 recno = 0; recno < 300; ++recno)
        change(recno, kCode, QStringLiteral("5"));
    expectAgrees();
    EXPECT_TRUE(index->find(0, 10).empty());
}

TEST_F(MdxWrite, CreatedIndexHoldsEveryRecord)
{
    createWith(500);
    ASSERT_EQ(index->tags().size(), 2u);
    EXPECT_EQ(index->tags()[0].name, kCode);
    EXPECT_EQ(index->tags()[0].keyType, 'N');
    EXPECT_EQ(index->tags()[1].name, kFamily);
    EXPECT_EQ(index->tags()[1].keyLength, 3);
    expectAgrees();
}

TEST_F(MdxWrite, CreatedEmptyIndexTakesAppends)
{
    createWith(0);
    EXPECT_TRUE(index->walk(0).empty());
    EXPECT_TRUE(index->find(0, 15).empty());
    append(table.row(QStringLiteral("9"), 22, 1, 15, 1590, QStringLiteral("a")));
    EXPECT_EQ(index->find(0, 15), std::vector<quint32>{0});
    expectAgrees();
}

// Date keys are the Julian day as a double; a blank date is day 0.
TEST_F(MdxWrite, DateKeys)
{
    data::DbfField date;
    date.name = QStringLiteral("DATA");
    date.type = 'D';
    date.width = 8;
    date.offset = 1;
    std::vector<QByteArray> records;
    for (const char* text : {"20240131", "19991231", "        ", "20240101", "19991231"})
        records.push_back(QByteArray(" ") + text);
    MdxIndex::create(mdx(), {date}, {QStringLiteral("DATA")}, records);
    index = MdxIndex::open(mdx(), {date});
    EXPECT_EQ(index->tags()[0].keyType, 'D');
    EXPECT_EQ(index->tags()[0].keyLength, 8);
    EXPECT_EQ(index->walk(0), (std::vector<quint32>{2, 1, 4, 3, 0}));
    EXPECT_EQ(index->find(0, QDate(1999, 12, 31)), (std::vector<quint32>{1, 4}));
    EXPECT_EQ(index->find(0, QStringLiteral("20240131")), std::vector<quint32>{0});
    const QByteArray before = records[3];
    records[3] = " 20250101";
    index->recordChanged(3, before.constData(), records[3].constData());
    EXPECT_EQ(index->walk(0), (std::vector<quint32>{2, 1, 4, 0, 3}));
    auto next = records.begin();
    EXPECT_FALSE(index->repair([&]() -> const char* { return next == records.end() ? nullptr : (next++)->constData(); }));
}

TEST_F(MdxWrite, CreateRefusesWhatCannotBeAKey)
{
    table = MdxTestTable::frequency();
    std::vector<data::DbfField> fields = table.fields();
    fields[5].type = 'L';
    EXPECT_EQ(failureOf([&] { MdxIndex::create(mdx(), fields, {QStringLiteral("XYZ")}, {}); }),
              QStringLiteral("Cannot index field 'XYZ': the table has no such field.\nFile: CZESTOTL.MDX"));
    EXPECT_EQ(failureOf([&] { MdxIndex::create(mdx(), fields, {QStringLiteral("KOLOR")}, {}); }),
              QStringLiteral("Cannot index field 'KOLOR': a field of type L and width 20 cannot be a key.\nFile: CZESTOTL.MDX"));
    EXPECT_EQ(failureOf([&] { MdxIndex::create(mdx(), fields, {kCode, QStringLiteral("c_ozn")}, {}); }),
              QStringLiteral("Cannot index field 'C_OZN': it has a tag already.\nFile: CZESTOTL.MDX"));
    EXPECT_FALSE(QFile::exists(mdx()));
}

// What a crash or another program leaves behind, and repair() mending it.
struct Stale {
    const char* what;
    std::function<void(MdxTestTable&)> change;
};

class MdxRepair : public MdxWrite, public testing::WithParamInterface<Stale> {};

TEST_P(MdxRepair, RebuildsAStaleIndex)
{
    useTdbfFixture();
    GetParam().change(table);
    index = MdxIndex::open(mdx(), table.fields());
    EXPECT_TRUE(index->repair(table.reader()));
    expectAgrees();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MdxRepair,
    testing::Values(Stale{"appended", [](MdxTestTable& t) { t.records().push_back(t.row("9", 21, 1, 28, 1, "x")); }},
                    Stale{"key changed", [](MdxTestTable& t) { t.set(40, QStringLiteral("C_OZN"), QStringLiteral("12")); }},
                    Stale{"text key changed", [](MdxTestTable& t) { t.set(41, QStringLiteral("EOT"), QStringLiteral("0")); }},
                    Stale{"records dropped", [](MdxTestTable& t) { t.records().resize(100); }}),
    [](const testing::TestParamInfo<Stale>& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(u' ', u'_');
        return name.toStdString();
    });

// An inner key before the last key of its child sends a search past it.
TEST_F(MdxWrite, RepairMendsInnerKeysOutOfOrder)
{
    useTdbfFixture();
    QByteArray bytes = dir.read(QStringLiteral("CZESTOTL.MDX"));
    bytes[16 * 512 + 8 + 4 + 2] = 0x11; // the root's first key, 14, made 11
    dir.write(QStringLiteral("CZESTOTL.MDX"), bytes);
    index = MdxIndex::open(mdx(), table.fields());
    EXPECT_TRUE(index->repair(table.reader()));
    expectAgrees();
}

// TDbf puts a changed key after the equal ones, whatever its record: an
// entry out of record order is still found, and repair() puts it back.
TEST_F(MdxWrite, EqualKeysOutOfRecordOrder)
{
    useTdbfFixture();
    QByteArray bytes = dir.read(QStringLiteral("CZESTOTL.MDX"));
    const qsizetype first = 8 * 512 + 8; // records 7, 16 and 25, all of key 10, in the first leaf
    ASSERT_EQ(qFromLittleEndian<quint32>(bytes.constData() + first), 7u);
    ASSERT_EQ(qFromLittleEndian<quint32>(bytes.constData() + first + 32), 25u);
    qToLittleEndian<quint32>(25, bytes.data() + first);
    qToLittleEndian<quint32>(7, bytes.data() + first + 32);
    dir.write(QStringLiteral("CZESTOTL.MDX"), bytes);
    index = MdxIndex::open(mdx(), table.fields());
    change(24, kCode, QStringLiteral("12"));
    change(33, kCode, QStringLiteral("14"));
    mdx_test::expectTagAgrees(*index, table, kCode);
    EXPECT_TRUE(index->repair(table.reader()));
    expectAgrees();
}

// A crash before the file header counted new pages would let another
// program put its own pages over them.
TEST_F(MdxWrite, RepairMendsAPageCountShortOfTheFile)
{
    useTdbfFixture();
    QByteArray bytes = dir.read(QStringLiteral("CZESTOTL.MDX"));
    qToLittleEndian<quint32>(20, bytes.data() + 32);
    dir.write(QStringLiteral("CZESTOTL.MDX"), bytes);
    EXPECT_TRUE(index->repair(table.reader()));
    bytes = dir.read(QStringLiteral("CZESTOTL.MDX"));
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 32) * 512, quint32(bytes.size()));
    expectAgrees();
}

TEST_F(MdxWrite, RepairOfAGoodIndexWritesNothing)
{
    useTdbfFixture();
    const QByteArray before = dir.read(QStringLiteral("CZESTOTL.MDX"));
    EXPECT_FALSE(index->repair(table.reader()));
    EXPECT_EQ(dir.read(QStringLiteral("CZESTOTL.MDX")), before);
}

// Tags that cannot be kept up to date, made by changing one byte of a tag
// header of the TDbf index.
struct Refused {
    const char* what;
    int at;
    char value;
    QString reason;
};

class MdxRefusal : public MdxWrite, public testing::WithParamInterface<Refused> {};

TEST_P(MdxRefusal, NamesTheTagAndItsKey)
{
    useTdbfFixture();
    QByteArray bytes = dir.read(QStringLiteral("CZESTOTL.MDX"));
    bytes[2048 + GetParam().at] = GetParam().value;
    dir.write(QStringLiteral("CZESTOTL.MDX"), bytes);
    index = MdxIndex::open(mdx(), table.fields());
    const QString message = QStringLiteral("Table cannot be changed: index tag 'C_OZN' (key 'C_OZN') ") + GetParam().reason
        + QStringLiteral(".\nFile: CZESTOTL.MDX");
    EXPECT_EQ(index->writeRefusal(), message);
    EXPECT_EQ(failureOf([&] { index->recordChanged(0, table.records()[0].constData(), table.records()[0].constData()); }),
              message);
    EXPECT_EQ(index->walk(0).size(), 150u);
}

INSTANTIATE_TEST_SUITE_P(Cases, MdxRefusal,
                         testing::Values(Refused{"unique", 23, 1, QStringLiteral("keeps one record of each key only")},
                                         Refused{"for", 245, 1, QStringLiteral("has a FOR condition")},
                                         Refused{"type", 9, 'D', QStringLiteral("has keys of type D and length 12")}),
                         [](const testing::TestParamInfo<Refused>& info) { return std::string(info.param.what); });

} // namespace
