#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace data {

struct DbfField;

// A dBase IV production index (.mdx) beside its table. Record numbers are
// 0-based, as in DbfFile. Every failure is a data::Failure naming the file.
//
// The object keeps no file open: every call opens the index, takes a lock
// on it (shared to read, exclusive to write) and reads what it needs, so it
// sees what other data sets and other programs wrote in the meantime.
//
// What the table's owner calls:
//   - after open(), when the table can be written: repair() with a reader
//     over the table's records (a post that stopped between the table and
//     the index, or another program that wrote the table without its index,
//     is mended there, before anyone reads through the index);
//   - before a write: writeRefusal(), and no write when it is not empty;
//   - after each record written (append, change, delete flag):
//     recordChanged().
class MdxIndex {
public:
    struct Tag {
        QString name;
        QString expression; // as stored, e.g. "C_OZN"
        char keyType = 'C'; // 'C' character, 'N' numeric (12-byte BCD), 'D' date
        int keyLength = 0;
        int field = -1;     // table field the expression names, -1 when it is more than a field name
    };

    // Returns each raw record of the table in record order (deleted ones
    // too), then nullptr. DbfFile::Scanner::next() is one.
    using RecordReader = std::function<const char*()>;

    // Opens the index at `path` for the table whose fields are `fields`.
    // Checks the whole structure of every tag; a damaged file throws. With
    // `mendable` (the owner can write the table and calls repair() next) a
    // damaged tree is left to repair(), which rebuilds it from the records:
    // only a damaged header or tag table, which name what to build, throws.
    static std::unique_ptr<MdxIndex> open(const QString& path, const std::vector<DbfField>& fields,
                                          bool mendable = false);

    // Writes a new production index at `path` with one tag per field name in
    // `tagFields`, filled from `records` (raw records of the table, in order).
    // `languageDriver` is the table's header byte 29 (0: none); `made` the
    // file's dates (today when null; a fixed one lets a tool make the same
    // file again byte for byte).
    static void create(const QString& path, const std::vector<DbfField>& fields,
                       const QStringList& tagFields, const std::vector<QByteArray>& records,
                       quint8 languageDriver = 0, QDate made = {});

    ~MdxIndex();
    MdxIndex(const MdxIndex&) = delete;
    MdxIndex& operator=(const MdxIndex&) = delete;

    const QString& path() const;
    const std::vector<Tag>& tags() const;
    // The tag whose expression is exactly the field `fieldName` (case ignored), or -1.
    int tagForField(const QString& fieldName) const;

    // Record numbers whose key in `tag` equals `key`, in index order.
    // Text keys compare with the field's trailing blanks; numbers may come
    // as int, double or text; dates as QDate.
    std::vector<quint32> find(int tag, const QVariant& key) const;
    // Every record number of `tag` in key order.
    std::vector<quint32> walk(int tag) const;

    // Null when every tag can be kept valid, else the message that refuses writes
    // (it names the tag and its expression).
    QString writeRefusal() const;

    // Keeps every tag valid after the table changed record `recno`:
    // `before` is the record as it was (nullptr for an append), `after` as it is now.
    // A deleted record keeps its key, as in dBase. Repeating a call changes nothing.
    void recordChanged(quint32 recno, const char* before, const char* after);

    // Compares every tag with the table's records (one key per record, in
    // key order, nothing else) and rebuilds the whole index when any
    // disagrees or its tree is damaged. Returns true when it rebuilt. Does nothing when writes are
    // refused (writeRefusal()): such an index cannot be checked either.
    bool repair(const RecordReader& records);

private:
    struct Impl;
    explicit MdxIndex(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace data
