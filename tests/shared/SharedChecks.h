#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <vector>

// What a table of the frequency layout (SharedRows.h) holds, as this
// program reads it and as the dBase peers read it, in one line per record:
// a deleted flag ('*' or ' ') then the values joined by '|', numbers as
// numbers, text without its blanks. Equal lines mean equal records.
namespace shared_test {

QString lineOf(bool deleted, const QVariantList& values);

// Read through a DbfFile of this process.
QStringList ourLines(const QString& path);
// python3-dbfread lists live records, then its list of deleted ones.
std::vector<QStringList> dbfreadLines(const QStringList& paths);
// Perl XBase and shapelib's dbfdump list every record in file order.
std::vector<QStringList> xbaseLines(const QStringList& paths);
QStringList dbfdumpLines(const QString& path);

// The live lines first, then the deleted ones, each in the order given.
QStringList liveThenDeleted(const QStringList& lines);
// Lines by their writer (the EOT value), each writer's in the order given:
// two processes' appends interleave in any order, each keeps its own.
std::map<QString, QStringList> byWriter(const QStringList& lines);

// The header's count is `count`, and the end-of-file mark follows the
// last record and ends the file.
void expectWellFormed(const QString& path, int count);
// The production index over C_OZN holds each record once, in key order,
// read here and by Perl XBase. With `repairFirst` the table is opened for
// writing first, which mends an index a crash left behind; without it the
// index is read as it lies.
void expectIndexAgrees(const QString& path, bool repairFirst);

} // namespace shared_test
