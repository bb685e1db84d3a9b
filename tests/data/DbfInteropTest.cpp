// Tables written here read the same in other dBase implementations, and
// theirs open here with the same values. The peers run as child processes;
// their dumps are Windows-1250 lines: deleted flag, then the values, tabs
// between, <null> for a null field.
//
// Where the peers differ from each other:
//  - deleted records: python3-dbf, Perl XBase, dbfdump and TDbf list them
//    in file order with their flag; dbfread hides them from its iteration and
//    lists them apart, so its dump holds the live records, then the deleted.
//  - blank numbers: null in every peer (None, undef, "(NULL)", IsNull);
//    shapelib writes them as asterisks, which read here as blank too.
//  - blank text: empty in python3-dbf, dbfread and XBase, null in TDbf and
//    dbfdump; dBase has no null text, so both count as the empty text.

#include "data/DbfFile.h"
#include "data/Win1250.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using data::DbfFile;
using data::FieldKind;
using namespace dbf_test;

namespace {

const QString kLayout = QStringLiteral("NAZWA C 12; SOT N 2; NR N 4; TYP N 10 1; CZ N 8");

std::vector<Row> canonicalRows()
{
    return {
        {false, {QStringLiteral("Zażółć gęślą"), 21, 3, 12.5, 8000.0}},
        {false, {QStringLiteral("ĄĆĘŁŃÓŚŹŻ"), QVariant(), QVariant(), QVariant(), QVariant()}},
        {true, {QStringLiteral("usunięty"), -3, 0, -0.5, 1.0}},
        {false, {QStringLiteral("ąćęłńóśźż"), 22, 9999, 1234567.8, 14600.0}},
        {false, {QString(), 0, -999, 0.0, 0.0}},
    };
}

std::vector<FieldKind> canonicalKinds()
{
    std::vector<FieldKind> kinds;
    for (const auto& f : fields(kLayout))
        kinds.push_back(data::DbfField::kindOf(f.type, f.width, f.decimals));
    return kinds;
}

std::vector<Row> liveThenDeleted(std::vector<Row> rows)
{
    std::stable_partition(rows.begin(), rows.end(), [](const Row& r) { return !r.deleted; });
    return rows;
}

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    const bool finished = p.waitForFinished(60000);
    const QByteArray err = p.readAllStandardError();
    EXPECT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        << program.toStdString() << " " << args.join(QLatin1Char(' ')).toStdString() << "\n"
        << err.toStdString();
    return p.readAllStandardOutput();
}

QString peer(const char* name)
{
    return QStringLiteral(OBW_SOURCE_DIR "/tests/data/peers/") + QString::fromLatin1(name);
}

QByteArray python(const char* script, const QStringList& args)
{
    return run(QStringLiteral("/usr/bin/python3"), QStringList{peer(script)} + args);
}

QByteArray perl(const QStringList& args)
{
    return run(QStringLiteral("perl"), QStringList{peer("xbase_peer.pl")} + args);
}

// The TDbf peer, compiled once per test program.
QString tdbf()
{
    static QTemporaryDir dir;
    static const QString program = [] {
        const QString out = dir.path();
        run(QStringLiteral("fpc"), {QStringLiteral("-v0"), QStringLiteral("-FE") + out, QStringLiteral("-FU") + out,
                                    peer("tdbf_table.pas")});
        return out + QStringLiteral("/tdbf_table");
    }();
    return program;
}

QByteArray rowsFile(const std::vector<Row>& rows)
{
    QStringList layouts;
    for (const auto& f : fields(kLayout))
        layouts << QStringLiteral("%1 %2 %3 %4").arg(f.name).arg(QLatin1Char(f.type)).arg(f.width).arg(f.decimals);
    QString text = layouts.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const Row& row : rows) {
        text += row.deleted ? QLatin1Char('*') : QLatin1Char(' ');
        for (const QVariant& v : row.values)
            text += QLatin1Char('\t') + (v.metaType().id() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString());
        text += QLatin1Char('\n');
    }
    return data::Win1250::encode(text);
}

QVariant valueOf(const QString& text, FieldKind kind)
{
    const bool null = text.trimmed() == QLatin1String("<null>") || text.trimmed() == QLatin1String("(NULL)");
    if (kind == FieldKind::Text)
        return null ? QString() : text;
    if (null)
        return QVariant();
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    EXPECT_TRUE(ok) << "not a number: " << text.toStdString();
    return v;
}

std::vector<Row> parseDump(const QByteArray& dump)
{
    const auto kinds = canonicalKinds();
    std::vector<Row> rows;
    for (const QString& line : data::Win1250::decode(dump).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        Row row;
        row.deleted = parts[0] == QLatin1String("*");
        for (size_t i = 0; i < kinds.size() && i + 1 < size_t(parts.size()); ++i)
            row.values << valueOf(parts[qsizetype(i) + 1], kinds[i]);
        rows.push_back(row);
    }
    return rows;
}

// dbfdump -m: "Record: n", a "NAME: value" line per field, "(DELETED)".
std::vector<Row> parseDbfdump(const QByteArray& dump)
{
    const auto kinds = canonicalKinds();
    const auto names = fields(kLayout);
    std::vector<Row> rows;
    for (const QString& line : data::Win1250::decode(dump).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Record: "))) {
            rows.emplace_back();
        } else if (line == QLatin1String("(DELETED)")) {
            rows.back().deleted = true;
        } else if (!line.isEmpty()) {
            const qsizetype i = rows.back().values.size();
            const QString prefix = names[size_t(i)].name + QLatin1String(": ");
            EXPECT_TRUE(line.startsWith(prefix)) << line.toStdString();
            QString value = line.mid(prefix.size());
            while (value.endsWith(QLatin1Char(' ')))
                value.chop(1);
            rows.back().values << valueOf(value, kinds[size_t(i)]);
        }
    }
    return rows;
}

// The canonical columns of a table, found by name (peers may add a memo).
std::vector<Row> ourRows(const QString& path)
{
    auto file = DbfFile::open(path);
    std::vector<int> columns;
    for (const auto& f : fields(kLayout))
        columns.push_back(file->fieldIndex(f.name));
    std::vector<Row> rows;
    DbfFile::Scanner scan(*file);
    while (const char* r = scan.next()) {
        Row row{DbfFile::isDeleted(r), {}};
        for (int c : columns)
            row.values << (c < 0 ? QStringLiteral("(missing)") : file->value(r, c));
        rows.push_back(row);
    }
    return rows;
}

// Builds the canonical table through edits, appends and deletes.
void writeThroughEdits(const QString& path)
{
    const auto rows = canonicalRows();
    auto first = rows[0];
    first.values = {QStringLiteral("przed"), 15, 1, 1.5, 1580.0};
    auto third = rows[2];
    third.deleted = false;
    makeTable(path, kLayout, {first, rows[1]});
    auto file = DbfFile::open(path);
    file->appendRecord(record(*file, third));
    file->appendRecords({record(*file, rows[3])});
    file->writeRecord(0, record(*file, rows[0]));
    file->deleteRecord(2);
    file->appendRecord(record(*file, rows[4]));
}

} // namespace

TEST(DbfInterop, PeersReadWhatDbfFileWrote)
{
    testing_support::TempDir dir;
    const QString path = dir.file("ODCINKI.DBF");
    writeThroughEdits(path);
    const auto expected = canonicalRows();
    ASSERT_EQ(ourRows(path), expected);

    EXPECT_EQ(parseDump(python("dbf_peer.py", {QStringLiteral("dump"), path})), expected) << "python3-dbf";
    EXPECT_EQ(parseDump(python("dbfread_peer.py", {path})), liveThenDeleted(expected)) << "dbfread";
    EXPECT_EQ(parseDump(perl({QStringLiteral("dump"), path})), expected) << "Perl XBase";
    EXPECT_EQ(parseDbfdump(run(QStringLiteral("dbfdump"), {QStringLiteral("-m"), path})), expected) << "dbfdump";
    EXPECT_EQ(parseDump(run(tdbf(), {QStringLiteral("dump"), path})), expected) << "TDbf";
}

TEST(DbfInterop, TablesMadeByPeersOpenWithTheirValues)
{
    struct Maker { const char* name; quint8 version; std::function<void(const QString& rows, const QString& table)> make; };
    const Maker makers[] = {
        {"python3-dbf", 0x03, [](const QString& r, const QString& t) { python("dbf_peer.py", {QStringLiteral("make"), r, t}); }},
        {"python3-dbf with memo", 0x83,
         [](const QString& r, const QString& t) { python("dbf_peer.py", {QStringLiteral("make"), r, t, QStringLiteral("memo")}); }},
        {"Perl XBase", 0x03, [](const QString& r, const QString& t) { perl({QStringLiteral("make"), r, t}); }},
        {"shapelib", 0x03, [](const QString& r, const QString& t) { run(QStringLiteral(OBW_SHP_TABLE), {r, t}); }},
        {"TDbf level 3", 0x03, [](const QString& r, const QString& t) { run(tdbf(), {QStringLiteral("make"), r, t, QStringLiteral("3")}); }},
        {"TDbf level 4 with memo", 0x8B,
         [](const QString& r, const QString& t) { run(tdbf(), {QStringLiteral("make"), r, t, QStringLiteral("4"), QStringLiteral("memo")}); }},
        {"TDbf level 7", 0x04, [](const QString& r, const QString& t) { run(tdbf(), {QStringLiteral("make"), r, t, QStringLiteral("7")}); }},
        {"TDbf level 7 with memo", 0x8C,
         [](const QString& r, const QString& t) { run(tdbf(), {QStringLiteral("make"), r, t, QStringLiteral("7"), QStringLiteral("memo")}); }},
    };
    testing_support::TempDir dir;
    writeFile(dir.file("rows.txt"), rowsFile(canonicalRows()));
    int n = 0;
    for (const Maker& m : makers) {
        SCOPED_TRACE(m.name);
        // Lower case: Perl XBase adds ".dbf" to a name that does not end so.
        const QString path = dir.file(QStringLiteral("t%1.dbf").arg(n++));
        m.make(dir.file("rows.txt"), path);
        ASSERT_TRUE(QFile::exists(path));
        EXPECT_EQ(DbfFile::open(path)->version(), m.version);
        EXPECT_EQ(ourRows(path), canonicalRows());
    }
}

TEST(DbfInterop, DBase7TableEditedHereReadsBackInTDbf)
{
    testing_support::TempDir dir;
    const auto rows = canonicalRows();
    writeFile(dir.file("rows.txt"), rowsFile({rows[0], rows[1]}));
    const QString path = dir.file("D7.DBF");
    run(tdbf(), {QStringLiteral("make"), dir.file("rows.txt"), path, QStringLiteral("7")});
    {
        auto file = DbfFile::open(path);
        ASSERT_EQ(file->version(), 0x04);
        auto third = rows[2];
        third.deleted = false;
        file->writeRecord(1, record(*file, third));
        file->appendRecords({record(*file, rows[3]), record(*file, rows[1])});
        file->deleteRecord(1);
    }
    auto deleted = rows[2];
    const std::vector<Row> expected = {rows[0], deleted, rows[3], rows[1]};
    EXPECT_EQ(ourRows(path), expected);
    EXPECT_EQ(parseDump(run(tdbf(), {QStringLiteral("dump"), path})), expected);
}

TEST(DbfInterop, CountFollowsAnotherProgramsAppend)
{
    testing_support::TempDir dir;
    const QString path = dir.file("MER.DBF");
    const auto rows = canonicalRows();
    makeTable(path, kLayout, {rows[0]});
    auto file = DbfFile::open(path);
    ASSERT_EQ(file->recordCount(), 1u);
    writeFile(dir.file("rows.txt"), rowsFile({rows[3]}));
    python("dbf_peer.py", {QStringLiteral("append"), dir.file("rows.txt"), path});
    EXPECT_EQ(file->recordCount(), 2u);
    EXPECT_EQ(ourRows(path), (std::vector<Row>{rows[0], rows[3]}));
    EXPECT_EQ(file->languageDriver(), 0xC8);
}
