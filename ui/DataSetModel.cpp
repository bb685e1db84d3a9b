#include "ui/DataSetModel.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/Field.h"
#include "ui/Handler.h"

namespace ui {

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void DataSetModel::setDataSource(data::DataSource* source)
{
    beginResetModel();
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    rows_ = dataSet() ? dataSet()->rowCount() : 0;
    endResetModel();
    if (!source_)
        return;
    connect(source_, &data::DataSource::rowsChanged, this, [this] { followRows(); });
    connect(source_, &data::DataSource::dataSetChanged, this, [this] { followRecord(); });
    connect(source_, &data::DataSource::stateChanged, this, [this] { followRecord(); });
    connect(source_, &data::DataSource::recordChanged, this, [this](data::Field* f) { followField(f); });
}

data::DataSet* DataSetModel::dataSet() const
{
    return source_ ? source_->dataSet() : nullptr;
}

data::Field* DataSetModel::fieldAt(int column) const
{
    const data::DataSet* set = dataSet();
    if (!set || column < 0 || size_t(column) >= set->fields().size())
        return nullptr;
    return set->fields()[size_t(column)].get();
}

int DataSetModel::columnOf(const data::Field* field) const
{
    const data::DataSet* set = dataSet();
    for (size_t i = 0; set && i < set->fields().size(); ++i) {
        if (set->fields()[i].get() == field)
            return int(i);
    }
    return -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    const data::DataSet* set = dataSet();
    return parent.isValid() || !set ? 0 : int(set->fields().size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    data::Field* f = fieldAt(index.column());
    if (!f || !index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return f->displayText(dataSet()->valueAt(index.row(), f));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter
                                   | (f->kind() == data::FieldKind::Text ? Qt::AlignLeft : Qt::AlignRight));
    default: return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        const data::Field* f = fieldAt(section);
        return f ? f->displayName() : QString();
    }
    data::DataSet* set = dataSet();
    if (!set || section != set->currentRow())
        return QString();
    switch (set->state()) {
    case data::DataSet::State::Edit: return editMarker;
    case data::DataSet::State::Insert: return insertMarker;
    default: return browseMarker;
    }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const data::DataSet* set = dataSet();
    if (index.isValid() && set && set->isActive() && set->canModify())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSetModel::run(const std::function<void()>& verb)
{
    bool done = false;
    runHandler([&] {
        if (!dataSet())
            return;
        verb();
        done = true;
    });
    return done;
}

// The row being inserted is current without a move; moving onto it would post it.
void DataSetModel::standOn(int row)
{
    data::DataSet* set = dataSet();
    if (row != set->currentRow())
        set->moveToRow(row);
}

bool DataSetModel::moveTo(int row)
{
    return run([&] { standOn(row); });
}

bool DataSetModel::startEditing(int row)
{
    return run([&] {
        standOn(row);
        dataSet()->edit();
    });
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    data::Field* f = fieldAt(index.column());
    if (!f || role != Qt::EditRole)
        return false;
    return run([&] {
        standOn(index.row());
        dataSet()->edit();
        f->setAsString(value.toString());
    });
}

bool DataSetModel::insertRows(int, int count, const QModelIndex& parent)
{
    if (count != 1 || parent.isValid())
        return false;
    return run([&] { dataSet()->insert(); });
}

bool DataSetModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (count != 1 || parent.isValid())
        return false;
    return run([&] {
        standOn(row);
        dataSet()->remove();
    });
}

bool DataSetModel::submit()
{
    return run([&] { dataSet()->checkBrowseMode(); });
}

void DataSetModel::revert()
{
    run([&] { dataSet()->cancel(); });
}

// Rows come and go at the end (a row inserted or dropped); any other change
// of the set is told as a change of every row's contents.
void DataSetModel::followRows()
{
    data::DataSet* set = dataSet();
    const int now = set ? set->rowCount() : 0;
    if (now > rows_) {
        beginInsertRows(QModelIndex(), rows_, now - 1);
        rows_ = now;
        endInsertRows();
    } else if (now < rows_) {
        beginRemoveRows(QModelIndex(), now, rows_ - 1);
        rows_ = now;
        endRemoveRows();
    }
    followRecord();
}

void DataSetModel::followRecord()
{
    if (rows_ == 0 || columnCount() == 0)
        return;
    Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, 0, rows_ - 1);
}

void DataSetModel::followField(data::Field* field)
{
    const int row = dataSet()->currentRow();
    const int column = columnOf(field);
    if (row >= 0 && row < rows_ && column >= 0)
        Q_EMIT dataChanged(index(row, column), index(row, column));
}

} // namespace ui
