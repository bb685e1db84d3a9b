#pragma once

#include <QByteArray>
#include <QString>

namespace data {

// One open .mdx file for the length of one operation: opened, locked (shared
// to read, exclusive to write) and its header read and checked. Every read
// is kept inside the file; anything that does not fit is a failure naming
// the file. Positions are in 512-byte blocks, as the format counts them.
class MdxFile {
public:
    enum class Mode { Read, Write };

    static constexpr int kBlock = 512;
    static constexpr int kHeaderSize = 2048; // file header and tag table
    static constexpr int kTagTable = 544;

    MdxFile(const QString& path, Mode mode);
    ~MdxFile();
    MdxFile(const MdxFile&) = delete;
    MdxFile& operator=(const MdxFile&) = delete;

    const QString& path() const { return path_; }
    int pageSize() const { return pageSize_; }
    int version() const { return quint8(header_[0]); }
    int tagCount() const;
    // The tag table entry of tag `slot`.
    QByteArray tagEntry(int slot) const;
    void setTagEntry(int slot, const QByteArray& entry);
    const QByteArray& header() const { return header_; }

    // The page at `block`; a page that does not lie wholly inside the file
    // or starts in the header is damage.
    QByteArray readPage(quint32 block) const;
    void writePage(quint32 block, const QByteArray& page);
    // A block number for a new page past everything the file holds.
    quint32 allocatePage();
    // True when the header's page count covers the whole file: other
    // programs put new pages where that count ends.
    bool countsEveryPage() const;
    // Writes the file header when allocatePage() changed it.
    void flushHeader();
    // Writes a whole file at once (a new file renamed over any old one, which
    // lends the new one its permissions), so that a crash leaves either the
    // old index or the new one. An operation holding the old file's lock
    // keeps it until its end; those waiting for it then open the new file.
    static void save(const QString& path, const QByteArray& content);

    // The file's name, as messages give it.
    QString name() const;
    [[noreturn]] void damaged(const QString& detail) const;

private:
    void openLocked(Mode mode);
    bool lock(Mode mode);
    bool stillAtPath() const;
    void readHeader();
    void readAt(qint64 offset, char* out, qint64 size) const;
    void writeAt(qint64 offset, const char* bytes, qint64 size);

    QString path_;
    int fd_ = -1;
    qint64 size_ = 0;
    QByteArray header_;
    int pageSize_ = 1024;
    int tagSize_ = 32;
    bool headerChanged_ = false;
};

} // namespace data
