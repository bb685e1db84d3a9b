#include "data/MdxTag.h"

#include "data/MdxFile.h"

#include <QtEndian>

namespace data {

namespace {

// Tag table entries of dBase IV files name a tag in 11 bytes, those of
// dBase 7 files (version 3) in 33.
int nameLength(int version)
{
    return version == 3 ? 33 : 11;
}

QString textAt(const QByteArray& bytes, int at, int length)
{
    const QByteArray raw = bytes.mid(at, length);
    const qsizetype end = raw.indexOf('\0');
    return QString::fromLatin1(end < 0 ? raw : raw.left(end)).trimmed();
}

} // namespace

MdxTag MdxTag::read(const MdxFile& file, int slot)
{
    MdxTag tag;
    tag.slot = slot;
    tag.entry_ = file.tagEntry(slot);
    const int names = nameLength(file.version());
    tag.name = textAt(tag.entry_, 4, names);
    tag.headerBlock = qFromLittleEndian<quint32>(tag.entry_.constData());
    tag.page_ = file.readPage(tag.headerBlock);
    const QByteArray& p = tag.page_;
    tag.root = qFromLittleEndian<quint32>(p.constData());
    const quint8 format = quint8(p[8]);
    tag.keyType = p[9];
    tag.keyLength = qFromLittleEndian<quint16>(p.constData() + 12);
    tag.maxKeys = qFromLittleEndian<quint16>(p.constData() + 14);
    tag.entryLength = qFromLittleEndian<quint16>(p.constData() + 18);
    tag.descending = format & 0x08;
    tag.unique = (format & 0x60) || p[23] != 0;
    tag.expression = textAt(p, 24, 220);
    tag.hasFor = p[245] != 0;
    if (tag.keyLength < 1 || tag.keyLength > kMaxKeyLength || tag.entryLength < tag.keyLength + 4
        || tag.maxKeys < 2 || 8 + qint64(tag.maxKeys) * tag.entryLength > file.pageSize())
        file.damaged(QStringLiteral("tag %1 has keys of %2 bytes in entries of %3 bytes, %4 to a page")
                         .arg(tag.name).arg(tag.keyLength).arg(tag.entryLength).arg(tag.maxKeys));
    return tag;
}

MdxTag MdxTag::fresh(const QString& name, const QString& expression, char keyType, int keyLength, int pageSize)
{
    MdxTag tag;
    tag.name = name.left(10).toUpper();
    tag.expression = expression;
    tag.keyType = keyType;
    tag.keyLength = keyLength;
    tag.entryLength = (keyLength + 4 + 3) & ~3;
    tag.maxKeys = (pageSize - 8) / tag.entryLength;

    tag.entry_ = QByteArray(32, '\0');
    tag.entry_.replace(4, tag.name.size(), tag.name.toLatin1());
    tag.entry_[15] = char(0x10); // the key is a field
    tag.entry_[19] = char(0x02);
    tag.entry_[20] = keyType;

    tag.page_ = QByteArray(pageSize, '\0');
    QByteArray& p = tag.page_;
    p[8] = char(keyType == 'C' ? 0x10 : 0x00);
    p[9] = keyType;
    qToLittleEndian<quint16>(quint16(keyLength), p.data() + 12);
    qToLittleEndian<quint16>(quint16(tag.maxKeys), p.data() + 14);
    qToLittleEndian<quint16>(keyType == 'D' ? 1 : 0, p.data() + 16);
    qToLittleEndian<quint16>(quint16(tag.entryLength), p.data() + 18);
    qToLittleEndian<quint16>(2, p.data() + 20);
    const QByteArray text = expression.toLatin1().left(219);
    p.replace(24, text.size(), text);
    p[246] = 1; // a key expression is present
    return tag;
}

quint32 MdxTag::blocks() const
{
    return qFromLittleEndian<quint32>(page_.constData() + 4);
}

void MdxTag::setBlocks(quint32 blocks)
{
    qToLittleEndian<quint32>(blocks, page_.data() + 4);
}

QByteArray MdxTag::headerPage() const
{
    QByteArray page = page_;
    qToLittleEndian<quint32>(root, page.data());
    return page;
}

QByteArray MdxTag::tableEntry() const
{
    QByteArray entry = entry_;
    qToLittleEndian<quint32>(headerBlock, entry.data());
    return entry;
}

} // namespace data
