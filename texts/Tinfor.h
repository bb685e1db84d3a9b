#pragma once

#include <QDialog>

namespace texts {

class OkButton;

// The about box.
class Tinfor : public QDialog {
    Q_OBJECT
public:
    Tinfor();

    void OKButtonClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildPanel();

    OkButton* okButton_;
};

} // namespace texts
