#include "ui/WinFont.h"

namespace ui {

QFont winFont(const QString& family, int pixelHeight, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    return f;
}

} // namespace ui
