#include "ui/DbEdit.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "ui/DataLink.h"
#include "ui/Handler.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace ui {

DbEdit::DbEdit(const char* name, QWidget* parent, const QRect& geometry) : QLineEdit(parent), link_(new DataLink(this))
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    link_->onChange = [this] { showField(); };
    link_->onStateChange = [this] { followState(); };
    link_->onUpdateRecord = [this] { storeText(); };
    connect(this, &QLineEdit::textEdited, this, [this] {
        modified_ = true;
        runHandler([this] { startEditing(); }); // a change that came by no key (the context menu)
    });
}

void DbEdit::setDataSource(data::DataSource* source, const QString& fieldName)
{
    link_->setDataSource(source, fieldName);
    if (data::Field* f = field()) {
        setAlignment(f->alignment());
        if (f->kind() == data::FieldKind::Text)
            setMaxLength(f->size());
    }
    showField();
}

data::Field* DbEdit::field() const
{
    return link_->field();
}

void DbEdit::showField()
{
    data::DataSet* set = link_->dataSet();
    if (modified_ && set && set->isEditing())
        return; // the person's typing stays until it is stored
    modified_ = false;
    const QString shown = link_->displayText();
    if (text() != shown)
        setText(shown);
    followState();
}

void DbEdit::followState()
{
    setReadOnly(!link_->canModify());
    data::DataSet* set = link_->dataSet();
    if (modified_ && !(set && set->isEditing())) {
        modified_ = false; // posted or dropped elsewhere
        showField();
    }
}

bool DbEdit::changesText(const QKeyEvent* event) const
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)
        || event->matches(QKeySequence::DeleteEndOfWord) || event->matches(QKeySequence::DeleteStartOfWord))
        return true;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const QString t = event->text();
    return !t.isEmpty() && t.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier);
}

// The row goes into editing before the first change reaches the box. An
// edit starts from the row as it is on disk: when another user changed it,
// the box shows the new text and the key that started the edit is not
// applied to a text the person has not seen.
bool DbEdit::startEditing()
{
    data::DataSet* set = link_->dataSet();
    if (!field() || !link_->canModify())
        return false;
    if (set->isEditing())
        return true;
    const QString before = text();
    bool editing = false;
    runHandler([&] {
        set->edit();
        editing = true;
    });
    return editing && text() == before;
}

void DbEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && modified_) {
        modified_ = false;
        showField();
        return;
    }
    if (!changesText(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (data::Field* f = field(); f && !typed.isEmpty() && !f->isValidChar(typed.at(0))
        && event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete) {
        event->accept(); // a character that does not suit the field
        return;
    }
    if (startEditing())
        QLineEdit::keyPressEvent(event);
}

void DbEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (startEditing())
        QLineEdit::inputMethodEvent(event);
}

void DbEdit::storeText()
{
    data::DataSet* set = link_->dataSet();
    data::Field* f = field();
    if (!modified_ || !f || !set || !set->isEditing())
        return;
    f->setAsString(text());
    modified_ = false;
    showField();
}

// Leaving the box stores; another window coming up over it (a message box
// about this very text) does not.
void DbEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    runHandler([this] { storeText(); });
}

} // namespace ui
