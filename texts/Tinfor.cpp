#include "texts/Tinfor.h"

#include "texts/OkButton.h"
#include "texts/ProgramIcon.h"
#include "texts/SystemFace.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Handler.h"
#include "ui/WinColor.h"
#include "ui/WinFont.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>

namespace texts {

namespace {
QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, int pixelHeight, QPoint at)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(ui::winFont(QStringLiteral("MS Sans Serif"), pixelHeight, true));
    ui::setTextColor(label, Qt::black);
    label->move(at);
    label->adjustSize();
    return label;
}
} // namespace

Tinfor::Tinfor() : okButton_(new OkButton(this))
{
    setObjectName(QStringLiteral("infor"));
    setWindowTitle(QStringLiteral("Informacja o programie"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ui::setFixedClientSize(this, QSize(298, 213));
    ui::setScreenCentred(this);
    ui::setBackground(this, ui::winColor(0x00BC438E));
    buildPanel();

    okButton_->setObjectName(QStringLiteral("OKButton"));
    okButton_->setGeometry(111, 178, 77, 27);
    okButton_->setFont(ui::winFont(QStringLiteral("MS Sans Serif"), 11, true));
    SystemFace::keep(okButton_);
    ui::setTextColor(okButton_, Qt::black);
    okButton_->setDefault(true);
    okButton_->setFocus(); // the active control when the box is shown
    connect(okButton_, &QPushButton::clicked, this, ui::guarded([this] { OKButtonClick(); }));
}

void Tinfor::buildPanel()
{
    // Outer bevel lowered, inner bevel raised.
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    panel->setGeometry(8, 8, 281, 161);
    ui::setBackground(panel, ui::winColor(0x00E79ACE));

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(8, 8, 33, 33);
    icon->setScaledContents(true);
    icon->setPixmap(ProgramIcon::icon().pixmap(32, 32));

    addLabel(panel, "ProductName", QStringLiteral("OBWODNIK"), 19, QPoint(56, 8));
    addLabel(panel, "Version", QStringLiteral("Urządzenia EOT obwodów SOT"), 11, QPoint(58, 48));
    QLabel* comments = addLabel(panel, "Comments",
                                QStringLiteral("Dane odcinków pochodzą z tablic tej stacji."),
                                11, QPoint(52, 94));
    comments->setWordWrap(true);
    comments->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    comments->setGeometry(52, 94, 167, 39);
}

void Tinfor::OKButtonClick()
{
    close();
}

// A dialog frame closes on Escape only through a Cancel button, which this box has not.
void Tinfor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace texts
