#pragma once

#include <QWidget>

namespace data {
class DataSource;
class Table;
}

namespace ui {
class DbGrid;
}

namespace sections {

// The programmer's data-entry window: the module and frequency tables in
// editable grids, writable from the start.
class TWpis : public QWidget {
    Q_OBJECT
public:
    TWpis();

    data::Table* frequencies() const { return Table1; }
    data::Table* modules() const { return Table2; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void buildDataSets();
    void buildGrids();

    data::Table* Table1;
    data::Table* Table2;
    data::DataSource* DataSource1;
    data::DataSource* DataSource2;
    ui::DbGrid* DBGrid2;
    ui::DbGrid* DBGrid1;
};

} // namespace sections
