#include "ui/DbGrid.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/Field.h"
#include "ui/DataSetModel.h"
#include "ui/DeleteQuestion.h"
#include "ui/GridCursor.h"
#include "ui/GridDelegate.h"
#include "ui/Handler.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

DbGrid::DbGrid(const char* name, QWidget* parent, const QRect& geometry)
    : QTableView(parent), model_(new DataSetModel(this))
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setModel(model_);
    QItemSelectionModel* stock = selectionModel();
    cursor_ = new GridCursor(model_, this);
    cursor_->mayMoveTo = [this](int row) { return moveTo(row); };
    setSelectionModel(cursor_);
    delete stock;
    // The view would submit the model on every change of row; the grid posts
    // before the cursor moves instead, and a move that follows the data set
    // (onto a row just inserted) must neither post nor drop.
    disconnect(cursor_, nullptr, model_, nullptr);
    delegate_ = new GridDelegate(model_, this);
    setItemDelegate(delegate_);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(4);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { followCursor(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) { focusMoved(from, to); });
}

DbGrid::~DbGrid()
{
    disconnect(qApp, nullptr, this, nullptr);
}

void DbGrid::setDataSource(data::DataSource* source)
{
    if (data::DataSource* old = model_->dataSource())
        disconnect(old, nullptr, this, nullptr);
    model_->setDataSource(source);
    if (source)
        connect(source, &data::DataSource::dataSetChanged, this, [this] { followCursor(); });
    sizeColumns();
    followCursor();
}

// Widths in characters of the grid's font, as wide as the title at least;
// rows and the marker column as high and wide as a line of text.
void DbGrid::sizeColumns()
{
    const QFontMetrics fm(font());
    const int rowHeight = fm.height() + 3;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setFixedWidth(fm.height());
    horizontalHeader()->setFixedHeight(rowHeight);
    for (int c = 0; c < model_->columnCount(); ++c) {
        const data::Field* f = model_->fieldAt(c);
        const int data = f->displayWidth() * fm.averageCharWidth() + 4;
        const int title = fm.horizontalAdvance(f->displayName()) + 4;
        setColumnWidth(c, std::max(data, title));
    }
}

// The cursor goes where the data set goes.
void DbGrid::followCursor()
{
    data::DataSet* set = model_->dataSet();
    if (moving_ || !set)
        return;
    const int row = set->currentRow();
    const QModelIndex current = currentIndex();
    if (row < 0 || row >= model_->rowCount() || (current.isValid() && current.row() == row))
        return;
    following_ = true;
    setCurrentIndex(model_->index(row, current.isValid() ? current.column() : 0));
    following_ = false;
}

// Asked by the cursor before it goes to `row`: the open editor is stored and
// the data set moved there, which posts the row it leaves.
bool DbGrid::moveTo(int row)
{
    data::DataSet* set = model_->dataSet();
    if (following_ || !set || set->currentRow() == row)
        return true;
    if (!finishEditor())
        return false;
    moving_ = true;
    const bool moved = model_->moveTo(row);
    moving_ = false;
    return moved;
}

// Stores the open editor's text and closes it; false when the text was
// refused (its message shown) and the editor stays.
bool DbGrid::finishEditor()
{
    QLineEdit* editor = delegate_->openEditor();
    if (!editor)
        return true;
    commitData(editor);
    if (refused_) {
        refused_ = false;
        editor->setFocus();
        return false;
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void DbGrid::commitData(QWidget* editor)
{
    QTableView::commitData(editor);
    refused_ = delegate_->refused();
}

// A refused text keeps its editor, unless Esc drops it. Rows are posted when
// the cursor leaves them, not when an editor closes.
void DbGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool keep = refused_ && hint != QAbstractItemDelegate::RevertModelCache;
    refused_ = false;
    if (keep) {
        editor->setFocus();
        return;
    }
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        hint = QAbstractItemDelegate::NoHint;
    QTableView::closeEditor(editor, hint);
}

void DbGrid::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
        runHandler([this] { insertRow(); });
        return;
    }
    if (event->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
        runHandler([this] { deleteRow(); });
        return;
    }
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        model_->revert();
        return;
    }
    if (event->key() == Qt::Key_Down && mods == Qt::NoModifier
        && currentIndex().row() == model_->rowCount() - 1) {
        runHandler([this] { appendBelowLast(); });
        return;
    }
    QTableView::keyPressEvent(event);
}

void DbGrid::insertRow()
{
    if (finishEditor())
        model_->insertRows(model_->rowCount(), 1);
}

// Down past the last row adds one, unless the last row is a new one still
// empty.
void DbGrid::appendBelowLast()
{
    const data::DataSet* set = model_->dataSet();
    if (!set || !set->canModify() || !finishEditor())
        return;
    if (set->state() == data::DataSet::State::Insert && !set->isModified())
        return;
    model_->insertRows(model_->rowCount(), 1);
}

void DbGrid::deleteRow()
{
    data::DataSet* set = model_->dataSet();
    if (!set || !set->canModify() || set->isEmpty() || !askDeleteRecord(window()))
        return;
    if (QLineEdit* editor = delegate_->openEditor())
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    model_->removeRows(set->currentRow(), 1);
}

bool DbGrid::within(const QWidget* w) const
{
    return w && (w == this || isAncestorOf(w));
}

// Focus going to another control of the window drops a new row still empty.
void DbGrid::focusMoved(QWidget* from, QWidget* to)
{
    data::DataSet* set = model_->dataSet();
    if (!set || !within(from) || !to || within(to) || to->window() != window())
        return;
    if (set->state() == data::DataSet::State::Insert && !set->isModified())
        runHandler([set] { set->cancel(); });
}

} // namespace ui
