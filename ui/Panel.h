#pragma once

#include <QFrame>

class QColor;

namespace ui {

// A raised panel, the container the windows group their controls in.
class Panel : public QFrame {
    Q_OBJECT
public:
    Panel(const char* name, QWidget* parent, const QRect& geometry);
    Panel(const char* name, QWidget* parent, const QRect& geometry, const QColor& color);
};

} // namespace ui
