#pragma once

#include "station/tool/PlanScript.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace testing_support {

// The bundled installation as committed, its sources, and a copy of it in a
// working directory, so that no test writes to station/ itself.
struct StationCopy {
    static QString dir();        // station/
    static QString sourceDir();  // station/src
    // The files of the installation (station/ without its sources and tool).
    static QStringList files();
    static void copyTo(const QString& target);

    // A plan description: "kzn1" or "kzn".
    static station::PlanScript plan(const QString& name);

    // The rows of a table of station/, values as DbfFile reads them, by field name.
    static std::vector<QVariantMap> rows(const QString& table);
};

} // namespace testing_support
