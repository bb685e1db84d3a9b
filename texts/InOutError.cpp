#include "texts/InOutError.h"

#include <cerrno>

namespace texts {

namespace {
// Windows error codes that a Linux failure of a file call stands for.
enum WinError {
    FileNotFound = 2,
    PathNotFound = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidHandle = 6,
    NotEnoughMemory = 8,
    NotReady = 21,
    SharingViolation = 32,
    NetNameDeleted = 64,
    InvalidParameter = 87,
    OperationAborted = 995,
    IoDevice = 1117,
};
} // namespace

int InOutError::codeOf(int posixErrno)
{
    switch (posixErrno) {
    case ENOENT:
        return FileNotFound; // gone between the look-up and the open
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return PathNotFound; // the name cannot reach a file
    case EMFILE:
    case ENFILE:
        return TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return AccessDenied;
    case EBADF:
        return InvalidHandle;
    case ENOMEM:
        return NotEnoughMemory;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return NotReady; // a device node or a medium that is not there
    case EAGAIN:
    case EBUSY:
    case ETXTBSY:
        return SharingViolation; // someone else holds the file
    case ESTALE:
    case ECONNRESET:
    case ENOTCONN:
    case EHOSTDOWN:
        return NetNameDeleted; // the share went away under the read
    case EINVAL:
        return InvalidParameter;
    case EINTR:
        return OperationAborted;
    case EIO:
        return IoDevice;
    default:
        // Anything else keeps its Linux number, which a person on this
        // system can look up. The errno values below 6 that file calls can
        // give are all mapped above, so a worded message is always true.
        return posixErrno;
    }
}

QString InOutError::message(int code)
{
    switch (code) {
    case FileNotFound:
        return QStringLiteral("File not found");
    case PathNotFound:
        return QStringLiteral("Invalid filename");
    case TooManyOpenFiles:
        return QStringLiteral("Too many open files");
    case AccessDenied:
        return QStringLiteral("File access denied");
    default:
        return QStringLiteral("I/O error %1").arg(code);
    }
}

data::Failure InOutError::failure(int posixErrno)
{
    return data::Failure(QString::fromLatin1(data::Failure::InOut), message(codeOf(posixErrno)));
}

} // namespace texts
