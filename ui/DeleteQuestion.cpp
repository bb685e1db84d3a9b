#include "ui/DeleteQuestion.h"

#include <QMessageBox>

namespace ui {

bool askDeleteRecord(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("deleteQuestion"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

} // namespace ui
