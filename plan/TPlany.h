#pragma once

#include <QMainWindow>

namespace plan {

// The station plan window, the program's main window.
class TPlany : public QMainWindow {
    Q_OBJECT
public:
    TPlany();

    void FormCreate();
    void Kzn11Click();
    void cdplanu1Click();

Q_SIGNALS:
    // Navigation requests that app/ serves.
    void reviewRequested();
    void descriptionsRequested();
    void techDataRequested();
    void finderRequested();
    void notesRequested();
    void sectionEntryRequested();
    void aboutRequested();
    void quitRequested();
    // A marker stored its section in selectedSection: load it into the review window, then show it.
    void sectionClicked();

private:
    void buildMenu();
};

} // namespace plan
