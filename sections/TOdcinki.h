#pragma once

#include <QMainWindow>

class QPushButton;
class QScrollArea;

namespace data {
class DataSource;
class Table;
}

namespace ui {
class DbNavigator;
class Panel;
}

namespace sections {

// The section data-entry window: the section table one row at a time in
// edit boxes, with a navigator. Read-only until the section-table lock is
// opened; writable from then on for the rest of the run.
class TOdcinki : public QMainWindow {
    Q_OBJECT
public:
    TOdcinki();

    void FormCreate();
    void BitBtn1Click();
    void Wpis1Click();
    // The section-table lock was opened: close, switch ReadOnly off, open
    // again. A table that cannot open stays closed (empty boxes, a disabled
    // navigator) and the failure goes on to the caller.
    void unlock();

    data::Table* table() const { return Table1; }

Q_SIGNALS:
    // "Dla programisty" › "Wpis": the section-table lock.
    void sectionLockRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildMenu();
    void buildDataSet();
    void buildControls();
    void buildScrollBox(QWidget* box);
    void buildNeighbourRows(QWidget* box);
    void orderTabs(QWidget* box);

    data::Table* Table1;
    data::DataSource* DataSource1;
    ui::Panel* Panel1;
    ui::DbNavigator* DBNavigator;
    QPushButton* BitBtn1;
    ui::Panel* Panel2;
    QScrollArea* ScrollBox;
    bool shown_ = false;
};

} // namespace sections
