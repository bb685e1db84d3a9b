#include "texts/TOp.h"

#include "texts/Memo.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Menus.h"
#include "ui/TabStrip.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace texts {

namespace {
constexpr std::uint32_t windowColor = 0x0000DB6D;
constexpr std::uint32_t memoColor = 0x00C9FEFD;
constexpr std::uint32_t activeBorder = 0x00B4B4B4; // clActiveBorder of the standard Windows scheme
} // namespace

TOp::TOp()
    : documents_(new QMdiArea),
      viewer_(documents_, {QStringLiteral("Spis.Txt"), QStringLiteral("Spis.txt"), QStringLiteral("U")})
{
    setObjectName(QStringLiteral("Op"));
    setWindowTitle(QStringLiteral("Opis urządzeń"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(477, 446), ui::Frame::Sizeable);
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(windowColor));
    buildMenu();

    // The document area lies under the memo and the tab strip, in the window's colour.
    documents_->setObjectName(QStringLiteral("MDIClient"));
    documents_->setBackground(ui::winColor(windowColor));
    setCentralWidget(documents_);

    viewer_.memo()->setGeometry(16, 16, 425, 329);
    Memo::setColor(viewer_.memo(), ui::winColor(memoColor));
    viewer_.tabs()->setGeometry(16, 344, 425, 17);
    viewer_.tabs()->setBackgroundColor(ui::winColor(activeBorder));
    viewer_.tabs()->setDithered(false);
    viewer_.tabs()->setChangeHandler([this](int newTab, bool& allow) { TabSet1Change(newTab, allow); });
}

void TOp::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* tablice = ui::addMenu(bar, "Tablice1", QStringLiteral("Tablice"));
    ui::addCommand(tablice, "EOT1", QStringLiteral("EOT"), {});
    ui::addCommand(tablice, "Uwagi1", QStringLiteral("Uwagi"), {});
}

void TOp::FormCreate()
{
    viewer_.create();
}

void TOp::TabSet1Change(int newTab, bool& allowChange)
{
    viewer_.change(newTab, allowChange);
}

void TOp::otwplik()
{
    viewer_.load();
}

} // namespace texts
