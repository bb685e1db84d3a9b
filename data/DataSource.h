#pragma once

#include <QObject>

namespace data {

class DataSet;
class Field;

// Connects one data set to the controls that show it and to the detail
// tables that follow it: the one hub they all listen to.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return dataSet_; }

Q_SIGNALS:
    void dataSetChanged();
    void recordChanged(data::Field* field);
    void rowsChanged();
    void stateChanged();
    void updateRecord();

private:
    DataSet* dataSet_ = nullptr;
};

} // namespace data
