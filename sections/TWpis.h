#pragma once

#include <QWidget>

namespace sections {

// The programmer's data-entry window: the frequency and module tables in grids.
class TWpis : public QWidget {
    Q_OBJECT
public:
    TWpis();
};

} // namespace sections
