#include "texts/PageFile.h"

#include "data/FileLookup.h"
#include "texts/InOutError.h"
#include "texts/PageLines.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace texts {

namespace {
constexpr size_t chunk = 64 * 1024;
} // namespace

void PageFile::load(const QString& name, const LinesSink& appendLines)
{
    const QString path = data::resolveFileName(name);
    if (!isPage(path))
        return;
    const QByteArray native = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    int fd;
    // Not blocking: a pipe named like a page must not hang the window.
    do
        fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw InOutError::failure(errno);

    const Read read = readText([fd](char* buffer, size_t size) { return ::read(fd, buffer, size); });
    // On Linux a close that reports EINTR has still released the file.
    const int closeError = ::close(fd) == 0 || errno == EINTR ? 0 : errno;

    hand(read, appendLines);
    if (read.error != 0)
        throw InOutError::failure(read.error);
    if (closeError != 0)
        throw InOutError::failure(closeError);
}

bool PageFile::isPage(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

PageFile::Read PageFile::readText(const ReadSome& readSome)
{
    Read read;
    for (;;) {
        const qsizetype had = read.bytes.size();
        if (read.bytes.capacity() < had + qsizetype(chunk))
            read.bytes.reserve(std::max(2 * read.bytes.capacity(), had + qsizetype(chunk)));
        read.bytes.resize(had + qsizetype(chunk));
        const ssize_t got = readSome(read.bytes.data() + had, chunk);
        const int error = got < 0 ? errno : 0;
        read.bytes.resize(had + std::max<qsizetype>(got, 0));
        if (error == EINTR)
            continue;
        if (error != 0) {
            read.error = error;
            return read;
        }
        if (got == 0 || PageLines::textEnds(QByteArrayView(read.bytes).sliced(had)))
            return read;
    }
}

void PageFile::hand(const Read& read, const LinesSink& appendLines)
{
    const auto stop = read.error != 0 ? PageLines::Stop::ReadFailed : PageLines::Stop::EndOfFile;
    QStringList lines;
    for (const QByteArray& line : PageLines::split(read.bytes, stop))
        lines << PageLines::shown(line);
    if (!lines.isEmpty())
        appendLines(lines);
}

} // namespace texts
