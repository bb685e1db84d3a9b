#include "data/MdxNode.h"

#include "data/MdxFile.h"
#include "data/MdxTag.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace data {

namespace {

quint32 pointerAt(const QByteArray& page, const MdxTag& tag, int index)
{
    return qFromLittleEndian<quint32>(page.constData() + 8 + index * tag.entryLength);
}

} // namespace

MdxNode MdxNode::read(const MdxFile& file, const MdxTag& tag, quint32 block)
{
    const QByteArray page = file.readPage(block);
    const quint32 count = qFromLittleEndian<quint32>(page.constData());
    if (count > quint32(tag.maxKeys))
        file.damaged(QStringLiteral("page %1 of tag %2 counts %3 keys").arg(block).arg(tag.name).arg(count));
    MdxNode node;
    node.block = block;
    const int n = int(count);
    node.leaf = n == tag.maxKeys || pointerAt(page, tag, n) == 0;
    const int entries = node.leaf ? n : n + 1;
    node.entries.reserve(size_t(entries));
    for (int i = 0; i < entries; ++i) {
        MdxEntry e;
        e.pointer = pointerAt(page, tag, i);
        e.key = page.mid(8 + i * tag.entryLength + 4, tag.keyLength);
        if (e.pointer == 0)
            file.damaged(QStringLiteral("page %1 of tag %2 points to nothing").arg(block).arg(tag.name));
        node.entries.push_back(std::move(e));
    }
    return node;
}

QByteArray MdxNode::page(const MdxTag& tag, int pageSize) const
{
    QByteArray page(pageSize, '\0');
    const quint32 count = quint32(leaf ? entries.size() : entries.size() - 1);
    qToLittleEndian<quint32>(count, page.data());
    for (size_t i = 0; i < entries.size(); ++i) {
        char* at = page.data() + 8 + qsizetype(i) * tag.entryLength;
        qToLittleEndian<quint32>(entries[i].pointer, at);
        std::memcpy(at + 4, entries[i].key.constData(), size_t(std::min<qsizetype>(entries[i].key.size(), tag.keyLength)));
    }
    return page;
}

} // namespace data
