#pragma once

#include <QMainWindow>

#include <array>

class QScrollArea;

namespace ui {
class ClickLabel;
class Picture;
}

namespace plan {

// The station plan window, the program's main window: one of two plan
// pictures with the markers of its track sections.
class TPlany : public QMainWindow {
    Q_OBJECT
public:
    TPlany();

    void FormCreate();
    void ukryj();
    void Kzn11Click();
    void cdplanu1Click();
    // The click of marker `number` (1 to 27).
    void LabelClick(int number);

    bool showKzn1Markers = false;
    bool showKznMarkers = false;

    ui::Picture* Image1() const { return image1_; }
    ui::Picture* Image2() const { return image2_; }
    ui::ClickLabel* marker(int number) const { return markers_.at(size_t(number - 1)); }
    QWidget* canvas() const { return canvas_; }
    QScrollArea* scrollArea() const { return scroll_; }

Q_SIGNALS:
    // Navigation requests that app/ serves.
    void reviewRequested();
    void descriptionsRequested();
    void techDataRequested();
    void finderRequested();
    void notesRequested();
    void sectionEntryRequested();
    void aboutRequested();
    void quitRequested();
    // A marker stored its section in selectedSection: load it into the review window, then show it.
    void sectionClicked();

private:
    void buildMenu();
    void buildPlan();
    // The scroll range runs from 0 to the furthest right and bottom edge of
    // what is visible.
    void updateScrollRange();

    QScrollArea* scroll_;
    QWidget* canvas_;
    ui::Picture* image1_;
    ui::Picture* image2_;
    std::array<ui::ClickLabel*, 27> markers_{};
};

} // namespace plan
