#include "app/Shell.h"

#include "app/ApplicationTitle.h"
#include "app/FontSubstitutes.h"
#include "app/Guard.h"
#include "app/MainIcon.h"
#include "data/Failure.h"
#include "eot/TForm1.h"
#include "plan/TPlany.h"
#include "sections/AccessLock.h"
#include "sections/TOdcinki.h"
#include "sections/TPasswordDlg.h"
#include "sections/TPrzeglad.h"
#include "sections/TWpis.h"
#include "texts/TDtech.h"
#include "texts/TNotatki.h"
#include "texts/TOp.h"
#include "texts/Tinfor.h"
#include "ui/FormFrame.h"
#include "ui/FormPlacement.h"
#include "ui/Handler.h"

#include <QApplication>
#include <QCloseEvent>

namespace app {

namespace {

// Build a window, then run its creation handler guarded: a failure there is
// shown and start-up goes on.
template <class W, class Create>
std::unique_ptr<W> create(Create formCreate)
{
    auto window = std::make_unique<W>();
    Guard::run([&] { formCreate(*window); });
    return window;
}

template <class W>
std::unique_ptr<W> build()
{
    return std::make_unique<W>();
}

} // namespace

Shell::Shell()
{
    Guard::install();
    QApplication::setWindowIcon(MainIcon::icon());
    FontSubstitutes::install();
    plany_ = create<plan::TPlany>([](plan::TPlany& w) { w.FormCreate(); });
    form1_ = create<eot::TForm1>([](eot::TForm1& w) { w.FormCreate(); });
    odcinki_ = create<sections::TOdcinki>([](sections::TOdcinki& w) { w.FormCreate(); });
    wpis_ = build<sections::TWpis>();
    notatki_ = build<texts::TNotatki>();
    dtech_ = create<texts::TDtech>([](texts::TDtech& w) { w.FormCreate(); });
    passwordDlg_ = build<sections::TPasswordDlg>();
    op_ = create<texts::TOp>([](texts::TOp& w) { w.FormCreate(); });
    przeglad_ = create<sections::TPrzeglad>([](sections::TPrzeglad& w) { w.FormCreate(); });
    infor_ = build<texts::Tinfor>();
    wire();
}

Shell::~Shell()
{
    // Last created first, the main window last.
    infor_.reset();
    przeglad_.reset();
    op_.reset();
    passwordDlg_.reset();
    dtech_.reset();
    notatki_.reset();
    wpis_.reset();
    odcinki_.reset();
    form1_.reset();
    plany_.reset();
}

std::vector<QWidget*> Shell::windows() const
{
    return {plany_.get(), form1_.get(), odcinki_.get(), wpis_.get(), notatki_.get(),
            dtech_.get(), passwordDlg_.get(), op_.get(), przeglad_.get(), infor_.get()};
}

void Shell::wire()
{
    const auto show = [](QWidget* w) { return [w] { ui::showForm(w); }; };

    using plan::TPlany;
    connect(plany_.get(), &TPlany::reviewRequested, this, show(przeglad_.get()));
    connect(plany_.get(), &TPlany::descriptionsRequested, this, show(op_.get()));
    connect(plany_.get(), &TPlany::techDataRequested, this, show(dtech_.get()));
    connect(plany_.get(), &TPlany::finderRequested, this, show(form1_.get()));
    connect(plany_.get(), &TPlany::notesRequested, this, show(notatki_.get()));
    connect(plany_.get(), &TPlany::sectionEntryRequested, this, show(odcinki_.get()));
    connect(plany_.get(), &TPlany::aboutRequested, this, show(infor_.get()));
    connect(plany_.get(), &TPlany::quitRequested, this, [] { QCoreApplication::quit(); });
    connect(plany_.get(), &TPlany::sectionClicked, this, [this] { showSectionOfPlan(); });

    using eot::TForm1;
    connect(form1_.get(), &TForm1::descriptionsRequested, this, show(op_.get()));
    connect(form1_.get(), &TForm1::notesRequested, this, show(notatki_.get()));
    connect(form1_.get(), &TForm1::techDataRequested, this, show(dtech_.get()));
    connect(form1_.get(), &TForm1::reviewRequested, this, show(przeglad_.get()));
    connect(form1_.get(), &TForm1::planRequested, this, show(plany_.get()));
    connect(form1_.get(), &TForm1::programmerEntryRequested, this, [this] { programmerLock(); });

    connect(odcinki_.get(), &sections::TOdcinki::sectionLockRequested, this, [this] { sectionLock(); });

    // Closing the main window in any way ends the program.
    plany_->installEventFilter(this);
}

bool Shell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == plany_.get() && event->type() == QEvent::Close) {
        QCoreApplication::quit();
        return false;
    }
    return QObject::eventFilter(watched, event);
}

void Shell::showSectionOfPlan()
{
    przeglad_->podcinka();
    ui::showForm(przeglad_.get());
}

void Shell::sectionLock()
{
    if (sections::AccessLock::open(*passwordDlg_, sections::AccessLock::sectionTableCode))
        odcinki_->unlock();
}

void Shell::programmerLock()
{
    if (sections::AccessLock::open(*passwordDlg_, sections::AccessLock::programmerCode))
        ui::showForm(wpis_.get());
}

void Shell::start()
{
    // Restored bounds of the main window, then maximised.
    plany_->move(260, 89);
    plany_->resize(ui::clientSizeOf(QSize(648, 488), ui::Frame::Sizeable));
    ui::placeForFirstShow(plany_.get());
    plany_->showMaximized();
}

int Shell::run()
{
    QApplication::setQuitOnLastWindowClosed(false);
    // The title goes in the application's name, not its display name: Qt
    // would add a display name to every window caption.
    QCoreApplication::setApplicationName(applicationTitle(QCoreApplication::applicationFilePath()));
    QGuiApplication::setDesktopFileName(QStringLiteral("obwodnik"));
    std::unique_ptr<Shell> shell;
    try {
        shell = std::make_unique<Shell>();
    } catch (const data::Failure& failure) {
        Guard::reportFatal(failure);
        return 1;
    }
    shell->start();
    return QApplication::exec();
}

} // namespace app
