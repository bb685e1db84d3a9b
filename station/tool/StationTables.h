#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <vector>

namespace station {

// Writes the installation's three tables from their text sources, with the
// project's own dBase and index writers, Windows-1250 text and a fixed date.
class StationTables {
public:
    // The column layouts of an installation ("NAME TYPE WIDTH" by ';').
    static inline const char* const merLayout = "SOT N 2; TYP N 6; R C 1; EOT C 3; UWAGI C 20";
    static inline const char* const czestotlLayout = "EOT C 3; SOT N 2; NR N 2; C_OZN N 2; CZESTOTL N 6; KOLOR C 20";
    static inline const char* const odcinkiLayout =
        "ODCINEK C 10; SOT C 10; CZEST N 2; IL_ODB N 2; DLUGOSC C 10; UWAGI C 50; "
        "OD_GR1 C 10; U_GR1 C 1; G_Z1 C 1; OD_GR2 C 10; U_GR2 C 1; G_Z2 C 1; "
        "OD_GR3 C 10; U_GR3 C 1; G_Z3 C 1; OD_GR4 C 10; U_GR4 C 1; G_Z4 C 1; "
        "E1 N 7; E2 N 7; E3 N 7; E4 N 7; NAD_EOT N 1";

    // MER.DBF, CZESTOTL.DBF with CZESTOTL.MDX over C_OZN, ODCINKI.DBF from
    // MER.txt, CZESTOTL.txt and ODCINKI.txt in `sourceDir`; files of those
    // names in `outDir` are replaced. Returns the file names written.
    static QStringList write(const QString& sourceDir, const QString& outDir, QDate made);

private:
    // `path` with `rows` (values in layout order); `indexed` fields get a
    // tag of a production index beside it.
    static void writeTable(const QString& path, const QString& layout, const std::vector<QVariantList>& rows,
                           const QStringList& indexed, QDate made);
    // Rows whose columns carry the layout's field names.
    static std::vector<QVariantList> plainRows(const QString& sourcePath, const QString& layout);
};

} // namespace station
