#pragma once

#include <QByteArray>

#include <vector>

namespace data {

class MdxFile;
class MdxTag;

// One entry of a page: in a leaf a record number (from 1) and its key; in an
// inner page a child page and the last key under it.
struct MdxEntry {
    quint32 pointer = 0;
    QByteArray key;
};

// One page of a tag's B-tree, unpacked. An inner page stores one entry per
// child; its page count says one less, the last child taking the keys past
// every other (dBase's "right pointer"). A page is inner when the slot after
// its counted entries holds a page number, as TDbf and Perl XBase read it.
class MdxNode {
public:
    quint32 block = 0;
    bool leaf = true;
    std::vector<MdxEntry> entries;

    // Unpacks the page at `block`; counts, record numbers and child pages
    // that cannot be are damage.
    static MdxNode read(const MdxFile& file, const MdxTag& tag, quint32 block);
    QByteArray page(const MdxTag& tag, int pageSize) const;
};

} // namespace data
