#include "ui/GridCursor.h"

namespace ui {

GridCursor::GridCursor(QAbstractItemModel* model, QObject* parent) : QItemSelectionModel(model, parent)
{
}

void GridCursor::setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command)
{
    const QModelIndex current = currentIndex();
    if (mayMoveTo && index.isValid() && (!current.isValid() || index.row() != current.row())
        && !mayMoveTo(index.row())) {
        held_ = true;
        return;
    }
    held_ = false;
    QItemSelectionModel::setCurrentIndex(index, command);
}

// A press selects after it has moved the cursor; a held cursor keeps its cell selected.
void GridCursor::select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command)
{
    if (held_)
        return;
    QItemSelectionModel::select(selection, command);
}

} // namespace ui
