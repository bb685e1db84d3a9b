#pragma once

#include <QLabel>

#include <functional>

namespace ui {

// A label that reacts to a click: the left button pressed over it and
// released over it. A press released elsewhere does nothing, and a double
// click counts as one click.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    ClickLabel(const char* name, const QString& caption, QWidget* parent);
    void setClickHandler(std::function<void()> handler) { handler_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<void()> handler_;
    bool pressed_ = false;
};

} // namespace ui
