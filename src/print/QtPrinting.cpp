// Qt's print dialog and print preview, built as the module that the program
// loads when something is first printed.
#include "core/app/Messages.h"
#include "ui/platform/Modules.h"

#include <QAction>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>
#include <utility>

namespace {

void paintJob(QPrinter &printer, const platform::PrintJob &job)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error(Messages::printNotStarted().toStdString());
    const double scale = printer.resolution() / 96.0;
    for (int page = 0; page < job.pageCount; ++page) {
        if (page > 0 && !printer.newPage())
            throw std::runtime_error(Messages::printPageNotStarted().toStdString());
        job.paintPage(painter, page, scale);
    }
    if (!painter.end())
        throw std::runtime_error("La stampa non è stata completata.");
}

// The printer set up for the job's title and page.
void setUp(QPrinter &printer, const platform::PrintJob &job)
{
    printer.setDocName(job.title);
    printer.setPageLayout(job.layout);
}

// The text of whatever the painting threw.
QString failureText()
{
    try {
        throw;
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("La stampa non è stata completata.");
    }
}

// The preview as the program shows it: as large as the screen allows, the
// page whole in the window, and besides Qt's own zoom, page and print
// controls the commands "Schermo intero" and "Chiudi".
void arrangePreview(QPrintPreviewDialog &dialog, QWidget *parent)
{
    QScreen *screen = parent ? parent->screen() : nullptr;
    if (!screen)
        screen = dialog.screen();
    if (screen)
        dialog.setGeometry(screen->availableGeometry());
    dialog.setWindowState(Qt::WindowMaximized);

    if (auto *preview = dialog.findChild<QPrintPreviewWidget *>())
        preview->setZoomMode(QPrintPreviewWidget::FitInView);
    // The fit buttons show the page fitted, as it is.
    for (QAction *fit : dialog.findChildren<QAction *>())
        if (fit->objectName() == QLatin1String("fitPageAction"))
            fit->setChecked(true);

    auto *toolbar = dialog.findChild<QToolBar *>();
    if (!toolbar)
        return;
    toolbar->addSeparator();
    auto *fullScreen = toolbar->addAction(QStringLiteral("Schermo intero"));
    fullScreen->setObjectName(QStringLiteral("actSchermoIntero"));
    fullScreen->setCheckable(true);
    fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreen->setToolTip(QStringLiteral("Mostra l'anteprima a schermo intero (F11); di nuovo, "
                                          "la riporta nella finestra."));
    QObject::connect(fullScreen, &QAction::toggled, &dialog, [&dialog](bool on) {
        dialog.setWindowState(on ? (dialog.windowState() | Qt::WindowFullScreen)
                                 : (dialog.windowState() & ~Qt::WindowFullScreen));
    });
    auto *close = toolbar->addAction(QStringLiteral("Chiudi"));
    close->setObjectName(QStringLiteral("actChiudi"));
    close->setToolTip(QStringLiteral("Chiude l'anteprima di stampa."));
    QObject::connect(close, &QAction::triggered, &dialog, &QDialog::reject);
    for (auto [action, name] : {std::pair{fullScreen, "cmdSchermoIntero"}, std::pair{close, "cmdChiudi"}}) {
        QWidget *button = toolbar->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(name));
        if (auto *tool = qobject_cast<QToolButton *>(button))
            tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
}

} // namespace

extern "C" Q_DECL_EXPORT bool vetrinora_print_with_dialog(QWidget *parent, const platform::PrintJob &job,
                                                          QString *failure)
{
    try {
        QPrinter printer(QPrinter::HighResolution);
        setUp(printer, job);
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        paintJob(printer, job);
        return true;
    } catch (...) {
        *failure = failureText();
        return false;
    }
}

extern "C" Q_DECL_EXPORT void vetrinora_preview_with_dialog(QWidget *parent, const platform::PrintJob &job,
                                                           QString *failure)
{
    try {
        QPrinter printer(QPrinter::HighResolution);
        setUp(printer, job);
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral(" Anteprima di stampa"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&job, &dialog, failure](QPrinter *target) {
                             try {
                                 paintJob(*target, job);
                             } catch (...) {
                                 *failure = failureText();
                                 // The first pages are painted while the preview is
                                 // being shown, before its loop runs: closed from there.
                                 QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
                             }
                         });
        arrangePreview(dialog, parent);
        dialog.exec();
    } catch (...) {
        *failure = failureText();
    }
}
