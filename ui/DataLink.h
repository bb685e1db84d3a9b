#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace data {
class DataSet;
class DataSource;
class Field;
}

namespace ui {

// What a data-aware control keeps of its data: the source, the field by
// name, and a call whenever what it shows may have changed.
class DataLink : public QObject {
    Q_OBJECT
public:
    explicit DataLink(QObject* owner);

    void setDataSource(data::DataSource* source, const QString& fieldName);
    data::DataSource* dataSource() const { return source_; }
    data::DataSet* dataSet() const;
    // The bound field, or nullptr when there is none to show.
    data::Field* field() const;
    // The field's display text in the current row; empty without one.
    QString displayText() const;
    bool canModify() const;

    std::function<void()> onChange;      // opened, moved, a field changed
    std::function<void()> onStateChange; // browse, edit, insert
    std::function<void()> onUpdateRecord; // the row is about to be posted

private:
    data::DataSource* source_ = nullptr;
    QString fieldName_;
};

} // namespace ui
