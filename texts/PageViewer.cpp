#include "texts/PageViewer.h"

#include "texts/Memo.h"
#include "texts/PageFile.h"
#include "ui/TabStrip.h"
#include "ui/WinFont.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace texts {

namespace {
QStringList tabCaptions()
{
    QStringList captions{PageViewer::contentsTab};
    for (int n = 1; n <= 20; ++n)
        captions << QString::number(n);
    return captions;
}

// Keeps the memo's cursor where it is while text goes in at it.
class HeldCursor {
public:
    explicit HeldCursor(QPlainTextEdit* memo) : memo_(memo) { keep(true); }
    ~HeldCursor() { keep(false); }
    HeldCursor(const HeldCursor&) = delete;
    HeldCursor& operator=(const HeldCursor&) = delete;

private:
    void keep(bool held)
    {
        QTextCursor cursor = memo_->textCursor();
        cursor.setKeepPositionOnInsert(held);
        memo_->setTextCursor(cursor);
    }
    QPlainTextEdit* memo_;
};

} // namespace

PageViewer::PageViewer(QWidget* host, Pages pages)
    : pages_(std::move(pages)),
      memo_(new QPlainTextEdit(host)),
      tabs_(new ui::TabStrip(host))
{
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo_->setFocusPolicy(Qt::ClickFocus); // not a tab stop

    tabs_->setObjectName(QStringLiteral("TabSet1"));
    tabs_->setFont(ui::winFont(QStringLiteral("MS Sans Serif"), 11));
    tabs_->setTabs(tabCaptions());
    tabs_->setCurrentIndex(0);
}

void PageViewer::create()
{
    memo_->clear();
    fileName_ = pages_.atCreation;
    load();
}

void PageViewer::change(int newTab, bool& /*allowChange*/)
{
    memo_->clear();
    tabText_ = tabs_->tabs().at(newTab);
    fileName_ = tabText_ == contentsTab ? pages_.contents : pages_.prefix + tabText_ + QStringLiteral(".txt");
    load();
}

void PageViewer::load()
{
    // A page is read from its top: the memo's cursor stays there while the
    // lines go in (moving it back afterwards would lay out a long page once
    // more), then follows typing again.
    const HeldCursor held(memo_);
    PageFile::load(fileName_, [this](const QStringList& lines) { Memo::addLines(memo_, lines); });
}

} // namespace texts
