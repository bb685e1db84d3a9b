// Appends must leave the table readable whatever byte a crash stops them at.
// This program replaces pwrite: a budget of bytes lets a write through up to
// its last byte, and every write after it fails, as if the process had died.

#include "data/DbfFile.h"
#include "data/Failure.h"
#include "tests/data/DbfTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>

namespace {

qint64 budget = -1;   // bytes still allowed; -1 lets everything through
qint64 written = 0;   // bytes that reached the file

using Pwrite = ssize_t (*)(int, const void*, size_t, off_t);

ssize_t limitedWrite(int fd, const void* buf, size_t n, off_t offset)
{
    static const auto real = reinterpret_cast<Pwrite>(dlsym(RTLD_NEXT, "pwrite"));
    if (budget == 0) {
        errno = EIO;
        return -1;
    }
    const size_t allowed = budget < 0 ? n : std::min<size_t>(n, size_t(budget));
    const ssize_t done = real(fd, buf, allowed, offset);
    if (done > 0) {
        written += done;
        if (budget > 0)
            budget -= done;
    }
    return done;
}

} // namespace

extern "C" ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset)
{
    return limitedWrite(fd, buf, n, offset);
}

extern "C" ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t offset)
{
    return limitedWrite(fd, buf, n, offset);
}

using data::DbfFile;
using namespace dbf_test;

namespace {

struct Operation {
    const char* name;
    std::function<void(DbfFile&)> run;
    std::function<std::vector<Row>(std::vector<Row>)> expected;
};

Row named(const QString& name, bool deleted = false)
{
    return {deleted, {name, 7}};
}

} // namespace

TEST(DbfCrash, EveryCutOfAWriteLeavesTheTableAsBeforeOrAsAfter)
{
    // 255 records, so the count's low byte carries into the next one.
    std::vector<Row> base;
    for (int i = 0; i < 255; ++i)
        base.push_back(named(QStringLiteral("r%1").arg(i)));
    const Operation operations[] = {
        {"append",
         [](DbfFile& f) { f.appendRecord(record(f, named(QStringLiteral("nowy")))); },
         [](std::vector<Row> rows) { rows.push_back(named(QStringLiteral("nowy"))); return rows; }},
        {"append three",
         [](DbfFile& f) {
             f.appendRecords({record(f, named(QStringLiteral("a"))), record(f, named(QStringLiteral("b"))),
                              record(f, named(QStringLiteral("c")))});
         },
         [](std::vector<Row> rows) {
             for (const char* n : {"a", "b", "c"})
                 rows.push_back(named(QString::fromLatin1(n)));
             return rows;
         }},
        {"delete",
         [](DbfFile& f) { f.deleteRecord(7); },
         [](std::vector<Row> rows) { rows[7].deleted = true; return rows; }},
    };
    testing_support::TempDir dir;
    makeTable(dir.file("BASE.DBF"), "NAZWA C 10; N N 2", base);
    const QByteArray original = readFile(dir.file("BASE.DBF"));
    const QString path = dir.file("T.DBF");

    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        const std::vector<Row> after = op.expected(base);
        writeFile(path, original);
        written = 0;
        op.run(*DbfFile::open(path));
        const qint64 total = written;
        ASSERT_EQ(readRows(*DbfFile::open(path)), after);

        for (qint64 cut = 0; cut < total; ++cut) {
            SCOPED_TRACE(testing::Message() << "cut after byte " << cut << " of " << total);
            writeFile(path, original);
            {
                auto file = DbfFile::open(path);
                budget = cut;
                EXPECT_THROW(op.run(*file), data::Failure);
                budget = -1;
            }
            const std::vector<Row> rows = readRows(*DbfFile::open(path));
            EXPECT_TRUE(rows == base || rows == after) << "records read: " << rows.size();
        }
    }
}
