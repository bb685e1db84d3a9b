#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// Rows that the worker program (TableWorker.cpp) writes and the tests
// expect, made by the same code on both sides. Columns are those of the
// frequency table: EOT, SOT, NR, C_OZN, CZESTOTL, KOLOR.
namespace shared_test {

inline const QString kTable = QStringLiteral("CZESTOTL.DBF");
inline const QStringList kColumns = {QStringLiteral("EOT"), QStringLiteral("SOT"), QStringLiteral("NR"),
                                     QStringLiteral("C_OZN"), QStringLiteral("CZESTOTL"), QStringLiteral("KOLOR")};

// Row `i` that the worker named `tag` appends; EOT is the tag, so rows can be
// told apart by their writer.
inline QVariantList appendedRow(const QString& tag, int i)
{
    return {tag, 1, i % 100, (i * 37) % 100, double(100000 + i), tag + QStringLiteral("-") + QString::number(i)};
}

// What change `i` of the worker named `tag` makes of a row: a new key, a
// new frequency and a colour naming the change.
inline void applyEdit(QVariantList& row, const QString& tag, int i)
{
    row[3] = (i * 53 + 7) % 100;
    row[4] = double(200000 + i);
    row[5] = tag + QStringLiteral("e") + QString::number(i);
}

// The rows a table starts with: EOT "0", keys out of order and repeated.
inline std::vector<QVariantList> initialRows(int count)
{
    std::vector<QVariantList> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({QStringLiteral("0"), 2, i, (i * 7) % 5 * 10, double(1000 + i), QStringLiteral("r%1").arg(i)});
    return rows;
}

} // namespace shared_test
