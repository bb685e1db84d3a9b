#include "data/Table.h"

#include "data/DataSource.h"
#include "data/DbfErrors.h"
#include "data/DbfFile.h"
#include "data/DbfFileLock.h"
#include "data/FileLookup.h"
#include "data/MdxIndex.h"

#include <QFileInfo>

#include <algorithm>

namespace data {

namespace {

// A record read alone costs a system call; reading the stretch the records
// lie in, block by block, costs about this many bytes per record before it
// is the dearer way.
constexpr qint64 kBytesPerRead = 16 * 1024;

// `keyed` without its deleted records, in the same order.
std::vector<quint32> liveOnly(DbfFile& file, const std::vector<quint32>& keyed)
{
    std::vector<quint32> live;
    if (keyed.empty())
        return live;
    const auto [low, high] = std::minmax_element(keyed.begin(), keyed.end());
    const quint32 first = *low;
    const qint64 span = qint64(*high) - qint64(first) + 1;
    if (span * file.recordLength() > qint64(keyed.size()) * kBytesPerRead) {
        QByteArray record;
        for (quint32 r : keyed) {
            if (file.readRecord(r, record) && !DbfFile::isDeleted(record.constData()))
                live.push_back(r);
        }
        return live;
    }
    std::vector<bool> alive(size_t(span), false);
    DbfFile::Scanner scan(file, first);
    while (const char* record = scan.next()) {
        if (qint64(scan.recno()) - qint64(first) >= span)
            break;
        alive[scan.recno() - first] = !DbfFile::isDeleted(record);
    }
    for (quint32 r : keyed) {
        if (alive[r - first])
            live.push_back(r);
    }
    return live;
}

} // namespace

Table::Table(QObject* parent) : DataSet(parent)
{
}

Table::~Table() = default;

void Table::setTableName(const QString& name)
{
    if (isActive())
        fail(QStringLiteral("Cannot perform this operation on an open dataset"));
    tableName_ = name;
}

void Table::setReadOnly(bool readOnly)
{
    if (isActive())
        fail(QStringLiteral("Cannot perform this operation on an open dataset"));
    readOnly_ = readOnly;
}

void Table::setMasterSource(DataSource* master)
{
    if (master_)
        disconnect(master_, nullptr, this, nullptr);
    master_ = master;
    if (master_)
        connect(master_, &DataSource::dataSetChanged, this, [this] { masterChanged(); });
}

bool Table::canModify() const
{
    return isActive() && !readOnly_ && file_->canWrite();
}

void Table::doOpen()
{
    const QString path = resolveFileName(tableName_);
    if (!QFileInfo(path).isFile())
        throw DbfErrors::missing(tableName_);
    std::shared_ptr<DbfFile> file = DbfFile::open(path);
    int tag = -1;
    if (!indexFieldNames_.isEmpty()) {
        MdxIndex* index = file->productionIndex();
        tag = index ? index->tagForField(indexFieldNames_) : -1;
        if (tag < 0)
            fail(QStringLiteral("Table '%1' has no index for fields '%2'").arg(tableName_, indexFieldNames_));
    }
    if (!readOnly_ && file->canWrite())
        lock_ = std::make_unique<DbfFileLock>(*file);
    file_ = std::move(file);
    tag_ = tag;
    recno_ = -1;
    forgetRows();
    applyRange();
}

void Table::doClose()
{
    lock_.reset(); // its descriptor goes, and any lock with it
    file_.reset();
    ordered_.reset();
    forgetRows();
    tag_ = -1;
    recno_ = -1;
    current_.clear();
    buffer_.clear();
}

std::vector<ColumnInfo> Table::columns() const
{
    std::vector<ColumnInfo> out;
    for (const DbfField& f : file_->fields())
        out.push_back({f.name, f.kind, f.kind == FieldKind::Text ? f.width : 0});
    return out;
}

void Table::applyRange()
{
    ordered_.reset();
    if (tag_ < 0)
        return;
    MdxIndex* index = file_->productionIndex();
    std::vector<quint32> keyed;
    DataSet* master = master_ ? master_->dataSet() : nullptr;
    if (master && master->isActive()) {
        Field* key = master->fieldByName(masterFields_);
        if (!master->isEmpty() && !key->isNull())
            keyed = index->find(tag_, key->value());
    } else {
        keyed = index->walk(tag_);
    }
    // The index keeps the keys of deleted records, as dBase does.
    ordered_ = liveOnly(*file_, keyed);
}

void Table::masterChanged()
{
    if (!isActive())
        return;
    checkBrowseMode();
    applyRange();
    const bool any = doFirst();
    setBofEof(true, !any);
    announceRows();
    announce();
}

bool Table::standOn(qint64 recno)
{
    if (recno < 0 || !file_->readRecord(quint32(recno), current_)) {
        recno_ = -1;
        current_.clear();
        return false;
    }
    recno_ = recno;
    return true;
}

// The nearest record from `recno` on (step +1) or back (step -1) that is not deleted.
qint64 Table::liveFrom(qint64 recno, int step)
{
    const qint64 count = file_->recordCount();
    QByteArray record;
    for (qint64 r = std::min(recno, count - 1); r >= 0 && r < count; r += step) {
        if (file_->readRecord(quint32(r), record) && !DbfFile::isDeleted(record.constData()))
            return r;
        if (step < 0 && r == 0)
            break;
    }
    return -1;
}

bool Table::doFirst()
{
    if (ordered_)
        return standOn(ordered_->empty() ? -1 : qint64(ordered_->front()));
    return standOn(liveFrom(0, +1));
}

bool Table::doLast()
{
    if (ordered_)
        return standOn(ordered_->empty() ? -1 : qint64(ordered_->back()));
    return standOn(liveFrom(qint64(file_->recordCount()) - 1, -1));
}

bool Table::doNext()
{
    if (recno_ < 0)
        return false;
    qint64 target = -1;
    if (ordered_) {
        const auto it = std::find(ordered_->begin(), ordered_->end(), quint32(recno_));
        if (it != ordered_->end() && it + 1 != ordered_->end())
            target = *(it + 1);
    } else {
        const qint64 count = file_->recordCount();
        if (recno_ + 1 < count)
            target = liveFrom(recno_ + 1, +1);
    }
    return target >= 0 ? standOn(target) : (standOn(recno_), false);
}

bool Table::doPrior()
{
    if (recno_ < 0)
        return false;
    qint64 target = -1;
    if (ordered_) {
        const auto it = std::find(ordered_->begin(), ordered_->end(), quint32(recno_));
        if (it != ordered_->end() && it != ordered_->begin())
            target = *(it - 1);
    } else if (recno_ > 0) {
        target = liveFrom(recno_ - 1, -1);
    }
    return target >= 0 ? standOn(target) : (standOn(recno_), false);
}

bool Table::hasCurrent() const
{
    return state() == State::Insert || recno_ >= 0;
}

const std::vector<quint32>& Table::rows()
{
    if (ordered_)
        return *ordered_;
    if (!rows_) {
        std::vector<quint32> live;
        DbfFile::Scanner scan(*file_);
        while (const char* record = scan.next()) {
            if (!DbfFile::isDeleted(record))
                live.push_back(scan.recno());
        }
        rows_ = std::move(live);
    }
    return *rows_;
}

int Table::doRowCount()
{
    return int(rows().size()) + (state() == State::Insert ? 1 : 0);
}

int Table::doCurrentRow()
{
    const std::vector<quint32>& all = rows();
    if (state() == State::Insert)
        return int(all.size());
    const auto it = ordered_ ? std::find(all.begin(), all.end(), quint32(recno_))
                             : std::lower_bound(all.begin(), all.end(), quint32(recno_));
    return it != all.end() && *it == quint32(recno_) ? int(it - all.begin()) : -1;
}

bool Table::doMoveToRow(int row)
{
    const std::vector<quint32>& all = rows();
    if (row < 0 || size_t(row) >= all.size())
        return false;
    return standOn(all[size_t(row)]);
}

QVariant Table::doValueAt(int row, int column)
{
    const std::vector<quint32>& all = rows();
    if (size_t(row) == all.size() && state() == State::Insert)
        return file_->value(buffer_.constData(), column);
    if (row == doCurrentRow())
        return columnValue(column);
    QByteArray record;
    if (size_t(row) >= all.size() || !file_->readRecord(all[size_t(row)], record))
        return {};
    return file_->value(record.constData(), column);
}

void Table::doRefresh()
{
    forgetRows();
    if (tag_ >= 0) {
        const qint64 at = recno_;
        applyRange();
        if (!standOn(at) || std::find(ordered_->begin(), ordered_->end(), quint32(at)) == ordered_->end())
            doFirst();
    } else if (!standOn(recno_) || DbfFile::isDeleted(current_.constData())) {
        doFirst();
    }
}

void Table::doEdit()
{
    const qint64 recno = recno_;
    if (recno < 0)
        fail(QStringLiteral("Record not found"));
    lock_->lock(quint32(recno));
    // Once locked, the edit starts from what is on disk now.
    const bool there = standOn(recno);
    if (!there || DbfFile::isDeleted(current_.constData())) {
        lock_->unlock();
        fail(there ? QStringLiteral("Record/Key deleted.") : QStringLiteral("Record not found"));
    }
    buffer_ = current_;
}

void Table::doInsert()
{
    beforeInsert_ = recno_;
    buffer_ = file_->blankRecord();
}

void Table::doRemove()
{
    const qint64 gone = recno_;
    const int row = ordered_ || rows_ ? doCurrentRow() : -1;
    lock_->lock(quint32(gone));
    try {
        file_->deleteRecord(quint32(gone));
    } catch (...) {
        lock_->unlock();
        throw;
    }
    lock_->unlock();
    forgetRows();
    if (ordered_) {
        ordered_->erase(std::remove(ordered_->begin(), ordered_->end(), quint32(gone)), ordered_->end());
        if (row >= 0 && size_t(row) < ordered_->size())
            standOn((*ordered_)[size_t(row)]);
        else
            standOn(ordered_->empty() ? -1 : qint64(ordered_->back()));
        return;
    }
    const qint64 after = liveFrom(gone + 1, +1);
    standOn(after >= 0 ? after : liveFrom(gone - 1, -1));
}

void Table::doPost()
{
    if (state() == State::Insert) {
        const quint32 recno = file_->appendRecord(buffer_);
        forgetRows();
        if (ordered_)
            applyRange();
        standOn(recno);
    } else {
        relockUnchanged();
        // A post that fails keeps the row in edit, and its lock.
        file_->writeRecord(quint32(recno_), buffer_);
        lock_->unlock();
        forgetRows();
        if (ordered_)
            applyRange();
        standOn(recno_);
    }
    buffer_.clear();
}

void Table::releaseRecordLock()
{
    if (lock_)
        lock_->unlock();
}

// An edit whose lock was let go may post only over the record it started from.
void Table::relockUnchanged()
{
    if (lock_->held() == recno_)
        return;
    lock_->lock(quint32(recno_));
    QByteArray onDisk;
    if (!file_->readRecord(quint32(recno_), onDisk) || onDisk != current_) {
        lock_->unlock();
        fail(QStringLiteral("Couldn't perform the edit because another user changed the record"));
    }
}

void Table::doCancel()
{
    if (lock_)
        lock_->unlock();
    if (state() == State::Insert) {
        standOn(beforeInsert_);
    } else {
        // Shows the row as it is now, which another user may have changed.
        QByteArray onDisk;
        if (file_->readRecord(quint32(recno_), onDisk))
            current_ = onDisk;
    }
    buffer_.clear();
}

void Table::doSetColumnValue(int column, const QVariant& v)
{
    file_->setValue(buffer_, column, v);
}

QVariant Table::columnValue(int column) const
{
    const QByteArray& record = isEditing() ? buffer_ : current_;
    if (record.isEmpty() || (!isEditing() && recno_ < 0))
        return {};
    return file_->value(record.constData(), column);
}

} // namespace data
