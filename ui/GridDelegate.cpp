#include "ui/GridDelegate.h"

#include "data/Field.h"
#include "ui/DataSetModel.h"
#include "ui/FieldCharValidator.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace ui {

GridDelegate::GridDelegate(DataSetModel* model, QWidget* view) : QStyledItemDelegate(view), model_(model), view_(view)
{
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const data::Field* field = model_->fieldAt(index.column());
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("InplaceEditor"));
    editor->setFrame(false);
    if (field) {
        editor->setValidator(new FieldCharValidator(field, editor));
        editor->setAlignment(field->kind() == data::FieldKind::Text ? Qt::AlignLeft : Qt::AlignRight);
        if (field->kind() == data::FieldKind::Text)
            editor->setMaxLength(field->size());
    }
    const int row = index.row();
    connect(editor, &QLineEdit::textEdited, editor, [this, row] { model_->startEditing(row); });
    open_ = editor;
    refused_ = false;
    return editor;
}

void GridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor == open_)
        open_.clear();
    QStyledItemDelegate::destroyEditor(editor, index);
}

// The row's value, unless the person has typed over it.
void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = static_cast<QLineEdit*>(editor);
    if (box->isModified())
        return;
    box->setText(index.data(Qt::EditRole).toString());
    box->selectAll();
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* box = static_cast<QLineEdit*>(editor);
    refused_ = false;
    if (!box->isModified() || storing_)
        return;
    storing_ = true;
    const bool stored = model->setData(index, box->text(), Qt::EditRole);
    storing_ = false;
    refused_ = !stored;
    if (stored)
        box->setModified(false);
}

// Focus going to the grid itself or to another window leaves the editor
// open: the grid stores it when the cursor moves, and a message box over it
// must not store it a second time.
bool GridDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* now = QApplication::focusWidget();
        if (storing_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
            || (now && (now == view_ || view_->isAncestorOf(now))))
            return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace ui
