#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class QLineEdit;

namespace ui {

class DataSetModel;

// The in-place editor of a data-aware grid: a box that takes only characters
// that suit its field, up to a text column's width. Its first typed change
// puts the row into editing; its text is stored only when it was changed,
// and a refused text stays in the box to be corrected.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridDelegate(DataSetModel* model, QWidget* view);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // The editor that is open, if any.
    QLineEdit* openEditor() const { return open_; }
    // Whether the last store was refused (its message has been shown).
    bool refused() const { return refused_; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    DataSetModel* model_;
    QWidget* view_;
    mutable QPointer<QLineEdit> open_;
    mutable bool refused_ = false;
    mutable bool storing_ = false;
};

} // namespace ui
