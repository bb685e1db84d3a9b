#pragma once

#include <QWidget>

namespace data {
class DataSource;
class Table;
}

namespace sections {

// The programmer's data-entry window: the frequency and module tables in grids.
class TWpis : public QWidget {
    Q_OBJECT
public:
    TWpis();

    data::Table* frequencies() const { return Table1; }
    data::Table* modules() const { return Table2; }

private:
    data::Table* Table1;
    data::Table* Table2;
    data::DataSource* DataSource1;
    data::DataSource* DataSource2;
};

} // namespace sections
