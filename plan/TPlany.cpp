#include "plan/TPlany.h"

#include "data/SelectedSection.h"
#include "ui/ClickLabel.h"
#include "ui/FormFrame.h"
#include "ui/Menus.h"
#include "ui/Picture.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QMenuBar>
#include <QScrollArea>

#include <algorithm>

namespace plan {

namespace {

struct Marker {
    const char* section;
    int left;
    int top;
};

// Markers 1 to 12 lie on plan "Kzn 1", 13 to 27 on plan "Kzn", in the
// window's client coordinates.
constexpr std::array<Marker, 27> markerTable{{
    {"ITA", 227, 311}, {"ITB", 225, 370}, {"Iz1", 396, 311}, {"Iz2", 442, 368}, {"Iz3", 618, 366},
    {"IT1", 765, 373}, {"IT2", 831, 311}, {"IT4", 846, 237}, {"Iz5", 721, 238}, {"Iz6", 812, 165},
    {"IT6", 899, 164}, {"Iz7", 888, 93},
    {"Iz10", 208, 120}, {"Iz11", 384, 192}, {"Iz101", 608, 192}, {"Iz102", 680, 192}, {"ITS", 912, 264},
    {"ITR", 920, 328}, {"Iz16", 840, 328}, {"Iz14", 656, 264}, {"IT1a", 581, 328}, {"Iz12", 432, 328},
    {"Iz13", 464, 264}, {"IT4", 208, 192}, {"IT2", 216, 264}, {"IT1", 216, 328}, {"IT6", 48, 120},
}};

constexpr std::uint32_t kzn1MarkerColour = 8585215;  // 0x0082FFFF
constexpr std::uint32_t kznMarkerColour = 13238013;  // 0x00C9FEFD

QSize markerSize(int number)
{
    if (number == 1)
        return {14, 16};
    if (number == 24)
        return {16, 17};
    return {16, 16};
}

} // namespace

TPlany::TPlany()
{
    setObjectName(QStringLiteral("Plany"));
    setWindowTitle(QStringLiteral("Plan stacji"));
    setFont(ui::winFont(QStringLiteral("System"), 13));
    ui::setOuterSize(this, QSize(648, 488), ui::Frame::Sizeable);
    buildMenu();
    buildPlan();
}

void TPlany::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* tablice = ui::addMenu(bar, "TABLICE1", QStringLiteral("TABLICE    "));
    ui::addCommand(tablice, "Kzn11", QStringLiteral("Kzn 1"), [this] { Kzn11Click(); });
    ui::addCommand(tablice, "cdplanu1", QStringLiteral("Kzn"), [this] { cdplanu1Click(); });
    ui::addCommand(tablice, "Odcinkidane1", QStringLiteral("Odcinki - dane"), [this] { Q_EMIT reviewRequested(); });
    ui::addCommand(tablice, "OpisSOT1", QStringLiteral("Opis SOT"), [this] { Q_EMIT descriptionsRequested(); });
    ui::addCommand(tablice, "Dane", QStringLiteral("Dane tech SOT"), [this] { Q_EMIT techDataRequested(); });
    ui::addCommand(tablice, "EOT1", QStringLiteral("EOT"), [this] { Q_EMIT finderRequested(); });
    ui::addCommand(tablice, "UwagioEOT1", QStringLiteral("Uwagi o EOT"), [this] { Q_EMIT notesRequested(); });
    ui::addCommand(tablice, "Przegldodc1", QStringLiteral("Przegląd odc."), [this] { Q_EMIT sectionEntryRequested(); });
    QMenu* info = ui::addMenu(bar, "INFO1", QStringLiteral("INFO      "));
    ui::addCommand(info, "Oorogramie1", QStringLiteral("Oprogramie"), [this] { Q_EMIT aboutRequested(); });
    ui::addBarCommand(bar, "N1", QStringLiteral("ZAMKNIJ"), [this] { Q_EMIT quitRequested(); });
}

void TPlany::buildPlan()
{
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("client"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    canvas_ = new QWidget;
    canvas_->setObjectName(QStringLiteral("plan"));
    scroll_->setWidget(canvas_);
    setCentralWidget(scroll_);

    // Made in drawing order: each picture, then the markers that lie on it.
    const QFont markerFont = ui::winFont(QStringLiteral("System"), 13, true);
    const auto makeMarkers = [&](int from, int to, std::uint32_t colour) {
        for (int n = from; n <= to; ++n) {
            const Marker& m = markerTable[size_t(n - 1)];
            const QByteArray name = "Label" + QByteArray::number(n);
            auto* label = new ui::ClickLabel(name.constData(), n == 1 ? QStringLiteral(" ?") : QStringLiteral(" ? "), canvas_);
            label->setGeometry(QRect(QPoint(m.left, m.top), markerSize(n)));
            label->setFont(markerFont);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            ui::setBackground(label, ui::winColor(colour));
            ui::setTextColor(label, ui::winColor(0x000000FF));
            label->setClickHandler([this, n] { LabelClick(n); });
            markers_[size_t(n - 1)] = label;
        }
    };
    image1_ = new ui::Picture("Image1", canvas_, QRect(7, -22, 1185, 498));
    makeMarkers(1, 12, kzn1MarkerColour);
    image2_ = new ui::Picture("Image2", canvas_, QRect(8, 0, 1166, 422));
    makeMarkers(13, 27, kznMarkerColour);
    updateScrollRange();
}

void TPlany::updateScrollRange()
{
    int right = 0;
    int bottom = 0;
    for (QWidget* w : canvas_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(canvas_))
            continue;
        right = std::max(right, w->geometry().right() + 1);
        bottom = std::max(bottom, w->geometry().bottom() + 1);
    }
    canvas_->setMinimumSize(right, bottom);
}

void TPlany::ukryj()
{
    for (int n = 1; n <= 12; ++n)
        marker(n)->setVisible(showKzn1Markers);
    for (int n = 13; n <= 27; ++n)
        marker(n)->setVisible(showKznMarkers);
    updateScrollRange();
}

void TPlany::FormCreate()
{
    showKzn1Markers = true;
    showKznMarkers = false;
    ukryj();
    image1_->loadFromFile(QStringLiteral("kzn1.bmp"));
    image1_->show();
    image2_->hide();
    updateScrollRange();
    image2_->loadFromFile(QStringLiteral("kzn.bmp"));
    updateScrollRange();
}

void TPlany::Kzn11Click()
{
    showKzn1Markers = true;
    image1_->show();
    image2_->hide();
    showKznMarkers = false;
    ukryj();
}

void TPlany::cdplanu1Click()
{
    showKzn1Markers = false;
    image1_->hide();
    image2_->show();
    showKznMarkers = true;
    ukryj();
}

void TPlany::LabelClick(int number)
{
    data::selectedSection() = QString::fromLatin1(markerTable[size_t(number - 1)].section);
    Q_EMIT sectionClicked();
}

} // namespace plan
