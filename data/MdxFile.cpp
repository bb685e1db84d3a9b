#include "data/MdxFile.h"

#include "data/MdxErrors.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace data {

namespace {

// How long an operation waits for another user's lock on the index. Every
// holder keeps it for one short operation only.
constexpr int kLockWaitMs = 2000;
constexpr int kLockRetryMs = 10;

quint16 u16(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

} // namespace

MdxFile::MdxFile(const QString& path, Mode mode) : path_(path)
{
    openLocked(mode);
    try {
        readHeader();
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

MdxFile::~MdxFile()
{
    ::close(fd_); // closing the descriptor also drops its lock
}

QString MdxFile::name() const
{
    return QFileInfo(path_).fileName();
}

void MdxFile::damaged(const QString& detail) const
{
    throw MdxErrors::damaged(name(), detail);
}

// A rebuild renames a new file over the old one; an operation that waited
// for the lock of the old file must start again on the new one.
void MdxFile::openLocked(Mode mode)
{
    const QByteArray native = QFile::encodeName(path_);
    const QDeadlineTimer deadline(kLockWaitMs);
    for (;;) {
        fd_ = ::open(native.constData(), (mode == Mode::Write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
        if (fd_ < 0 && (errno == ENOENT || errno == ENOTDIR))
            throw MdxErrors::missing(name());
        if (fd_ < 0)
            throw MdxErrors::cannotOpen(name(), errno);
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd_);
            throw MdxErrors::cannotOpen(name(), EISDIR);
        }
        while (!lock(mode)) {
            if (deadline.hasExpired()) {
                ::close(fd_);
                throw MdxErrors::locked(name());
            }
            QThread::msleep(kLockRetryMs);
        }
        if (stillAtPath())
            return;
        ::close(fd_);
    }
}

bool MdxFile::lock(Mode mode)
{
    struct flock fl {};
    fl.l_type = mode == Mode::Write ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    if (::fcntl(fd_, F_OFD_SETLK, &fl) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR)
        return false;
    const int error = errno;
    ::close(fd_);
    throw MdxErrors::cannotOpen(name(), error);
}

bool MdxFile::stillAtPath() const
{
    struct stat open {};
    struct stat named {};
    if (::fstat(fd_, &open) != 0 || ::stat(QFile::encodeName(path_).constData(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

void MdxFile::readHeader()
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        throw MdxErrors::readFailed(name(), errno);
    size_ = qint64(st.st_size);
    if (size_ < kHeaderSize)
        damaged(QStringLiteral("the file is shorter than its header"));
    header_.resize(kHeaderSize);
    readAt(0, header_.data(), kHeaderSize);
    const int blocks = u16(header_, 20);
    pageSize_ = u16(header_, 22);
    if (pageSize_ < 1024 || pageSize_ > 32768 || pageSize_ != blocks * kBlock)
        damaged(QStringLiteral("a page of %1 bytes").arg(pageSize_));
    tagSize_ = quint8(header_[26]);
    const int tags = tagCount();
    if (tagSize_ < (version() == 3 ? 43 : 21) || kTagTable + tags * tagSize_ > kHeaderSize)
        damaged(QStringLiteral("a tag table of %1 tags of %2 bytes").arg(tags).arg(tagSize_));
}

int MdxFile::tagCount() const
{
    return u16(header_, 28);
}

QByteArray MdxFile::tagEntry(int slot) const
{
    return header_.mid(kTagTable + slot * tagSize_, tagSize_);
}

void MdxFile::setTagEntry(int slot, const QByteArray& entry)
{
    header_.replace(kTagTable + slot * tagSize_, tagSize_, entry.left(tagSize_));
    headerChanged_ = true;
}

void MdxFile::readAt(qint64 offset, char* out, qint64 size) const
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, out + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw MdxErrors::readFailed(name(), errno);
        if (n == 0)
            damaged(QStringLiteral("the file ends inside a page"));
        done += n;
    }
}

void MdxFile::writeAt(qint64 offset, const char* bytes, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd_, bytes + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw MdxErrors::writeFailed(name(), QString::fromLocal8Bit(std::strerror(errno)));
        done += n;
    }
    size_ = std::max(size_, offset + size);
}

QByteArray MdxFile::readPage(quint32 block) const
{
    const qint64 offset = qint64(block) * kBlock;
    if (offset < kHeaderSize || offset + pageSize_ > size_)
        damaged(QStringLiteral("page %1 lies outside the file").arg(block));
    QByteArray page(pageSize_, Qt::Uninitialized);
    readAt(offset, page.data(), pageSize_);
    return page;
}

void MdxFile::writePage(quint32 block, const QByteArray& page)
{
    writeAt(qint64(block) * kBlock, page.constData(), pageSize_);
}

quint32 MdxFile::allocatePage()
{
    const qint64 used = std::max<qint64>({qint64(u32(header_, 32)), (size_ + kBlock - 1) / kBlock, kHeaderSize / kBlock});
    if (used + pageSize_ / kBlock > qint64(std::numeric_limits<quint32>::max()))
        throw MdxErrors::writeFailed(name(), QStringLiteral("the index is full"));
    qToLittleEndian<quint32>(quint32(used + pageSize_ / kBlock), header_.data() + 32);
    headerChanged_ = true;
    return quint32(used);
}

bool MdxFile::countsEveryPage() const
{
    return qint64(u32(header_, 32)) * kBlock >= size_;
}

void MdxFile::flushHeader()
{
    if (!headerChanged_)
        return;
    const QDate today = QDate::currentDate();
    header_[44] = char(today.year() - 1900);
    header_[45] = char(today.month());
    header_[46] = char(today.day());
    writeAt(0, header_.constData(), kHeaderSize);
    headerChanged_ = false;
}

void MdxFile::save(const QString& path, const QByteArray& content)
{
    const QFileInfo old(path);
    QSaveFile out(path);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
        throw MdxErrors::writeFailed(old.fileName(), out.errorString());
    if (old.exists())
        out.setPermissions(old.permissions());
    if (!out.commit())
        throw MdxErrors::writeFailed(old.fileName(), out.errorString());
}

} // namespace data
