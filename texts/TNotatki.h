#pragma once

#include <QWidget>

namespace texts {

// The equipment notes window.
class TNotatki : public QWidget {
    Q_OBJECT
public:
    TNotatki();
};

} // namespace texts
