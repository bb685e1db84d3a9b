#pragma once

#include <QMainWindow>

namespace texts {

// The device descriptions window, a multiple-document frame that never holds a document.
class TOp : public QMainWindow {
    Q_OBJECT
public:
    TOp();

    void FormCreate();

private:
    void buildMenu();
};

} // namespace texts
