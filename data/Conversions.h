#pragma once

#include <QString>

#include <optional>

namespace data {

// The strict text-to-integer conversion of field reads: leading blanks, an
// optional sign, then decimal digits up to the end of the text. Anything
// else (empty, a trailing blank, a letter, a number beyond 32 bits) fails.
std::optional<int> strictToInt(const QString& text);

// Rounds to the nearest integer, a half to the even neighbour (2.5 gives 2,
// 3.5 gives 4); nullopt when the result has no 32-bit integer.
std::optional<int> roundHalfEven(double value);

// The display form of a floating-point value: general format, up to 15
// significant digits, the decimal separator of the user's locale.
QString formatFloat(double value);

// A typed floating-point text: blanks around it allowed, the locale's decimal
// separator or a full stop, an optional exponent.
std::optional<double> parseFloat(const QString& text);

} // namespace data
