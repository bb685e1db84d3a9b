#pragma once

#include "texts/PageViewer.h"

#include <QMainWindow>

class QMdiArea;

namespace texts {

// The device descriptions window, a multiple-document frame that never holds a document.
class TOp : public QMainWindow {
    Q_OBJECT
public:
    TOp();

    void FormCreate();
    void TabSet1Change(int newTab, bool& allowChange);
    void otwplik();

    const PageViewer& viewer() const { return viewer_; }

private:
    void buildMenu();

    QMdiArea* documents_;
    PageViewer viewer_;
};

} // namespace texts
