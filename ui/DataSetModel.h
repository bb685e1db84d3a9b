#pragma once

#include <QAbstractTableModel>

#include <functional>

namespace data {
class DataSet;
class DataSource;
class Field;
}

namespace ui {

// The rows of a data source as a table model: one column per declared field,
// in declaration order, titled by display label or name; the vertical header
// marks the data set's current row. Every verb writes to the data set first
// and the view hears of it from the data set's signals. Verbs run through the
// program's guard, so a refused value shows its message and gives false.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(QObject* parent = nullptr);

    void setDataSource(data::DataSource* source);
    data::DataSource* dataSource() const { return source_; }
    data::DataSet* dataSet() const;
    data::Field* fieldAt(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Moves to the row, starts editing it and stores the typed text.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // A new row, added after the last one (where the table stores it).
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    // Posts a changed row and drops an unchanged one.
    bool submit() override;
    // Drops the changes of the row being edited.
    void revert() override;

    // Puts the row into editing: the first typed change of a cell.
    bool startEditing(int row);
    // Makes `row` the data set's current row, posting a changed row first.
    bool moveTo(int row);

    // The row markers of the vertical header.
    static inline const QString browseMarker = QStringLiteral("\u25B6");
    static inline const QString editMarker = QStringLiteral("I");
    static inline const QString insertMarker = QStringLiteral("*");

private:
    bool run(const std::function<void()>& verb);
    void standOn(int row);
    void followRows();
    void followRecord();
    void followField(data::Field* field);
    int columnOf(const data::Field* field) const;

    data::DataSource* source_ = nullptr;
    int rows_ = 0; // what the view was told
};

} // namespace ui
