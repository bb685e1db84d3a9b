#include "texts/TNotatki.h"

#include "texts/Memo.h"
#include "texts/NotePage.h"
#include "texts/SystemFace.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Handler.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace texts {

TNotatki::TNotatki() : notebook_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("Notatki"));
    setWindowTitle(QStringLiteral("UWAGI O SPRZĘCIE"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(435, 337), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(0x00FE8386));

    auto* label = new QLabel(QStringLiteral("Krótkie lecz istotne uwagi o urz. EOT"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->move(24, 16);
    label->adjustSize();

    auto* close = new QPushButton(QStringLiteral("ZAMKNIJ"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setGeometry(328, 8, 89, 25);
    SystemFace::keep(close);
    connect(close, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));

    notebook_->setObjectName(QStringLiteral("TabbedNotebook1"));
    notebook_->setGeometry(7, 43, 410, 262);
    SystemFace::keep(notebook_);
    notebook_->tabBar()->setFont(ui::winFont(QStringLiteral("MS Sans Serif"), 11));
    ui::setTextColor(notebook_->tabBar(), Qt::black);
    buildPages();
    notebook_->setCurrentIndex(NotePage::firstShown);
}

void TNotatki::buildPages()
{
    for (const NotePage& page : NotePage::all()) {
        auto* sheet = new QWidget;
        auto* memo = new QPlainTextEdit(sheet);
        memo->setObjectName(QString::fromLatin1(page.memoName));
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        Memo::setColor(memo, ui::winColor(page.color));
        Memo::setLines(memo, page.text());
        memo->setReadOnly(page.readOnly);
        auto* fill = new QVBoxLayout(sheet);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(memo);
        notebook_->addTab(sheet, QString::fromUtf8(page.caption));
    }
}

void TNotatki::Button1Click()
{
    close();
}

} // namespace texts
