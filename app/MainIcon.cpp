#include "app/MainIcon.h"

#include <QPixmap>

#include <span>

namespace app {

namespace {
// Indexes into the 16-colour palette; Clear is the icon's mask.
enum Ink : uint {
    Black = 0, Green = 2, Olive = 3, Navy = 4, Silver = 7, Grey = 8, Red = 9, Yellow = 11, Clear = 16
};

struct Shape {
    int left, top, right, bottom; // inclusive
    Ink ink;
};

// Ballast with sleepers, the rails (grey beyond the joints, black between),
// the joints as red strokes across both rails, the two leads, then the two
// boxes with a wave in each.
constexpr Shape large[] = {
    {0, 14, 31, 28, Silver},
    {1, 15, 2, 27, Olive},   {6, 15, 7, 27, Olive},   {11, 15, 12, 27, Olive},
    {16, 15, 17, 27, Olive}, {21, 15, 22, 27, Olive}, {26, 15, 27, 27, Olive},
    {0, 17, 31, 18, Grey},   {0, 23, 31, 24, Grey},
    {5, 17, 26, 18, Black},  {5, 23, 26, 24, Black},
    {4, 15, 4, 20, Red},     {4, 21, 4, 26, Red},     {27, 15, 27, 20, Red}, {27, 21, 27, 26, Red},
    {7, 9, 7, 16, Black},    {24, 9, 24, 16, Black},
    {2, 1, 11, 8, Black},    {3, 2, 10, 7, Navy},
    {20, 1, 29, 8, Black},   {21, 2, 28, 7, Green},
};
constexpr Shape small[] = {
    {0, 7, 15, 14, Silver},
    {3, 8, 3, 14, Olive},    {6, 8, 6, 14, Olive},    {9, 8, 9, 14, Olive},
    {12, 8, 12, 14, Olive},
    {0, 9, 15, 9, Grey},     {0, 12, 15, 12, Grey},
    {2, 9, 13, 9, Black},    {2, 12, 13, 12, Black},
    {1, 8, 1, 13, Red},      {14, 8, 14, 13, Red},
    {3, 5, 3, 8, Black},     {12, 5, 12, 8, Black},
    {0, 0, 6, 4, Black},     {1, 1, 5, 3, Navy},
    {9, 0, 15, 4, Black},    {10, 1, 14, 3, Green},
};

// One period of a wave across a box's inside, in yellow.
constexpr int largeWave[][2] = {{3, 5}, {4, 4}, {5, 3}, {6, 4}, {7, 5}, {8, 6}, {9, 5}, {10, 4}};
constexpr int smallWave[][2] = {{1, 2}, {2, 1}, {3, 2}, {4, 3}, {5, 2}};

void fill(QImage& image, const Shape& s)
{
    for (int y = s.top; y <= s.bottom; ++y)
        for (int x = s.left; x <= s.right; ++x)
            image.setPixel(x, y, s.ink);
}

template <std::size_t N>
void waves(QImage& image, const int (&points)[N][2], int secondBoxOffset)
{
    for (const auto& p : points) {
        image.setPixel(p[0], p[1], Yellow);
        image.setPixel(p[0] + secondBoxOffset, p[1], Yellow);
    }
}

QImage drawn(int size)
{
    QList<QRgb> colours = MainIcon::palette();
    colours.append(qRgba(0, 0, 0, 0));
    QImage image(size, size, QImage::Format_Indexed8);
    image.setColorTable(colours);
    image.fill(Clear);
    for (const Shape& s : size == 16 ? std::span<const Shape>(small) : std::span<const Shape>(large))
        fill(image, s);
    if (size == 16)
        waves(image, smallWave, 9);
    else
        waves(image, largeWave, 18);
    return image.convertToFormat(QImage::Format_ARGB32);
}
} // namespace

QList<QRgb> MainIcon::palette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QList<int> MainIcon::sizes()
{
    return {16, 32, 64, 128, 256};
}

QImage MainIcon::image(int size)
{
    if (size == 16 || size == 32)
        return drawn(size);
    return drawn(32).scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QIcon MainIcon::icon()
{
    QIcon icon;
    for (int size : sizes())
        icon.addPixmap(QPixmap::fromImage(image(size)));
    return icon;
}

} // namespace app
