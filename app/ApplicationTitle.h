#pragma once

#include <QString>

namespace app {

// The application title: the program file's name without its directory, cut
// at the first full stop, its first character as stored and the rest in
// lower case.
QString applicationTitle(const QString& programPath);

} // namespace app
