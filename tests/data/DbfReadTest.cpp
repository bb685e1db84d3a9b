#include "data/DbfCodec.h"
#include "data/DbfFile.h"
#include "data/Failure.h"
#include "data/Win1250.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using data::DbfField;
using data::DbfFile;
using data::FieldKind;
using namespace dbf_test;

namespace {

QByteArray cp1250(const QString& text)
{
    return data::Win1250::encode(text);
}

DbfField field(char type, int width, int decimals)
{
    DbfField f;
    f.name = QStringLiteral("F");
    f.type = type;
    f.width = width;
    f.decimals = decimals;
    f.offset = 1;
    f.kind = DbfField::kindOf(type, width, decimals);
    return f;
}

} // namespace

TEST(DbfRead, KindFollowsTypeWidthAndDecimals)
{
    struct Case { char type; int width; int decimals; FieldKind kind; };
    const Case cases[] = {
        {'C', 1, 0, FieldKind::Text},     {'C', 254, 0, FieldKind::Text},
        {'N', 1, 0, FieldKind::SmallInt}, {'N', 4, 0, FieldKind::SmallInt},
        {'F', 4, 0, FieldKind::SmallInt}, {'N', 5, 0, FieldKind::Float},
        {'N', 4, 1, FieldKind::Float},    {'N', 10, 1, FieldKind::Float},
        {'F', 8, 0, FieldKind::Float},    {'D', 8, 0, FieldKind::Other},
        {'L', 1, 0, FieldKind::Other},    {'M', 10, 0, FieldKind::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << c.width << "." << c.decimals);
        EXPECT_EQ(DbfField::kindOf(c.type, c.width, c.decimals), c.kind);
    }
}

TEST(DbfRead, DecodesEveryKindFromItsBytes)
{
    struct Case { char type; int width; int decimals; QByteArray raw; QVariant expected; };
    const Case cases[] = {
        {'N', 2, 0, "21", 21},
        {'N', 4, 0, "  -3", -3},
        {'N', 4, 0, "-3  ", -3},
        {'N', 4, 0, "    ", QVariant()},
        {'N', 4, 0, QByteArray(4, '\0'), QVariant()},
        {'N', 4, 0, "****", QVariant()},
        {'N', 4, 0, "1 2 ", QVariant()},
        {'N', 4, 0, "  +7", 7},
        {'N', 10, 1, "      12.5", 12.5},
        {'N', 10, 1, "      -0.5", -0.5},
        {'N', 10, 1, "       0.0", 0.0},
        {'N', 10, 1, "          ", QVariant()},
        {'N', 10, 2, "       .25", 0.25},
        {'N', 10, 0, "        5.", 5.0},
        {'N', 10, 0, "     1.5e3", 1500.0},
        {'F', 20, 0, "   12345678901234567", 12345678901234567.0},
        {'N', 20, 3, "     1234567.891    ", 1234567.891},
        {'N', 8, 0, "    8000", 8000.0},
        {'C', 10, 0, "Iz101     ", QStringLiteral("Iz101")},
        {'C', 10, 0, QByteArray("  ITA  \0\0\0", 10), QStringLiteral("  ITA")},
        {'C', 10, 0, "          ", QString()},
        {'C', 9, 0, cp1250(QStringLiteral("ąćęłńóśźż")), QStringLiteral("ąćęłńóśźż")},
        {'C', 9, 0, cp1250(QStringLiteral("ĄĆĘŁŃÓŚŹŻ")), QStringLiteral("ĄĆĘŁŃÓŚŹŻ")},
        {'D', 8, 0, "20240131", QStringLiteral("20240131")},
        {'L', 1, 0, "T", QStringLiteral("T")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << c.width << "." << c.decimals << " '" << c.raw.toStdString() << "'");
        ASSERT_EQ(c.raw.size(), c.width);
        const QByteArray record = ' ' + c.raw;
        const QVariant v = data::DbfCodec::decode(field(c.type, c.width, c.decimals), record.constData());
        EXPECT_EQ(v.isNull(), c.expected.isNull());
        EXPECT_EQ(v.metaType(), c.expected.metaType());
        if (!c.expected.isNull()) {
            EXPECT_EQ(v, c.expected);
        }
    }
}

TEST(DbfRead, ReusedValueStorageGivesTheSameValues)
{
    // A scan decodes into the previous row's values; a text must not keep a
    // longer earlier text's tail, a blank number must not keep the last number.
    const DbfField text = field('C', 6, 0);
    const DbfField number = field('N', 4, 0);
    QVariant t = QStringLiteral("placeholder");
    QVariant n = 5;
    const QVariant shared = t;
    data::DbfCodec::decodeInto(text, " ab    ", t);
    data::DbfCodec::decodeInto(number, "     ", n);
    EXPECT_EQ(t, QVariant(QStringLiteral("ab")));
    EXPECT_EQ(shared, QVariant(QStringLiteral("placeholder")));
    EXPECT_TRUE(n.isNull());
    data::DbfCodec::decodeInto(text, " xyzuvw", t);
    data::DbfCodec::decodeInto(number, "  12", n);
    EXPECT_EQ(t, QVariant(QStringLiteral("xyzuvw")));
    EXPECT_EQ(n, QVariant(12));
}

TEST(DbfRead, TableWithPolishTextBlankNumbersAndDeletedRecords)
{
    testing_support::TempDir dir;
    const std::vector<Row> rows = {
        {false, {QStringLiteral("Zażółć gęślą"), 21, 12.5}},
        {false, {QStringLiteral("ĄĆĘŁŃÓŚŹŻ"), QVariant(), QVariant()}},
        {true, {QStringLiteral("usunięty"), -3, -0.5}},
        {false, {QString(), 0, 0.0}},
    };
    makeTable(dir.file("T.DBF"), "NAZWA C 12; SOT N 2; TYP N 10 1", rows);
    auto file = DbfFile::open(dir.file("T.DBF"));
    EXPECT_EQ(file->recordCount(), 4u);
    EXPECT_EQ(readRows(*file), rows);
    QByteArray r;
    ASSERT_TRUE(file->readRecord(2, r));
    EXPECT_TRUE(DbfFile::isDeleted(r.constData()));
    EXPECT_FALSE(file->readRecord(4, r));
    EXPECT_EQ(file->fieldIndex(QStringLiteral("typ")), 2);
    EXPECT_EQ(file->fieldIndex(QStringLiteral("NONE")), -1);
}

TEST(DbfRead, OpensEveryDBase3And4Version)
{
    testing_support::TempDir dir;
    const auto f = fields("NAZWA C 5; NOTA M 10; SOT N 2");
    for (const quint8 version : {quint8(0x03), quint8(0x83), quint8(0x8B)}) {
        SCOPED_TRACE(int(version));
        const QString path = dir.file(QStringLiteral("V%1.DBF").arg(version));
        writeFile(path, rawTable(version, 1, f, {QByteArray(" Iz101") + "         1" + "22"}));
        auto file = DbfFile::open(path);
        EXPECT_EQ(file->version(), version);
        EXPECT_EQ(file->fields()[1].kind, FieldKind::Other);
        EXPECT_EQ(readRows(*file), (std::vector<Row>{{false, {QStringLiteral("Iz101"), QStringLiteral("         1"), 22}}}));
    }
}

TEST(DbfRead, ReadsDBase7Layout)
{
    // 68-byte fixed part with the language-driver name, 48-byte descriptors
    // with 32-byte names: read as dBase III it would give garbage fields.
    QByteArray b(68 + 3 * 48 + 1, '\0');
    b[0] = 0x04;
    putLe32(b, 4, 2);
    putLe16(b, 8, int(b.size()));
    putLe16(b, 10, 1 + 15 + 2 + 8);
    b.replace(32, 9, "DB1250CZ0");
    struct F { const char* name; char type; int width; int decimals; };
    const F defs[] = {{"NAZWA_ODCINKA_DLUGA", 'C', 15, 0}, {"SOT", 'N', 2, 0}, {"CZESTOTL", 'N', 8, 1}};
    for (int i = 0; i < 3; ++i) {
        const int at = 68 + 48 * i;
        b.replace(at, int(qstrlen(defs[i].name)), defs[i].name);
        b[at + 32] = defs[i].type;
        b[at + 33] = char(defs[i].width);
        b[at + 34] = char(defs[i].decimals);
    }
    b[b.size() - 1] = 0x0D;
    b += " " + cp1250(QStringLiteral("Łódź Kaliska   ")) + "21" + " 14600.0";
    b += "*" + cp1250(QStringLiteral("ąę             ")) + " 3" + "     0.5";
    b += char(0x1A);
    testing_support::TempDir dir;
    writeFile(dir.file("D7.DBF"), b);
    auto file = DbfFile::open(dir.file("D7.DBF"));
    ASSERT_EQ(file->fields().size(), 3u);
    EXPECT_EQ(file->fields()[0].name, QStringLiteral("NAZWA_ODCINKA_DLUGA"));
    EXPECT_EQ(file->fields()[2].kind, FieldKind::Float);
    EXPECT_EQ(readRows(*file), (std::vector<Row>{{false, {QStringLiteral("Łódź Kaliska"), 21, 14600.0}},
                                                 {true, {QStringLiteral("ąę"), 3, 0.5}}}));
}

TEST(DbfRead, CountIsTheHeaderCountCappedByTheWholeRecordsHeld)
{
    // stored: the header's count; held: records in the file; partial: bytes
    // of a record cut short after them.
    struct Case { quint32 stored; int held; int partial; bool endMark; quint32 expected; };
    const Case cases[] = {
        {3, 3, 0, true, 3},          {3, 3, 0, false, 3},
        {2, 3, 0, true, 2},          // an append that wrote its record but not its count
        {2, 3, 2, false, 2},
        {5, 3, 0, true, 3},          // a file that lost its tail
        {1000000000, 3, 0, true, 3}, {3, 2, 4, false, 2},
        {0, 0, 0, true, 0},          {0, 2, 0, true, 0},
    };
    testing_support::TempDir dir;
    const auto f = fields("A C 5");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored " << c.stored << " held " << c.held << " partial " << c.partial);
        std::vector<QByteArray> records;
        for (int i = 0; i < c.held; ++i)
            records.push_back(QByteArray(" R") + QByteArray::number(i) + "   ");
        QByteArray bytes = rawTable(0x03, c.stored, f, records, c.endMark);
        bytes += QByteArray(c.partial, 'x');
        const QString path = dir.file(QStringLiteral("C%1.DBF").arg(n++));
        writeFile(path, bytes);
        auto file = DbfFile::open(path);
        EXPECT_EQ(file->recordCount(), c.expected);
        const auto rows = readRows(*file);
        ASSERT_EQ(rows.size(), c.expected);
        if (c.expected > 0) {
            EXPECT_EQ(rows.back().values[0], QVariant(QStringLiteral("R%1").arg(c.expected - 1)));
        }
        QByteArray r;
        EXPECT_FALSE(file->readRecord(c.expected, r));
    }
}

TEST(DbfRead, OneObjectPerFileSharedByEveryOpener)
{
    testing_support::TempDir dir;
    makeTable(dir.file("ODCINKI.DBF"), "ODCINEK C 10", {{false, {QStringLiteral("Iz101")}}});
    auto a = DbfFile::open(dir.file("ODCINKI.DBF"));
    auto b = DbfFile::open(dir.path() + QStringLiteral("/./ODCINKI.DBF"));
    ASSERT_TRUE(QFile::link(dir.file("ODCINKI.DBF"), dir.file("link.dbf")));
    auto c = DbfFile::open(dir.file("link.dbf"));
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(a.get(), c.get());
    a->appendRecord(record(*a, {false, {QStringLiteral("Iz102")}}));
    EXPECT_EQ(b->recordCount(), 2u);
    // A file replaced on disk is a new table, not the object of the old one.
    QFile::remove(dir.file("ODCINKI.DBF"));
    makeTable(dir.file("ODCINKI.DBF"), "NAZWA C 3", {});
    auto replaced = DbfFile::open(dir.file("ODCINKI.DBF"));
    EXPECT_NE(replaced.get(), a.get());
    EXPECT_EQ(replaced->fields()[0].name, QStringLiteral("NAZWA"));
    EXPECT_EQ(a->fields()[0].name, QStringLiteral("ODCINEK"));
}

TEST(DbfRead, CountFollowsAppendsMadeBehindItsBack)
{
    testing_support::TempDir dir;
    makeTable(dir.file("T.DBF"), "A C 3", {{false, {QStringLiteral("one")}}});
    auto file = DbfFile::open(dir.file("T.DBF"));
    EXPECT_EQ(file->recordCount(), 1u);
    // Another program appends: record, end mark, then the count.
    QByteArray bytes = readFile(dir.file("T.DBF"));
    bytes.chop(1);
    bytes += " two";
    bytes += char(0x1A);
    putLe32(bytes, 4, 2);
    writeFile(dir.file("T.DBF"), bytes);
    QByteArray r;
    ASSERT_TRUE(file->readRecord(1, r));
    EXPECT_EQ(file->value(r.constData(), 0), QVariant(QStringLiteral("two")));
    EXPECT_EQ(file->recordCount(), 2u);
}

TEST(DbfRead, RestructuredTableIsRefused)
{
    testing_support::TempDir dir;
    makeTable(dir.file("T.DBF"), "A C 3", {{false, {QStringLiteral("one")}}});
    auto file = DbfFile::open(dir.file("T.DBF"));
    QByteArray bytes = readFile(dir.file("T.DBF"));
    putLe16(bytes, 10, 9);
    writeFile(dir.file("T.DBF"), bytes);
    try {
        file->recordCount();
        FAIL() << "no failure";
    } catch (const data::Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("The table was restructured by another program.\nFile: T.DBF"));
    }
}

TEST(DbfRead, ScannerReadsBlocksInOrderAndStopsAtATruncatedEnd)
{
    testing_support::TempDir dir;
    std::vector<Row> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back({i % 7 == 0, {QStringLiteral("r%1").arg(i), i % 100}});
    auto file = makeTable(dir.file("T.DBF"), "A C 100; N N 2", rows);
    EXPECT_EQ(readRows(*file), rows);

    DbfFile::Scanner from(*file, 2998);
    ASSERT_NE(from.next(), nullptr);
    EXPECT_EQ(from.recno(), 2998u);
    ASSERT_NE(from.next(), nullptr);
    EXPECT_EQ(from.next(), nullptr);

    // Another program cuts the file while a scan runs: the scan ends at the
    // last whole record, it does not fail or read past the end.
    DbfFile::Scanner scan(*file);
    ASSERT_NE(scan.next(), nullptr);
    const qint64 keep = file->headerLength() + qint64(file->recordLength()) * 2800 + 40;
    ASSERT_TRUE(QFile::resize(dir.file("T.DBF"), keep));
    quint32 seen = 1;
    while (const char* r = scan.next()) {
        EXPECT_EQ(file->value(r, 0), QVariant(QStringLiteral("r%1").arg(scan.recno())));
        ++seen;
    }
    EXPECT_EQ(seen, 2800u);
    EXPECT_EQ(file->recordCount(), 2800u);
}
