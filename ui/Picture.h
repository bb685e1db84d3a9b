#pragma once

#include <QImage>
#include <QWidget>

namespace ui {

// A picture control: draws its bitmap at its own top-left corner, one
// bitmap pixel to one logical pixel, without stretching or centring. Loading
// a bitmap makes the control the bitmap's size; its top-left corner stays.
// On a scaled screen the bitmap is drawn at the device pixel ratio, pixel
// for pixel, so what lies on it stays where it lies.
class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(const char* name, QWidget* parent, const QRect& geometry);

    // Reads `fileName` (letter case ignored) as a Windows bitmap. A file that
    // cannot be opened fails with "Cannot open file %s", one that is not a
    // valid bitmap with the reader's own message.
    void loadFromFile(const QString& fileName);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

} // namespace ui
