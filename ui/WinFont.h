#pragma once

#include <QFont>
#include <QString>

namespace ui {

// A font of the design: its family as the design names it ("System",
// "MS Sans Serif", "Arial", ...; substitutes are installed by app/) and its
// character height in pixels.
QFont winFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace ui
