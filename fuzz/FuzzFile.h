#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Writes the input to a file of the given name in a private temporary
// directory and gives its path: the readers under test work on files.
QString writeInput(const char* name, const uint8_t* data, size_t size);

} // namespace fuzz
