#include "data/DbfFile.h"
#include "data/Failure.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <random>

using data::DbfFile;
using namespace dbf_test;

namespace {

// A sound two-field table (A C 5, SOT N 2) to damage: header 97 bytes,
// records of 8 bytes.
QByteArray goodTable()
{
    return rawTable(0x03, 2, fields("A C 5; SOT N 2"), {" Iz101 1", " Iz102 2"});
}

QByteArray with(const std::function<void(QByteArray&)>& damage)
{
    QByteArray b = goodTable();
    damage(b);
    return b;
}

QString messageOf(const QString& path)
{
    try {
        DbfFile::open(path);
    } catch (const data::Failure& f) {
        EXPECT_EQ(f.kind(), QString::fromLatin1(data::Failure::Engine));
        return f.message();
    }
    return QStringLiteral("(opened)");
}

} // namespace

TEST(DbfBadFile, EachDamageGivesItsMessageNamingTheFile)
{
    struct Case { const char* name; QByteArray bytes; const char* message; };
    const Case cases[] = {
        {"empty", QByteArray(), "Not a dBase table: the file is empty."},
        {"text", "Spis treści\r\n1. Opis\r\n", "Not a dBase table (first byte 0x53)."},
        {"one byte", QByteArray(1, '\x03'), "Corrupt table header: the file ends inside the header."},
        {"cut header", goodTable().left(20), "Corrupt table header: the file ends inside the header."},
        {"cut fields", goodTable().left(70), "Corrupt table header: the file ends inside the header."},
        {"visual foxpro", with([](QByteArray& b) { b[0] = 0x30; }),
         "Visual FoxPro tables are not supported (version byte 0x30)."},
        {"foxpro", with([](QByteArray& b) { b[0] = char(0xF5); }), "FoxPro tables are not supported (version byte 0xF5)."},
        {"foxbase", with([](QByteArray& b) { b[0] = 0x02; }),
         "FoxBASE and dBase II tables are not supported (version byte 0x02)."},
        {"unknown version", with([](QByteArray& b) { b[0] = 0x05; }), "Not a dBase table (first byte 0x05)."},
        {"dbase 7 cut", with([](QByteArray& b) { b[0] = 0x04; b.truncate(60); }),
         "Corrupt table header: the file ends inside the header."},
        {"header length too small", with([](QByteArray& b) { putLe16(b, 8, 33); }),
         "Corrupt table header: the header length 33 leaves no room for a field."},
        {"header past the file", with([](QByteArray& b) { putLe16(b, 8, 5000); }),
         "Corrupt table header: the file ends inside the header."},
        {"header shorter than its fields", with([](QByteArray& b) { putLe16(b, 8, 80); }),
         "Corrupt table header: the field list runs past the header length 80."},
        {"field list without end mark", with([](QByteArray& b) { b[96] = 'X'; }),
         "Corrupt table header: the field list runs past the header length 97."},
        {"dbase 7 read as its layout", with([](QByteArray& b) { b[0] = 0x04; }),
         "Corrupt table header: the header length 97 leaves no room for a field."},
        {"record length too long", with([](QByteArray& b) { putLe16(b, 10, 20); }),
         "Corrupt table header: the record length 20 does not match the fields (8)."},
        {"record length too short", with([](QByteArray& b) { putLe16(b, 10, 7); }),
         "Corrupt table header: the record length 7 does not match the fields (8)."},
        {"record length zero", with([](QByteArray& b) { putLe16(b, 10, 0); }),
         "Corrupt table header: the record length 0 leaves no room for a field."},
        {"field of width zero", with([](QByteArray& b) { b[64 + 16] = 0; }),
         "Corrupt table header: field 2 (SOT) has width 0."},
        {"field without a name", with([](QByteArray& b) { b[32] = 0; }), "Corrupt table header: field 1 has no name."},
        {"no fields", with([](QByteArray& b) { b[32] = 0x0D; }), "Corrupt table header: the table has no fields."},
    };
    testing_support::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir.file("ODCINKI.DBF"), c.bytes);
        EXPECT_EQ(messageOf(dir.file("ODCINKI.DBF")), QString::fromUtf8(c.message) + QStringLiteral("\nFile: ODCINKI.DBF"));
    }
}

TEST(DbfBadFile, MissingFileAndDirectory)
{
    testing_support::TempDir dir;
    EXPECT_EQ(messageOf(dir.file("ODCINKI.DBF")), QStringLiteral("Table does not exist.\nFile: ODCINKI.DBF"));
    EXPECT_EQ(messageOf(dir.file("NIE/ODCINKI.DBF")), QStringLiteral("Table does not exist.\nFile: ODCINKI.DBF"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("MER.DBF")));
    EXPECT_EQ(messageOf(dir.file("MER.DBF")), QStringLiteral("Cannot open the table: it is not a file.\nFile: MER.DBF"));
}

TEST(DbfBadFile, RandomDamageIsRefusedOrReadWithinTheFile)
{
    // Bytes of the header overwritten at random, in both layouts, and files
    // cut anywhere: each opens and reads, or fails with a message; under the
    // sanitizers a read outside the file would stop the test.
    QByteArray dbase7(68 + 2 * 48 + 1, '\0');
    dbase7[0] = 0x04;
    putLe16(dbase7, 8, int(dbase7.size()));
    putLe16(dbase7, 10, 8);
    dbase7.replace(68, 1, "A");
    dbase7[68 + 32] = 'C';
    dbase7[68 + 33] = 5;
    dbase7.replace(116, 3, "SOT");
    dbase7[116 + 32] = 'N';
    dbase7[116 + 33] = 2;
    dbase7[dbase7.size() - 1] = 0x0D;
    dbase7 += " Iz101 1 Iz102 2\x1A";
    const QByteArray originals[] = {goodTable(), dbase7};

    testing_support::TempDir dir;
    std::mt19937 random(20240131);
    int opened = 0;
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = originals[round % 2];
        const int header = round % 2 ? 165 : 97;
        if (round % 5 == 4) {
            bytes.truncate(int(random() % quint32(bytes.size())));
        } else {
            for (int n = 1 + int(random() % 4); n > 0; --n)
                bytes[int(random() % quint32(header))] = char(random() % 256);
        }
        // A new name each time: rewriting one file makes the file system flush it.
        const QString path = dir.file(QStringLiteral("T%1.DBF").arg(round));
        writeFile(path, bytes);
        try {
            auto file = DbfFile::open(path);
            const auto rows = readRows(*file);
            EXPECT_LE(qint64(rows.size()) * file->recordLength(), bytes.size());
            ++opened;
        } catch (const data::Failure& f) {
            EXPECT_TRUE(f.message().endsWith(QStringLiteral("\nFile: T%1.DBF").arg(round))) << f.message().toStdString();
            ++refused;
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}
