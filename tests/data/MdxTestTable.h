#pragma once

#include "data/DbfFile.h"
#include "data/MdxIndex.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace mdx_test {

// The records of a table held in memory, for changing them under an index
// the way a table writer does, or behind its back. Read from a table file
// through DbfFile, or made up with the frequency table's columns.
class MdxTestTable {
public:
    // The frequency table's columns: EOT C3, SOT N2, NR N2, C_OZN N2,
    // CZESTOTL N8, KOLOR C20.
    static std::vector<data::DbfField> frequencyFields();
    static MdxTestTable frequency();
    static MdxTestTable load(const QString& path);

    const std::vector<data::DbfField>& fields() const { return fields_; }
    std::vector<QByteArray>& records() { return records_; }
    const std::vector<QByteArray>& records() const { return records_; }
    int field(const QString& name) const;

    // A frequency record (not deleted).
    QByteArray row(const QString& eot, int sot, int nr, int code, int frequency, const QString& colour) const;
    // The field's text without blanks on either side.
    QString text(quint32 recno, const QString& field) const;
    void set(quint32 recno, const QString& field, const QString& text);
    void setDeleted(quint32 recno, bool deleted);
    bool deleted(quint32 recno) const { return records_[recno][0] == '*'; }

    // A reader over the records, as MdxIndex::repair takes it.
    data::MdxIndex::RecordReader reader() const;

private:
    void put(QByteArray& record, const QString& field, const QString& text) const;

    std::vector<data::DbfField> fields_;
    std::vector<QByteArray> records_;
    int recordLength_ = 1;
};

} // namespace mdx_test
