#pragma once

#include "tests/data/MdxTestTable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace data {
class MdxIndex;
}

namespace mdx_test {

// A key as the table holds it, comparable in tag order: numbers by value,
// text byte by byte.
struct TableKey {
    bool number = false;
    double value = 0;
    QByteArray text;
    bool operator<(const TableKey& other) const { return number ? value < other.value : text < other.text; }
    bool operator==(const TableKey& other) const { return number ? value == other.value : text == other.text; }
};
TableKey tableKey(const MdxTestTable& table, quint32 recno, const QString& field);

// One entry as a reader of the index reports it: record number from 0 and
// the key as text.
struct Seen {
    quint32 recno;
    QString key;
};

// Checks that `order` (record numbers from 0, in the order a reader gave
// them) holds every record of `table` once, in the order of `field`, and,
// when `keys` is not empty, that the reader's keys are the table's.
void expectInTagOrder(const MdxTestTable& table, const QString& field, const std::vector<quint32>& order,
                      const QStringList& keys = {});
// Checks a tag of `index` against the table: walk() in key order, find()
// giving each key's records and nothing else.
void expectTagAgrees(const data::MdxIndex& index, const MdxTestTable& table, const QString& field);

// Runs a program and returns what it wrote; a failed run fails the test.
QString run(const QString& program, const QStringList& arguments);

} // namespace mdx_test
