#pragma once

#include "data/Query.h"
#include "data/Table.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace data {
class DataSource;
}

namespace dataset_test {

// The four statements, line by line as the windows store them.
inline const QStringList merLookUp = {QStringLiteral("Select * from MER where sot = :tsot and r = :tr and eot = :reot")};
inline const QStringList frequencyLookUp = {
    QStringLiteral("select * from czestotl where sot = :Isot and C_ozn = :ico and eot = :ieot")};
inline const QStringList frequencyLookUpTwoLines = {QStringLiteral("select * from czestotl"),
                                                    QStringLiteral(" where sot = :Isot and C_ozn = :ico and eot = :ieot")};
inline const QStringList sectionReview = {
    QStringLiteral("select odcinki. *, czestotl.czestotl  from odcinki ,czestotl"),
    QStringLiteral("where (odcinki.odcinek =  :od) and (czestotl.C_ozn = odcinki.czest)")};

// Data sets with the fields the windows declare for them.
std::unique_ptr<data::Query> finderMerQuery();                          // Form1.Query1
std::unique_ptr<data::Query> finderFrequencyQuery(const QStringList& sql); // Form1.Query2 and Query4
std::unique_ptr<data::Query> reviewQuery();                             // Przeglad.Query1
// Przeglad.Table2: CZESTOTL.DBF by C_OZN, following `master` by CZEST.
std::unique_ptr<data::Table> reviewFrequencies(data::DataSource* master);
std::unique_ptr<data::Table> programmerFrequencies();                   // Wpis.Table1
std::unique_ptr<data::Table> sectionEntryTable();                       // Odcinki.Table1, read-only

// A look-up as the finder runs it: close, prepare, parameters, open.
void runMer(data::Query& q, int sot, const QString& role, const QString& family);
void runFrequency(data::Query& q, int sot, int code, const QString& family);
void runReview(data::Query& q, const QString& section);

// The message of the data::Failure that `action` throws; a test failure,
// and an empty text, when it throws none.
QString failureOf(const std::function<void()>& action);

} // namespace dataset_test
