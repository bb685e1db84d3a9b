#pragma once

#include "data/Field.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace data {

// What a data set exposes to bind its declared fields.
struct ColumnInfo {
    QString name;
    FieldKind kind = FieldKind::Other;
    int width = 0; // text width; 0 when unknown
};

// A set of rows with a current row and declared fields: the common part of
// tables and queries. Every change reaches the data sources at once through
// the signals, before the call that made it returns.
class DataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    // Declares a field; the order of declaration is the order of grid columns.
    Field* addField(const QString& name, FieldKind kind, int size = 0, const QString& displayLabel = QString(),
                    int displayWidth = 0);
    const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }
    Field* findField(const QString& name) const;
    Field* fieldByName(const QString& name) const; // throws "Field '%s' not found"

    void open();
    // Drops a row that is being edited, without a question.
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    bool isModified() const { return modified_; }

    // Movement; a changed row is posted first, an unchanged one dropped.
    void first();
    void prior();
    void next();
    void last();
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    bool isEmpty() const;
    // Rows for a grid: their number, the current one, a move to one, and a
    // field's value in any row without moving the cursor.
    int rowCount();
    int currentRow();
    void moveToRow(int row);
    QVariant valueAt(int row, const Field* field);

    virtual bool canModify() const { return false; }
    void edit();
    void insert();
    void remove();
    void post();
    void cancel();
    void refresh();
    // Posts a changed row, drops an unchanged one.
    void checkBrowseMode();

    // The current row's value of a bound column (the row being edited while editing).
    virtual QVariant columnValue(int column) const = 0;
    void setColumnValue(Field* field, const QVariant& v);

Q_SIGNALS:
    // Opened, closed, moved, refreshed, posted or cancelled: everything shown anew.
    void dataSetChanged();
    // A field of the row being edited changed.
    void recordChanged(data::Field* field);
    // The set of rows changed (opened, closed, a row posted, added or
    // deleted, refreshed, another range): lists and grids read them anew.
    void rowsChanged();
    void stateChanged();
    // Controls store what they hold into the row before it is posted.
    void updatingRecord();

protected:
    // Position of the cursor, in terms the subclass keeps.
    virtual void doOpen() = 0;
    virtual void doClose() = 0;
    virtual std::vector<ColumnInfo> columns() const = 0;
    virtual bool doFirst() = 0;
    virtual bool doLast() = 0;
    virtual bool doNext() = 0;
    virtual bool doPrior() = 0;
    virtual bool hasCurrent() const = 0;
    virtual int doRowCount() = 0;
    virtual int doCurrentRow() = 0;
    virtual bool doMoveToRow(int row) = 0;
    // The raw value of `column` in `row` (the row being inserted is the last).
    virtual QVariant doValueAt(int row, int column) = 0;
    // Editing: buffer handling is the subclass's.
    virtual void doEdit();
    virtual void doInsert();
    virtual void doRemove();
    virtual void doPost();
    virtual void doCancel();
    virtual void doRefresh() {}
    virtual void doSetColumnValue(int column, const QVariant& v);
    virtual QString objectDescription() const { return objectName(); }

    [[noreturn]] void fail(const QString& message) const;
    void setBofEof(bool bof, bool eof);
    void announce() { Q_EMIT dataSetChanged(); }
    void announceRows() { Q_EMIT rowsChanged(); }

private:
    void bindFields();
    void unbindFields();
    void setState(State s);
    void requireActive() const;
    void requireModifiable() const;

    std::vector<std::unique_ptr<Field>> fields_;
    State state_ = State::Inactive;
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;
};

} // namespace data
