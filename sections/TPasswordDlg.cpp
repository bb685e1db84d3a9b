#include "sections/TPasswordDlg.h"

#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/WinFont.h"

#include <QLabel>
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

    auto* label = new QLabel(QStringLiteral("Enter password:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->move(8, 9);
    label->adjustSize();

    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("Password"));
    password_->setGeometry(8, 27, 220, 21);
    password_->setEchoMode(QLineEdit::Password);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setGeometry(66, 59, 77, 27);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setGeometry(152, 59, 77, 27);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFocusProxy(password_);
}

} // namespace sections
