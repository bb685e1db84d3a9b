#include "tests/data/DbfTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <stdexcept>

namespace dbf_test {

namespace {

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    const bool aNumber = a.metaType().id() != QMetaType::QString;
    const bool bNumber = b.metaType().id() != QMetaType::QString;
    if (aNumber != bNumber)
        return false;
    return aNumber ? a.toDouble() == b.toDouble() : a.toString() == b.toString();
}

} // namespace

bool operator==(const Row& a, const Row& b)
{
    if (a.deleted != b.deleted || a.values.size() != b.values.size())
        return false;
    for (qsizetype i = 0; i < a.values.size(); ++i) {
        if (!sameValue(a.values[i], b.values[i]))
            return false;
    }
    return true;
}

void PrintTo(const Row& row, std::ostream* os)
{
    *os << (row.deleted ? "*[" : " [");
    for (qsizetype i = 0; i < row.values.size(); ++i) {
        const QVariant& v = row.values[i];
        if (i)
            *os << ", ";
        if (v.isNull())
            *os << "null";
        else if (v.metaType().id() == QMetaType::QString)
            *os << '"' << v.toString().toStdString() << '"';
        else
            *os << v.metaType().name() << ' ' << QString::number(v.toDouble(), 'g', 17).toStdString();
    }
    *os << ']';
}

std::vector<data::DbfField> fields(const QString& layout)
{
    return data::DbfField::listFrom(layout);
}

QByteArray record(const data::DbfFile& file, const Row& row)
{
    QByteArray r = file.blankRecord();
    for (qsizetype i = 0; i < row.values.size(); ++i)
        file.setValue(r, int(i), row.values[i]);
    if (row.deleted)
        r[0] = '*';
    return r;
}

std::shared_ptr<data::DbfFile> makeTable(const QString& path, const QString& layout, const std::vector<Row>& rows,
                                         const data::DbfCreateOptions& options)
{
    data::DbfFile::create(path, fields(layout), options);
    auto file = data::DbfFile::open(path);
    std::vector<QByteArray> records;
    for (const Row& row : rows)
        records.push_back(record(*file, row));
    file->appendRecords(records);
    return file;
}

std::vector<Row> readRows(data::DbfFile& file)
{
    std::vector<Row> rows;
    data::DbfFile::Scanner scan(file);
    while (const char* r = scan.next()) {
        Row row;
        row.deleted = data::DbfFile::isDeleted(r);
        for (size_t i = 0; i < file.fields().size(); ++i)
            row.values.push_back(file.value(r, int(i)));
        rows.push_back(row);
    }
    return rows;
}

void putLe16(QByteArray& bytes, int at, int value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char((value >> 8) & 0xFF);
}

void putLe32(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

QByteArray rawTable(quint8 version, quint32 count, const std::vector<data::DbfField>& fields,
                    const std::vector<QByteArray>& records, bool endMark)
{
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    QByteArray b(headerLength, '\0');
    b[0] = char(version);
    b[1] = char(99);
    b[2] = char(1);
    b[3] = char(2);
    putLe32(b, 4, count);
    putLe16(b, 8, headerLength);
    int length = 1;
    for (size_t i = 0; i < fields.size(); ++i) {
        const int at = 32 + 32 * int(i);
        const QByteArray name = fields[i].name.toLatin1();
        b.replace(at, name.size(), name);
        b[at + 11] = fields[i].type;
        b[at + 16] = char(fields[i].width);
        b[at + 17] = char(fields[i].decimals);
        length += fields[i].width;
    }
    putLe16(b, 10, length);
    b[29] = char(0xC8);
    b[headerLength - 1] = 0x0D;
    for (const QByteArray& r : records)
        b += r;
    if (endMark)
        b += char(0x1A);
    return b;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace dbf_test
