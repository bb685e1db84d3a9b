#pragma once

#include <QWidget>

class QTabWidget;

namespace texts {

// The equipment notes window: six fixed pages of short notes.
class TNotatki : public QWidget {
    Q_OBJECT
public:
    TNotatki();

    void Button1Click();

    QTabWidget* notebook() const { return notebook_; }

private:
    void buildPages();

    QTabWidget* notebook_;
};

} // namespace texts
