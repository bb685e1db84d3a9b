// Two data sets of one program over one table file exclude each other's
// edits of a row as two programs do: each holds its record lock on a
// descriptor of its own.

#include "data/DbfFile.h"
#include "data/DbfFileLock.h"
#include "data/Failure.h"
#include "data/Table.h"
#include "tests/support/Tables.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace {

using data::FieldKind;
using State = data::DataSet::State;

const QString kList = QStringLiteral("LISTA.DBF");
const QString kLocked = QStringLiteral("Record locked by another user.\nFile: LISTA.DBF");

// Records A to F, all live: row n is record n.
void writeList(const testing_support::TempDir& dir)
{
    std::vector<QVariantList> rows;
    for (char c = 'A'; c <= 'F'; ++c)
        rows.push_back({QString(QLatin1Char(c)), int(c - 'A' + 1)});
    testing_support::writeTable(dir.file(kList), QStringLiteral("NAZWA C 10; IL N 2"), rows);
}

std::unique_ptr<data::Table> listTable()
{
    auto t = std::make_unique<data::Table>();
    t->setTableName(kList);
    t->addField(QStringLiteral("NAZWA"), FieldKind::Text, 10);
    t->addField(QStringLiteral("IL"), FieldKind::SmallInt);
    t->open();
    return t;
}

QString name(const data::Table& t)
{
    return t.fieldByName(QStringLiteral("NAZWA"))->asString();
}

void setName(data::Table& t, const QString& value)
{
    t.fieldByName(QStringLiteral("NAZWA"))->setValue(value);
}

// The message of the failure `action` throws; empty when it throws none.
QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const data::Failure& f) {
        return f.message();
    }
    return QString();
}

// Names as stored, deleted ones marked with '*'.
QStringList stored(const testing_support::TempDir& dir)
{
    const auto file = data::DbfFile::open(dir.file(kList));
    QStringList out;
    QByteArray record;
    for (quint32 r = 0; r < file->recordCount(); ++r) {
        file->readRecord(r, record);
        out << (data::DbfFile::isDeleted(record.constData()) ? QStringLiteral("*") : QString())
                   + file->value(record.constData(), 0).toString();
    }
    return out;
}

// ---- what becomes of the first editor's lock --------------------------

struct Ending {
    const char* label;
    // What the first data set, editing row 1 with NAZWA changed to "nowe",
    // does next; `first` may be reset.
    std::function<void(std::unique_ptr<data::Table>& first, const testing_support::TempDir& dir)> then;
    bool released;
    const char* secondReads; // NAZWA of row 1 once the second's edit starts, or while refused
};

void PrintTo(const Ending& e, std::ostream* os)
{
    *os << e.label;
}

class FirstEditor : public ::testing::TestWithParam<Ending> {
protected:
    void SetUp() override { writeList(dir); }
    testing_support::TempDir dir;
};

TEST_P(FirstEditor, HoldsTheRowUntilItsEditEnds)
{
    auto first = listTable();
    auto second = listTable();
    first->moveToRow(1);
    first->edit();
    setName(*first, QStringLiteral("nowe"));
    second->moveToRow(1); // reads the row before the first one's edit ends
    GetParam().then(first, dir);

    if (GetParam().released) {
        ASSERT_EQ(failureOf([&] { second->edit(); }), QString());
        EXPECT_EQ(second->state(), State::Edit);
        // The edit starts from the record on disk, not from the row read before.
        EXPECT_EQ(name(*second), QString::fromLatin1(GetParam().secondReads));
        setName(*second, QStringLiteral("drugie"));
        second->post();
        EXPECT_EQ(stored(dir).at(1), QStringLiteral("drugie"));
        return;
    }
    EXPECT_EQ(failureOf([&] { second->edit(); }), kLocked);
    EXPECT_EQ(second->state(), State::Browse);
    EXPECT_EQ(second->currentRow(), 1);
    EXPECT_EQ(name(*second), QString::fromLatin1(GetParam().secondReads));
    EXPECT_EQ(failureOf([&] { second->remove(); }), kLocked);
    EXPECT_EQ(second->currentRow(), 1);
    EXPECT_EQ(name(*second), QString::fromLatin1(GetParam().secondReads));
    EXPECT_EQ(stored(dir), (QStringList{"A", "B", "C", "D", "E", "F"}));
    // The first editor still owns its edit and can finish it.
    ASSERT_EQ(first->state(), State::Edit);
    first->post();
    EXPECT_EQ(stored(dir).at(1), QStringLiteral("nowe"));
    ASSERT_EQ(failureOf([&] { second->edit(); }), QString());
    EXPECT_EQ(name(*second), QStringLiteral("nowe"));
}

const QString kRemoved = QStringLiteral("Cannot write the table: the file was removed.\nFile: LISTA.DBF");

// Moves the table file away for the length of a post, so the post fails.
void postWhileMovedAway(data::Table& t, const testing_support::TempDir& dir)
{
    ASSERT_TRUE(QFile::rename(dir.file(kList), dir.file("ELSEWHERE.DBF")));
    EXPECT_EQ(failureOf([&] { t.post(); }), kRemoved);
    ASSERT_TRUE(QFile::rename(dir.file("ELSEWHERE.DBF"), dir.file(kList)));
    EXPECT_EQ(t.state(), State::Edit);
    EXPECT_EQ(name(t), QStringLiteral("nowe"));
}

INSTANTIATE_TEST_SUITE_P(Ways, FirstEditor, ::testing::Values(
    Ending{"still_editing", [](auto&, auto&) {}, false, "B"},
    Ending{"post_failed", [](auto& t, auto& dir) { postWhileMovedAway(*t, dir); }, false, "B"},
    Ending{"posted", [](auto& t, auto&) { t->post(); }, true, "nowe"},
    Ending{"cancelled", [](auto& t, auto&) { t->cancel(); }, true, "B"},
    Ending{"moved_on_posting", [](auto& t, auto&) { t->next(); }, true, "nowe"},
    Ending{"closed", [](auto& t, auto&) { t->close(); }, true, "B"},
    Ending{"destroyed", [](auto& t, auto&) { t.reset(); }, true, "B"},
    Ending{"failed_post_then_posted",
           [](auto& t, auto& dir) { postWhileMovedAway(*t, dir); t->post(); }, true, "nowe"}),
    [](const auto& info) { return std::string(info.param.label); });

class RecordLocks : public ::testing::Test {
protected:
    void SetUp() override { writeList(dir); }
    testing_support::TempDir dir;
};

TEST_F(RecordLocks, OtherRowsStayFreeForEditsDeletesAndAppends)
{
    auto first = listTable();
    auto second = listTable();
    first->moveToRow(1);
    first->edit();
    setName(*first, QStringLiteral("pierwsze"));

    second->moveToRow(2);
    second->edit();
    setName(*second, QStringLiteral("drugie"));
    second->post();
    second->moveToRow(3);
    second->remove();
    second->insert();
    setName(*second, QStringLiteral("nowy"));
    second->post();
    first->post();

    EXPECT_EQ(stored(dir), (QStringList{"A", "pierwsze", "drugie", "*D", "E", "F", "nowy"}));
}

// The lock lies on the byte dBase engines use for the record, so that their
// edits of it are refused too; the bytes of its neighbours stay free.
TEST_F(RecordLocks, LockLiesOnTheRecordsDBaseByte)
{
    auto editor = listTable();
    const int probe = ::open(QFile::encodeName(dir.file(kList)).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(probe, 0);
    const auto lockedAt = [&](qint64 dbaseRecord) {
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = off_t(0xEFFFFFFE - dbaseRecord);
        fl.l_len = 1;
        EXPECT_EQ(::fcntl(probe, F_OFD_GETLK, &fl), 0);
        return fl.l_type != F_UNLCK;
    };
    for (int row : {0, 3, 5}) {
        SCOPED_TRACE(row);
        editor->moveToRow(row);
        editor->edit();
        EXPECT_TRUE(lockedAt(row + 1));
        EXPECT_FALSE(lockedAt(row));
        EXPECT_FALSE(lockedAt(row + 2));
        EXPECT_FALSE(lockedAt(0)) << "the header's byte";
        editor->cancel();
        EXPECT_FALSE(lockedAt(row + 1));
    }
    ::close(probe);
}

} // namespace
