#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

class QPainter;

namespace station {

// A 5 by 7 pixel font (descenders below) drawn square by square, so a plan
// picture comes out the same on every machine, whatever fonts it has.
class PixelFont {
public:
    static constexpr int capHeight = 7;
    static constexpr int lineHeight = 10;

    // Draws `text` with its top left corner at `at`, each font pixel a
    // `scale` by `scale` square. A character the font lacks is a Failure.
    static void draw(QPainter& painter, QPoint at, int scale, const QColor& colour, const QString& text);
    static int width(const QString& text, int scale);
};

} // namespace station
