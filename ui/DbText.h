#pragma once

#include <QLabel>

namespace data {
class DataSource;
}

namespace ui {

class DataLink;

// A label that shows one field of its data source's current row.
class DbText : public QLabel {
    Q_OBJECT
public:
    DbText(const char* name, QWidget* parent, const QRect& geometry);
    void setDataSource(data::DataSource* source, const QString& fieldName);

private:
    DataLink* link_;
};

} // namespace ui
