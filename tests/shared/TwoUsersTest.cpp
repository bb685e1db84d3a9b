// Two programs sharing one folder of tables, each a worker process
// (TableWorker.cpp) driving data::Table, against the frequency table with
// its production index. Steps go to one worker and wait for its answer, or
// to both at once and wait for both, so the processes meet only where a
// scenario makes them. Every scenario ends with the workers gone and the
// table read afresh here and by python3-dbfread, its count and end mark
// checked and its index read as it lies, here and by Perl XBase.

#include "data/DbfFile.h"
#include "data/MdxIndex.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/shared/SharedChecks.h"
#include "tests/shared/SharedRows.h"
#include "tests/shared/WorkerProcess.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <functional>
#include <map>
#include <memory>

namespace {

using namespace shared_test;

const char* const kLocked = "fail Record locked by another user.\nFile: CZESTOTL.DBF";
const char* const kHeaderLocked = "fail Table is locked by another user.\nFile: CZESTOTL.DBF";
constexpr int kInitialRows = 5;

// A command for worker A, worker B or both at once (nullptr: none) and the
// answer each must give. "kill" is not sent: the worker dies by SIGKILL.
// "quit" ends the worker, which gives no answer.
struct Step {
    const char* a = nullptr;
    const char* b = nullptr;
    const char* answerA = "ok";
    const char* answerB = "ok";
};

Step A(const char* command, const char* answer = "ok")
{
    return {command, nullptr, answer, nullptr};
}

Step B(const char* command, const char* answer = "ok")
{
    return {nullptr, command, nullptr, answer};
}

Step Both(const char* a, const char* b)
{
    return {a, b, "ok", "ok"};
}

struct Row {
    bool deleted = false;
    QVariantList values;
};
using Rows = std::vector<Row>;

Rows initial()
{
    Rows rows;
    for (const QVariantList& values : initialRows(kInitialRows))
        rows.push_back({false, values});
    return rows;
}

void appendFrom(Rows& rows, const QString& tag, int count)
{
    for (int i = 0; i < count; ++i)
        rows.push_back({false, appendedRow(tag, i)});
}

struct Scenario {
    const char* label;
    std::vector<Step> steps;
    // The rows the table ends with.
    std::function<Rows()> expected;
};

void PrintTo(const Scenario& s, std::ostream* os)
{
    *os << s.label;
}

class TwoUsers : public ::testing::TestWithParam<Scenario> {
protected:
    // Sends one worker's part of a step; a kill happens at once.
    void start(std::unique_ptr<WorkerProcess>& worker, const char* command)
    {
        if (QLatin1String(command) == QLatin1String("kill"))
            worker->kill();
        else
            worker->send(QString::fromLatin1(command));
    }

    // Waits for the answer, or for the end of a worker that quit or died.
    void finish(std::unique_ptr<WorkerProcess>& worker, const char* command, const char* answer)
    {
        const QLatin1String c(command);
        if (c == QLatin1String("kill")) {
            worker.reset();
        } else if (c == QLatin1String("quit")) {
            worker->waitForExit();
            worker.reset();
        } else {
            EXPECT_EQ(worker->nextLine(), QString::fromUtf8(answer)) << worker->tag().toStdString() << ": " << command;
        }
    }

    testing_support::TempDir dir;
};

TEST_P(TwoUsers, NoChangeIsLostAndNoneIsLeftHalfMade)
{
    testing_support::writeCzestotl(dir.path(), initialRows(kInitialRows));
    std::map<char, std::unique_ptr<WorkerProcess>> workers;
    for (char tag : {'A', 'B'}) {
        workers[tag] = std::make_unique<WorkerProcess>(dir.path(), QString(QLatin1Char(tag)));
        ASSERT_EQ(workers[tag]->call(QStringLiteral("open ") + kTable), QStringLiteral("ok"));
    }
    int n = 0;
    for (const Step& s : GetParam().steps) {
        SCOPED_TRACE(testing::Message() << "step " << ++n << ": " << (s.a ? s.a : "") << " | " << (s.b ? s.b : ""));
        if (s.a)
            start(workers['A'], s.a);
        if (s.b)
            start(workers['B'], s.b);
        if (s.a)
            finish(workers['A'], s.a, s.answerA);
        if (s.b)
            finish(workers['B'], s.b, s.answerB);
    }
    workers.clear();

    QStringList expected;
    for (const Row& row : GetParam().expected())
        expected << lineOf(row.deleted, row.values);
    const QString path = dir.file(kTable);
    EXPECT_EQ(byWriter(ourLines(path)), byWriter(expected));
    EXPECT_EQ(byWriter(dbfreadLines({path}).front()), byWriter(liveThenDeleted(expected))) << "dbfread";
    expectWellFormed(path, int(expected.size()));
    expectIndexAgrees(path, false);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, TwoUsers, ::testing::Values(
    Scenario{"same_row_second_refused_until_first_posts",
             {A("row 1"), B("row 1"), A("edit"), A("set KOLOR pierwszy"),
              B("edit", kLocked), B("state", "ok browse"), B("get KOLOR", "ok r1"),
              A("post"),
              B("edit"), B("get KOLOR", "ok pierwszy"), B("set CZESTOTL 4321"), B("post")},
             [] {
                 Rows rows = initial();
                 rows[1].values[5] = QStringLiteral("pierwszy");
                 rows[1].values[4] = 4321.0;
                 return rows;
             }},
    Scenario{"editor_quits_without_posting",
             {A("row 2"), A("edit"), A("set KOLOR utracone"), B("row 2"), B("edit", kLocked),
              A("quit"), B("edit"), B("get KOLOR", "ok r2"), B("set KOLOR drugie"), B("post")},
             [] {
                 Rows rows = initial();
                 rows[2].values[5] = QStringLiteral("drugie");
                 return rows;
             }},
    Scenario{"editor_killed",
             {A("row 2"), A("edit"), A("set KOLOR utracone"), B("row 2"), B("edit", kLocked),
              A("kill"), B("edit"), B("get KOLOR", "ok r2"), B("set KOLOR drugie"), B("post")},
             [] {
                 Rows rows = initial();
                 rows[2].values[5] = QStringLiteral("drugie");
                 return rows;
             }},
    Scenario{"edit_while_other_appends",
             {A("row 2"), A("edit"), A("set C_OZN 77"), A("set KOLOR edytowany"),
              B("append 3"), A("post"), B("row 2"), B("get KOLOR", "ok edytowany")},
             [] {
                 Rows rows = initial();
                 rows[2].values[3] = 77;
                 rows[2].values[5] = QStringLiteral("edytowany");
                 appendFrom(rows, QStringLiteral("B"), 3);
                 return rows;
             }},
    Scenario{"edits_and_appends_at_once",
             {Both("edits 60", "append 60")},
             [] {
                 Rows rows = initial();
                 for (int i = 0; i < 60; ++i)
                     applyEdit(rows[size_t(i % 5)].values, QStringLiteral("A"), i);
                 appendFrom(rows, QStringLiteral("B"), 60);
                 return rows;
             }},
    Scenario{"appends_at_once",
             {Both("append 150", "append 150")},
             [] {
                 Rows rows = initial();
                 appendFrom(rows, QStringLiteral("A"), 150);
                 appendFrom(rows, QStringLiteral("B"), 150);
                 return rows;
             }},
    Scenario{"delete_of_a_row_in_edit_refused",
             {A("row 3"), A("edit"), A("set KOLOR zmieniony"), B("row 3"),
              B("delete", kLocked), B("get KOLOR", "ok r3"),
              B("row 4"), B("delete"), A("post"), B("row 3"), B("delete")},
             [] {
                 Rows rows = initial();
                 rows[3].values[5] = QStringLiteral("zmieniony");
                 rows[3].deleted = true;
                 rows[4].deleted = true;
                 return rows;
             }},
    Scenario{"edit_of_a_row_deleted_elsewhere_refused",
             {B("row 3"), A("row 3"), A("delete"), B("edit", "fail Record/Key deleted."), B("state", "ok browse")},
             [] {
                 Rows rows = initial();
                 rows[3].deleted = true;
                 return rows;
             }},
    // Other dBase programs lock with process-owned fcntl locks at the same bytes.
    Scenario{"record_lock_of_another_program",
             {A("hold-record 2"), B("row 1"), B("edit", kLocked), B("delete", kLocked),
              B("row 2"), B("edit"), B("cancel"), B("row 0"), B("edit"), B("cancel"),
              A("quit"), B("row 1"), B("edit"), B("set KOLOR wolny"), B("post")},
             [] {
                 Rows rows = initial();
                 rows[1].values[5] = QStringLiteral("wolny");
                 return rows;
             }},
    Scenario{"header_lock_of_another_program",
             {A("hold-header"), B("append 1", kHeaderLocked),
              B("row 0"), B("edit"), B("set KOLOR bez"), B("post"),
              A("release-header"), B("append 1")},
             [] {
                 Rows rows = initial();
                 rows[0].values[5] = QStringLiteral("bez");
                 appendFrom(rows, QStringLiteral("B"), 1);
                 return rows;
             }}),
    [](const auto& info) { return std::string(info.param.label); });

// A worker's first post opens the index and mends it; another user appends
// a record and writes the index anew (as a repair does) between the two. The
// repair must count the records once it holds the index's lock: counted
// before, the new record would look unknown to the table and the rebuild
// would drop its key. Here the other user holds the lock for reading, which
// lets the worker's open through and stops its repair.
TEST(IndexRepair, CountsTheRecordsOnceItHoldsTheIndexLock)
{
    testing_support::TempDir dir;
    testing_support::writeCzestotl(dir.path(), initialRows(kInitialRows));
    const QString path = dir.file(kTable);
    const QString mdx = dir.file(QStringLiteral("CZESTOTL.MDX"));
    WorkerProcess worker(dir.path(), QStringLiteral("A"));
    for (const char* command : {"open CZESTOTL.DBF", "row 0", "edit", "set KOLOR czeka"})
        ASSERT_EQ(worker.call(QString::fromLatin1(command)), QStringLiteral("ok")) << command;

    const int held = ::open(QFile::encodeName(mdx).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    struct flock whole {};
    whole.l_type = F_RDLCK;
    whole.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &whole), 0);
    worker.send(QStringLiteral("post"));
    // Time for the worker to reach the repair; were it later, the check below
    // would pass without proving anything, but it cannot fail falsely.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    QByteArray bytes = dbf_test::readFile(path);
    QByteArray added;
    std::vector<QByteArray> records;
    {
        const auto file = data::DbfFile::open(path);
        added = file->blankRecord();
        const QVariantList row = appendedRow(QStringLiteral("B"), 0);
        for (qsizetype i = 0; i < row.size(); ++i)
            file->setValue(added, int(i), row[i]);
        const qint64 start = file->headerLength();
        for (int r = 0; r < kInitialRows; ++r)
            records.push_back(bytes.mid(start + qint64(r) * file->recordLength(), file->recordLength()));
        records.push_back(added);
        bytes = bytes.left(start + qint64(kInitialRows) * file->recordLength()) + added + '\x1A';
        dbf_test::putLe32(bytes, 4, kInitialRows + 1);
        dbf_test::writeFile(path, bytes);
        data::MdxIndex::create(dir.file(QStringLiteral("NEW.MDX")), file->fields(), {QStringLiteral("C_OZN")}, records,
                               file->languageDriver());
    }
    ASSERT_EQ(::rename(QFile::encodeName(dir.file(QStringLiteral("NEW.MDX"))).constData(), QFile::encodeName(mdx).constData()), 0);
    ::close(held);

    EXPECT_EQ(worker.nextLine(), QStringLiteral("ok"));
    worker.send(QStringLiteral("quit"));
    worker.waitForExit();
    Rows rows = initial();
    rows[0].values[5] = QStringLiteral("czeka");
    appendFrom(rows, QStringLiteral("B"), 1);
    QStringList expected;
    for (const Row& row : rows)
        expected << lineOf(row.deleted, row.values);
    EXPECT_EQ(ourLines(path), expected);
    expectIndexAgrees(path, false);
}

} // namespace
