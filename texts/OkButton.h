#pragma once

#include <QPushButton>

namespace texts {

// The stock OK bitmap button: caption "OK" with the green check-mark glyph
// two pixels from its left edge and the caption centred in the space to the
// right of the glyph.
class OkButton : public QPushButton {
    Q_OBJECT
public:
    explicit OkButton(QWidget* parent = nullptr);

    static QPixmap glyph();
    static constexpr int margin = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace texts
