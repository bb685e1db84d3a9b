#include "data/DataSet.h"

#include "data/Failure.h"

namespace data {

DataSet::DataSet(QObject* parent) : QObject(parent)
{
}

DataSet::~DataSet() = default;

Field* DataSet::addField(const QString& name, FieldKind kind, int size, const QString& displayLabel, int displayWidth)
{
    if (kind == FieldKind::Text && size <= 0)
        size = 20;
    fields_.push_back(std::make_unique<Field>(this, name, kind, size, displayLabel, displayWidth));
    return fields_.back().get();
}

Field* DataSet::findField(const QString& name) const
{
    for (const auto& f : fields_) {
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    }
    return nullptr;
}

Field* DataSet::fieldByName(const QString& name) const
{
    Field* f = findField(name);
    if (!f)
        fail(QStringLiteral("Field '%1' not found").arg(name));
    return f;
}

void DataSet::fail(const QString& message) const
{
    throw Failure(QString::fromLatin1(Failure::Database), message);
}

void DataSet::requireActive() const
{
    if (!isActive())
        fail(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void DataSet::requireModifiable() const
{
    requireActive();
    if (!canModify())
        fail(QStringLiteral("Cannot modify a read-only dataset"));
}

void DataSet::setState(State s)
{
    if (state_ == s)
        return;
    state_ = s;
    Q_EMIT stateChanged();
}

void DataSet::setBofEof(bool bof, bool eof)
{
    bof_ = bof;
    eof_ = eof;
}

void DataSet::bindFields()
{
    const std::vector<ColumnInfo> cols = columns();
    for (const auto& f : fields_) {
        int found = -1;
        for (size_t i = 0; i < cols.size(); ++i) {
            if (cols[i].name.compare(f->fieldName(), Qt::CaseInsensitive) == 0) {
                found = int(i);
                break;
            }
        }
        if (found < 0)
            fail(QStringLiteral("Field '%1' not found").arg(f->fieldName()));
        const ColumnInfo& c = cols[size_t(found)];
        if (c.kind != f->kind() || (f->kind() == FieldKind::Text && c.width != f->size()))
            fail(QStringLiteral("Field '%1' is not of the expected type").arg(f->displayName()));
    }
    for (const auto& f : fields_) {
        for (size_t i = 0; i < cols.size(); ++i) {
            if (cols[i].name.compare(f->fieldName(), Qt::CaseInsensitive) == 0) {
                f->column_ = int(i);
                break;
            }
        }
    }
}

void DataSet::unbindFields()
{
    for (const auto& f : fields_)
        f->column_ = -1;
}

void DataSet::open()
{
    if (isActive())
        return;
    doOpen();
    try {
        bindFields();
    } catch (...) {
        doClose(); // a data set that cannot bind its fields stays closed
        throw;
    }
    modified_ = false;
    setState(State::Browse);
    const bool any = doFirst();
    setBofEof(true, !any);
    announceRows();
    announce();
}

void DataSet::close()
{
    if (!isActive())
        return;
    if (isEditing())
        doCancel();
    doClose();
    unbindFields();
    modified_ = false;
    setBofEof(true, true);
    setState(State::Inactive);
    announceRows();
    announce();
}

bool DataSet::isEmpty() const
{
    return !isActive() || !hasCurrent();
}

void DataSet::checkBrowseMode()
{
    if (!isEditing())
        return;
    // A box still holding typed text stores it first, so a move never loses it.
    Q_EMIT updatingRecord();
    if (modified_)
        post();
    else
        cancel();
}

void DataSet::first()
{
    requireActive();
    checkBrowseMode();
    const bool any = doFirst();
    setBofEof(true, !any);
    announce();
}

void DataSet::last()
{
    requireActive();
    checkBrowseMode();
    const bool any = doLast();
    setBofEof(!any, true);
    announce();
}

void DataSet::next()
{
    requireActive();
    checkBrowseMode();
    if (doNext())
        setBofEof(false, false);
    else
        setBofEof(bof_ && !hasCurrent(), true);
    announce();
}

void DataSet::prior()
{
    requireActive();
    checkBrowseMode();
    if (doPrior())
        setBofEof(false, false);
    else
        setBofEof(true, eof_ && !hasCurrent());
    announce();
}

int DataSet::rowCount()
{
    return isActive() ? doRowCount() : 0;
}

int DataSet::currentRow()
{
    return isActive() && hasCurrent() ? doCurrentRow() : -1;
}

QVariant DataSet::valueAt(int row, const Field* field)
{
    if (!isActive() || field->column_ < 0 || row < 0 || row >= rowCount())
        return {};
    return doValueAt(row, field->column_);
}

void DataSet::moveToRow(int row)
{
    requireActive();
    if (row == currentRow() && !(state_ == State::Insert))
        return;
    checkBrowseMode();
    if (doMoveToRow(row))
        setBofEof(false, false);
    announce();
}

void DataSet::edit()
{
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    requireModifiable();
    if (!hasCurrent()) {
        insert();
        return;
    }
    doEdit();
    modified_ = false;
    setState(State::Edit);
    announce();
}

void DataSet::insert()
{
    requireModifiable();
    checkBrowseMode();
    doInsert();
    modified_ = false;
    setState(State::Insert);
    setBofEof(false, false);
    announceRows();
    announce();
}

void DataSet::remove()
{
    requireModifiable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (!hasCurrent())
        fail(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (state_ == State::Edit)
        doCancel();
    doRemove();
    modified_ = false;
    setState(State::Browse);
    setBofEof(!hasCurrent(), !hasCurrent());
    announceRows();
    announce();
}

void DataSet::post()
{
    if (!isEditing())
        return;
    Q_EMIT updatingRecord();
    doPost();
    modified_ = false;
    setState(State::Browse);
    setBofEof(false, false);
    announceRows();
    announce();
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = state_ == State::Insert;
    doCancel();
    modified_ = false;
    setState(State::Browse);
    setBofEof(!hasCurrent(), !hasCurrent());
    if (inserting)
        announceRows();
    announce();
}

void DataSet::refresh()
{
    requireActive();
    checkBrowseMode();
    doRefresh();
    announceRows();
    announce();
}

void DataSet::setColumnValue(Field* field, const QVariant& v)
{
    requireActive();
    if (!isEditing()) {
        if (!canModify())
            fail(QStringLiteral("Cannot modify a read-only dataset"));
        fail(QStringLiteral("Dataset not in edit or insert mode"));
    }
    if (field->column_ < 0)
        fail(QStringLiteral("Field '%1' not found").arg(field->fieldName()));
    doSetColumnValue(field->column_, v);
    modified_ = true;
    Q_EMIT recordChanged(field);
}

void DataSet::doEdit()
{
    fail(QStringLiteral("Cannot modify a read-only dataset"));
}
void DataSet::doInsert()
{
    fail(QStringLiteral("Cannot modify a read-only dataset"));
}
void DataSet::doRemove()
{
    fail(QStringLiteral("Cannot modify a read-only dataset"));
}
void DataSet::doPost()
{
    fail(QStringLiteral("Cannot modify a read-only dataset"));
}
void DataSet::doCancel()
{
}
void DataSet::doSetColumnValue(int, const QVariant&)
{
    fail(QStringLiteral("Cannot modify a read-only dataset"));
}

} // namespace data
