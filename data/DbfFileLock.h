#pragma once

#include <QString>

#include <utility>

namespace data {

class DbfFile;

// One data set's record lock on a table file, as dBase engines take it
// while a row is edited: one byte at 0xEFFFFFFE - n for record n (dBase
// numbering), an open-file-description lock on a descriptor of this
// object's own, so it excludes other programs and the other data sets of
// this program alike. Record numbers are 0-based here. Closing the
// descriptor (this object going, the program ending or dying) drops it.
class DbfFileLock {
public:
    // Opens the table's file once more for writing; a file that is no
    // longer the one `file` reads is refused.
    explicit DbfFileLock(const DbfFile& file);
    ~DbfFileLock();
    DbfFileLock(const DbfFileLock&) = delete;
    DbfFileLock& operator=(const DbfFileLock&) = delete;

    // Locks record `recno` without waiting, after dropping any other record
    // this object held. A lock held elsewhere fails with
    // "Record locked by another user."
    void lock(quint32 recno);
    // Drops the record lock, if any.
    void unlock();
    // The locked record, -1 for none.
    qint64 held() const { return held_; }

    // Byte offsets of the locks, as dBase engines place them.
    static constexpr qint64 kHeaderOffset = 0xEFFFFFFE;
    static constexpr qint64 recordOffset(quint32 recno) { return kHeaderOffset - 1 - qint64(recno); }
    // Sets (F_WRLCK) or drops (F_UNLCK) the one-byte lock at `offset` on
    // `fd`, without waiting. False when another description holds it; any
    // other refusal of the system throws, naming `name`.
    static bool setLock(int fd, qint64 offset, short type, const QString& name);

private:
    QString name_;
    int fd_ = -1;
    qint64 held_ = -1;
};

} // namespace data
