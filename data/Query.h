#pragma once

#include "data/DataSet.h"

#include <QStringList>
#include <QVariant>

#include <vector>

struct sqlite3_stmt;

namespace data {

// A data set over the result of one SQL statement, run by the engine over
// the tables of the working directory. The result is read-only. Parameters
// are numbered in the order they stand in the statement and set by number;
// the kind of the value set becomes the parameter's kind.
class Query : public DataSet {
    Q_OBJECT
public:
    explicit Query(QObject* parent = nullptr);
    ~Query() override;

    // The statement as lines; they run joined with line breaks.
    void setSql(const QStringList& lines);
    const QStringList& sql() const { return sql_; }
    QString statement() const { return sql_.join(QLatin1Char('\n')); }

    // Makes the statement ready; a prepared statement stays as it is.
    void prepare();
    bool isPrepared() const { return statement_ != nullptr; }
    int paramCount();
    void setParamInteger(int index, int value);
    void setParamText(int index, const QString& value);

    QVariant columnValue(int column) const override;

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

private:
    void unprepare();
    void setParam(int index, const QVariant& value);
    void bindParams();
    void readColumns();
    void readResult();

    QStringList sql_;
    sqlite3_stmt* statement_ = nullptr;
    quint64 generation_ = 0; // the engine's, when prepared
    std::vector<QVariant> params_;
    std::vector<ColumnInfo> columns_;
    std::vector<std::vector<QVariant>> rows_;
    int pos_ = -1;
};

} // namespace data
