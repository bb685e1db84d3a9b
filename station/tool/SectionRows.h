#pragma once

#include "station/tool/TextTable.h"

#include <QVariantList>

#include <vector>

namespace station {

// The rows of ODCINKI.DBF from the section source (ODCINKI.txt): each
// section's transmitter device gives NAD_EOT, its neighbours "<X" (west) and
// "X>" (east) give OD_GR1..4 with "<" in U_GR and ">" in G_Z, and each
// neighbour's own transmitter number goes beside it in E1..E4.
class SectionRows {
public:
    // Values in the column order of StationTables::odcinkiLayout. A device
    // that does not carry the section's code, an unknown or fifth neighbour
    // is a Failure naming the line.
    static std::vector<QVariantList> fromTable(const TextTable& table);

private:
    struct Section {
        int line = 0;
        QString name;
        QString device; // digits after "EOT-"
        QStringList neighbours;
        const TextTable::Row* row = nullptr;
    };
    static Section parse(const TextTable& table, const TextTable::Row& row);
    static QVariantList rowOf(const TextTable& table, const Section& s, const std::vector<Section>& all);
};

} // namespace station
