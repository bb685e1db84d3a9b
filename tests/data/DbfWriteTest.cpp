#include "data/DbfFile.h"
#include "data/Failure.h"
#include "data/Win1250.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/data/DiskFaultChild.h"
#include "tests/support/TempDir.h"

#include <QDate>
#include <QFile>

#include <gtest/gtest.h>

using data::DbfFile;
using namespace dbf_test;

namespace {

QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const data::Failure& f) {
        return f.message();
    }
    return QStringLiteral("(no failure)");
}

QByteArray today()
{
    const QDate d = QDate::currentDate();
    const char bytes[] = {char(d.year() - 1900), char(d.month()), char(d.day())};
    return QByteArray(bytes, 3);
}

QByteArray descriptor(const char* name, char type, int width, int decimals, bool indexed)
{
    QByteArray d(32, '\0');
    d.replace(0, int(qstrlen(name)), name);
    d[11] = type;
    d[16] = char(width);
    d[17] = char(decimals);
    d[31] = indexed ? 1 : 0;
    return d;
}

} // namespace

TEST(DbfWrite, CreateWritesTheHeaderDBaseWrites)
{
    testing_support::TempDir dir;
    data::DbfCreateOptions options;
    options.indexedFields = {QStringLiteral("CZEST")};
    DbfFile::create(dir.file("ODCINKI.DBF"), fields("ODCINEK C 10; CZEST N 2; E1 N 8 1"), options);

    QByteArray expected = QByteArray(1, 0x03) + today() + QByteArray(4, '\0');
    expected += QByteArray("\x81\x00\x15\x00", 4);      // header 129, record 21 bytes
    expected += QByteArray(16, '\0') + QByteArray("\x01\xC8\x00\x00", 4);
    expected += descriptor("ODCINEK", 'C', 10, 0, false);
    expected += descriptor("CZEST", 'N', 2, 0, true);
    expected += descriptor("E1", 'N', 8, 1, false);
    expected += QByteArray("\x0D\x1A", 2);
    EXPECT_EQ(readFile(dir.file("ODCINKI.DBF")).toHex(' '), expected.toHex(' '));

    auto file = DbfFile::open(dir.file("ODCINKI.DBF"));
    EXPECT_EQ(file->recordCount(), 0u);
    EXPECT_TRUE(file->hasProductionIndex());
    EXPECT_EQ(file->fields()[2].offset, 13);
}

TEST(DbfWrite, CreateRefusesWhatDBaseCannotHold)
{
    struct Case { const char* layout; quint8 version; const char* indexed; const char* message; };
    const Case cases[] = {
        {"", 0x03, "", "a table needs at least one field"},
        {"ODCINEK_DLUGI C 10", 0x03, "", "field 1 (ODCINEK_DLUGI): the name must have 1 to 10 characters"},
        {"A C 1; DŁUGOŚĆ C 10", 0x03, "", "field 2 (DŁUGOŚĆ): the name may hold only letters, digits and '_'"},
        {"1A C 1", 0x03, "", "field 1 (1A): the name must start with a letter"},
        {"A C 0", 0x03, "", "field 1 (A): type C takes a width of 1 to 254 and no decimals"},
        {"A C 255", 0x03, "", "field 1 (A): type C takes a width of 1 to 254 and no decimals"},
        {"A N 21", 0x03, "", "field 1 (A): type N takes a width of 1 to 20"},
        {"A N 5 4", 0x03, "", "field 1 (A): the decimals must leave room for a digit and the point"},
        {"A D 10", 0x03, "", "field 1 (A): type D has a width of 8"},
        {"A M 10", 0x03, "", "field 1 (A): type 'M' is not one of C, N, F, D, L"},
        {"SOT N 2; sot C 1", 0x03, "", "the name sot is used twice"},
        {"A C 254; B C 254; C C 254; D C 254; E C 254; F C 254; G C 254; H C 254; I C 254; J C 254; "
         "K C 254; L C 254; M C 254; N C 254; O C 254; P C 254",
         0x03, "", "a record of 4065 bytes is longer than 4000"},
        {"A C 1", 0x04, "", "only version 0x03 (dBase III/IV) tables can be created"},
        {"A C 1", 0x03, "C_OZN", "the indexed field C_OZN is not among the fields"},
    };
    testing_support::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        data::DbfCreateOptions options;
        options.version = c.version;
        if (*c.indexed)
            options.indexedFields = {QString::fromLatin1(c.indexed)};
        EXPECT_EQ(failureOf([&] { DbfFile::create(dir.file("T.DBF"), fields(QString::fromUtf8(c.layout)), options); }),
                  QStringLiteral("Cannot create the table: %1.\nFile: T.DBF").arg(QString::fromUtf8(c.message)));
        EXPECT_FALSE(QFile::exists(dir.file("T.DBF")));
    }
    makeTable(dir.file("T.DBF"), "A C 1", {{false, {QStringLiteral("x")}}});
    EXPECT_EQ(failureOf([&] { DbfFile::create(dir.file("T.DBF"), fields("B C 2")); }),
              QStringLiteral("Cannot create the table: the file already exists.\nFile: T.DBF"));
    EXPECT_EQ(DbfFile::open(dir.file("T.DBF"))->recordCount(), 1u);
}

TEST(DbfWrite, ValuesAreStoredAsDBaseWritesThem)
{
    struct Case { const char* field; QVariant value; QByteArray bytes; };
    const Case cases[] = {
        {"SOT", 21, "21"},
        {"SOT", -3, "-3"},
        {"NR", 5, "   5"},
        {"NR", QVariant(), "    "},
        {"NR", QStringLiteral(" 12"), "  12"},
        {"NR", QString(), "    "},
        {"NR", 2.7, "   3"},
        {"TYP", 12.5, "      12.5"},
        {"TYP", 3, "       3.0"},
        {"TYP", -0.04, "       0.0"},
        {"TYP", -1234567.8, "-1234567.8"},
        {"CZ", 8000.0, "    8000"},
        {"CZ", 14600.4, "   14600"},
        {"NAZWA", QStringLiteral("Łódź"), data::Win1250::encode(QStringLiteral("Łódź  "))},
        {"NAZWA", QStringLiteral("Zażółć gęślą"), data::Win1250::encode(QStringLiteral("Zażółć"))},
        {"NAZWA", QVariant(), "      "},
        {"NAZWA", QString(), "      "},
    };
    testing_support::TempDir dir;
    auto file = makeTable(dir.file("T.DBF"), "SOT N 2; NR N 4; TYP N 10 1; CZ N 8; NAZWA C 6", {});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " " << c.value.toString().toStdString());
        const int index = file->fieldIndex(QString::fromLatin1(c.field));
        const data::DbfField& f = file->fields()[size_t(index)];
        QByteArray r = file->blankRecord();
        r.fill('#');
        file->setValue(r, index, c.value);
        EXPECT_EQ(r.mid(f.offset, f.width), c.bytes);
        EXPECT_EQ(r.count('#'), r.size() - f.width);
    }
}

TEST(DbfWrite, ValuesThatCannotBeStoredAreRefused)
{
    struct Case { const char* field; QVariant value; const char* message; };
    const Case cases[] = {
        {"SOT", 123, "Value 123 does not fit field 'SOT' of width 2."},
        {"SOT", -10, "Value -10 does not fit field 'SOT' of width 2."},
        {"TYP", 123456789.0, "Value 123456789 does not fit field 'TYP' of width 10."},
        {"TYP", 1e300, "Value 1e+300 does not fit field 'TYP' of width 10."},
        {"NR", QStringLiteral("x1"), "'x1' is not a number for field 'NR'."},
        {"NR", QStringLiteral("1,5"), "'1,5' is not a number for field 'NR'."},
        {"TYP", QDate(2024, 1, 31), "A value of type QDate cannot be stored in field 'TYP'."},
    };
    testing_support::TempDir dir;
    auto file = makeTable(dir.file("T.DBF"), "SOT N 2; NR N 4; TYP N 10 1", {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        QByteArray r = file->blankRecord();
        const int index = file->fieldIndex(QString::fromLatin1(c.field));
        EXPECT_EQ(failureOf([&] { file->setValue(r, index, c.value); }),
                  QString::fromUtf8(c.message) + QStringLiteral("\nFile: T.DBF"));
        EXPECT_EQ(r, file->blankRecord());
    }
    QByteArray r = file->blankRecord();
    EXPECT_EQ(failureOf([&] { file->setValue(r, 3, 1); }), QStringLiteral("Field number 3 does not exist.\nFile: T.DBF"));
}

TEST(DbfWrite, AppendEditDeleteKeepTheHeaderAndEndMark)
{
    testing_support::TempDir dir;
    data::DbfCreateOptions options;
    options.languageDriver = 0x57;
    auto file = makeTable(dir.file("T.DBF"), "ODCINEK C 10; CZEST N 2", {{false, {QStringLiteral("Iz101"), 15}}}, options);
    // An old date, so the update shows.
    QByteArray bytes = readFile(dir.file("T.DBF"));
    bytes.replace(1, 3, QByteArray("\x5F\x01\x01", 3));
    writeFile(dir.file("T.DBF"), bytes);

    EXPECT_EQ(file->appendRecord(record(*file, {false, {QStringLiteral("Iz102"), 18}})), 1u);
    file->writeRecord(0, record(*file, {false, {QStringLiteral("ITA"), 80}}));
    file->deleteRecord(1);
    EXPECT_EQ(file->appendRecords({record(*file, {false, {QStringLiteral("Łąka"), 10}}),
                                   record(*file, {false, {QString(), QVariant()}})}),
              2u);

    bytes = readFile(dir.file("T.DBF"));
    const int header = file->headerLength();
    EXPECT_EQ(bytes.size(), header + 4 * 13 + 1);
    EXPECT_EQ(bytes.back(), char(0x1A));
    EXPECT_EQ(bytes.mid(1, 3), today());
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("\x04\x00\x00\x00", 4));
    EXPECT_EQ(quint8(bytes[29]), 0x57);
    EXPECT_EQ(bytes.mid(header, 13 * 4),
              QByteArray(" ITA       80*Iz102     18 ") + data::Win1250::encode(QStringLiteral("Łąka      ")) + "10             ");
    EXPECT_EQ(readRows(*file), (std::vector<Row>{{false, {QStringLiteral("ITA"), 80}},
                                                 {true, {QStringLiteral("Iz102"), 18}},
                                                 {false, {QStringLiteral("Łąka"), 10}},
                                                 {false, {QString(), QVariant()}}}));
}

TEST(DbfWrite, AppendOverwritesAnUnfinishedAppend)
{
    // The record of an append whose count never reached the header is not a
    // record: the next append takes its place.
    testing_support::TempDir dir;
    writeFile(dir.file("T.DBF"), rawTable(0x03, 1, fields("A C 3"), {" one", " BAD"}, false));
    auto file = DbfFile::open(dir.file("T.DBF"));
    EXPECT_EQ(file->appendRecord(record(*file, {false, {QStringLiteral("two")}})), 1u);
    EXPECT_EQ(readRows(*file), (std::vector<Row>{{false, {QStringLiteral("one")}}, {false, {QStringLiteral("two")}}}));
    EXPECT_EQ(readFile(dir.file("T.DBF")).right(9), QByteArray(" one two\x1A"));
}

TEST(DbfWrite, WritesPreserveADBase7Header)
{
    testing_support::TempDir dir;
    QByteArray b(68 + 48 + 1, '\0');
    b[0] = 0x04;
    putLe16(b, 8, int(b.size()));
    putLe16(b, 10, 4);
    b.replace(32, 9, "DB1250CZ0");
    b.replace(68, 3, "EOT");
    b[68 + 32] = 'C';
    b[68 + 33] = 3;
    b[b.size() - 1] = 0x0D;
    b += char(0x1A);
    writeFile(dir.file("D7.DBF"), b);
    auto file = DbfFile::open(dir.file("D7.DBF"));
    file->appendRecord(record(*file, {false, {QStringLiteral("3-7")}}));
    file->writeRecord(0, record(*file, {false, {QStringLiteral("9")}}));
    const QByteArray after = readFile(dir.file("D7.DBF"));
    EXPECT_EQ(after.mid(8), b.mid(8, b.size() - 9) + " 9  \x1A");
    EXPECT_EQ(after.mid(4, 4), QByteArray("\x01\x00\x00\x00", 4));
}

TEST(DbfWrite, BadWritesAreRefusedBeforeTheyTouchTheFile)
{
    testing_support::TempDir dir;
    auto file = makeTable(dir.file("T.DBF"), "A C 3", {{false, {QStringLiteral("one")}}});
    const QByteArray before = readFile(dir.file("T.DBF"));
    EXPECT_EQ(failureOf([&] { file->writeRecord(1, file->blankRecord()); }),
              QStringLiteral("Record 2 does not exist; the table has 1 records.\nFile: T.DBF"));
    EXPECT_EQ(failureOf([&] { file->deleteRecord(5); }),
              QStringLiteral("Record 6 does not exist; the table has 1 records.\nFile: T.DBF"));
    EXPECT_EQ(failureOf([&] { file->appendRecord(QByteArray(" ab")); }),
              QStringLiteral("A record of 3 bytes does not fit records of 4 bytes.\nFile: T.DBF"));
    EXPECT_EQ(readFile(dir.file("T.DBF")), before);
}

TEST(DbfWrite, ReadOnlyFileOpensForReadingAndRefusesWrites)
{
    testing_support::TempDir dir;
    makeTable(dir.file("T.DBF"), "A C 3", {{false, {QStringLiteral("one")}}});
    ASSERT_TRUE(QFile::setPermissions(dir.file("T.DBF"), QFile::ReadOwner));
    const QByteArray before = readFile(dir.file("T.DBF"));
    // Root ignores file permissions: the child gives that power up first.
    const QString seen = DiskFaultChild::run([&] {
        DiskFaultChild::dropFileOverride();
        auto file = DbfFile::open(dir.file("T.DBF"));
        return QStringLiteral("writable %1, %2 rows\n").arg(file->canWrite()).arg(readRows(*file).size())
            + failureOf([&] { file->appendRecord(file->blankRecord()); }) + QLatin1Char('\n')
            + failureOf([&] { file->writeRecord(0, file->blankRecord()); });
    });
    EXPECT_EQ(seen, QStringLiteral("writable 0, 1 rows\nTable is read only.\nFile: T.DBF\nTable is read only.\nFile: T.DBF"));
    EXPECT_EQ(readFile(dir.file("T.DBF")), before);
}
