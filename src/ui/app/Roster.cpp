#include "ui/app/Roster.h"

#include "core/app/ProgramFolder.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/app/TfrmCambiaPassword.h"
#include "ui/app/TfrmPassword.h"
#include "ui/base/Application.h"
#include "ui/base/OwnGeometry.h"
#include "ui/platform/WindowFront.h"
#include "ui/base/Widgets.h"
#include "ui/editing/FieldEvents.h"

#include <QLabel>
#include <QLineEdit>
#include "ui/archives/TfrmApriCatalogo.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/collection/TfrmCollezione.h"
#include "core/collection/Cestino.h"
#include "core/transfer/Backup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {
Roster *current = nullptr;
}

Roster::Roster(Creation creation)
{
    current = this;
    setNavigation(this);
    // A restore of a backup, a deletion or a restore from the bin that a
    // killed run left half done is completed or undone before any window
    // reads a record file; a restore first, as it brings in a bin of its own.
    Transfer::recoverRestore(ProgramFolder::path());
    Cestino::recover();
    password_ = std::make_unique<TfrmPassword>();
    if (creation == Creation::AllAtOnce) {
        createTheOthers();
    } else {
        // The others are built once the login window has been drawn, so
        // that it appears at once (see start()).
        password_->installEventFilter(this);
    }
}

void Roster::bringToFront()
{
    ensureOthers();
    QWidget *shown = QApplication::activeModalWidget();
    for (Place place : {Place::Login, Place::Start, Place::ChangePassword, Place::Sets,
                        Place::CreateArchive, Place::OpenArchive, Place::Mocs, Place::Collection})
        if (!shown && window(place) && window(place)->isVisible())
            shown = window(place);
    if (!shown)
        shown = password_.get();
    if (!shown)
        return;
    platform::bringToFront(shown);
}

bool Roster::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == password_.get() && event->type() == QEvent::Paint) {
        password_->removeEventFilter(this);
        // After this paint has reached the screen.
        QTimer::singleShot(0, this, &Roster::createTheOthers);
    }
    return QObject::eventFilter(watched, event);
}

void Roster::ensureOthers() const
{
    if (!avvio_)
        const_cast<Roster *>(this)->createTheOthers();
}

void Roster::createTheOthers()
{
    if (avvio_)
        return;
    if (password_)
        password_->removeEventFilter(this);
    // Where the login window came up first, its icon follows it here.
    VetrinoraApplication::showProgramIcon();
    avvio_ = std::make_unique<TfrmAvvio>();
    cambiaPassword_ = std::make_unique<TfrmCambiaPassword>();
    armi_ = std::make_unique<TfrmArmi>();
    creaCatalogo_ = std::make_unique<TfrmCreaCatalogo>();
    apriCatalogo_ = std::make_unique<TfrmApriCatalogo>();
    cartoline_ = std::make_unique<TfrmCartoline>();
    collezione_ = std::make_unique<TfrmCollezione>();
    // After the login window is up, so the start is not held up by it.
    ProgramFolder::removeTemporaryLeftovers();
    // And what a killed backup left in the folder it was written to.
    Transfer::removeBackupLeftover(ProgramFolder::path());
    emit othersCreated();
}

Roster::~Roster()
{
    ending_ = true;
    // Destroyed in the reverse order of creation.
    collezione_.reset();
    cartoline_.reset();
    apriCatalogo_.reset();
    creaCatalogo_.reset();
    armi_.reset();
    cambiaPassword_.reset();
    avvio_.reset();
    password_.reset();
    if (current == this) {
        current = nullptr;
        setNavigation(nullptr);
    }
}

QWidget *Roster::window(Place place) const
{
    ensureOthers();
    switch (place) {
    case Place::Login: return frmPassword();
    case Place::Start: return frmAvvio();
    case Place::ChangePassword: return frmCambiaPassword();
    case Place::Sets: return frmArmi();
    case Place::CreateArchive: return frmCreaCatalogo();
    case Place::OpenArchive: return frmApriCatalogo();
    case Place::Mocs: return frmCartoline();
    case Place::Collection: return frmCollezione();
    }
    return nullptr;
}

QWidget *Roster::mocEditorFor(const QString &file, const QString &name)
{
    ensureOthers();
    frmCartoline()->lblFile->setText(file);
    frmCartoline()->lblNome->setText(name);
    return frmCartoline();
}

void Roster::showCollection(QWidget *from)
{
    ensureOthers();
    frmCollezione()->setReturnTo(from);
    handOver(from, frmCollezione());
}

void Roster::backToLogin()
{
    TfrmPassword *login = frmPassword();
    login->txtPassword->clear();
    login->lblMemory->clear();
    showWindow(login);
    Focus::moveTo(login->txtPassword);
}

Roster &Roster::instance()
{
    Q_ASSERT(current);
    return *current;
}

void Roster::start()
{
    showWindow(password_.get());
    // Should the login window not be drawn (a desktop that keeps it
    // minimised, say), the others follow after a moment all the same.
    if (!avvio_)
        QTimer::singleShot(kLatestCreationMs, this, &Roster::createTheOthers);
}

void Roster::showWindow(QWidget *window)
{
    if (auto *own = dynamic_cast<OwnGeometry *>(window)) {
        own->showWithOwnGeometry();
        return;
    }
    if (qobject_cast<GradientWindow *>(window)) {
        // The normal size is the whole screen too, so the window fills it
        // also where no window manager maximises it.
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            window->setGeometry(screen->availableGeometry());
        window->showMaximized();
        return;
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
}

void Roster::handOver(QWidget *from, QWidget *to)
{
    showWindow(to);
    if (from && from != to)
        from->hide();
}

void Roster::endProgram()
{
    if (ending_)
        return;
    ending_ = true;
    // Hide whatever is still shown, then leave the message loop.
    for (QWidget *w : {static_cast<QWidget *>(collezione_.get()),
                       static_cast<QWidget *>(cartoline_.get()),
                       static_cast<QWidget *>(apriCatalogo_.get()),
                       static_cast<QWidget *>(creaCatalogo_.get()),
                       static_cast<QWidget *>(armi_.get()),
                       static_cast<QWidget *>(cambiaPassword_.get()),
                       static_cast<QWidget *>(avvio_.get()),
                       static_cast<QWidget *>(password_.get())})
        if (w)
            w->hide();
    emit programEnded();
    QCoreApplication::quit();
}
