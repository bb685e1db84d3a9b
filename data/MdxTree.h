#pragma once

#include "data/MdxKey.h"
#include "data/MdxNode.h"

#include <functional>
#include <map>
#include <unordered_set>
#include <vector>

namespace data {

class MdxFile;
class MdxTag;

// The B-tree of one tag, read and changed page by page within one open
// MdxFile. Record numbers here are dBase's, from 1. Entries of equal keys
// follow one another in record number order, so that the entry of one
// record is found by a descent, however many records share its key.
// Changes stay in memory until flush(), which writes new pages first and
// the pages pointing to them after, so that every page on disk only ever
// points to pages already written.
class MdxTree {
public:
    using Visitor = std::function<void(const QByteArray& key, quint32 recno)>;

    MdxTree(MdxFile& file, MdxTag& tag);

    std::vector<quint32> walk();
    std::vector<quint32> find(const QByteArray& key);
    // False when the entry is there already.
    bool insert(const QByteArray& key, quint32 recno);
    // False when the entry is not there.
    bool remove(const QByteArray& key, quint32 recno);
    // Visits every entry in tree order, checking the whole structure: a page
    // outside the file, reached twice or at the wrong depth is damage. False
    // when entries (by key, then record number) or the keys of inner pages
    // are out of order.
    bool check(const Visitor& visit);
    void flush();

    static constexpr size_t kMaxDepth = 32;

private:
    struct Step {
        quint32 block;
        int index;
    };
    struct Span;

    MdxNode& node(quint32 block);
    MdxNode& newNode(bool leaf);
    void touch(quint32 block);
    void enter(quint32 block);
    void seek(const QByteArray& key);
    void seekEntry(const QByteArray& key, quint32 recno);
    bool before(const MdxEntry& entry, const QByteArray& key, quint32 recno) const;
    const MdxEntry* lastUnder(quint32 block);
    void seekEnd();
    void descendFirst(quint32 block);
    void settle();
    void next();
    bool atEnd() const { return path_.empty(); }
    const MdxEntry& current();
    bool scanTo(const QByteArray& key, quint32 recno);
    bool atEntry(const QByteArray& key, quint32 recno);
    void insertHere(const QByteArray& key, quint32 recno);
    void eraseHere();
    void fixMax(size_t level);
    void split(size_t level);
    void dropEmpty(size_t level);
    Span checkNode(quint32 block, size_t depth, const Visitor& visit);

    MdxFile& file_;
    MdxTag& tag_;
    MdxKey key_;
    std::map<quint32, MdxNode> nodes_;
    std::vector<Step> path_;
    std::vector<quint32> fresh_;   // pages made by this operation, in order
    std::vector<quint32> changed_; // pages read and changed, children before parents
    bool tagChanged_ = false;

    // check() state
    std::unordered_set<quint32> seen_;
    int leafDepth_ = -1;
    bool ordered_ = true;
    QByteArray lastKey_;
    quint32 lastRecno_ = 0;
};

} // namespace data
