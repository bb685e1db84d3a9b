#include "sections/AccessLock.h"

#include "sections/TPasswordDlg.h"
#include "ui/FormPlacement.h"

#include <QLineEdit>
#include <QMessageBox>

namespace sections {

bool AccessLock::open(TPasswordDlg& prompt, const QString& code)
{
    prompt.Password()->clear();
    ui::placeForFirstShow(&prompt);
    prompt.Password()->setFocus();
    prompt.exec();
    if (prompt.Password()->text() == code)
        return true;
    QMessageBox refusal(QMessageBox::NoIcon, QStringLiteral("GDZIE  SIĘ  PCHASZ"),
                        QStringLiteral("POZWOLIŁ  CI KTOŚ ?! "), QMessageBox::Ok);
    refusal.setObjectName(QStringLiteral("refusalBox"));
    refusal.exec();
    return false;
}

} // namespace sections
