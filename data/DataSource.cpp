#include "data/DataSource.h"

#include "data/DataSet.h"

namespace data {

DataSource::DataSource(QObject* parent) : QObject(parent)
{
}

void DataSource::setDataSet(DataSet* dataSet)
{
    if (dataSet_)
        disconnect(dataSet_, nullptr, this, nullptr);
    dataSet_ = dataSet;
    if (!dataSet_)
        return;
    connect(dataSet_, &DataSet::dataSetChanged, this, &DataSource::dataSetChanged);
    connect(dataSet_, &DataSet::recordChanged, this, &DataSource::recordChanged);
    connect(dataSet_, &DataSet::rowsChanged, this, &DataSource::rowsChanged);
    connect(dataSet_, &DataSet::stateChanged, this, &DataSource::stateChanged);
    connect(dataSet_, &DataSet::updatingRecord, this, &DataSource::updateRecord);
    Q_EMIT rowsChanged();
    Q_EMIT dataSetChanged();
}

} // namespace data
