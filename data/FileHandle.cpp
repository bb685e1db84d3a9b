#include "data/FileHandle.h"

#include "data/DbfErrors.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace data {

namespace {

struct stat statOf(int fd, const QString& name)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw DbfErrors::readFailed(name, errno);
    return st;
}

} // namespace

FileHandle::FileHandle(const QString& path, const QString& name) : name_(name)
{
    const QByteArray native = QFile::encodeName(path);
    fd_ = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    writable_ = fd_ >= 0;
    if (fd_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd_ = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw DbfErrors::missing(name_);
        if (errno == EISDIR)
            throw DbfErrors::notAFile(name_);
        throw DbfErrors::cannotOpen(name_, errno);
    }
    if (!S_ISREG(statOf(fd_, name_).st_mode)) {
        ::close(fd_);
        throw DbfErrors::notAFile(name_);
    }
}

FileHandle::~FileHandle()
{
    ::close(fd_);
}

std::pair<quint64, quint64> FileHandle::identity() const
{
    const struct stat st = statOf(fd_, name_);
    return {quint64(st.st_dev), quint64(st.st_ino)};
}

qint64 FileHandle::size() const
{
    return qint64(statOf(fd_, name_).st_size);
}

qint64 FileHandle::read(qint64 offset, char* buffer, qint64 size) const
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, buffer + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw DbfErrors::readFailed(name_, errno);
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

void FileHandle::write(qint64 offset, const char* buffer, qint64 size)
{
    if (!writable_)
        throw DbfErrors::readOnly(name_);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd_, buffer + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw DbfErrors::writeFailed(name_, n < 0 ? errno : EIO);
        done += n;
    }
}

void FileHandle::barrier()
{
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
        throw DbfErrors::writeFailed(name_, errno);
}

} // namespace data
