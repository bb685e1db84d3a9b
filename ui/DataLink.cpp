#include "ui/DataLink.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/Field.h"

namespace ui {

DataLink::DataLink(QObject* owner) : QObject(owner)
{
}

void DataLink::setDataSource(data::DataSource* source, const QString& fieldName)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    fieldName_ = fieldName;
    if (!source_)
        return;
    const auto changed = [this] {
        if (onChange)
            onChange();
    };
    connect(source_, &data::DataSource::dataSetChanged, this, changed);
    connect(source_, &data::DataSource::recordChanged, this, [this, changed](data::Field* f) {
        if (f == field())
            changed();
    });
    connect(source_, &data::DataSource::stateChanged, this, [this] {
        if (onStateChange)
            onStateChange();
    });
    connect(source_, &data::DataSource::updateRecord, this, [this] {
        if (onUpdateRecord)
            onUpdateRecord();
    });
}

data::DataSet* DataLink::dataSet() const
{
    return source_ ? source_->dataSet() : nullptr;
}

data::Field* DataLink::field() const
{
    data::DataSet* set = dataSet();
    return set && !fieldName_.isEmpty() ? set->findField(fieldName_) : nullptr;
}

QString DataLink::displayText() const
{
    data::Field* f = field();
    return f && f->dataSet()->isActive() ? f->asString() : QString();
}

bool DataLink::canModify() const
{
    data::DataSet* set = dataSet();
    return set && set->isActive() && set->canModify();
}

} // namespace ui
