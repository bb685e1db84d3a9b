#include "eot/FrequencyChoice.h"

namespace eot {

const std::array<FrequencyChoice, frequencyChoiceCount>& frequencyTable()
{
    // Codes are the first two digits of the frequency, so they do not grow with
    // it (10000 Hz is "10", 8000 Hz is "80"): anything ordered goes by index.
    static const std::array<FrequencyChoice, frequencyChoiceCount> table{{
        {0, "0", 0, "00", 21, finderWindowColor},
        {1, "1580", 1580, "15", 21, 16776960},
        {2, "1860", 1860, "18", 21, 65535},
        {3, "2170", 2170, "21", 21, 255},
        {4, "2470", 2470, "24", 21, 65280},
        {5, "2800", 2800, "28", 21, 15395562},
        {6, "8000", 8000, "80", 22, 26058},
        {7, "10000", 10000, "10", 22, 11579568},
        {8, "12150", 12150, "12", 22, 16777215},
        {9, "14600", 14600, "14", 22, 16744448},
    }};
    return table;
}

std::uint32_t color(int index)
{
    return frequencyTable().at(static_cast<size_t>(index)).color;
}

std::optional<std::uint32_t> colorOfCode(int code)
{
    for (const FrequencyChoice& c : frequencyTable()) {
        if (c.index != 0 && QString::fromLatin1(c.code).toInt() == code)
            return c.color;
    }
    return std::nullopt;
}

int sotClassOfIndex(int index)
{
    return index < 6 ? 21 : 22;
}

QString codeOfIndex(int index)
{
    return QString::fromLatin1(frequencyTable().at(static_cast<size_t>(index)).code);
}

int indexOfCode(const QString& code)
{
    for (const FrequencyChoice& c : frequencyTable()) {
        if (code == QLatin1String(c.code))
            return c.index;
    }
    return -1;
}

} // namespace eot
