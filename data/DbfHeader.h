#pragma once

#include "data/DbfField.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>

#include <vector>

namespace data {

// The header of a table file: the fixed part and the field descriptors, as
// dBase III/IV (32-byte descriptors) or dBase 7 (68-byte fixed part with the
// language-driver name, 48-byte descriptors) lay them out. Parsing checks
// every length against the bytes it has, so a damaged header is a failure,
// never a read outside the buffer.
class DbfHeader {
public:
    enum class Layout { DBase3, DBase7 };

    static constexpr int kDateOffset = 1;
    static constexpr int kCountOffset = 4;
    static constexpr int kLengthsEnd = 12;   // version, date, count, header and record lengths
    static constexpr int kIndexFlagOffset = 28;
    static constexpr int kMaxPrefix = 68;    // the longest fixed part (dBase 7)
    static constexpr char kFieldEnd = 0x0D;
    static constexpr char kFileEnd = 0x1A;

    quint8 version = 0x03;
    Layout layout = Layout::DBase3;
    quint32 storedCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    quint8 indexFlag = 0;
    quint8 languageDriver = 0;
    std::vector<DbfField> fields;

    // The fixed part from the first bytes of a file of `fileSize` bytes
    // (`size` of them at hand, at most kMaxPrefix). `file` names it in messages.
    static DbfHeader parsePrefix(const char* bytes, qsizetype size, qint64 fileSize, const QString& file);
    // The field descriptors, from the whole header (headerLength bytes).
    void parseFields(const QByteArray& header, const QString& file);

    int prefixSize() const { return layout == Layout::DBase7 ? 68 : 32; }
    int descriptorSize() const { return layout == Layout::DBase7 ? 48 : 32; }

    // The records that exist in a file of `fileSize` bytes whose header
    // holds `stored` as its count.
    quint32 committedCount(quint32 stored, qint64 fileSize) const;

    // A new header for `fields` (their offsets and kinds are filled in),
    // followed by the end-of-file byte. `indexed` names the fields with a tag
    // in the production index; any makes byte 28 set.
    static QByteArray build(std::vector<DbfField>& fields, quint8 version, quint8 languageDriver,
                            const QStringList& indexed, QDate today, const QString& file);

    static void putDate(char* three, QDate date);
    static quint32 readLe32(const char* p);
    static int readLe16(const char* p);
};

} // namespace data
