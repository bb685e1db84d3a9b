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
    PageFile::load(fileName_, [this](const QStringList& lines) { Memo::addLines(memo_, lines); });
    memo_->moveCursor(QTextCursor::Start); // a page is read from its top
}

} // namespace texts
