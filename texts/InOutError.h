#pragma once

#include "data/Failure.h"

#include <QString>

namespace texts {

// The input/output failure of a page file: EInOutError carrying a Windows
// error code, worded as the program's users know it.
class InOutError {
public:
    // The Windows error code for a Linux errno value of open, read or close.
    static int codeOf(int posixErrno);
    static QString message(int code);
    static data::Failure failure(int posixErrno);
};

} // namespace texts
