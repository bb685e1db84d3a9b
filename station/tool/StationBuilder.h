#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace station {

// Makes the example installation from its sources: the tables from the text
// tables, the two plan pictures from their descriptions, the text pages
// from their UTF-8 sources. The same sources always give the same bytes.
class StationBuilder {
public:
    // The date every table and index file carries as made.
    static QDate issued() { return QDate(2026, 12, 1); }

    // Writes into `outDir` (which must exist) from `sourceDir`; returns the
    // file names written, tables first.
    static QStringList build(const QString& sourceDir, const QString& outDir);
    // The page files of an installation: Spis.Txt, U1.txt..U20.txt,
    // Tspis.Txt, Dte1.txt..Dte20.txt.
    static QStringList pageNames();
};

} // namespace station
