#include "data/MdxIndex.h"

#include "data/DbfFile.h"
#include "data/MdxBuilder.h"
#include "data/MdxErrors.h"
#include "data/MdxFile.h"
#include "data/MdxKey.h"
#include "data/MdxTag.h"
#include "data/MdxTree.h"

#include <QFileInfo>

#include <algorithm>

namespace data {

namespace {

// dBase IV's pages, and the tags its file header has room for.
constexpr int kPageSize = 1024;
constexpr size_t kMaxTags = 47;

int fieldNamed(const std::vector<DbfField>& fields, const QString& name)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool isNumber(char type)
{
    return type == 'N' || type == 'F';
}

// The key type and length a tag over `field` has, or type 0 when dBase
// cannot index such a field.
std::pair<char, int> keyFor(const DbfField& field)
{
    if (field.type == 'C' && field.width <= MdxTag::kMaxKeyLength)
        return {'C', field.width};
    if (isNumber(field.type))
        return {'N', 12};
    if (field.type == 'D')
        return {'D', 8};
    return {0, 0};
}

MdxKey keyOf(const MdxTag& tag)
{
    return MdxKey(tag.keyType, tag.keyLength, tag.descending);
}

std::vector<MdxEntry> sorted(std::vector<MdxEntry> entries, const MdxKey& key)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const MdxEntry& a, const MdxEntry& b) { return key.compare(a.key, b.key) < 0; });
    return entries;
}

} // namespace

struct MdxIndex::Impl {
    QString path;
    QString name;
    std::vector<DbfField> fields;
    std::vector<Tag> tags;
    QString refusal;

    std::vector<MdxTag> readTags(const MdxFile& file);
    QString refusalFor(const MdxTag& tag, int field) const;
    const DbfField& fieldOf(size_t tag) const { return fields[size_t(tags[tag].field)]; }
    std::vector<std::vector<MdxEntry>> keysOf(const std::vector<MdxTag>& heads, const RecordReader& records) const;
    bool agrees(MdxFile& file, MdxTag& head, const std::vector<MdxEntry>& expected) const;
    bool agreesIntact(MdxFile& file, MdxTag& head, const std::vector<MdxEntry>& expected) const;
    static MdxBuilder::Content newTag(const QString& file, const std::vector<DbfField>& fields, const QString& fieldName,
                                      const std::vector<QByteArray>& records);
};

// Reads the tag headers afresh (another program may have changed them) and
// works out from them what the tags are and whether writes are refused.
// The list callers hold stays as it is while the tags do.
std::vector<MdxTag> MdxIndex::Impl::readTags(const MdxFile& file)
{
    std::vector<MdxTag> heads;
    std::vector<Tag> now;
    refusal.clear();
    for (int slot = 0; slot < file.tagCount(); ++slot) {
        heads.push_back(MdxTag::read(file, slot));
        const MdxTag& h = heads.back();
        const int field = fieldNamed(fields, h.expression);
        now.push_back(Tag{h.name, h.expression, h.keyType, h.keyLength, field});
        if (refusal.isEmpty())
            refusal = refusalFor(h, field);
    }
    if (refusal.isEmpty() && !now.empty() && !QFileInfo(path).isWritable())
        refusal = MdxErrors::refusal(name, now.front().name, now.front().expression,
                                     QStringLiteral("is in a file that cannot be written")).message();
    const auto same = [](const Tag& a, const Tag& b) {
        return a.name == b.name && a.expression == b.expression && a.keyType == b.keyType && a.keyLength == b.keyLength;
    };
    if (!std::equal(now.begin(), now.end(), tags.begin(), tags.end(), same))
        tags = std::move(now);
    return heads;
}

QString MdxIndex::Impl::refusalFor(const MdxTag& tag, int field) const
{
    QString reason;
    if (field < 0)
        reason = QStringLiteral("has a key that is more than a field name");
    else if (tag.hasFor)
        reason = QStringLiteral("has a FOR condition");
    else if (tag.unique)
        reason = QStringLiteral("keeps one record of each key only");
    else if (keyFor(fields[size_t(field)]) != std::pair<char, int>(isNumber(tag.keyType) ? 'N' : tag.keyType, tag.keyLength))
        reason = QStringLiteral("has keys of type %1 and length %2").arg(QChar::fromLatin1(tag.keyType)).arg(tag.keyLength);
    return reason.isEmpty() ? QString() : MdxErrors::refusal(name, tag.name, tag.expression, reason).message();
}

std::vector<std::vector<MdxEntry>> MdxIndex::Impl::keysOf(const std::vector<MdxTag>& heads, const RecordReader& records) const
{
    std::vector<std::vector<MdxEntry>> keys(heads.size());
    std::vector<MdxKey> makers;
    for (const MdxTag& h : heads)
        makers.push_back(keyOf(h));
    quint32 recno = 0;
    while (const char* record = records()) {
        ++recno;
        for (size_t t = 0; t < heads.size(); ++t)
            keys[t].push_back({recno, makers[t].fromRecord(fieldOf(t), record)});
    }
    return keys;
}

// True when the tag holds exactly `expected` (one key per record, in record
// order) and in tag order.
bool MdxIndex::Impl::agrees(MdxFile& file, MdxTag& head, const std::vector<MdxEntry>& expected) const
{
    const MdxKey key = keyOf(head);
    std::vector<bool> found(expected.size(), false);
    bool same = true;
    const bool ordered = MdxTree(file, head).check([&](const QByteArray& k, quint32 recno) {
        if (recno == 0 || recno > expected.size() || found[recno - 1] || key.compare(k, expected[recno - 1].key) != 0)
            same = false;
        else
            found[recno - 1] = true;
    });
    return ordered && same && std::all_of(found.begin(), found.end(), [](bool f) { return f; });
}

// agrees(), with a tree too damaged to walk counted as disagreeing: a write
// cut short inside a page leaves one, and the records rebuild it whole.
bool MdxIndex::Impl::agreesIntact(MdxFile& file, MdxTag& head, const std::vector<MdxEntry>& expected) const
{
    try {
        return agrees(file, head, expected);
    } catch (const Failure& damage) {
        if (!MdxErrors::isDamage(damage))
            throw;
        return false;
    }
}

MdxIndex::MdxIndex(std::unique_ptr<Impl> impl) : d(std::move(impl))
{
}

MdxIndex::~MdxIndex() = default;

std::unique_ptr<MdxIndex> MdxIndex::open(const QString& path, const std::vector<DbfField>& fields, bool mendable)
{
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->name = QFileInfo(path).fileName();
    impl->fields = fields;
    MdxFile file(path, MdxFile::Mode::Read);
    std::vector<MdxTag> heads = impl->readTags(file);
    // repair() does nothing for an index whose writes are refused, so such
    // an index is checked here whatever the owner can do.
    if (!mendable || !impl->refusal.isEmpty()) {
        for (MdxTag& h : heads)
            MdxTree(file, h).check(nullptr);
    }
    return std::unique_ptr<MdxIndex>(new MdxIndex(std::move(impl)));
}

// A new tag over the field `fieldName`, filled from `records`.
MdxBuilder::Content MdxIndex::Impl::newTag(const QString& file, const std::vector<DbfField>& fields,
                                           const QString& fieldName, const std::vector<QByteArray>& records)
{
    const int field = fieldNamed(fields, fieldName);
    if (field < 0)
        throw MdxErrors::cannotIndex(file, fieldName, QStringLiteral("the table has no such field"));
    const DbfField& f = fields[size_t(field)];
    const auto [type, length] = keyFor(f);
    if (type == 0)
        throw MdxErrors::cannotIndex(file, f.name, QStringLiteral("a field of type %1 and width %2 cannot be a key")
                                                       .arg(QChar::fromLatin1(f.type))
                                                       .arg(f.width));
    MdxBuilder::Content content{MdxTag::fresh(f.name, f.name, type, length, kPageSize), {}};
    const MdxKey key = keyOf(content.tag);
    quint32 recno = 0;
    for (const QByteArray& record : records)
        content.entries.push_back({++recno, key.fromRecord(f, record.constData())});
    content.entries = sorted(std::move(content.entries), key);
    return content;
}

void MdxIndex::create(const QString& path, const std::vector<DbfField>& fields, const QStringList& tagFields,
                      const std::vector<QByteArray>& records, quint8 languageDriver, QDate made)
{
    const QFileInfo info(path);
    std::vector<MdxBuilder::Content> tags;
    for (const QString& fieldName : tagFields) {
        tags.push_back(Impl::newTag(info.fileName(), fields, fieldName, records));
        for (size_t i = 0; i + 1 < tags.size(); ++i) {
            if (tags[i].tag.name == tags.back().tag.name)
                throw MdxErrors::cannotIndex(info.fileName(), tags.back().tag.name, QStringLiteral("it has a tag already"));
        }
    }
    if (tags.size() > kMaxTags)
        throw MdxErrors::cannotIndex(info.fileName(), tagFields.last(), QStringLiteral("an index holds %1 tags at most").arg(kMaxTags));
    const QByteArray header = MdxBuilder::freshHeader(info.completeBaseName(), languageDriver, made);
    MdxFile::save(path, MdxBuilder::build(header, std::move(tags), kPageSize, made));
}

const QString& MdxIndex::path() const
{
    return d->path;
}

const std::vector<MdxIndex::Tag>& MdxIndex::tags() const
{
    return d->tags;
}

int MdxIndex::tagForField(const QString& fieldName) const
{
    for (size_t i = 0; i < d->tags.size(); ++i) {
        const Tag& t = d->tags[i];
        if (t.field >= 0 && t.expression.compare(fieldName.trimmed(), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

std::vector<quint32> MdxIndex::find(int tag, const QVariant& key) const
{
    MdxFile file(d->path, MdxFile::Mode::Read);
    std::vector<MdxTag> heads = d->readTags(file);
    if (tag < 0 || size_t(tag) >= heads.size())
        throw MdxErrors::noSuchTag(d->name, tag);
    const QByteArray wanted = keyOf(heads[size_t(tag)]).fromValue(key);
    if (wanted.isEmpty())
        return {};
    std::vector<quint32> out = MdxTree(file, heads[size_t(tag)]).find(wanted);
    for (quint32& r : out)
        --r;
    return out;
}

std::vector<quint32> MdxIndex::walk(int tag) const
{
    MdxFile file(d->path, MdxFile::Mode::Read);
    std::vector<MdxTag> heads = d->readTags(file);
    if (tag < 0 || size_t(tag) >= heads.size())
        throw MdxErrors::noSuchTag(d->name, tag);
    std::vector<quint32> out = MdxTree(file, heads[size_t(tag)]).walk();
    for (quint32& r : out)
        --r;
    return out;
}

QString MdxIndex::writeRefusal() const
{
    return d->refusal;
}

// All pages change in memory first; the file header then counts any new
// page before a page is written, and each tree writes its new pages before
// the pages that point to them. A crash on the way leaves a tree whose
// pointers all hold, missing at most this post, which repair() finds.
void MdxIndex::recordChanged(quint32 recno, const char* before, const char* after)
{
    if (!d->refusal.isEmpty())
        throw Failure(Failure::Engine, d->refusal);
    MdxFile file(d->path, MdxFile::Mode::Write);
    std::vector<MdxTag> heads = d->readTags(file);
    if (!d->refusal.isEmpty())
        throw Failure(Failure::Engine, d->refusal);
    std::vector<std::unique_ptr<MdxTree>> trees;
    for (size_t t = 0; t < heads.size(); ++t) {
        const MdxKey key = keyOf(heads[t]);
        const DbfField& field = d->fieldOf(t);
        const QByteArray now = key.fromRecord(field, after);
        const QByteArray was = before ? key.fromRecord(field, before) : QByteArray();
        if (before && key.compare(was, now) == 0)
            continue;
        trees.push_back(std::make_unique<MdxTree>(file, heads[t]));
        if (before)
            trees.back()->remove(was, recno + 1);
        trees.back()->insert(now, recno + 1);
    }
    file.flushHeader();
    for (const auto& tree : trees)
        tree->flush();
}

bool MdxIndex::repair(const RecordReader& records)
{
    if (!d->refusal.isEmpty())
        return false;
    MdxFile file(d->path, MdxFile::Mode::Write);
    std::vector<MdxTag> heads = d->readTags(file);
    if (!d->refusal.isEmpty())
        return false;
    std::vector<std::vector<MdxEntry>> keys = d->keysOf(heads, records);
    bool good = file.countsEveryPage();
    for (size_t t = 0; t < heads.size() && good; ++t)
        good = d->agreesIntact(file, heads[t], keys[t]);
    if (good)
        return false;
    std::vector<MdxBuilder::Content> contents;
    for (size_t t = 0; t < heads.size(); ++t)
        contents.push_back({heads[t], sorted(std::move(keys[t]), keyOf(heads[t]))});
    MdxFile::save(d->path, MdxBuilder::build(file.header(), std::move(contents), file.pageSize()));
    return true;
}

} // namespace data
