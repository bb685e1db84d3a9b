#pragma once

#include <QProxyStyle>

class QLineEdit;

namespace ui {

// Shows every character of a password box as "*", whatever the platform's
// own mask character is.
class MaskStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Masks `box`; the style belongs to the box.
    static void apply(QLineEdit* box);

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    MaskStyle();
};

} // namespace ui
