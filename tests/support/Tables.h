#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace testing_support {

// A table at `path` made by the program's own writer: `layout` lists the
// columns as "NAME TYPE WIDTH [DECIMALS]" separated by ';', each row holds a
// value per column (a null QVariant is blank). `indexed` fields get a tag of
// a production index beside the table.
void writeTable(const QString& path, const QString& layout, const std::vector<QVariantList>& rows,
                const QStringList& indexed = {});

// The three tables of an installation, in the column layout a station's own
// files have.
inline const char* const merLayout = "SOT N 2; TYP N 6; R C 1; EOT C 3; UWAGI C 20";
inline const char* const czestotlLayout = "EOT C 3; SOT N 2; NR N 2; C_OZN N 2; CZESTOTL N 6; KOLOR C 20";
inline const char* const odcinkiLayout =
    "ODCINEK C 10; SOT C 10; CZEST N 2; IL_ODB N 2; DLUGOSC C 10; UWAGI C 50; "
    "OD_GR1 C 10; U_GR1 C 1; G_Z1 C 1; OD_GR2 C 10; U_GR2 C 1; G_Z2 C 1; "
    "OD_GR3 C 10; U_GR3 C 1; G_Z3 C 1; OD_GR4 C 10; U_GR4 C 1; G_Z4 C 1; "
    "E1 N 7; E2 N 7; E3 N 7; E4 N 7; NAD_EOT N 1";

// MER.DBF rows: SOT, TYP, R, EOT, UWAGI.
void writeMer(const QString& dir, const std::vector<QVariantList>& rows);
// CZESTOTL.DBF rows: EOT, SOT, NR, C_OZN, CZESTOTL, KOLOR; with CZESTOTL.MDX over C_OZN.
void writeCzestotl(const QString& dir, const std::vector<QVariantList>& rows);
// ODCINKI.DBF rows as written by section(): one per section.
void writeOdcinki(const QString& dir, const std::vector<QVariantList>& rows);

// One ODCINKI.DBF row: the name, SOT text, frequency code, receivers,
// length, remarks, up to four neighbours with their EOT numbers and the
// transmitter's EOT type. Blank numbers where a value is null.
QVariantList section(const QString& name, const QString& sot, const QVariant& czest, const QVariant& nadEot,
                     const QStringList& neighbours = {}, const QVariantList& eots = {}, const QVariant& ilOdb = 1,
                     const QString& dlugosc = QStringLiteral("120"), const QString& uwagi = QString());

} // namespace testing_support
