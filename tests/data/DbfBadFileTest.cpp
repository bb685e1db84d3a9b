#include "data/DbfFile.h"
#include "data/Failure.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>

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
