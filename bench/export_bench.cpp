// The export window over 100,000 set cards: loading the grid and writing the
// spreadsheet file, next to a plain read of the record file plus a plain
// write of a file of the spreadsheet's size, in one run.
#include "BenchCatalogue.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/output/ExportWindow.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
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
    out.open(QIODevice::WriteOnly);
    for (qint64 left = bytes; left > 0; left -= buffer.size())
        out.write(buffer.constData(), std::min<qint64>(left, buffer.size()));
    out.close();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    BenchProgram program(argc, argv, 100000);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const QString records = ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"));
    TfrmArmi editor;

    std::vector<double> plain, load, write;
    qint64 xlsSize = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        TfrmExpArmi window(&editor);
        window.show(); // loads the grid
        load.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        if (!window.writeFile())
            std::printf("the export failed\n");
        write.push_back(timer.nsecsElapsed() / 1e6);
        xlsSize = QFileInfo(window.exportPath()).size();
        plain.push_back(plainReadAndWrite(records, program.folder.filePath(QStringLiteral("plain.out")), xlsSize));
    }
    const double p = median(plain), l = median(load), w = median(write);
    std::printf("100,000 set cards; spreadsheet %lld bytes; runs: %d (median)\n",
                static_cast<long long>(xlsSize), runs);
    std::printf("plain read + plain write: %8.1f ms\n", p);
    std::printf("grid load:                %8.1f ms\n", l);
    std::printf("spreadsheet write:        %8.1f ms\n", w);
    std::printf("ratio: %.2f (goal: at most 3)\n", (l + w) / p);
    return 0;
}
