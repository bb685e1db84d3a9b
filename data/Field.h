#pragma once

#include "data/DbfField.h"

#include <QString>
#include <QVariant>

namespace data {

class DataSet;

// A declared field of a data set: its name, kind and, for text, its width.
// Reads work on the data set's current row (or the row being edited); with no
// current row or a blank value a number reads 0 and a text reads empty.
class Field {
public:
    Field(DataSet* owner, QString name, FieldKind kind, int size, QString displayLabel, int displayWidth);

    const QString& fieldName() const { return name_; }
    FieldKind kind() const { return kind_; }
    int size() const { return size_; }
    const QString& displayLabel() const { return label_; }
    // The label where one is set, else the field name.
    QString displayName() const { return label_.isEmpty() ? name_ : label_; }
    // Grid width in characters; 0 for the field's own.
    int displayWidth() const;
    DataSet* dataSet() const { return owner_; }
    // How controls align the field's text.
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment a) { alignment_ = a; }

    QVariant value() const;
    bool isNull() const;
    // A text converts strictly and a float rounds a half to the even neighbour.
    int asInteger() const;
    // Text without its padding blanks; numbers in their display form.
    QString asString() const;
    // The display form of a value of this field read from any row.
    QString displayText(const QVariant& v) const;

    // Storing a value into the row being edited.
    void setValue(const QVariant& v);
    // A typed text: empty makes the value blank; text that does not suit the
    // kind is refused with the field's message, and the row stays in edit.
    void setAsString(const QString& text);
    // Whether a typed character suits the kind.
    bool isValidChar(QChar c) const;

private:
    friend class DataSet;
    DataSet* owner_;
    QString name_;
    FieldKind kind_;
    int size_;
    QString label_;
    int displayWidth_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    int column_ = -1; // bound column of the table or result; -1 while closed
};

} // namespace data
