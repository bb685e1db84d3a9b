#include "texts/ProgramIcon.h"

#include <QPixmap>

#include <span>

namespace texts {

namespace {
// Indexes into the 16-colour palette.
enum Ink : uint { Black = 0, LightGrey = 7, DarkGrey = 8, White = 15 };

struct Shape {
    int left, top, right, bottom; // inclusive
    Ink ink;
};

// The panel with a dark outline and raised edges, the slot as a dark groove
// with a lit lower lip, the upright bar; the dot is drawn after them.
constexpr Shape large[] = {
    {0, 0, 31, 31, Black},     {1, 1, 30, 30, White},     {2, 2, 30, 30, DarkGrey},
    {2, 2, 29, 29, LightGrey}, {6, 6, 25, 9, Black},      {6, 10, 25, 11, White},
    {14, 22, 17, 28, Black},
};
constexpr Shape small[] = {
    {0, 0, 15, 15, Black},     {1, 1, 14, 14, White},     {2, 2, 14, 14, DarkGrey},
    {2, 2, 13, 13, LightGrey}, {3, 3, 12, 4, Black},      {3, 5, 12, 5, White},
    {7, 11, 8, 13, Black},
};

void fill(QImage& image, const Shape& s)
{
    for (int y = s.top; y <= s.bottom; ++y)
        for (int x = s.left; x <= s.right; ++x)
            image.setPixel(x, y, s.ink);
}

// A black disc in the middle of the panel, just below half its height.
void dot(QImage& image)
{
    const double size = image.width();
    const double cx = (size - 1) / 2, cy = size * 17.5 / 32, r = size * 3.2 / 32;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                image.setPixel(x, y, Black);
}
} // namespace

QList<QRgb> ProgramIcon::palette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QImage ProgramIcon::image(int size)
{
    QImage image(size, size, QImage::Format_Indexed8);
    image.setColorTable(palette());
    for (const Shape& s : size == 16 ? std::span<const Shape>(small) : std::span<const Shape>(large))
        fill(image, s);
    dot(image);
    return image;
}

QIcon ProgramIcon::icon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image(32)));
    icon.addPixmap(QPixmap::fromImage(image(16)));
    return icon;
}

} // namespace texts
