#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace data {

struct DbfField;

// A dBase IV production index (.mdx) beside its table. Record numbers are
// 0-based, as in DbfFile. Every failure is a data::Failure naming the file.
class MdxIndex {
public:
    struct Tag {
        QString name;
        QString expression; // as stored, e.g. "C_OZN"
        char keyType = 'C'; // 'C' character, 'N' numeric (12-byte BCD), 'D' date
        int keyLength = 0;
        int field = -1;     // table field the expression names, -1 when it is more than a field name
    };

    // Opens the index at `path` for the table whose fields are `fields`.
    static std::unique_ptr<MdxIndex> open(const QString& path, const std::vector<DbfField>& fields);

    // Writes a new production index at `path` with one tag per field name in
    // `tagFields`, filled from `records` (raw records of the table, in order).
    static void create(const QString& path, const std::vector<DbfField>& fields,
                       const QStringList& tagFields, const std::vector<QByteArray>& records);

    ~MdxIndex();
    MdxIndex(const MdxIndex&) = delete;
    MdxIndex& operator=(const MdxIndex&) = delete;

    const QString& path() const;
    const std::vector<Tag>& tags() const;
    // The tag whose expression is exactly the field `fieldName` (case ignored), or -1.
    int tagForField(const QString& fieldName) const;

    // Record numbers whose key in `tag` equals `key`, in index order.
    std::vector<quint32> find(int tag, const QVariant& key) const;
    // Every record number of `tag` in key order.
    std::vector<quint32> walk(int tag) const;

    // Null when every tag can be kept valid, else the message that refuses writes
    // (it names the tag and its expression).
    QString writeRefusal() const;

    // Keeps every tag valid after the table changed record `recno`:
    // `before` is the record as it was (nullptr for an append), `after` as it is now.
    void recordChanged(quint32 recno, const char* before, const char* after);

private:
    struct Impl;
    explicit MdxIndex(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace data
