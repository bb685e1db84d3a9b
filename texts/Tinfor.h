#pragma once

#include <QDialog>

namespace texts {

// The about box.
class Tinfor : public QDialog {
    Q_OBJECT
public:
    Tinfor();
};

} // namespace texts
