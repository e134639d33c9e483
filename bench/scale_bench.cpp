// A scale check far beyond any real collection: a catalogue of 1,000,000 set
// cards (3.4 GB), generated into a temporary folder and removed afterwards.
// "Cerca" with a filter, from the click to the filled list, against a plain
// read of the same file in the same run, and the program's peak memory.
#include "BenchCatalogue.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "ui/cards/TfrmArmi.h"
#include "core/search/ResultModel.h"
#include "ui/search/SearchWindows.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The process's peak resident memory so far, in MB.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    const int cards = argc > 2 ? std::atoi(argv[2]) : 1000000;
    BenchProgram program(argc, argv, cards);
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 5, 5);
    const QString path = ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"));
    TfrmArmi editor;
    std::vector<double> plain, filtered;
    int lines = 0;
    plainRead(path);
    for (int i = 0; i < runs; ++i) {
        plain.push_back(plainRead(path));
        TfrmTrovaArmi window(&editor);
        window.show();
        window.filter("txtMunizioni")->setText(QStringLiteral("set 1"));
        // The click comes to a window already painted.
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        window.btnCercaClick();
        filtered.push_back(timer.nsecsElapsed() / 1e6);
        lines = window.results()->count();
    }
    const double p = median(plain), f = median(filtered);
    std::printf("catalogue: %d cards, %lld bytes; runs: %d (median)\n", cards,
                static_cast<long long>(QFileInfo(path).size()), runs);
    std::printf("plain sequential read:   %8.1f ms\n", p);
    char detail[64];
    std::snprintf(detail, sizeof detail, "  %.1f ms, %d lines", f, lines);
    figure("Cerca with a filter, generated catalogue", f / p, 2, detail);
    const double peak = peakMegabytes();
    std::printf("%-44s %6.0f MB  (goal: under 300 MB)%s\n", "Peak memory of the program", peak,
                peak < 300 ? "" : "  FAIL");
    return 0;
}
