#pragma once

#include <QString>

#include <utility>

namespace data {

// An open file descriptor with positioned reads and writes. Reads and writes
// never move a shared file offset, so several readers of one descriptor do not
// disturb each other. Failures are data::Failure naming `name`.
class FileHandle {
public:
    // Opens `path` read/write when the file allows it, read-only otherwise.
    // A missing file and other open failures throw.
    FileHandle(const QString& path, const QString& name);
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool writable() const { return writable_; }
    int descriptor() const { return fd_; }
    // Device and inode: the same file however it was named.
    std::pair<quint64, quint64> identity() const;
    qint64 size() const;

    // Reads up to `size` bytes at `offset`; fewer only at the end of the file.
    qint64 read(qint64 offset, char* buffer, qint64 size) const;
    // Writes all `size` bytes at `offset`, in order, or throws.
    void write(qint64 offset, const char* buffer, qint64 size);
    // Data written so far reaches the disk before anything written later.
    void barrier();

private:
    QString name_;
    int fd_ = -1;
    bool writable_ = false;
};

} // namespace data
