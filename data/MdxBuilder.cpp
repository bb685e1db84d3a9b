#include "data/MdxBuilder.h"

#include "data/MdxFile.h"

#include <QDate>
#include <QtEndian>

namespace data {

namespace {

void putDate(QByteArray& header, int at, QDate date)
{
    if (!date.isValid())
        date = QDate::currentDate();
    header[at] = char(date.year() - 1900);
    header[at + 1] = char(date.month());
    header[at + 2] = char(date.day());
}

quint32 nextBlock(const QByteArray& file)
{
    return quint32(file.size() / MdxFile::kBlock);
}

// Splits `count` items into as few groups of at most `most` as will do,
// their sizes differing by one at most.
std::vector<size_t> shares(size_t count, size_t most)
{
    const size_t groups = std::max<size_t>(1, (count + most - 1) / most);
    std::vector<size_t> out(groups, count / groups);
    for (size_t i = 0; i < count % groups; ++i)
        ++out[i];
    return out;
}

} // namespace

QByteArray MdxBuilder::freshHeader(const QString& tableName, quint8 languageDriver, QDate created)
{
    QByteArray header(MdxFile::kHeaderSize, '\0');
    header[0] = 2; // dBase IV
    putDate(header, 1, created);
    const QByteArray name = tableName.toLatin1().left(15);
    header.replace(4, name.size(), name);
    qToLittleEndian<quint16>(2, header.data() + 20);    // blocks to a page
    qToLittleEndian<quint16>(1024, header.data() + 22); // bytes to a page
    header[24] = 1;                                     // a production index
    header[25] = 48;                                    // tag table entries
    header[26] = 32;                                    // bytes of one entry
    header[31] = char(languageDriver);
    header[529] = 1;
    return header;
}

QByteArray MdxBuilder::build(QByteArray header, std::vector<Content> tags, int pageSize, QDate updated)
{
    QByteArray file = header;
    qToLittleEndian<quint16>(quint16(tags.size()), file.data() + 28);
    for (size_t slot = 0; slot < tags.size(); ++slot) {
        MdxTag& tag = tags[slot].tag;
        tag.headerBlock = nextBlock(file);
        file.append(QByteArray(pageSize, '\0'));
        tag.root = appendTree(file, tag, std::move(tags[slot].entries), pageSize);
        tag.setBlocks(nextBlock(file) - tag.headerBlock);
        file.replace(qsizetype(tag.headerBlock) * MdxFile::kBlock, pageSize, tag.headerPage());
        const QByteArray entry = tag.tableEntry();
        file.replace(MdxFile::kTagTable + qsizetype(slot) * entry.size(), entry.size(), entry);
    }
    qToLittleEndian<quint32>(nextBlock(file), file.data() + 32);
    qToLittleEndian<quint32>(0, file.data() + 36); // no free pages
    qToLittleEndian<quint32>(0, file.data() + 40);
    putDate(file, 44, updated);
    return file;
}

// Appends the pages of one tree, leaves first; returns its root.
quint32 MdxBuilder::appendTree(QByteArray& file, const MdxTag& tag, std::vector<MdxEntry> entries, int pageSize)
{
    bool leaves = true;
    for (;;) {
        std::vector<MdxEntry> above;
        size_t at = 0;
        for (size_t share : shares(entries.size(), size_t(tag.maxKeys))) {
            MdxNode node;
            node.block = nextBlock(file);
            node.leaf = leaves;
            node.entries.assign(std::make_move_iterator(entries.begin() + qsizetype(at)),
                                std::make_move_iterator(entries.begin() + qsizetype(at + share)));
            at += share;
            file.append(node.page(tag, pageSize));
            above.push_back({node.block, node.entries.empty() ? QByteArray(tag.keyLength, '\0') : node.entries.back().key});
        }
        if (above.size() == 1)
            return above.front().pointer;
        entries = std::move(above);
        leaves = false;
    }
}

} // namespace data
