#pragma once

#include "texts/PageViewer.h"

#include <QWidget>

namespace texts {

// The technical data window.
class TDtech : public QWidget {
    Q_OBJECT
public:
    TDtech();

    void FormCreate();
    void TabSet1Change(int newTab, bool& allowChange);
    void Dotwplik();

    const PageViewer& viewer() const { return viewer_; }

private:
    PageViewer viewer_;
};

} // namespace texts
