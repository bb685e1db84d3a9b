#pragma once

#include "data/DataSet.h"

#include <QByteArray>

#include <memory>
#include <optional>
#include <vector>

namespace data {

class DataSource;
class DbfFile;
class DbfFileLock;

// A data set over one dBase table file of the working directory. Rows are
// the records that are not deleted, in stored order, or in the order of an
// index tag when IndexFieldNames names one; with a master source the rows
// are those whose index field equals the master's field.
//
// A writable table holds a record lock (DbfFileLock) on the row it edits,
// from the start of the edit to its post or cancel, and while it deletes a
// row; another user's lock refuses the edit and the row stays as it was.
class Table : public DataSet {
    Q_OBJECT
public:
    explicit Table(QObject* parent = nullptr);
    ~Table() override;

    void setTableName(const QString& name);
    const QString& tableName() const { return tableName_; }
    // Allowed only while the table is closed.
    void setReadOnly(bool readOnly);
    bool readOnly() const { return readOnly_; }
    void setIndexFieldNames(const QString& names) { indexFieldNames_ = names; }
    // The detail link: follow the current row of `master`'s data set.
    void setMasterSource(DataSource* master);
    void setMasterFields(const QString& fields) { masterFields_ = fields; }

    bool canModify() const override;
    QVariant columnValue(int column) const override;

    // Lets another user lock the row this table edits, while its window is
    // hidden; the edit stays, and its post takes the lock again and refuses
    // when the record changed on disk meanwhile.
    void releaseRecordLock();

    // The record the cursor stands on, -1 for none.
    qint64 currentRecno() const { return recno_; }
    DbfFile* file() const { return file_.get(); }

protected:
    void doOpen() override;
    void doClose() override;
    std::vector<ColumnInfo> columns() const override;
    bool doFirst() override;
    bool doLast() override;
    bool doNext() override;
    bool doPrior() override;
    bool hasCurrent() const override;
    int doRowCount() override;
    int doCurrentRow() override;
    bool doMoveToRow(int row) override;
    QVariant doValueAt(int row, int column) override;
    void doEdit() override;
    void doInsert() override;
    void doRemove() override;
    void doPost() override;
    void doCancel() override;
    void doRefresh() override;
    void doSetColumnValue(int column, const QVariant& v) override;

private:
    void masterChanged();
    void relockUnchanged();
    void applyRange();
    bool standOn(qint64 recno);
    qint64 liveFrom(qint64 recno, int step);
    const std::vector<quint32>& rows();
    void forgetRows() { rows_.reset(); }

    QString tableName_;
    bool readOnly_ = false;
    QString indexFieldNames_;
    DataSource* master_ = nullptr;
    QString masterFields_;

    std::shared_ptr<DbfFile> file_;
    std::unique_ptr<DbfFileLock> lock_; // only when the table can be written
    int tag_ = -1;
    // Rows by index (whole tag or the master's range); unset: stored order.
    std::optional<std::vector<quint32>> ordered_;
    // Stored-order rows, built only when a grid asks.
    std::optional<std::vector<quint32>> rows_;
    qint64 recno_ = -1;
    qint64 beforeInsert_ = -1;
    QByteArray current_;
    QByteArray buffer_;
};

} // namespace data
