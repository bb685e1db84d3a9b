// Another user of a table folder, for the tests of this folder: a process
// of its own that drives data::Table as the program does. It reads commands
// from standard input, one a line, and answers each with one line, "ok" or
// "ok <text>", or "fail <message>" with line breaks written as \n:
//
//   open <table> [<index field>]   close
//   row <n>             moves to row n (stored or index order)
//   edit | post | cancel | insert | delete | state | recno
//   set <field> <text>  get <field>
//   append <n>          appends appendedRow(tag, 0..n-1), one post each
//   edits <n>           edit i (0..n-1) changes row i % 5 by applyEdit, each
//                       through the table opened afresh, as a window opened
//                       for one change opens it
//   hold-header | release-header | hold-record <n>
//                       a lock as other dBase programs take it (process-
//                       owned fcntl lock, record n counted from 1)
//   quit                ends at once, an edit left as it is
//   churn <first> <seed>
//                       changes and appends rows for ever, numbering the
//                       changes from <first>; writes "will edit <recno> <i>"
//                       or "will append <i>" before each and "done" after
//                       its post returned
//
//   table_worker <tag>

#include "data/DbfFile.h"
#include "data/DbfFileLock.h"
#include "data/Failure.h"
#include "data/FileLookup.h"
#include "data/Table.h"
#include "tests/shared/SharedRows.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <random>
#include <string>

namespace {

void say(const QString& line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            ::_exit(3); // the test is gone
        done += n;
    }
}

class TableWorker {
public:
    explicit TableWorker(QString tag) : tag_(std::move(tag)) {}

    // The answer to one command; a data::Failure is the command's "fail".
    QString run(const QStringList& words);

private:
    void open(const QString& name, const QString& indexField);
    data::Table& table();
    void setRow(const QVariantList& row);
    void append(int count);
    void edits(int count);
    [[noreturn]] void churn(int first, unsigned seed);
    void lockByte(qint64 offset, short type);

    QString tag_;
    std::unique_ptr<data::Table> table_;
    int lockFd_ = -1;
};

data::Table& TableWorker::table()
{
    if (!table_)
        throw data::Failure(QStringLiteral("worker"), QStringLiteral("no table is open"));
    return *table_;
}

void TableWorker::open(const QString& name, const QString& indexField)
{
    table_ = std::make_unique<data::Table>();
    table_->setTableName(name);
    table_->setIndexFieldNames(indexField);
    const auto file = data::DbfFile::open(data::resolveFileName(name));
    for (const data::DbfField& f : file->fields())
        table_->addField(f.name, f.kind, f.kind == data::FieldKind::Text ? f.width : 0);
    table_->open();
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = ::open(QFile::encodeName(data::resolveFileName(name)).constData(), O_RDWR | O_CLOEXEC);
}

void TableWorker::setRow(const QVariantList& row)
{
    for (qsizetype i = 0; i < row.size(); ++i)
        table().fieldByName(shared_test::kColumns[i])->setValue(row[i]);
}

void TableWorker::append(int count)
{
    for (int i = 0; i < count; ++i) {
        table().insert();
        setRow(shared_test::appendedRow(tag_, i));
        try {
            table().post();
        } catch (const data::Failure&) {
            table().cancel();
            throw;
        }
    }
}

void TableWorker::edits(int count)
{
    const QString name = table().tableName();
    for (int i = 0; i < count; ++i) {
        table_.reset();
        open(name, QString());
        table().moveToRow(i % 5);
        table().edit();
        QVariantList row;
        for (const QString& c : shared_test::kColumns)
            row << table().fieldByName(c)->value();
        shared_test::applyEdit(row, tag_, i);
        setRow(row);
        table().post();
    }
}

void TableWorker::churn(int first, unsigned seed)
{
    std::mt19937 random(seed);
    data::Table& t = table();
    for (int i = first;; ++i) {
        const int rows = t.rowCount();
        if (rows == 0 || random() % 5 < 2) {
            say(QStringLiteral("will append %1").arg(i));
            t.insert();
            setRow(shared_test::appendedRow(tag_, i));
        } else {
            t.moveToRow(int(random() % unsigned(rows)));
            say(QStringLiteral("will edit %1 %2").arg(t.currentRecno()).arg(i));
            t.edit();
            QVariantList row;
            for (const QString& c : shared_test::kColumns)
                row << t.fieldByName(c)->value();
            shared_test::applyEdit(row, tag_, i);
            setRow(row);
        }
        t.post();
        say(QStringLiteral("done %1 %2").arg(t.currentRecno()).arg(i));
    }
}

void TableWorker::lockByte(qint64 offset, short type)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = 1;
    if (::fcntl(lockFd_, F_SETLK, &fl) != 0)
        throw data::Failure(QStringLiteral("worker"), QStringLiteral("fcntl: ") + QString::fromLocal8Bit(strerror(errno)));
}

QString TableWorker::run(const QStringList& words)
{
    const QString command = words.value(0);
    const QString arg = words.value(1);
    if (command == QLatin1String("open"))
        open(arg, words.value(2));
    else if (command == QLatin1String("close"))
        table_.reset();
    else if (command == QLatin1String("row"))
        table().moveToRow(arg.toInt());
    else if (command == QLatin1String("edit"))
        table().edit();
    else if (command == QLatin1String("post"))
        table().post();
    else if (command == QLatin1String("cancel"))
        table().cancel();
    else if (command == QLatin1String("insert"))
        table().insert();
    else if (command == QLatin1String("delete"))
        table().remove();
    else if (command == QLatin1String("state"))
        return QString::fromLatin1(table().state() == data::DataSet::State::Edit ? "edit"
                                   : table().state() == data::DataSet::State::Insert ? "insert" : "browse");
    else if (command == QLatin1String("recno"))
        return QString::number(table().currentRecno());
    else if (command == QLatin1String("set"))
        table().fieldByName(arg)->setAsString(words.mid(2).join(QLatin1Char(' ')));
    else if (command == QLatin1String("get"))
        return table().fieldByName(arg)->asString();
    else if (command == QLatin1String("append"))
        append(arg.toInt());
    else if (command == QLatin1String("edits"))
        edits(arg.toInt());
    else if (command == QLatin1String("churn"))
        churn(arg.toInt(), words.value(2).toUInt());
    else if (command == QLatin1String("hold-header"))
        lockByte(data::DbfFileLock::kHeaderOffset, F_WRLCK);
    else if (command == QLatin1String("release-header"))
        lockByte(data::DbfFileLock::kHeaderOffset, F_UNLCK);
    else if (command == QLatin1String("hold-record"))
        lockByte(0xEFFFFFFE - arg.toLongLong(), F_WRLCK);
    else if (command == QLatin1String("quit"))
        ::_exit(0);
    else
        throw data::Failure(QStringLiteral("worker"), QStringLiteral("unknown command ") + command);
    return QString();
}

} // namespace

int main(int argc, char** argv)
{
    TableWorker worker(QString::fromLocal8Bit(argc > 1 ? argv[1] : "W"));
    std::string line;
    while (std::getline(std::cin, line)) {
        const QStringList words = QString::fromStdString(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        try {
            const QString text = worker.run(words);
            say(text.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok ") + text);
        } catch (const data::Failure& f) {
            say(QStringLiteral("fail ") + QString(f.message()).replace(QLatin1Char('\n'), QLatin1String("\\n")));
        }
    }
    return 0;
}
