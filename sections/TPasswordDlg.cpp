#include "sections/TPasswordDlg.h"

#include "ui/Controls.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/MaskStyle.h"
#include "ui/WinFont.h"

#include <QLineEdit>
#include <QPushButton>

namespace sections {

TPasswordDlg::TPasswordDlg()
{
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Password Dialog"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(ui::winFont(QStringLiteral("MS Sans Serif"), 11, true));
    ui::setFixedClientSize(this, QSize(236, 93));
    ui::setScreenCentred(this);

    ui::makeLabel(this, "Label1", QStringLiteral("Enter password:"), QPoint(8, 9));

    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("Password"));
    password_->setGeometry(8, 27, 220, 21);
    ui::MaskStyle::apply(password_);

    // OK is the default button (Enter); Esc and the close box reject, as Cancel does.
    QPushButton* ok = ui::makeButton(this, "OKBtn", QStringLiteral("OK"), QRect(66, 59, 77, 27), ui::Glyph::Ok);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel =
        ui::makeButton(this, "CancelBtn", QStringLiteral("Cancel"), QRect(152, 59, 77, 27), ui::Glyph::Cancel);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFocusProxy(password_);
}

} // namespace sections
