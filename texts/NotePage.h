#pragma once

#include <QStringList>

#include <cstdint>
#include <vector>

namespace texts {

// One page of the equipment notes window: its tab caption, its memo and the
// memo's fixed lines.
struct NotePage {
    const char* caption;
    const char* memoName;
    std::uint32_t color; // 0x00BBGGRR
    bool readOnly;
    std::vector<const char*> lines; // UTF-8

    QStringList text() const;

    static const std::vector<NotePage>& all();
    // The page shown when the window is first shown: "Nowości".
    static constexpr int firstShown = 5;
};

} // namespace texts
