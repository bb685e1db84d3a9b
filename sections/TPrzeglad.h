#pragma once

#include <QWidget>

namespace sections {

// The section review window.
class TPrzeglad : public QWidget {
    Q_OBJECT
public:
    TPrzeglad();

    void FormCreate();
    // Loads the section named by selectedSection (plan mode).
    void podcinka();
};

} // namespace sections
