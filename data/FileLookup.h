#pragma once

#include <QString>

namespace data {

// File names of the program are fixed literals that its files spell in
// other letter cases ("odcinki.dbf", "ODCINKI.DBF"). Resolves `name` in the
// working directory (or `dir`) without regard to letter case: an exact match
// wins, else the first entry that matches ignoring case, else `name` itself.
QString resolveFileName(const QString& name, const QString& dir = QString());

} // namespace data
