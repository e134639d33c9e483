// Moves of a large collection, in one run each:
// - CSV import of 100,000 rows against a plain write of the record file it
//   yields (goal: at most 3 times);
// - .xlsx import of the same 100,000 rows against a plain write of the
//   record file it yields (goal: at most 3 times);
// - backup of a 100,000-card catalogue with 1,000 photos against `zip -1` of
//   the same files (goal: at most 1.5 times). The backup's time includes its
//   read-back check.
// Prints each figure with its goal, and FAIL where a goal is missed.
#include "LinkedModules.h"
#include "BenchCatalogue.h"

#include "core/cards/CardStore.h"
#include "core/transfer/Backup.h"
#include "core/transfer/CsvExport.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/XlsxExport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double plainWrite(const QString &path, qint64 bytes)
{
    QElapsedTimer timer;
    timer.start();
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    QByteArray buffer(1 << 20, 'x');
    for (qint64 left = bytes; left > 0; left -= buffer.size())
        out.write(buffer.constData(), std::min<qint64>(left, buffer.size()));
    out.flush();
    // The import's atomic write syncs its file: so does the yardstick.
    ::fsync(out.handle());
    out.close();
    return timer.nsecsElapsed() / 1e6;
}

void verdict(const char *what, double ratio, double goal)
{
    std::printf("%s ratio: %.2f (goal: at most %.1f)%s\n", what, ratio, goal, ratio > goal ? "  FAIL" : "");
}

} // namespace

int main(int argc, char **argv)
{
    BenchProgram program(argc, argv, 100000);
    linkModulesIn();
    const QString folder = program.folder.path() + QLatin1Char('/');
    const QString records = folder + QStringLiteral("Catalogo_BLOKKO.pro");
    const CardStore catalogue(records, Schede::TSchedaSet);

    // CSV import.
    const QString csv = folder + QStringLiteral("catalogo.csv");
    QElapsedTimer timer;
    timer.start();
    Transfer::exportCsv(catalogue, csv);
    const double exportMs = timer.nsecsElapsed() / 1e6;
    const long peakBefore = peakKilobytes();
    const QString imported = folder + QStringLiteral("importato.pro");
    timer.restart();
    const Transfer::Preview preview = Transfer::preview(csv);
    const Transfer::ImportReport report = Transfer::importFile(
        csv, Transfer::proposeMapping(Schede::TSchedaSet, preview.headings), CardStore(imported, Schede::TSchedaSet));
    const double importMs = timer.nsecsElapsed() / 1e6;
    const long peakAfter = peakKilobytes();
    const qint64 importedBytes = QFileInfo(imported).size();
    const double plainMs = plainWrite(folder + QStringLiteral("plain.out"), importedBytes);
    QFile::remove(folder + QStringLiteral("plain.out"));
    std::printf("== CSV import ==\n");
    std::printf("%lld rows, CSV %lld bytes, record file %lld bytes (same as the source: %s)\n",
                static_cast<long long>(report.imported), static_cast<long long>(QFileInfo(csv).size()),
                static_cast<long long>(importedBytes),
                QFileInfo(imported).size() == QFileInfo(records).size() ? "yes" : "NO");
    std::printf("CSV export (for reference): %8.1f ms\n", exportMs);
    std::printf("import:                     %8.1f ms\n", importMs);
    std::printf("plain write of the file:    %8.1f ms\n", plainMs);
    std::printf("peak memory before / after the import: %ld / %ld kB\n", peakBefore, peakAfter);
    verdict("import", importMs / plainMs, 3.0);
    QFile::remove(csv);
    QFile::remove(imported);

    // .xlsx import: the same cards written as a spreadsheet, read back.
    const QString xlsx = folder + QStringLiteral("catalogo.xlsx");
    timer.restart();
    Transfer::exportXlsx(catalogue, xlsx);
    const double xlsxExportMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    const Transfer::Preview sheetPreview = Transfer::preview(xlsx);
    const Transfer::ImportReport sheetReport = Transfer::importFile(
        xlsx, Transfer::proposeMapping(Schede::TSchedaSet, sheetPreview.headings), CardStore(imported, Schede::TSchedaSet));
    const double xlsxImportMs = timer.nsecsElapsed() / 1e6;
    const qint64 sheetBytes = QFileInfo(imported).size();
    const double sheetPlainMs = plainWrite(folder + QStringLiteral("plain.out"), sheetBytes);
    QFile::remove(folder + QStringLiteral("plain.out"));
    std::printf("== .xlsx import ==\n");
    std::printf("%lld rows, .xlsx %lld bytes, record file %lld bytes\n",
                static_cast<long long>(sheetReport.imported), static_cast<long long>(QFileInfo(xlsx).size()),
                static_cast<long long>(sheetBytes));
    std::printf(".xlsx export (for reference): %8.1f ms\n", xlsxExportMs);
    std::printf("import:                       %8.1f ms\n", xlsxImportMs);
    std::printf("plain write of the file:      %8.1f ms\n", sheetPlainMs);
    verdict(".xlsx import", xlsxImportMs / sheetPlainMs, 3.0);
    QFile::remove(xlsx);
    QFile::remove(imported);

    // Backup: 1,000 photos of about 100 kB beside the catalogue.
    QImage photo(640, 480, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x % 256, y % 256, int(random.bounded(64))));
    photo.save(folder + QStringLiteral("foto.jpg"), "JPG", 90);
    QFile photoFile(folder + QStringLiteral("foto.jpg"));
    photoFile.open(QIODevice::ReadOnly);
    const QByteArray jpeg = photoFile.readAll();
    photoFile.remove();
    QDir().mkpath(folder + QStringLiteral("Schedario"));
    for (int i = 1; i <= 1000; ++i) {
        QFile f(folder + QStringLiteral("Schedario/BLOKKO_%1.jpg").arg(i));
        f.open(QIODevice::WriteOnly);
        f.write(jpeg);
    }
    QTemporaryDir out;
    timer.restart();
    const QString zip = Transfer::writeBackup(folder, out.path(), QDateTime::currentDateTime());
    const double backupMs = timer.nsecsElapsed() / 1e6;
    const qint64 backupBytes = QFileInfo(zip).size();
    QFile::remove(zip);

    const QString zipTool = QStandardPaths::findExecutable(QStringLiteral("zip"));
    std::printf("== backup ==\n");
    std::printf("100,000 cards (%lld bytes) and 1,000 photos of %lld bytes\n",
                static_cast<long long>(QFileInfo(records).size()), static_cast<long long>(jpeg.size()));
    std::printf("backup, written and checked: %8.1f ms, %lld bytes\n", backupMs, static_cast<long long>(backupBytes));
    if (zipTool.isEmpty()) {
        std::printf("zip is not installed: no comparison\n");
        return 0;
    }
    QProcess z;
    z.setWorkingDirectory(folder);
    timer.restart();
    z.start(zipTool, {QStringLiteral("-1"), QStringLiteral("-q"), QStringLiteral("-r"),
                      out.filePath(QStringLiteral("zip1.zip")), QStringLiteral("Catalogo_BLOKKO.pro"),
                      QStringLiteral("Schedario")});
    z.waitForFinished(-1);
    const double zipMs = timer.nsecsElapsed() / 1e6;
    std::printf("zip -1 of the same files:    %8.1f ms, %lld bytes\n", zipMs,
                static_cast<long long>(QFileInfo(out.filePath(QStringLiteral("zip1.zip"))).size()));
    verdict("backup", backupMs / zipMs, 1.5);
    return 0;
}
