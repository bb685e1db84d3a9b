#pragma once

#include <QObject>

#include <memory>
#include <vector>

class QWidget;

namespace plan { class TPlany; }
namespace eot { class TForm1; }
namespace sections { class TOdcinki; class TWpis; class TPasswordDlg; class TPrzeglad; }
namespace texts { class TNotatki; class TDtech; class TOp; class Tinfor; }

namespace app {

// The program's fixed set of ten windows. Creates them hidden, in order;
// each is built (a table that cannot open stops the start with a Failure),
// then its creation handler runs guarded. Wires every navigation request to
// the window that serves it. Destroys them last-created first.
class Shell : public QObject {
    Q_OBJECT
public:
    Shell();
    ~Shell() override;

    // The program: the windows, the main window maximised, the event loop.
    // A start-up that cannot go on shows the last-resort box and gives 1.
    static int run();

    // Shows the main window maximised, as the event loop's start does.
    void start();

    plan::TPlany* plany() const { return plany_.get(); }
    eot::TForm1* form1() const { return form1_.get(); }
    sections::TOdcinki* odcinki() const { return odcinki_.get(); }
    sections::TWpis* wpis() const { return wpis_.get(); }
    texts::TNotatki* notatki() const { return notatki_.get(); }
    texts::TDtech* dtech() const { return dtech_.get(); }
    sections::TPasswordDlg* passwordDlg() const { return passwordDlg_.get(); }
    texts::TOp* op() const { return op_.get(); }
    sections::TPrzeglad* przeglad() const { return przeglad_.get(); }
    texts::Tinfor* infor() const { return infor_.get(); }
    // The ten windows in creation order.
    std::vector<QWidget*> windows() const;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wire();
    void sectionLock();
    void programmerLock();
    void showSectionOfPlan();

    // Declared in creation order: members die in reverse, the main window last.
    std::unique_ptr<plan::TPlany> plany_;
    std::unique_ptr<eot::TForm1> form1_;
    std::unique_ptr<sections::TOdcinki> odcinki_;
    std::unique_ptr<sections::TWpis> wpis_;
    std::unique_ptr<texts::TNotatki> notatki_;
    std::unique_ptr<texts::TDtech> dtech_;
    std::unique_ptr<sections::TPasswordDlg> passwordDlg_;
    std::unique_ptr<texts::TOp> op_;
    std::unique_ptr<sections::TPrzeglad> przeglad_;
    std::unique_ptr<texts::Tinfor> infor_;
};

} // namespace app
