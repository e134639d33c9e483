#include "ui/transfer/TransferCommands.h"

#include "core/app/Messages.h"
#include "core/app/ProgramFolder.h"
#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/transfer/Backup.h"
#include "core/transfer/CsvExport.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/XlsxExport.h"
#include "ui/platform/Platform.h"
#include "ui/transfer/TfrmImporta.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

// A progress bar that appears only when the work lasts more than a moment,
// with a button that cancels it.
class Progress {
public:
    Progress(QWidget *parent, const QString &label)
        : dialog_(label, QStringLiteral("Annulla"), 0, kSteps, parent)
    {
        dialog_.setObjectName(QStringLiteral("dlgProgresso"));
        dialog_.setWindowTitle(QStringLiteral(" Vetrinora"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(600);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }
    // The callback the core calls with the work done and the whole.
    std::function<bool(qint64, qint64)> callback()
    {
        return [this](qint64 done, qint64 total) {
            dialog_.setValue(total > 0 ? int(std::min(done, total) * kSteps / total) : 0);
            QCoreApplication::processEvents();
            return !dialog_.wasCanceled();
        };
    }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog dialog_;
};

const RecordLayout &layoutOf(const QString &file)
{
    return file.endsWith(QLatin1String(".moc"), Qt::CaseInsensitive) ? Schede::TSchedaMOC
                                                                     : Schede::TSchedaSet;
}

const QString kZipFilter = QStringLiteral("Archivi zip (*.zip)");

} // namespace

TransferCommands::TransferCommands(QObject *parent) : QObject(parent) {}

bool TransferCommands::backup(QWidget *parent)
{
    const QDateTime when = now();
    const QString chosen = platform::services().chooseFolder(
        parent, QStringLiteral("Scegliere la cartella in cui salvare il backup"), QDir::homePath());
    if (chosen.isEmpty())
        return false;
    try {
        Progress progress(parent, QStringLiteral("Salvataggio del backup in corso..."));
        const QString written = Transfer::writeBackup(ProgramFolder::path(), chosen,
                                                      when, progress.callback());
        platform::information(parent, Messages::backupSaved(QDir::toNativeSeparators(written)));
        return true;
    } catch (const Transfer::Cancelled &) {
        platform::information(parent, Messages::backupCancelled());
    } catch (const Transfer::Error &e) {
        platform::warning(parent, e.message());
    }
    return false;
}

bool TransferCommands::restore(QWidget *parent)
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Scegliere il backup da ripristinare");
    request.filters = {kZipFilter};
    request.defaultExtension = QStringLiteral("zip");
    const QString chosen = platform::services().openFile(parent, request);
    if (chosen.isEmpty())
        return false;
    try {
        const Transfer::BackupContents contents = Transfer::inspectBackup(chosen);
        if (!platform::confirm(parent, Transfer::restoreQuestion(contents)))
            return false;
        Progress progress(parent, QStringLiteral("Ripristino in corso..."));
        const QString aside = Transfer::restoreBackup(chosen, ProgramFolder::path(), now(), {},
                                                      progress.callback());
        platform::information(parent, Messages::restoreDone(QDir::toNativeSeparators(aside)));
        return true;
    } catch (const Transfer::Cancelled &) {
        platform::information(parent, Messages::restoreCancelled());
    } catch (const Transfer::Error &e) {
        platform::warning(parent, e.message());
    }
    return false;
}

namespace {
// The two spreadsheet exports: one command, two tables.
struct ExportKind {
    QString title, filter, extension;
    QString (*one)();
    QString (*many)(const QString &count);
    QString (*cancelled)();
    qint64 (*write)(const CardStore &, const QString &, const std::optional<QList<qint64>> &,
                    const std::function<bool(qint64, qint64)> &);
};

bool exportAs(QWidget *parent, const QString &file, const std::optional<QList<qint64>> &rows,
              const ExportKind &kind)
{
    platform::FileDialogRequest request;
    request.title = kind.title;
    request.filters = {kind.filter};
    request.proposedName = QFileInfo(file).completeBaseName() + QLatin1Char('.') + kind.extension;
    request.defaultExtension = kind.extension;
    request.overwritePrompt = true;
    const QString chosen = platform::services().saveFile(parent, request);
    if (chosen.isEmpty())
        return false;
    try {
        Progress progress(parent, QStringLiteral("Esportazione in corso..."));
        const qint64 written = kind.write(CardStore(file, layoutOf(file)), chosen, rows, progress.callback());
        platform::information(parent, written == 1 ? kind.one() : kind.many(QString::number(written)));
        return true;
    } catch (const Transfer::Cancelled &) {
        platform::information(parent, kind.cancelled());
    } catch (const Transfer::Error &e) {
        platform::warning(parent, e.message());
    }
    return false;
}
} // namespace

bool TransferCommands::exportCsv(QWidget *parent, const QString &file,
                                 const std::optional<QList<qint64>> &rows)
{
    return exportAs(parent, file, rows,
                    {QStringLiteral("Esporta le schede in un file CSV"), QStringLiteral("File CSV (*.csv)"),
                     QStringLiteral("csv"), &Messages::oneCardExportedToCsv,
                     &Messages::cardsExportedToCsv, &Messages::csvExportCancelled,
                     &Transfer::exportCsv});
}

bool TransferCommands::exportXlsx(QWidget *parent, const QString &file,
                                  const std::optional<QList<qint64>> &rows)
{
    return exportAs(parent, file, rows,
                    {QStringLiteral("Esporta le schede in un file Excel"),
                     QStringLiteral("Cartelle di lavoro Excel (*.xlsx)"), QStringLiteral("xlsx"),
                     &Messages::oneCardExportedToExcel, &Messages::cardsExportedToExcel,
                     &Messages::excelExportCancelled,
                     &Transfer::exportXlsx});
}

bool TransferCommands::importCsv(QWidget *parent, const QString &file)
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Importa schede da un file CSV");
    request.filters = {QStringLiteral("File CSV o fogli di Vetrinora (*.csv *.txt *.xls)"),
                       QStringLiteral("Fogli di calcolo ODS o Excel (*.ods *.xlsx)"),
                       QStringLiteral("Tutti i file (*)")};
    request.defaultExtension = QStringLiteral("csv");
    const QString chosen = platform::services().openFile(parent, request);
    if (chosen.isEmpty())
        return false;
    const RecordLayout &layout = layoutOf(file);
    try {
        const Transfer::Preview preview = Transfer::preview(chosen);
        const Transfer::PresentCards present{CardStore(file, layout)};
        TfrmImporta window(layout, preview, file, parent, &present,
                           [&chosen](int sheet) { return Transfer::preview(chosen, 20, sheet); });
        if (window.exec() != QDialog::Accepted)
            return false;
        Progress progress(parent, QStringLiteral("Importazione in corso..."));
        const Transfer::ImportReport report =
            Transfer::importFile(chosen, window.mapping(), CardStore(file, layout), window.options(),
                                 progress.callback());
        platform::information(parent, Transfer::reportText(report));
        return true;
    } catch (const Transfer::Cancelled &) {
        platform::information(parent, Messages::importCancelled());
    } catch (const Transfer::Error &e) {
        platform::warning(parent, e.message());
    }
    return false;
}
