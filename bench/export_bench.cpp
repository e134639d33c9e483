// The export window over 100,000 set cards: loading the grid and writing the
// spreadsheet file, next to a plain read of the record file plus a plain
// write and sync of a file of the spreadsheet's size (the same sync the
// program's atomic write makes), measured in the same process, interleaved,
// after a warm-up; and the .xlsx export of the same cards against it.
#include "LinkedModules.h"
#include "BenchCatalogue.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/output/ExportWindow.h"
#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/transfer/XlsxExport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

double plainReadAndWrite(const QString &recordFile, const QString &output, qint64 bytes)
{
    QElapsedTimer timer;
    timer.start();
    QFile in(recordFile);
    in.open(QIODevice::ReadOnly);
    QByteArray buffer(1 << 20, 'x');
    while (in.read(buffer.data(), buffer.size()) > 0) {
    }
    QFile out(output);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    for (qint64 left = bytes; left > 0; left -= buffer.size())
        out.write(buffer.constData(), std::min<qint64>(left, buffer.size()));
    ::fsync(out.handle());
    out.close();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    BenchProgram program(argc, argv, 100000);
    linkModulesIn();
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 5, 5);
    const QString records = ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"));
    const QString plainOut = program.folder.filePath(QStringLiteral("plain.out"));
    TfrmArmi editor;

    std::vector<double> plain, load, write, total, xlsx;
    const CardStore catalogue(records, Schede::TSchedaSet);
    const QString xlsxOut = program.folder.filePath(QStringLiteral("catalogo.xlsx"));
    qint64 xlsxSize = 0;
    qint64 xlsSize = 0;
    const auto exportOnce = [&](bool keep) {
        QElapsedTimer timer;
        timer.start();
        TfrmExpArmi window(&editor);
        window.show(); // loads the grid
        const double l = timer.nsecsElapsed() / 1e6;
        timer.restart();
        if (!window.writeFile())
            std::printf("the export failed\n");
        const double w = timer.nsecsElapsed() / 1e6;
        xlsSize = QFileInfo(window.exportPath()).size();
        if (keep) {
            load.push_back(l);
            write.push_back(w);
            total.push_back(l + w);
        }
    };
    exportOnce(false); // warm-up: page cache, allocator
    plainReadAndWrite(records, plainOut, xlsSize);
    for (int i = 0; i < runs; ++i) {
        plain.push_back(plainReadAndWrite(records, plainOut, xlsSize));
        exportOnce(true);
        QElapsedTimer timer;
        timer.start();
        Transfer::exportXlsx(catalogue, xlsxOut);
        xlsx.push_back(timer.nsecsElapsed() / 1e6);
        xlsxSize = QFileInfo(xlsxOut).size();
    }
    const double p = median(plain), t = median(total);
    const double ratio = t / p;
    std::printf("100,000 set cards; spreadsheet %lld bytes; runs: %d (median)\n",
                static_cast<long long>(xlsSize), runs);
    std::printf("plain read + plain write and sync: %8.1f ms\n", p);
    std::printf("grid load:                         %8.1f ms\n", median(load));
    std::printf("spreadsheet write (with sync):     %8.1f ms\n", median(write));
    std::printf("Export, grid load + write: %.1f ms, ratio %.2f (goal: at most 2)%s\n", t, ratio,
                ratio <= 2 ? "" : "  FAIL");
    const double x = median(xlsx);
    std::printf(".xlsx export (libxlsxwriter):       %8.1f ms, %lld bytes\n", x,
                static_cast<long long>(xlsxSize));
    std::printf(".xlsx export against the .xls export: ratio %.2f (goal: at most 3)%s\n", x / t,
                x / t <= 3 ? "" : "  FAIL");
    return 0;
}
