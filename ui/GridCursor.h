#pragma once

#include <QItemSelectionModel>

#include <functional>

namespace ui {

// The selection model of a data-aware grid: before the cursor goes to
// another row it asks whether it may (the grid moves its data set there,
// posting the row it leaves). A refusal keeps the cursor, and the selection,
// where they are.
class GridCursor : public QItemSelectionModel {
    Q_OBJECT
public:
    GridCursor(QAbstractItemModel* model, QObject* parent);

    std::function<bool(int row)> mayMoveTo;

    using QItemSelectionModel::select;
    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override;

private:
    bool held_ = false; // the last move was refused
};

} // namespace ui
