// The strict text-to-integer conversion against a reference reading of the
// same rule: blanks, a sign, digits to the end, within 32 bits.
#include "data/Conversions.h"

#include <QString>

#include <cstdint>
#include <limits>

namespace {

std::optional<int> reference(const QString& t)
{
    qsizetype i = 0;
    while (i < t.size() && t[i] == QLatin1Char(' '))
        ++i;
    const bool negative = i < t.size() && t[i] == QLatin1Char('-');
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ++i;
    const QString digits = t.mid(i);
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    // Leading zeros do not count towards the magnitude.
    QString trimmed = digits;
    while (trimmed.size() > 1 && trimmed.front() == QLatin1Char('0'))
        trimmed.remove(0, 1);
    if (trimmed.size() > 10)
        return std::nullopt;
    const qint64 magnitude = trimmed.toLongLong();
    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    if (data::strictToInt(text) != reference(text))
        __builtin_trap();
    return 0;
}
