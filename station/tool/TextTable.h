#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace station {

// A table kept as UTF-8 text: '#' starts a comment line, the first other
// line names the columns, each further line is a row; cells are separated
// by '|' and trimmed.
class TextTable {
public:
    struct Row {
        int line = 0; // in the file, for messages
        QStringList cells;
    };

    // Reads `path`; a row with another number of cells than the header is a Failure.
    static TextTable read(const QString& path);

    const QString& fileName() const { return fileName_; }
    const QStringList& columns() const { return columns_; }
    const std::vector<Row>& rows() const { return rows_; }
    // The cell of `row` under `column`; a column the header lacks is a Failure.
    QString cell(const Row& row, const QString& column) const;

private:
    QString fileName_;
    QStringList columns_;
    std::vector<Row> rows_;
};

} // namespace station
