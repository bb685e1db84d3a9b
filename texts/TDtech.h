#pragma once

#include <QWidget>

namespace texts {

// The technical data window.
class TDtech : public QWidget {
    Q_OBJECT
public:
    TDtech();

    void FormCreate();
};

} // namespace texts
