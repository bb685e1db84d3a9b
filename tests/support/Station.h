#pragma once

#include <QString>

namespace testing_support {

// Writes into `dir` the smallest installation the program starts on: the
// three tables (a few rows each, the frequency table with its index) and two
// small plan pictures. Text pages are left out unless a test adds them.
void writeStation(const QString& dir);

} // namespace testing_support
