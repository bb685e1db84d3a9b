#pragma once

#include <QLineEdit>

namespace data {
class DataSource;
class Field;
}

namespace ui {

class DataLink;

// An edit box bound to one field of its data source's current row. It shows
// the field's display text and follows every change of the row. On a data
// set that can be changed, the first change typed starts editing the row,
// only characters that suit the field's kind are taken, and the text is
// stored into the field when the box is left or the row is posted; on one
// that cannot, typing changes nothing.
class DbEdit : public QLineEdit {
    Q_OBJECT
public:
    DbEdit(const char* name, QWidget* parent, const QRect& geometry);
    void setDataSource(data::DataSource* source, const QString& fieldName);
    data::Field* field() const;
    // Stores a typed text into the field; a refused text throws and stays.
    void storeText();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void showField();
    void followState();
    bool startEditing();
    bool changesText(const QKeyEvent* event) const;

    DataLink* link_;
    bool modified_ = false;
};

} // namespace ui
