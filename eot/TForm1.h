#pragma once

#include "eot/FinderState.h"

#include <QMainWindow>

namespace eot {

// The EOT finder window.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1();

    void FormCreate();
    const FinderState& state() const { return state_; }

Q_SIGNALS:
    void descriptionsRequested();
    void notesRequested();
    void techDataRequested();
    void reviewRequested();
    void planRequested();
    // "Dla programisty" › "Wpis": the programmer's lock, then its window.
    void programmerEntryRequested();

private:
    void buildMenu();

    FinderState state_;
};

} // namespace eot
