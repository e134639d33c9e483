// Qt's print dialog and print preview, built as the module that the program
// loads when something is first printed.
#include "ui/platform/PrintModule.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <stdexcept>

namespace {

void paintJob(QPrinter &printer, const platform::PrintJob &job)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("Impossibile avviare la stampa.");
    const double scale = printer.resolution() / 96.0;
    for (int page = 0; page < job.pageCount; ++page) {
        if (page > 0 && !printer.newPage())
            throw std::runtime_error("Impossibile avviare una nuova pagina di stampa.");
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
        dialog.setWindowState(Qt::WindowMaximized);
        dialog.exec();
    } catch (...) {
        *failure = failureText();
    }
}
