#pragma once

#include <QString>

namespace data {

// The program-wide name of the section last clicked on the station plan:
// written by the plan's markers, read by the review window's load. Empty
// until the first click.
QString& selectedSection();

} // namespace data
