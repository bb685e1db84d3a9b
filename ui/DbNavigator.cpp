#include "ui/DbNavigator.h"

#include "data/DataSet.h"
#include "data/Query.h"
#include "ui/DataLink.h"
#include "ui/DeleteQuestion.h"
#include "ui/Handler.h"

#include <QToolButton>

namespace ui {

namespace {

struct ButtonInfo {
    const char* name;
    const char* hint;
};

const ButtonInfo buttonInfo[navigatorButtonCount] = {
    {"nbFirst", "First record"}, {"nbPrior", "Prior record"}, {"nbNext", "Next record"},
    {"nbLast", "Last record"},   {"nbInsert", "Insert record"}, {"nbDelete", "Delete record"},
    {"nbEdit", "Edit record"},   {"nbPost", "Post edit"},     {"nbCancel", "Cancel edit"},
    {"nbRefresh", "Refresh data"},
};

} // namespace

DbNavigator::DbNavigator(const char* name, QWidget* parent, const QRect& geometry)
    : QWidget(parent), link_(new DataLink(this))
{
    setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < navigatorButtonCount; ++i) {
        const auto which = NavigatorButton(i);
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(buttonInfo[i].name));
        b->setAccessibleName(QString::fromLatin1(buttonInfo[i].hint));
        b->setAutoRaise(true); // flat
        b->setFocusPolicy(Qt::NoFocus); // the box being typed in keeps the focus
        b->setIcon(navigatorGlyph(which));
        connect(b, &QToolButton::clicked, this, guarded([this, which] { click(which); }));
        buttons_[size_t(i)] = b;
    }
    link_->onChange = [this] { updateButtons(); };
    link_->onStateChange = [this] { updateButtons(); };
    setGeometry(geometry);
    layoutButtons();
    updateButtons();
}

void DbNavigator::setDataSource(data::DataSource* source)
{
    link_->setDataSource(source, QString());
    updateButtons();
}

void DbNavigator::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutButtons();
}

// Equal widths; the pixels left over go to the buttons on the left.
void DbNavigator::layoutButtons()
{
    const int w = width() / navigatorButtonCount;
    int extra = width() % navigatorButtonCount;
    int x = 0;
    for (QToolButton* b : buttons_) {
        const int bw = w + (extra > 0 ? 1 : 0);
        extra = std::max(0, extra - 1);
        b->setGeometry(x, 0, bw, height());
        x += bw;
    }
}

void DbNavigator::click(NavigatorButton which)
{
    data::DataSet* set = link_->dataSet();
    if (!set)
        return;
    switch (which) {
    case NavigatorButton::First: set->first(); break;
    case NavigatorButton::Prior: set->prior(); break;
    case NavigatorButton::Next: set->next(); break;
    case NavigatorButton::Last: set->last(); break;
    case NavigatorButton::Insert: set->insert(); break;
    case NavigatorButton::Delete:
        if (askDeleteRecord(window()))
            set->remove();
        break;
    case NavigatorButton::Edit: set->edit(); break;
    case NavigatorButton::Post: set->post(); break;
    case NavigatorButton::Cancel: set->cancel(); break;
    case NavigatorButton::Refresh: set->refresh(); break;
    }
}

void DbNavigator::updateButtons()
{
    const data::DataSet* set = link_->dataSet();
    const bool active = set && set->isActive();
    const bool canModify = active && set->canModify();
    const bool editing = active && set->isEditing();
    const bool up = active && !set->bof();
    const bool down = active && !set->eof();
    const bool enabled[navigatorButtonCount] = {
        up,
        up,
        down,
        down,
        canModify,
        canModify && !set->isEmpty(),
        canModify && !editing,
        editing,
        editing,
        active && !qobject_cast<const data::Query*>(set),
    };
    for (int i = 0; i < navigatorButtonCount; ++i)
        buttons_[size_t(i)]->setEnabled(enabled[i]);
}

} // namespace ui
