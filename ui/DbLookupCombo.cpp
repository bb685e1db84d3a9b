#include "ui/DbLookupCombo.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/Field.h"
#include "ui/DataLink.h"
#include "ui/Handler.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

DbLookupCombo::DbLookupCombo(const char* name, QWidget* parent, const QRect& geometry)
    : QComboBox(parent), link_(new DataLink(this))
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    setCompleter(nullptr);
    lineEdit()->clear();
    // Typing: every character typed or deleted.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        shown_ = text;
        runHandler([this] { changed(); });
    });
    // A pick with the mouse or Enter.
    connect(this, &QComboBox::activated, this, [this](int row) { runHandler([this, row] { pick(row); }); });
    // While the list is open, every move of the keys picks the row reached.
    view()->installEventFilter(this);
}

bool DbLookupCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != view() || event->type() != QEvent::KeyPress || forwarding_)
        return QComboBox::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp && key != Qt::Key_PageDown)
        return QComboBox::eventFilter(watched, event);
    forwarding_ = true; // the list moves its highlight first
    QApplication::sendEvent(view(), event);
    forwarding_ = false;
    const int row = view()->currentIndex().row();
    runHandler([this, row] { pick(row); });
    return true;
}

void DbLookupCombo::setListSource(data::DataSource* source, const QString& fieldName)
{
    link_->setDataSource(source, fieldName);
    connect(source, &data::DataSource::rowsChanged, this, [this] { reload(); });
    reload();
}

void DbLookupCombo::reload()
{
    data::DataSet* set = link_->dataSet();
    data::Field* f = link_->field();
    QStringList names;
    if (set && f && set->isActive()) {
        const int count = set->rowCount();
        for (int row = 0; row < count; ++row)
            names.append(set->valueAt(row, f).toString());
    }
    const QString keep = lineEdit()->text();
    const bool blocked = blockSignals(true);
    clear();
    addItems(names);
    setCurrentIndex(-1);
    lineEdit()->setText(keep);
    blockSignals(blocked);
}

void DbLookupCombo::pick(int row)
{
    data::DataSet* set = link_->dataSet();
    if (!set || row < 0 || row >= count())
        return;
    set->moveToRow(row);
    const QString name = itemText(row);
    lineEdit()->setText(name);
    if (name == shown_)
        return; // the name the box already shows: no change
    shown_ = name;
    changed();
}

void DbLookupCombo::changed()
{
    if (handler_)
        handler_();
}

void DbLookupCombo::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!view()->isVisible()) {
            showPopup();
            return;
        }
        break;
    default:
        break;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace ui
