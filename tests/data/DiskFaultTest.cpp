// Posts that the disk refuses: a file-size limit, files without write
// permission (for root too), a table removed or replaced while a row is in
// edit. Each must leave the row in edit with a clear message, report nothing
// saved that was not, and leave the table and its index as every reader
// knew them.

#include "data/DbfFile.h"
#include "data/Failure.h"
#include "data/MdxIndex.h"
#include "data/Table.h"
#include "tests/data/DataSetTestSupport.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/data/DiskFaultChild.h"
#include "tests/data/MdxTestChecks.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <functional>

namespace {

using dbf_test::DiskFaultChild;
using State = data::DataSet::State;

const QString kTable = QStringLiteral("CZESTOTL.DBF");
const QString kIndex = QStringLiteral("CZESTOTL.MDX");
constexpr int kRecordLength = 36; // the frequency table's columns, deleted flag included

// Frequency rows with their keys spread over the index (C_OZN 1 to 97).
std::vector<QVariantList> frequencyRows(int count)
{
    std::vector<QVariantList> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({QStringLiteral("3-7"), 21, i % 99, (i * 37) % 97 + 1, 1000 + i, QStringLiteral("kolor %1").arg(i)});
    return rows;
}

QString stateName(State s)
{
    switch (s) {
    case State::Inactive: return QStringLiteral("inactive");
    case State::Browse: return QStringLiteral("browse");
    case State::Edit: return QStringLiteral("edit");
    case State::Insert: return QStringLiteral("insert");
    }
    return {};
}

// A change as the programmer's entry window makes it: a new row, or the
// second (or last) row with one field changed. Leaves the data set in insert or edit.
using Change = std::function<void(data::Table&)>;

void appendRow(data::Table& t)
{
    t.insert();
    t.fieldByName(QStringLiteral("EOT"))->setAsString(QStringLiteral("3-7"));
    t.fieldByName(QStringLiteral("SOT"))->setAsString(QStringLiteral("22"));
    t.fieldByName(QStringLiteral("C_OZN"))->setAsString(QStringLiteral("50"));
    t.fieldByName(QStringLiteral("KOLOR"))->setAsString(QStringLiteral("nowy"));
}

Change editRow(const char* field, const char* value, bool last = false)
{
    return [field, value, last](data::Table& t) {
        t.first();
        if (last)
            t.last();
        else
            t.next();
        t.edit();
        t.fieldByName(QString::fromLatin1(field))->setAsString(QString::fromLatin1(value));
    };
}

// The post's outcome as the user would learn it: "saved" or the message,
// then the state the data set is left in and the value it shows.
QString post(data::Table& t, const QString& shown)
{
    QString outcome = QStringLiteral("saved");
    try {
        t.post();
    } catch (const data::Failure& f) {
        outcome = f.message();
    }
    return outcome + QStringLiteral(" | ") + stateName(t.state()) + QStringLiteral(" | ") + t.fieldByName(shown)->asString();
}

QString changeAndPost(const Change& change, const QString& shown)
{
    auto t = dataset_test::programmerFrequencies();
    t->open();
    change(*t);
    return post(*t, shown);
}

// The table as another program finds it: its bytes (the date of last
// update aside: a failed write may stamp today, which it already is) and its
// records as python3-dbfread reads them.
struct Snapshot {
    QByteArray table;
    QStringList dbfread;
};

QByteArray withoutDate(QByteArray bytes)
{
    if (bytes.size() > 3)
        bytes.replace(1, 3, QByteArray(3, '\0'));
    return bytes;
}

QStringList rowsByDbfread(const QString& path)
{
    static const char* const script = R"(
import sys, dbfread
for r in dbfread.DBF(sys.argv[1], encoding="cp1250", char_decode_errors="strict"):
    sys.stdout.buffer.write(("|".join("" if v is None else str(v) for v in r.values()) + "\n").encode("utf-8"))
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    const bool finished = python.waitForFinished(60000);
    EXPECT_TRUE(finished && python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0)
        << "dbfread: " << python.readAllStandardError().toStdString();
    return QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

Snapshot snapshot(const testing_support::TempDir& dir)
{
    return {withoutDate(dir.read(kTable)), rowsByDbfread(dir.file(kTable))};
}

// The table opens here with every record read, and its index, opened as the
// next writer opens it, walks every record in key order.
void expectReadableWithIndex(const testing_support::TempDir& dir, std::vector<dbf_test::Row>* rows = nullptr,
                             bool indexMayBeTorn = false)
{
    // Opening the index alone first: a damaged one would stop every reader
    // that cannot write, so only a write cut inside a page may leave one.
    const auto fields = dbf_test::fields(QString::fromLatin1(testing_support::czestotlLayout));
    if (!indexMayBeTorn) {
        EXPECT_NO_THROW(data::MdxIndex::open(dir.file(kIndex), fields)) << "the index as left";
    }
    auto file = data::DbfFile::open(dir.file(kTable));
    if (rows)
        *rows = dbf_test::readRows(*file);
    data::MdxIndex* index = file->productionIndex();
    ASSERT_NE(index, nullptr);
    mdx_test::expectTagAgrees(*index, mdx_test::MdxTestTable::load(dir.file(kTable)), QStringLiteral("C_OZN"));
}

} // namespace

// Lines of a dump, readable in gtest's output.
static void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << "\n" << list.join(QLatin1Char('\n')).toStdString();
}

// ---- a file-size limit ---------------------------------------------------

namespace {

struct Sizes {
    qint64 table = 0;
    qint64 index = 0;
};

struct SizeLimitCase {
    const char* name;
    int rows;
    Change change;
    const char* shown;                         // the field the data set shows after the post
    std::function<qint64(const Sizes&)> limit; // bytes any file of the process may reach
    QString outcome;                           // "saved", or the post's message
    const char* state;                         // the data set's state after the post
    bool indexMayBeTorn = false;               // the limit falls inside an index page
};

QString tableTooLarge()
{
    return QStringLiteral("Cannot write the table: %1.\nFile: CZESTOTL.DBF").arg(QString::fromLocal8Bit(strerror(EFBIG)));
}

QString indexTooLarge()
{
    return QStringLiteral("Cannot write the index: %1.\nFile: CZESTOTL.MDX").arg(QString::fromLocal8Bit(strerror(EFBIG)));
}

// `after` is `before` with the change made: one row more, or one row
// changed, whose `field` holds `value`.
void expectChanged(const std::vector<dbf_test::Row>& before, const std::vector<dbf_test::Row>& after,
                   const QString& field, const QString& value)
{
    const auto layout = dbf_test::fields(QString::fromLatin1(testing_support::czestotlLayout));
    const auto column = std::find_if(layout.begin(), layout.end(), [&](const data::DbfField& f) { return f.name == field; })
        - layout.begin();
    const bool appended = after.size() == before.size() + 1;
    ASSERT_TRUE(appended || after.size() == before.size());
    std::vector<size_t> changed;
    for (size_t i = 0; i < after.size(); ++i) {
        if (i >= before.size() || !(after[i] == before[i]))
            changed.push_back(i);
    }
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(after[changed[0]].values.value(column).toString(), value);
}

// One case: the change posted in a child whose files may not grow past the
// limit, then the files checked here.
void expectSizeLimitCase(const SizeLimitCase& c)
{
    testing_support::TempDir dir;
    testing_support::writeCzestotl(dir.path(), frequencyRows(c.rows));
    const Sizes sizes{QFile(dir.file(kTable)).size(), QFile(dir.file(kIndex)).size()};
    const Snapshot before = snapshot(dir);
    std::vector<dbf_test::Row> rowsBefore;
    {
        auto file = data::DbfFile::open(dir.file(kTable));
        rowsBefore = dbf_test::readRows(*file);
    }

    const qint64 limit = c.limit(sizes);
    const QString shown = QString::fromLatin1(c.shown);
    const QString report = DiskFaultChild::run([&] {
        DiskFaultChild::limitFileSize(limit);
        return changeAndPost(c.change, shown);
    });
    const QStringList parts = report.split(QStringLiteral(" | "));
    ASSERT_EQ(parts.size(), 3) << report.toStdString();
    EXPECT_EQ(parts[0], c.outcome) << "table " << sizes.table << " and index " << sizes.index << " bytes, limit " << limit;
    EXPECT_EQ(parts[1], QString::fromLatin1(c.state));

    const bool saved = parts[0] == QLatin1String("saved");
    if (!saved) {
        EXPECT_EQ(withoutDate(dir.read(kTable)).toHex(' '), before.table.toHex(' '));
        EXPECT_EQ(rowsByDbfread(dir.file(kTable)), before.dbfread);
    }
    std::vector<dbf_test::Row> rowsAfter;
    expectReadableWithIndex(dir, &rowsAfter, c.indexMayBeTorn);
    if (saved) {
        expectChanged(rowsBefore, rowsAfter, shown, parts[2]);
        return;
    }
    EXPECT_EQ(rowsAfter, rowsBefore);
    // Without the limit the same change posts through a new data set, and
    // the index takes it.
    EXPECT_EQ(changeAndPost(c.change, shown), QStringLiteral("saved | browse | ") + parts[2]);
    std::vector<dbf_test::Row> rowsRetried;
    expectReadableWithIndex(dir, &rowsRetried);
    expectChanged(rowsBefore, rowsRetried, shown, parts[2]);
}

} // namespace

TEST(DiskFault, FileSizeLimitRefusesWhatMustGrowAndNothingElse)
{
    const SizeLimitCase cases[] = {
        // An append needs the table to grow: the limit at its end stops the
        // record; one inside the record stops it half written.
        {"append at the table's end", 400, appendRow, "KOLOR", [](const Sizes& s) { return s.table; },
         tableTooLarge(), "insert"},
        {"append cut inside its record", 400, appendRow, "KOLOR",
         [](const Sizes& s) { return s.table + kRecordLength / 2; }, tableTooLarge(), "insert"},
        // A table that is already past the limit (a limit lowered after it
        // grew): nothing is written, so nothing needs taking back.
        {"append to a table already past the limit", 400, appendRow, "KOLOR",
         [](const Sizes& s) { return s.table - 1; }, tableTooLarge(), "insert"},
        // The table takes the record and the end mark; the index, larger
        // than the table, cannot be written past the limit.
        {"append whose index lies past the limit", 3, appendRow, "KOLOR",
         [](const Sizes& s) { return s.table + kRecordLength; }, indexTooLarge(), "insert"},
        // 63 keys fill the index's one leaf: the next one splits it, and
        // the new pages cannot be added.
        {"append that splits the index, the limit at its end", 63, appendRow, "KOLOR",
         [](const Sizes& s) { return s.index; }, indexTooLarge(), "insert"},
        // A change in place grows neither file: at the limit it is saved.
        {"key changed in place at the limit", 400, editRow("C_OZN", "99"), "C_OZN",
         [](const Sizes& s) { return std::max(s.table, s.index); }, QStringLiteral("saved"), "browse"},
        {"other field changed in place at the limit", 3, editRow("KOLOR", "inny"), "KOLOR",
         [](const Sizes& s) { return s.table; }, QStringLiteral("saved"), "browse"},
        // The last record lies past the limit, or across it: the refused
        // write is put back, and only what it changed.
        {"edit of a record past the limit", 400, editRow("KOLOR", "inny", true), "KOLOR",
         [](const Sizes& s) { return s.table - 2 * kRecordLength; }, tableTooLarge(), "edit"},
        {"edit of a record across the limit", 400, editRow("KOLOR", "inny", true), "KOLOR",
         [](const Sizes& s) { return s.table - 1 - kRecordLength + 20; }, tableTooLarge(), "edit"},
        // A key change must reach the index; below its pages it cannot.
        {"key changed with the index past the limit", 3, editRow("C_OZN", "99"), "C_OZN",
         [](const Sizes& s) { return s.table; }, indexTooLarge(), "edit"},
    };
    for (const SizeLimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        expectSizeLimitCase(c);
    }
}

TEST(DiskFault, IndexPageCutShortByTheLimitIsMendedByTheNextOpen)
{
    // The index writes a changed page in place; a limit inside that page
    // lets the first bytes through (the new key count, part of the keys)
    // and no more. The table's append is taken back; the page left half
    // written is rebuilt from the records by the next open that can write.
    const SizeLimitCase cases[] = {
        {"the new key count only", 3, appendRow, "KOLOR", [](const Sizes& s) { return s.index - 1024 + 5; },
         indexTooLarge(), "insert", true},
        {"part of the keys", 3, appendRow, "KOLOR", [](const Sizes& s) { return s.index - 1024 + 40; },
         indexTooLarge(), "insert", true},
    };
    for (const SizeLimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        expectSizeLimitCase(c);
    }
}

// ---- files without write permission ------------------------------------

namespace {

struct PermissionCase {
    const char* name;
    QStringList readOnly; // files made 0444
    Change change;
    QString outcome;      // the first refusal the user meets
    const char* state;    // the data set's state after it
};

// In the child, without root's power over permissions: open as the
// programmer's window does, try the change and post it.
QString tryChange(const Change& change)
{
    DiskFaultChild::dropFileOverride();
    auto t = dataset_test::programmerFrequencies();
    t->open();
    QString outcome;
    try {
        change(*t);
        t->post();
        outcome = QStringLiteral("saved");
    } catch (const data::Failure& f) {
        outcome = f.message();
    }
    // The review window reads the same table in the index's order.
    auto ordered = dataset_test::reviewFrequencies(nullptr);
    ordered->open();
    return outcome + QStringLiteral(" | ") + stateName(t->state()) + QStringLiteral(" | ")
        + QStringLiteral("%1 rows, %2 by the index").arg(t->rowCount()).arg(ordered->rowCount());
}

} // namespace

TEST(DiskFault, ReadOnlyFilesOpenForReadingAndRefuseChanges)
{
    const QString readOnly = QStringLiteral("Cannot modify a read-only dataset");
    const QStringList both = {kTable, kIndex};
    const PermissionCase cases[] = {
        {"both files, an edit", both, editRow("KOLOR", "inny"), readOnly, "browse"},
        {"both files, an append", both, appendRow, readOnly, "browse"},
        {"the table alone", {kTable}, editRow("C_OZN", "99"), readOnly, "browse"},
        // The table could take the change but its index could not: refused
        // before the table is written.
        {"the index alone", {kIndex}, editRow("C_OZN", "99"),
         QStringLiteral("Table cannot be changed: index tag 'C_OZN' (key 'C_OZN') is in a file that cannot be written.\n"
                        "File: CZESTOTL.MDX"),
         "edit"},
    };
    for (const PermissionCase& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir dir;
        testing_support::writeCzestotl(dir.path(), frequencyRows(5));
        for (const QString& name : c.readOnly)
            ASSERT_TRUE(QFile::setPermissions(dir.file(name), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray table = dir.read(kTable);
        const QByteArray index = dir.read(kIndex);
        const QStringList dbfread = rowsByDbfread(dir.file(kTable));

        const QString report = DiskFaultChild::run([&] { return tryChange(c.change); });
        const QStringList parts = report.split(QStringLiteral(" | "));
        ASSERT_EQ(parts.size(), 3) << report.toStdString();
        EXPECT_EQ(parts[0], c.outcome);
        EXPECT_EQ(parts[1], QString::fromLatin1(c.state));
        EXPECT_EQ(parts[2], QStringLiteral("5 rows, 5 by the index"));
        EXPECT_EQ(dir.read(kTable), table);
        EXPECT_EQ(dir.read(kIndex), index);
        EXPECT_EQ(rowsByDbfread(dir.file(kTable)), dbfread);
    }
}

// ---- the table removed or replaced while a row is in edit --------------

namespace {

// Another program takes the table's name away: `KEEP.DBF` keeps the file
// the data set opened, so its bytes can be checked.
using Away = std::function<void(const testing_support::TempDir&)>;

void removeTable(const testing_support::TempDir& dir)
{
    ASSERT_TRUE(QFile::remove(dir.file(kTable)));
}

void replaceTable(const testing_support::TempDir& dir)
{
    dir.write(QStringLiteral("NEW.DBF"), dir.read(kTable));
    ASSERT_EQ(::rename(QFile::encodeName(dir.file(QStringLiteral("NEW.DBF"))).constData(),
                       QFile::encodeName(dir.file(kTable)).constData()),
              0);
}

} // namespace

TEST(DiskFault, TableRemovedOrReplacedAfterOpeningRefusesThePost)
{
    const QString removed = QStringLiteral("Cannot write the table: the file was removed.\nFile: CZESTOTL.DBF");
    const QString replaced =
        QStringLiteral("Cannot write the table: the file was replaced by another program.\nFile: CZESTOTL.DBF");
    const struct {
        const char* name;
        Change change;
        const char* left; // the state and C_OZN the data set is left with
        Away away;
        QString outcome;
    } cases[] = {
        {"edit, table removed", editRow("C_OZN", "99"), "edit | 99", removeTable, removed},
        {"append, table removed", appendRow, "insert | 50", removeTable, removed},
        {"edit, table replaced", editRow("C_OZN", "99"), "edit | 99", replaceTable, replaced},
        {"append, table replaced", appendRow, "insert | 50", replaceTable, replaced},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir dir;
        testing_support::writeCzestotl(dir.path(), frequencyRows(5));
        const QString kept = dir.file(QStringLiteral("KEEP.DBF"));
        ASSERT_EQ(::link(QFile::encodeName(dir.file(kTable)).constData(), QFile::encodeName(kept).constData()), 0);
        const QByteArray table = dir.read(kTable);
        const QByteArray index = dir.read(kIndex);

        auto t = dataset_test::programmerFrequencies();
        t->open();
        c.change(*t);
        c.away(dir);
        const QString report = post(*t, QStringLiteral("C_OZN"));
        EXPECT_EQ(report, c.outcome + QStringLiteral(" | ") + QString::fromLatin1(c.left));
        t->close();
        EXPECT_EQ(dbf_test::readFile(kept), table) << "the file the data set opened";
        EXPECT_EQ(dir.read(kIndex), index);
        if (QFile::exists(dir.file(kTable))) {
            EXPECT_EQ(dir.read(kTable), table) << "the file now under the name";
        }
    }
}
