#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

namespace ui {

// A strip of tabs hanging under a page. A click on a tab other than the
// selected one asks the change handler first, through the handler runner;
// the selection moves only when the handler returns with its permission
// still true, so a failure in it keeps the old tab selected. Clicking the
// selected tab does nothing, and the keyboard selects no tab. When the tabs
// do not fit, two arrows at the right end scroll them.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    // `allowChange` arrives true; the handler may set it false to refuse.
    using ChangeHandler = std::function<void(int newIndex, bool& allowChange)>;

    explicit TabStrip(QWidget* parent = nullptr);

    void setTabs(const QStringList& captions);
    const QStringList& tabs() const { return tabs_; }
    int currentIndex() const { return current_; }
    // Selects without asking the handler, as a design's selection is set.
    void setCurrentIndex(int index);
    void setChangeHandler(ChangeHandler handler);

    // Colours: the strip behind the tabs (dithered with white when asked),
    // the selected tab and the other tabs.
    void setBackgroundColor(const QColor& color);
    void setDithered(bool dithered);
    void setSelectedColor(const QColor& color);
    void setUnselectedColor(const QColor& color);
    QColor backgroundColor() const { return background_; }
    bool dithered() const { return dithered_; }

    // The tab shown first at the left end.
    int firstIndex() const { return first_; }
    // Where tab `index` can be clicked; empty while it is scrolled away.
    QRect tabRect(int index) const;
    // The scrolling arrows; empty while all tabs fit.
    QRect scrollBackRect() const;
    QRect scrollForwardRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Slot {
        int index;
        int left;
        int width;
    };
    std::vector<Slot> slots(int first, int available) const;
    std::vector<Slot> visibleSlots() const;
    bool needsScrolling() const;
    QRect hitRect(const Slot& slot) const;
    int tabWidth(int index) const;
    int tabBottom() const;
    int arrowSize() const;
    void request(int index);
    void scrollBy(int step);
    void paintTab(QPainter& painter, const Slot& slot, bool selected) const;
    void paintArrow(QPainter& painter, const QRect& rect, bool forward, bool enabled) const;

    QStringList tabs_;
    int current_ = -1;
    int first_ = 0;
    ChangeHandler handler_;
    QColor background_;
    QColor selected_;
    QColor unselected_;
    bool dithered_ = true;
};

} // namespace ui
