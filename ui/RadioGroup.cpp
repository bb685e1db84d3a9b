#include "ui/RadioGroup.h"

#include "ui/Handler.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace ui {

RadioGroup::RadioGroup(const char* name, const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this))
{
    setObjectName(QString::fromLatin1(name));
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        button->setObjectName(objectName() + QStringLiteral("Item%1").arg(i));
        group_->addButton(button, int(i));
        buttons_.push_back(button);
    }
    // The group takes part in the tab order as one control.
    if (!buttons_.empty())
        setFocusProxy(buttons_.front());
    // A person's click or arrow key; the program's own changes come through setItemIndex.
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        runHandler([this, id] { setItemIndex(id); });
    });
    layoutItems();
}

void RadioGroup::setItemIndex(int index)
{
    if (index == index_)
        return;
    index_ = index;
    if (index >= 0 && index < count()) {
        buttons_[size_t(index)]->setChecked(true);
    } else {
        group_->setExclusive(false);
        for (QRadioButton* b : buttons_)
            b->setChecked(false);
        group_->setExclusive(true);
    }
    if (handler_)
        handler_();
}

void RadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    layoutItems();
}

// Items share the height below the caption evenly, as the classic radio group lays them out.
void RadioGroup::layoutItems()
{
    if (buttons_.empty())
        return;
    const int top = fontMetrics().height();
    const int itemHeight = std::max(1, (height() - top - 4) / int(buttons_.size()));
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setGeometry(8, top + int(i) * itemHeight, width() - 12, itemHeight);
}

} // namespace ui
