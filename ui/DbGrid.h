#pragma once

#include <QTableView>

namespace data {
class DataSource;
}

namespace ui {

class DataSetModel;
class GridCursor;
class GridDelegate;

// A data-aware grid: every row of its data source, a column per declared
// field with its display width in characters, the current row marked at the
// left. Cells are edited in place; Insert, or Down on the last row, adds a
// row; Ctrl+Delete deletes one after "Delete record?"; a changed row is
// posted when the cursor goes to another row; Esc drops the row's changes; a
// new row left unchanged is dropped when the focus leaves the grid.
class DbGrid : public QTableView {
    Q_OBJECT
public:
    DbGrid(const char* name, QWidget* parent, const QRect& geometry);
    ~DbGrid() override;
    void setDataSource(data::DataSource* source);
    DataSetModel* dataModel() const { return model_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString&) override {}
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    bool moveTo(int row);
    bool finishEditor();
    void followCursor();
    void sizeColumns();
    void focusMoved(QWidget* from, QWidget* to);
    bool within(const QWidget* w) const;
    void insertRow();
    void appendBelowLast();
    void deleteRow();

    DataSetModel* model_;
    GridDelegate* delegate_;
    GridCursor* cursor_;
    bool moving_ = false;    // the grid is moving its data set
    bool following_ = false; // the grid follows its data set
    bool refused_ = false;   // the editor's text was just refused
};

} // namespace ui
