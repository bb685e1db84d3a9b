#include "tests/support/Station.h"

namespace testing_support {

void writeStation(const QString& dir)
{
    // The tables come with the data layer.
    (void)dir;
}

} // namespace testing_support
