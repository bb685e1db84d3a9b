#pragma once

#include <QByteArray>
#include <QString>

namespace data {

class MdxFile;

// One tag of an index: its entry in the file's tag table and its header
// page (key type, length and expression, root page). Checked when read, so
// that a page of this tag can be laid out without reading past it.
class MdxTag {
public:
    static constexpr int kMaxKeyLength = 100;

    // Reads tag `slot` of `file`.
    static MdxTag read(const MdxFile& file, int slot);
    // A new tag over a plain field, as dBase IV lays it out in pages of
    // `pageSize` bytes.
    static MdxTag fresh(const QString& name, const QString& expression, char keyType, int keyLength, int pageSize);

    int slot = 0;
    QString name;
    QString expression;
    char keyType = 'C';
    int keyLength = 0;
    int entryLength = 0; // bytes of one entry: record or page number, then the key
    int maxKeys = 0;     // entries a page holds
    bool descending = false;
    bool unique = false;
    bool hasFor = false;
    quint32 headerBlock = 0;
    quint32 root = 0;

    // The blocks this tag took from the file, as dBase counts them.
    quint32 blocks() const;
    void setBlocks(quint32 blocks);
    // The header page with the current root and block count.
    QByteArray headerPage() const;
    // The tag table entry pointing at `headerBlock`.
    QByteArray tableEntry() const;

private:
    QByteArray entry_;
    QByteArray page_;
};

} // namespace data
