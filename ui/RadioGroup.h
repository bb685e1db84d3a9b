#pragma once

#include <QGroupBox>
#include <QStringList>

#include <functional>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace ui {

// A titled group of radio items in one column. Its click handling runs on
// every change of the selected item, whether a person or the program makes
// it, and already sees the new item; selecting the item that is selected
// runs nothing.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const char* name, const QString& caption, const QStringList& items, QWidget* parent);

    int itemIndex() const { return index_; }
    // A change made by the program: runs the click handling as a click does.
    void setItemIndex(int index);
    void setClickHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    QRadioButton* item(int index) const { return buttons_.at(size_t(index)); }
    int count() const { return int(buttons_.size()); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutItems();

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    std::function<void()> handler_;
    int index_ = -1;
};

} // namespace ui
