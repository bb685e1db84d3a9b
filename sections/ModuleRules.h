#pragma once

#include <QString>

namespace sections {

// The MER module of a section's receiver: class 21 "MER 11401/" + NR, class
// 22 "MER 11403/" + NR, any other class nothing.
QString receiverModule(int sotClass, int nr);

// The MER module of a section's transmitter from its EOT type n: types 2 to
// 7 take 11702 (class 21) or 11701 (class 22) with the variant NR; type 9 of
// class 21 takes one of the five 11710 variants, which do not follow NR.
QString transmitterModule(int nadEot, int sotClass, int nr);

} // namespace sections
