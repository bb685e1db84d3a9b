#pragma once

#include <QMainWindow>

namespace sections {

// The section data-entry window.
class TOdcinki : public QMainWindow {
    Q_OBJECT
public:
    TOdcinki();

    void FormCreate();
    // The section-table lock was opened: the table becomes writable.
    void unlock();

Q_SIGNALS:
    // "Dla programisty" › "Wpis": the section-table lock.
    void sectionLockRequested();

private:
    void buildMenu();
};

} // namespace sections
