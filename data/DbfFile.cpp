#include "data/DbfFile.h"

#include "data/DbfCodec.h"
#include "data/DbfErrors.h"
#include "data/DbfFileLock.h"
#include "data/DbfHeader.h"
#include "data/FileHandle.h"
#include "data/FileLookup.h"
#include "data/MdxIndex.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>

namespace data {

namespace {

using Identity = std::pair<quint64, quint64>;

// One object per file per process: data sets share it, so an append through
// one is counted by the others at once.
struct Registry {
    std::mutex mutex;
    std::map<Identity, std::weak_ptr<DbfFile>> files;

    static Registry& instance()
    {
        static Registry r;
        return r;
    }
};

constexpr qint64 kScanBlockBytes = 256 * 1024;

// How long an append waits for another user's append, which holds the
// header lock for one short write.
constexpr int kHeaderWaitMs = 2000;
constexpr int kHeaderRetryMs = 5;

Failure writeRefused(const QString& file, const QString& why)
{
    return Failure(Failure::Engine, QStringLiteral("Cannot write the table: %1.\nFile: %2").arg(why, file));
}

// Runs `undo` after `cause` stopped a write, then throws `cause`; an undo
// that fails too adds its own message.
[[noreturn]] void undoAndThrow(const Failure& cause, const std::function<void()>& undo)
{
    try {
        undo();
    } catch (const Failure& also) {
        throw Failure(cause.kind(), cause.message() + QStringLiteral("\n") + also.message());
    }
    throw cause;
}

// `header` (as DbfHeader::build makes it, end mark included) followed by
// `rows` encoded as records, the count set and the end mark after them.
QByteArray withRows(const QByteArray& header, const std::vector<DbfField>& fields,
                    const std::vector<QVariantList>& rows, const QString& name)
{
    const int headerLength = DbfHeader::readLe16(header.constData() + 8);
    const int recordLength = DbfHeader::readLe16(header.constData() + 10);
    QByteArray out = header.left(headerLength);
    for (const QVariantList& row : rows) {
        if (size_t(row.size()) > fields.size())
            throw DbfErrors::cannotCreate(name, QStringLiteral("a row holds %1 values for %2 fields").arg(row.size()).arg(fields.size()));
        QByteArray record(recordLength, ' ');
        for (qsizetype i = 0; i < row.size(); ++i)
            DbfCodec::encode(fields[size_t(i)], record.data(), row.at(i), name);
        out += record;
    }
    out += DbfHeader::kFileEnd;
    const quint32 count = quint32(rows.size());
    for (int i = 0; i < 4; ++i)
        out[DbfHeader::kCountOffset + i] = char((count >> (8 * i)) & 0xFF);
    return out;
}

} // namespace

struct DbfFile::Impl {
    Impl(const QString& p) : path(p), name(QFileInfo(p).fileName()), file(p, name) {}

    QString path;
    QString name;
    FileHandle file;
    DbfHeader header;
    Identity identity;
    quint32 count = 0;
    std::unique_ptr<MdxIndex> index;

    qint64 offsetOf(quint32 recno) const { return header.headerLength + qint64(recno) * header.recordLength; }

    void readHeader()
    {
        char prefix[DbfHeader::kMaxPrefix];
        const qint64 size = file.size();
        const qint64 got = file.read(0, prefix, sizeof prefix);
        header = DbfHeader::parsePrefix(prefix, got, size, name);
        QByteArray all(header.headerLength, '\0');
        all.resize(file.read(0, all.data(), header.headerLength));
        header.parseFields(all, name);
        count = header.committedCount(header.storedCount, size);
    }

    // Re-reads the count; the lengths must be those the fields were read with.
    quint32 recount()
    {
        char fixed[DbfHeader::kLengthsEnd];
        if (file.read(0, fixed, sizeof fixed) < qint64(sizeof fixed))
            throw DbfErrors::restructured(name);
        if (DbfHeader::readLe16(fixed + 8) != header.headerLength || DbfHeader::readLe16(fixed + 10) != header.recordLength)
            throw DbfErrors::restructured(name);
        count = header.committedCount(DbfHeader::readLe32(fixed + DbfHeader::kCountOffset), file.size());
        return count;
    }

    void checkRecord(const QByteArray& record) const
    {
        if (record.size() != header.recordLength)
            throw DbfErrors::wrongRecordSize(name, record.size(), header.recordLength);
    }

    void writeDate()
    {
        char date[3];
        DbfHeader::putDate(date, QDate::currentDate());
        file.write(DbfHeader::kDateOffset, date, sizeof date);
    }

    // Most significant byte first: a write cut short leaves either the old
    // count or one above the new count, which the records held cap to the new.
    void writeCount(quint32 n)
    {
        for (int i = 3; i >= 0; --i) {
            const char byte = char((n >> (8 * i)) & 0xFF);
            file.write(DbfHeader::kCountOffset + i, &byte, 1);
        }
    }

    // A write through a descriptor whose file left its name would report
    // saved what no one can read again.
    void requireAtPath() const
    {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0)
            throw writeRefused(name, QStringLiteral("the file was removed"));
        if (Identity(st.st_dev, st.st_ino) != identity)
            throw writeRefused(name, QStringLiteral("the file was replaced by another program"));
    }

    // Writes `was` back at `at` after a write that failed there: only the
    // stretch that now differs, since the disk may refuse the rest again
    // (a record across the file-size limit had its lower part written).
    void putBack(qint64 at, const QByteArray& was)
    {
        QByteArray now(was.size(), '\0');
        now.resize(file.read(at, now.data(), now.size()));
        qsizetype first = 0;
        while (first < now.size() && now[first] == was[first])
            ++first;
        qsizetype end = was.size();
        if (now.size() == was.size()) {
            while (end > first && now[end - 1] == was[end - 1])
                --end;
        }
        if (end > first)
            file.write(at + first, was.constData() + first, end - first);
    }

    void lockHeader()
    {
        const QDeadlineTimer deadline(kHeaderWaitMs);
        while (!DbfFileLock::setLock(file.descriptor(), DbfFileLock::kHeaderOffset, F_WRLCK, name)) {
            if (deadline.hasExpired())
                throw Failure(Failure::Engine, QStringLiteral("Table is locked by another user.\nFile: ") + name);
            QThread::msleep(kHeaderRetryMs);
        }
    }

    void unlockHeader() { DbfFileLock::setLock(file.descriptor(), DbfFileLock::kHeaderOffset, F_UNLCK, name); }

    // The table as it was before an append of records from `first` on:
    // the count, then the end mark where it stood and nothing after it.
    // Only what the append changed is written back: a disk that refused the
    // append at its first byte (a file already past its size limit) would
    // refuse rewriting that byte too.
    void takeBackAppend(quint32 first, bool countWritten)
    {
        if (countWritten)
            writeCount(first);
        const qint64 end = offsetOf(first);
        char mark = DbfHeader::kFileEnd;
        if (file.read(end, &mark, 1) == 1 && mark != DbfHeader::kFileEnd)
            file.write(end, &DbfHeader::kFileEnd, 1);
        if (file.size() > end + 1 && ::ftruncate(file.descriptor(), off_t(end + 1)) != 0)
            throw DbfErrors::writeFailed(name, errno);
        count = first;
    }
};

DbfFile::DbfFile(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

DbfFile::~DbfFile()
{
    Registry& r = Registry::instance();
    const std::lock_guard lock(r.mutex);
    const auto it = r.files.find(d->identity);
    if (it != r.files.end() && it->second.expired())
        r.files.erase(it);
}

std::shared_ptr<DbfFile> DbfFile::open(const QString& path)
{
    auto impl = std::make_unique<Impl>(path);
    impl->identity = impl->file.identity();
    Registry& r = Registry::instance();
    const std::lock_guard lock(r.mutex);
    const auto it = r.files.find(impl->identity);
    if (it != r.files.end()) {
        if (auto existing = it->second.lock())
            return existing;
    }
    impl->readHeader();
    std::shared_ptr<DbfFile> file(new DbfFile(std::move(impl)));
    r.files[file->d->identity] = file;
    return file;
}

void DbfFile::create(const QString& path, std::vector<DbfField> fields, const DbfCreateOptions& options)
{
    const QString name = QFileInfo(path).fileName();
    const QDate updated = options.updated.isValid() ? options.updated : QDate::currentDate();
    QByteArray header = DbfHeader::build(fields, options.version, options.languageDriver, options.indexedFields,
                                         updated, name);
    if (!options.rows.empty())
        header = withRows(header, fields, options.rows, name);
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
        throw DbfErrors::exists(name);
    if (fd < 0)
        throw DbfErrors::cannotCreate(name, QString::fromLocal8Bit(strerror(errno)));
    const ssize_t written = ::write(fd, header.constData(), size_t(header.size()));
    const int error = errno;
    ::close(fd);
    if (written != header.size()) {
        QFile::remove(path);
        throw DbfErrors::writeFailed(name, written < 0 ? error : ENOSPC);
    }
}

const QString& DbfFile::path() const { return d->path; }
QString DbfFile::fileName() const { return d->name; }
const std::vector<DbfField>& DbfFile::fields() const { return d->header.fields; }
int DbfFile::recordLength() const { return d->header.recordLength; }
int DbfFile::headerLength() const { return d->header.headerLength; }
quint8 DbfFile::version() const { return d->header.version; }
quint8 DbfFile::languageDriver() const { return d->header.languageDriver; }
bool DbfFile::hasProductionIndex() const { return d->header.indexFlag != 0; }
bool DbfFile::canWrite() const { return d->file.writable(); }
std::pair<quint64, quint64> DbfFile::identity() const { return d->identity; }

int DbfFile::fieldIndex(const QString& name) const
{
    const auto& fields = d->header.fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

MdxIndex* DbfFile::productionIndex()
{
    if (!hasProductionIndex())
        return nullptr;
    if (!d->index) {
        const QFileInfo table(d->path);
        const QString mdx = resolveFileName(table.completeBaseName() + QStringLiteral(".mdx"), table.path());
        auto index = MdxIndex::open(mdx, d->header.fields, canWrite());
        // A post that stopped between the table and its index, or another
        // program that wrote the table alone, is mended before any read.
        // The records are counted once repair() holds the index's lock: a
        // count taken before it would miss records that another program
        // appended and indexed meanwhile, and the rebuild would drop their keys.
        if (canWrite()) {
            std::optional<Scanner> scan;
            index->repair([&]() -> const char* {
                if (!scan)
                    scan.emplace(*this);
                return scan->next();
            });
        }
        d->index = std::move(index);
    }
    return d->index.get();
}

quint32 DbfFile::recordCount()
{
    return d->recount();
}

bool DbfFile::readRecord(quint32 recno, QByteArray& out)
{
    if (recno >= d->count && recno >= d->recount())
        return false;
    out.resize(d->header.recordLength);
    return d->file.read(d->offsetOf(recno), out.data(), out.size()) == out.size();
}

QVariant DbfFile::value(const char* record, int field) const
{
    QVariant v;
    valueInto(record, field, v);
    return v;
}

void DbfFile::valueInto(const char* record, int field, QVariant& out) const
{
    if (field < 0 || size_t(field) >= d->header.fields.size())
        throw DbfErrors::badFieldIndex(d->name, field);
    DbfCodec::decodeInto(d->header.fields[size_t(field)], record, out);
}

void DbfFile::setValue(QByteArray& record, int field, const QVariant& v) const
{
    if (field < 0 || size_t(field) >= d->header.fields.size())
        throw DbfErrors::badFieldIndex(d->name, field);
    d->checkRecord(record);
    DbfCodec::encode(d->header.fields[size_t(field)], record.data(), v, d->name);
}

QByteArray DbfFile::blankRecord() const
{
    return QByteArray(d->header.recordLength, ' ');
}

// Every write is refused before it starts when the file is read-only or its
// production index could not be kept valid: a stale index hides records.
MdxIndex* DbfFile::indexForWrite()
{
    if (!canWrite())
        throw DbfErrors::readOnly(d->name);
    MdxIndex* index = productionIndex();
    if (index) {
        const QString refusal = index->writeRefusal();
        if (!refusal.isEmpty())
            throw Failure(Failure::Engine, refusal);
    }
    return index;
}

// The record in place, then the header's date, then the index; a failure
// on the way puts the record back as it was.
void DbfFile::writeRecord(quint32 recno, const QByteArray& record)
{
    d->checkRecord(record);
    MdxIndex* index = indexForWrite();
    d->requireAtPath();
    const quint32 count = d->recount();
    if (recno >= count)
        throw DbfErrors::noSuchRecord(d->name, recno, count);
    QByteArray before;
    if (!readRecord(recno, before))
        throw DbfErrors::noSuchRecord(d->name, recno, count);
    const qint64 at = d->offsetOf(recno);
    try {
        d->file.write(at, record.constData(), record.size());
        d->writeDate();
        if (index)
            index->recordChanged(recno, before.constData(), record.constData());
    } catch (const Failure& f) {
        undoAndThrow(f, [&] { d->putBack(at, before); });
    }
}

quint32 DbfFile::appendRecord(const QByteArray& record)
{
    return appendRecords({record});
}

quint32 DbfFile::appendRecords(const std::vector<QByteArray>& records)
{
    if (records.empty())
        return d->recount();
    for (const QByteArray& r : records)
        d->checkRecord(r);
    MdxIndex* index = indexForWrite();
    d->requireAtPath();
    d->lockHeader();
    quint32 first = 0;
    try {
        first = d->recount();
        if (records.size() > std::numeric_limits<quint32>::max() - first)
            throw DbfErrors::tableFull(d->name);
        QByteArray bytes;
        bytes.reserve(qsizetype(records.size()) * d->header.recordLength + 1);
        for (const QByteArray& r : records)
            bytes += r;
        bytes += DbfHeader::kFileEnd;
        const quint32 count = first + quint32(records.size());
        bool counted = false;
        try {
            // Records and end mark reach the disk before the count that commits them.
            d->file.write(d->offsetOf(first), bytes.constData(), bytes.size());
            d->file.barrier();
            d->writeCount(count);
            counted = true;
            d->writeDate();
            d->count = count;
            if (index) {
                for (size_t i = 0; i < records.size(); ++i)
                    index->recordChanged(first + quint32(i), nullptr, records[i].constData());
            }
        } catch (const Failure& f) {
            // Keys an index took for records taken back are dropped by the next open's repair.
            undoAndThrow(f, [&] { d->takeBackAppend(first, counted); });
        }
    } catch (...) {
        d->unlockHeader();
        throw;
    }
    d->unlockHeader();
    return first;
}

void DbfFile::deleteRecord(quint32 recno)
{
    MdxIndex* index = indexForWrite();
    d->requireAtPath();
    QByteArray record;
    if (!readRecord(recno, record))
        throw DbfErrors::noSuchRecord(d->name, recno, d->count);
    const QByteArray before = record;
    record[0] = '*';
    const qint64 at = d->offsetOf(recno);
    try {
        d->file.write(at, record.constData(), 1);
        d->writeDate();
        if (index)
            index->recordChanged(recno, before.constData(), record.constData());
    } catch (const Failure& f) {
        undoAndThrow(f, [&] { d->putBack(at, before.left(1)); });
    }
}

DbfFile::Scanner::Scanner(DbfFile& file, quint32 first)
    : file_(file), next_(first), end_(file.recordCount())
{
}

DbfFile::Scanner::~Scanner() = default;

const char* DbfFile::Scanner::next()
{
    if (next_ >= end_)
        return nullptr;
    if (next_ < blockFirst_ || next_ - blockFirst_ >= blockCount_) {
        fill();
        if (blockCount_ == 0)
            return nullptr;
    }
    recno_ = next_++;
    return block_.constData() + qint64(recno_ - blockFirst_) * file_.d->header.recordLength;
}

// Reads whole records only; a file cut short by another program ends the
// scan at the last whole record.
void DbfFile::Scanner::fill()
{
    const int length = file_.d->header.recordLength;
    const quint32 wanted = quint32(std::min<qint64>(std::max<qint64>(1, kScanBlockBytes / length), end_ - next_));
    block_.resize(qsizetype(wanted) * length);
    const qint64 got = file_.d->file.read(file_.d->offsetOf(next_), block_.data(), block_.size());
    blockFirst_ = next_;
    blockCount_ = quint32(got / length);
    if (blockCount_ < wanted)
        end_ = next_ + blockCount_;
}

} // namespace data
