#pragma once

#include <QMainWindow>

namespace data {
class DataSource;
class Table;
}

namespace sections {

// The section data-entry window.
class TOdcinki : public QMainWindow {
    Q_OBJECT
public:
    TOdcinki();

    void FormCreate();
    // The section-table lock was opened: the table becomes writable.
    void unlock();

Q_SIGNALS:
    // "Dla programisty" › "Wpis": the section-table lock.
    void sectionLockRequested();

public:
    data::Table* table() const { return Table1; }

private:
    void buildMenu();

    data::Table* Table1;
    data::DataSource* DataSource1;
};

} // namespace sections
