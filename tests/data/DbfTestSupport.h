#pragma once

#include "data/DbfFile.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <iosfwd>
#include <memory>
#include <vector>

namespace dbf_test {

// One record as a reader sees it: the deleted flag and a value per field.
struct Row {
    bool deleted = false;
    QVariantList values;
};
bool operator==(const Row& a, const Row& b);
void PrintTo(const Row& row, std::ostream* os);

// Fields from a short form: "NAZWA C 12; SOT N 2; TYP N 10 1".
std::vector<data::DbfField> fields(const QString& layout);

// A new table at `path` holding `rows`, deleted ones appended with their flag set.
std::shared_ptr<data::DbfFile> makeTable(const QString& path, const QString& layout, const std::vector<Row>& rows,
                                         const data::DbfCreateOptions& options = {});
QByteArray record(const data::DbfFile& file, const Row& row);
std::vector<Row> readRows(data::DbfFile& file);

// Raw bytes of a table: the fixed header of dBase III/IV plus descriptors and
// records given as they stand in the file; no checks, so tests can damage it.
QByteArray rawTable(quint8 version, quint32 count, const std::vector<data::DbfField>& fields,
                    const std::vector<QByteArray>& records, bool endMark = true);
void putLe16(QByteArray& bytes, int at, int value);
void putLe32(QByteArray& bytes, int at, quint32 value);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace dbf_test
