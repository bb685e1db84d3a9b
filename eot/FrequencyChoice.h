#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace eot {

// One item of a frequency group: index 0 ("0", code "00") stands for no device.
struct FrequencyChoice {
    int index;
    const char* itemText;
    int hertz;          // 0 for index 0
    const char* code;   // two characters; read as a decimal integer it is C_OZN / CZEST
    int sotClass;       // 21 below index 6, 22 from index 6
    std::uint32_t color; // 0x00BBGGRR
};

inline constexpr int frequencyChoiceCount = 10;
const std::array<FrequencyChoice, frequencyChoiceCount>& frequencyTable();

// The finder window's own colour; also the colour of choice 0.
inline constexpr std::uint32_t finderWindowColor = 14006444;

std::uint32_t color(int index);
// Colour of an integer frequency code; only the nine codes of real choices have one.
std::optional<std::uint32_t> colorOfCode(int code);
int sotClassOfIndex(int index);
QString codeOfIndex(int index);
// Index of a two-character code, -1 when no choice has it.
int indexOfCode(const QString& code);

} // namespace eot
