#include "ui/TabStrip.h"

#include "ui/Handler.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

#include <algorithm>

namespace ui {

namespace {
constexpr int startMargin = 5;
constexpr int endMargin = 4;
constexpr int slope = 4;   // width of a tab's slanted side
constexpr int padding = 4; // between a slanted side and the caption
} // namespace

TabStrip::TabStrip(QWidget* parent)
    : QWidget(parent),
      // A tab strip's own defaults: button face behind and on the selected
      // tab, the window colour on the others, dithered.
      background_(QGuiApplication::palette().color(QPalette::Button)),
      selected_(QGuiApplication::palette().color(QPalette::Button)),
      unselected_(QGuiApplication::palette().color(QPalette::Base))
{
    setFocusPolicy(Qt::NoFocus);
}

void TabStrip::setTabs(const QStringList& captions)
{
    tabs_ = captions;
    first_ = 0;
    if (current_ >= tabs_.size())
        current_ = -1;
    update();
}

void TabStrip::setCurrentIndex(int index)
{
    current_ = index;
    update();
}

void TabStrip::setChangeHandler(ChangeHandler handler)
{
    handler_ = std::move(handler);
}

void TabStrip::setBackgroundColor(const QColor& color)
{
    background_ = color;
    update();
}

void TabStrip::setDithered(bool dithered)
{
    dithered_ = dithered;
    update();
}

void TabStrip::setSelectedColor(const QColor& color)
{
    selected_ = color;
    update();
}

void TabStrip::setUnselectedColor(const QColor& color)
{
    unselected_ = color;
    update();
}

int TabStrip::tabWidth(int index) const
{
    return 2 * slope + 2 * padding + fontMetrics().horizontalAdvance(tabs_.at(index));
}

int TabStrip::tabBottom() const
{
    return std::min(height() - 2, fontMetrics().height() + 3);
}

int TabStrip::arrowSize() const
{
    return std::max(8, std::min(height() - 2, 16));
}

// Tabs from `first` on that fit into `available` pixels; at least one.
// Neighbours overlap by one slanted side.
std::vector<TabStrip::Slot> TabStrip::slots(int first, int available) const
{
    std::vector<Slot> out;
    int left = startMargin;
    for (int i = first; i < tabs_.size(); ++i) {
        const int w = tabWidth(i);
        if (!out.empty() && left + w > available)
            break;
        out.push_back({i, left, w});
        left += w - slope;
    }
    return out;
}

bool TabStrip::needsScrolling() const
{
    return static_cast<qsizetype>(slots(0, width() - endMargin).size()) < tabs_.size();
}

std::vector<TabStrip::Slot> TabStrip::visibleSlots() const
{
    if (!needsScrolling())
        return slots(0, width() - endMargin);
    return slots(first_, scrollBackRect().left() - endMargin);
}

QRect TabStrip::scrollForwardRect() const
{
    if (!needsScrolling())
        return {};
    const int s = arrowSize();
    return QRect(width() - endMargin - s, 1, s, s);
}

QRect TabStrip::scrollBackRect() const
{
    const QRect forward = scrollForwardRect();
    return forward.isEmpty() ? QRect() : forward.translated(-forward.width(), 0);
}

// Neighbours share a slanted side; each takes half of it.
QRect TabStrip::hitRect(const Slot& s) const
{
    return QRect(s.left + slope / 2, 0, s.width - slope, tabBottom() + 1);
}

QRect TabStrip::tabRect(int index) const
{
    for (const Slot& s : visibleSlots()) {
        if (s.index == index)
            return hitRect(s);
    }
    return {};
}

void TabStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (scrollBackRect().contains(at)) {
        scrollBy(-1);
        return;
    }
    if (scrollForwardRect().contains(at)) {
        scrollBy(1);
        return;
    }
    for (const Slot& s : visibleSlots()) {
        if (hitRect(s).contains(at)) {
            if (s.index != current_)
                request(s.index);
            return;
        }
    }
}

void TabStrip::request(int index)
{
    runHandler([this, index] {
        bool allow = true;
        if (handler_)
            handler_(index, allow);
        if (allow)
            setCurrentIndex(index);
    });
}

void TabStrip::scrollBy(int step)
{
    const std::vector<Slot> shown = visibleSlots();
    const bool atEnd = shown.empty() || shown.back().index == tabs_.size() - 1;
    if ((step < 0 && first_ == 0) || (step > 0 && atEnd))
        return;
    first_ += step;
    update();
}

void TabStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), background_);
    if (dithered_)
        p.fillRect(rect(), QBrush(Qt::white, Qt::Dense4Pattern));
    // The lower edge of the page the tabs hang from.
    p.setPen(Qt::black);
    p.drawLine(0, 0, width() - 1, 0);

    const std::vector<Slot> shown = visibleSlots();
    // Right to left, so each tab lies over its right neighbour; the
    // selected one over both.
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        if (it->index != current_)
            paintTab(p, *it, false);
    }
    for (const Slot& s : shown) {
        if (s.index == current_)
            paintTab(p, s, true);
    }
    if (needsScrolling()) {
        paintArrow(p, scrollBackRect(), false, first_ > 0);
        paintArrow(p, scrollForwardRect(), true, !shown.empty() && shown.back().index < tabs_.size() - 1);
    }
}

void TabStrip::paintTab(QPainter& p, const Slot& s, bool selected) const
{
    const int bottom = tabBottom();
    const int right = s.left + s.width - 1;
    QPolygon shape;
    shape << QPoint(s.left, 0) << QPoint(s.left + slope, bottom) << QPoint(right - slope, bottom) << QPoint(right, 0);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(selected ? selected_ : unselected_);
    p.drawPolygon(shape);
    p.setPen(Qt::black);
    p.drawPolyline(shape);
    if (!selected)
        p.drawLine(s.left, 0, right, 0); // the page's edge runs past an unselected tab
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(s.left, 1, s.width, bottom), Qt::AlignCenter, tabs_.at(s.index));
}

void TabStrip::paintArrow(QPainter& p, const QRect& r, bool forward, bool enabled) const
{
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    p.fillRect(r, face);
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Qt::darkGray);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QPoint c = r.center();
    const int d = std::max(2, r.height() / 4);
    QPolygon tri;
    if (forward)
        tri << QPoint(c.x() - d / 2, c.y() - d) << QPoint(c.x() - d / 2, c.y() + d) << QPoint(c.x() + d / 2 + 1, c.y());
    else
        tri << QPoint(c.x() + d / 2, c.y() - d) << QPoint(c.x() + d / 2, c.y() + d) << QPoint(c.x() - d / 2 - 1, c.y());
    p.setPen(Qt::NoPen);
    p.setBrush(enabled ? QColor(Qt::black) : QColor(Qt::darkGray));
    p.drawPolygon(tri);
}

} // namespace ui
