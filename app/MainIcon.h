#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

namespace app {

// The main window's icon, drawn here in the 16 colours of the standard
// Windows palette on a transparent ground: a track section between two
// insulated joints (red), its rails black inside the section and grey beyond,
// with the transmitter (blue box) feeding one end and the receiver (green box)
// listening at the other. Drawn by hand at 32 × 32 and 16 × 16; larger sizes
// are the 32 × 32 picture with every pixel repeated, so they stay sharp.
class MainIcon {
public:
    static QIcon icon();
    // 16 and 32 are drawn; 64, 128 and 256 are the 32 picture enlarged.
    static QImage image(int size);
    static QList<int> sizes();
    static QList<QRgb> palette();
};

} // namespace app
