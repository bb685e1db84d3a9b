#include "data/DbfFileLock.h"

#include "data/DbfErrors.h"
#include "data/DbfFile.h"
#include "data/Failure.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace data {

namespace {

Failure recordLocked(const QString& file)
{
    return Failure(Failure::Engine, QStringLiteral("Record locked by another user.\nFile: ") + file);
}

Failure replaced(const QString& file)
{
    return Failure(Failure::Engine, QStringLiteral("The table was replaced by another program.\nFile: ") + file);
}

} // namespace

bool DbfFileLock::setLock(int fd, qint64 offset, short type, const QString& name)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = 1;
    for (;;) {
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EACCES)
            return false;
        throw DbfErrors::cannotOpen(name, errno);
    }
}

DbfFileLock::DbfFileLock(const DbfFile& file) : name_(file.fileName())
{
    fd_ = ::open(QFile::encodeName(file.path()).constData(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0)
        throw DbfErrors::cannotOpen(name_, errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || std::pair<quint64, quint64>(st.st_dev, st.st_ino) != file.identity()) {
        ::close(fd_);
        throw replaced(name_);
    }
}

DbfFileLock::~DbfFileLock()
{
    ::close(fd_);
}

void DbfFileLock::lock(quint32 recno)
{
    if (held_ == qint64(recno))
        return;
    unlock();
    if (!setLock(fd_, recordOffset(recno), F_WRLCK, name_))
        throw recordLocked(name_);
    held_ = recno;
}

void DbfFileLock::unlock()
{
    if (held_ < 0)
        return;
    setLock(fd_, recordOffset(quint32(held_)), F_UNLCK, name_);
    held_ = -1;
}

} // namespace data
