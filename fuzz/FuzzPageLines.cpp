// The page-file line rules over any bytes: every byte before the first
// Ctrl-Z lands in a line or a line end, and nothing after it is read.
#include "texts/PageLines.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<QByteArray> lines = texts::PageLines::split(bytes);
    const qsizetype end = bytes.indexOf(texts::PageLines::ctrlZ);
    const QByteArrayView text = end < 0 ? bytes : bytes.first(end);
    qsizetype kept = 0;
    for (const QByteArray& line : lines) {
        if (line.contains(texts::PageLines::cr) || line.contains(texts::PageLines::ctrlZ))
            __builtin_trap();
        kept += line.size();
        const QString shown = texts::PageLines::shown(line);
        if (shown.size() != line.size())
            __builtin_trap(); // one shown character per byte
    }
    // What the lines leave out of the text is only line ends.
    const qsizetype ends = text.count(texts::PageLines::cr);
    if (kept + ends > text.size() || kept < text.size() - 2 * ends)
        __builtin_trap();
    texts::PageLines::split(bytes, texts::PageLines::Stop::ReadFailed);
    return 0;
}
