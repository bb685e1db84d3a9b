#pragma once

#include "data/MdxNode.h"
#include "data/MdxTag.h"

#include <QByteArray>
#include <QDate>

#include <vector>

namespace data {

// Lays out a whole index file at once: the file header, then for each tag
// its header page and its B-tree, filled bottom-up from keys already in tag
// order, every page as full as an even share of the keys makes it.
class MdxBuilder {
public:
    struct Content {
        MdxTag tag;
        std::vector<MdxEntry> entries; // leaf entries in tag order
    };

    // A dBase IV file header for the table `tableName` with room for 48 tags,
    // made on `created` (today when null).
    static QByteArray freshHeader(const QString& tableName, quint8 languageDriver, QDate created = {});
    // The file: `header` (2048 bytes) with its tag table and page count
    // filled in, followed by the tags; `updated` (today when null) is its
    // date of last change.
    static QByteArray build(QByteArray header, std::vector<Content> tags, int pageSize, QDate updated = {});

private:
    static quint32 appendTree(QByteArray& file, const MdxTag& tag, std::vector<MdxEntry> entries, int pageSize);
};

} // namespace data
