#pragma once

#include <QDialog>

class QLineEdit;

namespace sections {

// The access-code prompt, shown modally by the two locks.
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg();

    QLineEdit* Password() const { return password_; }

private:
    QLineEdit* password_;
};

} // namespace sections
