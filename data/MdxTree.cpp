#include "data/MdxTree.h"

#include "data/MdxFile.h"
#include "data/MdxTag.h"

#include <algorithm>

namespace data {

struct MdxTree::Span {
    bool empty = true;
    QByteArray first;
    QByteArray last;
};

MdxTree::MdxTree(MdxFile& file, MdxTag& tag)
    : file_(file), tag_(tag), key_(tag.keyType, tag.keyLength, tag.descending)
{
}

MdxNode& MdxTree::node(quint32 block)
{
    auto it = nodes_.find(block);
    if (it == nodes_.end())
        it = nodes_.emplace(block, MdxNode::read(file_, tag_, block)).first;
    return it->second;
}

MdxNode& MdxTree::newNode(bool leaf)
{
    MdxNode n;
    n.block = file_.allocatePage();
    n.leaf = leaf;
    tag_.setBlocks(tag_.blocks() + quint32(file_.pageSize() / MdxFile::kBlock));
    tagChanged_ = true;
    fresh_.push_back(n.block);
    return nodes_.emplace(n.block, std::move(n)).first->second;
}

void MdxTree::touch(quint32 block)
{
    if (std::find(fresh_.begin(), fresh_.end(), block) == fresh_.end()
        && std::find(changed_.begin(), changed_.end(), block) == changed_.end())
        changed_.push_back(block);
}

// Every descent goes through here: a page that is its own ancestor, or a
// tree deeper than any real one, is damage, not an endless loop.
void MdxTree::enter(quint32 block)
{
    if (path_.size() >= kMaxDepth)
        file_.damaged(QStringLiteral("tag %1 is deeper than %2 pages").arg(tag_.name).arg(kMaxDepth));
    for (const Step& s : path_) {
        if (s.block == block)
            file_.damaged(QStringLiteral("tag %1 loops through page %2").arg(tag_.name).arg(block));
    }
    path_.push_back({block, 0});
}

// Leaves the cursor at the first entry not before `key`, or past the end of
// the leaf where that entry would be.
void MdxTree::seek(const QByteArray& key)
{
    path_.clear();
    quint32 block = tag_.root;
    for (;;) {
        enter(block);
        const MdxNode& n = node(block);
        const auto& e = n.entries;
        const auto end = n.leaf || e.empty() ? e.end() : e.end() - 1;
        const auto it = std::partition_point(e.begin(), end, [&](const MdxEntry& x) { return key_.compare(x.key, key) < 0; });
        path_.back().index = int(it - e.begin());
        if (n.leaf)
            return;
        block = it->pointer;
    }
}

bool MdxTree::before(const MdxEntry& entry, const QByteArray& key, quint32 recno) const
{
    const int order = key_.compare(entry.key, key);
    return order < 0 || (order == 0 && entry.pointer < recno);
}

// The last leaf entry under the page at `block`; none under an empty leaf,
// which TDbf can leave behind.
const MdxEntry* MdxTree::lastUnder(quint32 block)
{
    for (size_t depth = path_.size();; ++depth) {
        if (depth >= kMaxDepth)
            file_.damaged(QStringLiteral("tag %1 is deeper than %2 pages").arg(tag_.name).arg(kMaxDepth));
        const MdxNode& n = node(block);
        if (n.entries.empty())
            return nullptr;
        if (n.leaf)
            return &n.entries.back();
        block = n.entries.back().pointer;
    }
}

// Leaves the cursor at the first entry not before (`key`, `recno`). Inner
// keys tell the children that may hold `key`; of those whose inner key is
// `key` itself, the entry lies under the first whose last entry is not
// before it, which a look at that last entry tells.
void MdxTree::seekEntry(const QByteArray& key, quint32 recno)
{
    path_.clear();
    quint32 block = tag_.root;
    for (;;) {
        enter(block);
        const MdxNode& n = node(block);
        const auto& e = n.entries;
        if (n.leaf) {
            const auto it = std::partition_point(e.begin(), e.end(), [&](const MdxEntry& x) { return before(x, key, recno); });
            path_.back().index = int(it - e.begin());
            return;
        }
        const auto named = e.end() - 1;
        const auto low = std::partition_point(e.begin(), named, [&](const MdxEntry& x) { return key_.compare(x.key, key) < 0; });
        const auto high = std::partition_point(low, named, [&](const MdxEntry& x) { return key_.compare(x.key, key) <= 0; });
        const auto it = std::partition_point(low, high, [&](const MdxEntry& x) {
            const MdxEntry* last = lastUnder(x.pointer);
            return !last || before(*last, key, recno);
        });
        path_.back().index = int(it - e.begin());
        block = it->pointer;
    }
}

void MdxTree::seekEnd()
{
    path_.clear();
    quint32 block = tag_.root;
    for (;;) {
        enter(block);
        const MdxNode& n = node(block);
        path_.back().index = n.leaf ? int(n.entries.size()) : int(n.entries.size()) - 1;
        if (n.leaf)
            return;
        block = n.entries.back().pointer;
    }
}

void MdxTree::descendFirst(quint32 block)
{
    for (;;) {
        enter(block);
        const MdxNode& n = node(block);
        if (n.leaf)
            return;
        block = n.entries.front().pointer;
    }
}

// Moves a cursor standing past the end of a leaf to the first entry of the
// next leaf; past the last leaf the path is empty.
void MdxTree::settle()
{
    while (!path_.empty() && path_.back().index >= int(node(path_.back().block).entries.size())) {
        path_.pop_back();
        if (path_.empty())
            return;
        const int index = ++path_.back().index;
        const MdxNode& parent = node(path_.back().block);
        if (index < int(parent.entries.size()))
            descendFirst(parent.entries[size_t(index)].pointer);
    }
}

void MdxTree::next()
{
    ++path_.back().index;
    settle();
}

const MdxEntry& MdxTree::current()
{
    return node(path_.back().block).entries[size_t(path_.back().index)];
}

std::vector<quint32> MdxTree::walk()
{
    std::vector<quint32> out;
    path_.clear();
    descendFirst(tag_.root);
    settle();
    for (; !atEnd(); next())
        out.push_back(current().pointer);
    return out;
}

std::vector<quint32> MdxTree::find(const QByteArray& key)
{
    std::vector<quint32> out;
    seek(key);
    settle();
    for (; !atEnd() && key_.compare(current().key, key) == 0; next())
        out.push_back(current().pointer);
    return out;
}

// Walks the run of entries equal to `key`: true at the entry of `recno`,
// false past the run.
bool MdxTree::scanTo(const QByteArray& key, quint32 recno)
{
    seek(key);
    settle();
    for (; !atEnd() && key_.compare(current().key, key) == 0; next()) {
        if (current().pointer == recno)
            return true;
    }
    return false;
}

bool MdxTree::atEntry(const QByteArray& key, quint32 recno)
{
    const Step& s = path_.back();
    const MdxNode& leaf = node(s.block);
    return s.index < int(leaf.entries.size()) && leaf.entries[size_t(s.index)].pointer == recno
        && key_.compare(leaf.entries[size_t(s.index)].key, key) == 0;
}

bool MdxTree::insert(const QByteArray& key, quint32 recno)
{
    seekEntry(key, recno);
    if (atEntry(key, recno))
        return false;
    insertHere(key, recno);
    return true;
}

// Another program may have left equal keys out of record order: an entry
// not where the order puts it is looked for along all its key's entries.
bool MdxTree::remove(const QByteArray& key, quint32 recno)
{
    seekEntry(key, recno);
    if (!atEntry(key, recno) && !scanTo(key, recno))
        return false;
    eraseHere();
    return true;
}

void MdxTree::insertHere(const QByteArray& key, quint32 recno)
{
    const size_t level = path_.size() - 1;
    MdxNode& leaf = node(path_[level].block);
    const int at = path_[level].index;
    leaf.entries.insert(leaf.entries.begin() + at, MdxEntry{recno, key});
    touch(leaf.block);
    if (at == int(leaf.entries.size()) - 1)
        fixMax(level);
    if (leaf.entries.size() > size_t(tag_.maxKeys))
        split(level);
}

void MdxTree::eraseHere()
{
    const size_t level = path_.size() - 1;
    MdxNode& leaf = node(path_[level].block);
    const int at = path_[level].index;
    const bool last = at == int(leaf.entries.size()) - 1;
    leaf.entries.erase(leaf.entries.begin() + at);
    touch(leaf.block);
    if (leaf.entries.empty())
        dropEmpty(level);
    else if (last)
        fixMax(level);
}

// The page at `level` has a new last key: the entries above that name it
// take that key, as far up as it is the last key there too.
void MdxTree::fixMax(size_t level)
{
    for (size_t l = level; l > 0; --l) {
        const MdxNode& child = node(path_[l].block);
        if (child.entries.empty())
            return;
        MdxNode& parent = node(path_[l - 1].block);
        const int at = path_[l - 1].index;
        MdxEntry& e = parent.entries[size_t(at)];
        if (e.key == child.entries.back().key)
            return;
        e.key = child.entries.back().key;
        touch(parent.block);
        if (at != int(parent.entries.size()) - 1)
            return;
    }
}

// The page at `level` holds one entry too many: its second half moves to a
// new page on its right, and its parent (or a new root) names both halves.
void MdxTree::split(size_t level)
{
    MdxNode& left = node(path_[level].block);
    const size_t keep = left.entries.size() / 2;
    MdxNode& right = newNode(left.leaf);
    right.entries.assign(std::make_move_iterator(left.entries.begin() + qsizetype(keep)),
                         std::make_move_iterator(left.entries.end()));
    left.entries.resize(keep);
    touch(left.block);
    const MdxEntry named{left.block, left.entries.back().key};
    if (level == 0) {
        MdxNode& root = newNode(false);
        root.entries = {named, MdxEntry{right.block, right.entries.back().key}};
        tag_.root = root.block;
        return;
    }
    MdxNode& parent = node(path_[level - 1].block);
    const int at = path_[level - 1].index;
    parent.entries[size_t(at)].pointer = right.block;
    parent.entries.insert(parent.entries.begin() + at, named);
    touch(parent.block);
    if (parent.entries.size() > size_t(tag_.maxKeys))
        split(level - 1);
}

// The page at `level` lost its last entry: it leaves its parent, and a
// parent left without children leaves its own. An empty root is a leaf.
void MdxTree::dropEmpty(size_t level)
{
    for (size_t l = level; l > 0; --l) {
        MdxNode& parent = node(path_[l - 1].block);
        const int at = path_[l - 1].index;
        const bool last = at == int(parent.entries.size()) - 1;
        parent.entries.erase(parent.entries.begin() + at);
        touch(parent.block);
        if (!parent.entries.empty()) {
            if (last)
                fixMax(l - 1);
            return;
        }
    }
    MdxNode& root = node(path_.front().block);
    root.leaf = true;
    touch(root.block);
}

void MdxTree::flush()
{
    for (quint32 block : fresh_)
        file_.writePage(block, nodes_.at(block).page(tag_, file_.pageSize()));
    for (quint32 block : changed_)
        file_.writePage(block, nodes_.at(block).page(tag_, file_.pageSize()));
    if (tagChanged_)
        file_.writePage(tag_.headerBlock, tag_.headerPage());
    fresh_.clear();
    changed_.clear();
    tagChanged_ = false;
}

bool MdxTree::check(const Visitor& visit)
{
    seen_.clear();
    leafDepth_ = -1;
    ordered_ = true;
    lastKey_.clear();
    checkNode(tag_.root, 0, visit);
    return ordered_;
}

MdxTree::Span MdxTree::checkNode(quint32 block, size_t depth, const Visitor& visit)
{
    if (depth >= kMaxDepth)
        file_.damaged(QStringLiteral("tag %1 is deeper than %2 pages").arg(tag_.name).arg(kMaxDepth));
    if (!seen_.insert(block).second)
        file_.damaged(QStringLiteral("page %1 of tag %2 is reached twice").arg(block).arg(tag_.name));
    const MdxNode n = MdxNode::read(file_, tag_, block);
    Span span;
    if (n.entries.empty() && depth > 0)
        ordered_ = false;
    if (n.leaf) {
        if (leafDepth_ >= 0 && leafDepth_ != int(depth))
            file_.damaged(QStringLiteral("the leaves of tag %1 lie at different depths").arg(tag_.name));
        leafDepth_ = int(depth);
        for (const MdxEntry& e : n.entries) {
            if (!lastKey_.isNull() && !before(MdxEntry{lastRecno_, lastKey_}, e.key, e.pointer))
                ordered_ = false;
            lastKey_ = e.key;
            lastRecno_ = e.pointer;
            if (visit)
                visit(e.key, e.pointer);
        }
        if (!n.entries.empty())
            span = {false, n.entries.front().key, n.entries.back().key};
        return span;
    }
    // A reader goes down to the first child whose inner key is not before
    // the key it looks for: so an inner key may not come before any key of
    // its child, nor after any key of the next one. The last child's inner
    // key is never looked at.
    const QByteArray* bound = nullptr;
    for (size_t i = 0; i < n.entries.size(); ++i) {
        const Span child = checkNode(n.entries[i].pointer, depth + 1, visit);
        if (!child.empty && bound && key_.compare(*bound, child.first) > 0)
            ordered_ = false;
        if (i + 1 < n.entries.size()) {
            bound = &n.entries[i].key;
            if (!child.empty && key_.compare(*bound, child.last) < 0)
                ordered_ = false;
        }
        if (child.empty)
            continue;
        if (span.empty)
            span.first = child.first;
        span.last = child.last;
        span.empty = false;
    }
    return span;
}

} // namespace data
