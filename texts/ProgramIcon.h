#pragma once

#include <QIcon>
#include <QImage>

namespace texts {

// The about box's own picture, drawn here in the 16 colours of the standard
// Windows palette, at 32 × 32 and 16 × 16: a grey square panel with a
// horizontal slot near its top and a black dot over a short upright bar in
// its lower half.
class ProgramIcon {
public:
    static QIcon icon();
    static QImage image(int size); // 32 or 16
    static QList<QRgb> palette();
};

} // namespace texts
