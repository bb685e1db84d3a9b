#pragma once

#include <QColor>

#include <cstdint>

class QWidget;

namespace ui {

// Colours of the design are 0x00BBGGRR values, red in the low byte.
inline QColor winColor(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

inline std::uint32_t toWinColor(const QColor& c)
{
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8)
        | (static_cast<std::uint32_t>(c.blue()) << 16);
}

// Fills the widget's background with `color`; buttons keep the system face.
void setBackground(QWidget* widget, const QColor& color);
// The colour a widget's background shows.
QColor background(const QWidget* widget);
void setTextColor(QWidget* widget, const QColor& color);

} // namespace ui
