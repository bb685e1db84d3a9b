#include "texts/TDtech.h"

#include "texts/Memo.h"
#include "ui/FormFrame.h"
#include "ui/TabStrip.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QPlainTextEdit>

namespace texts {

namespace {
constexpr std::uint32_t windowColor = 0x00DB79F0;
constexpr std::uint32_t memoColor = 0x00CAFDD7;
} // namespace

TDtech::TDtech()
    : viewer_(this, {QStringLiteral("Tspis.Txt"), QStringLiteral("Tspis.txt"), QStringLiteral("Dte")})
{
    setObjectName(QStringLiteral("Dtech"));
    setWindowTitle(QStringLiteral("Dane techniczne urządzeń"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(461, 418), ui::Frame::Sizeable);
    move(226, 87);
    ui::setBackground(this, ui::winColor(windowColor));

    viewer_.memo()->setGeometry(18, 24, 425, 329);
    Memo::setColor(viewer_.memo(), ui::winColor(memoColor));
    // The strip keeps its own colours: button face, dithered.
    viewer_.tabs()->setGeometry(16, 352, 425, 21);
    viewer_.tabs()->setChangeHandler([this](int newTab, bool& allow) { TabSet1Change(newTab, allow); });
}

void TDtech::FormCreate()
{
    viewer_.create();
}

void TDtech::TabSet1Change(int newTab, bool& allowChange)
{
    viewer_.change(newTab, allowChange);
}

void TDtech::Dotwplik()
{
    viewer_.load();
}

} // namespace texts
