#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

namespace ui {
class TabStrip;
}

namespace texts {

// What the two text-page viewers share: a memo showing one page and under
// it a strip of 21 tabs, "Spis" (the contents page) and "1" to "20", each
// loading its page file. The window that hosts it places and colours the two
// controls and binds its own handlers to the operations here.
class PageViewer {
public:
    struct Pages {
        QString atCreation; // the contents page as creation names it
        QString contents;   // the contents page as the "Spis" tab names it
        QString prefix;     // page n is prefix + n + ".txt"
    };

    PageViewer(QWidget* host, Pages pages);

    QPlainTextEdit* memo() const { return memo_; }
    ui::TabStrip* tabs() const { return tabs_; }

    // Creation: an empty memo, then the contents page.
    void create();
    // The tab strip's change: an empty memo, then the page of tab `newTab`.
    // A failure leaves it, which keeps the old tab selected.
    void change(int newTab, bool& allowChange);
    // Loads the current page file, its lines added to the memo.
    void load();

    const QString& tabText() const { return tabText_; }
    const QString& fileName() const { return fileName_; }

    static inline const QString contentsTab = QStringLiteral("Spis");

private:
    Pages pages_;
    QPlainTextEdit* memo_;
    ui::TabStrip* tabs_;
    QString tabText_;
    QString fileName_;
};

} // namespace texts
