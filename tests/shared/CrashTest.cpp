// A worker process changing and appending rows of the frequency table (with
// its production index) in a loop is killed with SIGKILL at random moments.
// It reports each change before it starts and once its post returned; after
// each kill the table must hold every reported change, the one in flight
// whole or not at all, open here and in the dBase peers, and its index must
// agree with the rows once an open has mended it. The seed is fixed and
// printed; OBW_CRASH_SEED replaces it to replay another run.

#include "tests/shared/SharedChecks.h"
#include "tests/shared/SharedRows.h"
#include "tests/shared/WorkerProcess.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <random>
#include <thread>

namespace {

using namespace shared_test;

constexpr int kKills = 20;
constexpr int kInitialRows = 8;
const QString kTag = QStringLiteral("C");
const QString kIndex = QStringLiteral("CZESTOTL.MDX");

unsigned seed()
{
    const QByteArray given = qgetenv("OBW_CRASH_SEED");
    return given.isEmpty() ? 20240611u : given.toUInt();
}

// The rows as the worker's reports say they are, and the change it
// announced and has not reported done.
class Model {
public:
    Model()
    {
        for (const QVariantList& row : initialRows(kInitialRows))
            rows_.push_back(row);
    }

    void take(const QString& line)
    {
        const QStringList w = line.split(QLatin1Char(' '));
        if (w.value(0) == QLatin1String("will") && w.value(1) == QLatin1String("append")) {
            pending_ = Change{-1, w.value(2).toInt()};
        } else if (w.value(0) == QLatin1String("will") && w.value(1) == QLatin1String("edit")) {
            pending_ = Change{w.value(2).toInt(), w.value(3).toInt()};
        } else if (w.value(0) == QLatin1String("done") && pending_ && pending_->number == w.value(2).toInt()) {
            apply(*pending_);
            EXPECT_EQ(w.value(1).toInt(), pending_->recno < 0 ? int(rows_.size()) - 1 : pending_->recno) << "the row posted";
            pending_.reset();
            ++done_;
        } else {
            ADD_FAILURE() << "the worker wrote: " << line.toStdString();
        }
    }

    int done() const { return done_; }
    QStringList lines() const
    {
        QStringList out;
        for (const QVariantList& row : rows_)
            out << lineOf(false, row);
        return out;
    }

    // Settles the change in flight by what the table holds: the one row it
    // touches may be as before or as after; everything else must be as
    // reported. Returns the line of an append in flight that the count does
    // not hold: its record may stand after the last one all the same.
    std::optional<QString> settle(const QStringList& found)
    {
        std::optional<QString> uncounted;
        if (pending_) {
            Model after = *this;
            after.apply(*pending_);
            if (found == after.lines())
                *this = after;
            else if (pending_->recno < 0)
                uncounted = after.lines().back();
        }
        pending_.reset();
        return uncounted;
    }

private:
    struct Change {
        int recno; // -1: an append
        int number;
    };

    void apply(const Change& c)
    {
        if (c.recno < 0)
            rows_.push_back(appendedRow(kTag, c.number));
        else
            applyEdit(rows_.at(size_t(c.recno)), kTag, c.number);
    }

    std::vector<QVariantList> rows_;
    std::optional<Change> pending_;
    int done_ = 0;
};

void copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    ASSERT_TRUE(QFile::copy(from, to)) << from.toStdString();
}

} // namespace

TEST(SharedCrash, KilledWriterLosesAtMostTheChangeInFlight)
{
    const unsigned s = seed();
    SCOPED_TRACE(testing::Message() << "seed " << s << " (OBW_CRASH_SEED)");
    std::cout << "seed " << s << "\n";
    std::mt19937 random(s);
    testing_support::TempDir dir;
    testing_support::writeCzestotl(dir.path(), initialRows(kInitialRows));
    Model model;
    QStringList snapshots;
    std::vector<QStringList> expected;
    std::vector<std::optional<QString>> uncountedAppend;

    for (int k = 0; k < kKills; ++k) {
        const int waitFor = std::uniform_int_distribution<int>(0, 8)(random);
        const auto delay = std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random));
        SCOPED_TRACE(testing::Message() << "kill " << k << ": after " << waitFor << " changes and " << delay.count() << " us");
        {
            WorkerProcess worker(dir.path(), kTag);
            ASSERT_EQ(worker.call(QStringLiteral("open ") + kTable + QStringLiteral(" C_OZN")), QStringLiteral("ok"));
            worker.send(QStringLiteral("churn %1 %2").arg(k * 10000).arg(random()));
            for (const int until = model.done() + waitFor; model.done() < until;) {
                const QString line = worker.nextLine();
                ASSERT_FALSE(line.isEmpty());
                model.take(line);
            }
            std::this_thread::sleep_for(delay);
            for (const QString& line : worker.kill())
                model.take(line);
        }
        // The peers and the check of the index read a copy, so the next
        // worker finds the table as the kill left it and mends it itself.
        const QString copyDir = dir.file(QStringLiteral("after%1").arg(k));
        ASSERT_TRUE(QDir().mkdir(copyDir));
        const QString table = copyDir + QLatin1Char('/') + kTable;
        copy(dir.file(kTable), table);
        copy(dir.file(kIndex), copyDir + QLatin1Char('/') + kIndex);

        const QStringList found = ourLines(table);
        const std::optional<QString> uncounted = model.settle(found);
        ASSERT_EQ(found, model.lines());
        expectIndexAgrees(table, true);
        snapshots << table;
        expected.push_back(found);
        uncountedAppend.push_back(uncounted);
    }

    const std::vector<QStringList> dbfread = dbfreadLines(snapshots);
    const std::vector<QStringList> xbase = xbaseLines(snapshots);
    for (int k = 0; k < kKills; ++k) {
        SCOPED_TRACE(testing::Message() << "after kill " << k);
        // dbfread reads records up to the end mark, whatever the count: an
        // append cut off before its count may show there, whole.
        if (uncountedAppend[size_t(k)] && dbfread[size_t(k)].size() > expected[size_t(k)].size())
            EXPECT_EQ(dbfread[size_t(k)], expected[size_t(k)] + QStringList{*uncountedAppend[size_t(k)]}) << "dbfread";
        else
            EXPECT_EQ(dbfread[size_t(k)], expected[size_t(k)]) << "dbfread";
        EXPECT_EQ(xbase[size_t(k)], expected[size_t(k)]) << "Perl XBase";
        EXPECT_EQ(dbfdumpLines(snapshots[k]), expected[size_t(k)]) << "dbfdump";
    }
    EXPECT_GT(model.done(), kKills) << "the worker made changes between the kills";
    // A kill never leaves a file behind in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{QStringLiteral("CZESTOTL.DBF"), kIndex}));
}
