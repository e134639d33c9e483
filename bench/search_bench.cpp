// "Cerca" over a 100,000-card set catalogue, with no filter and with two
// filters, from the click to the filled and sorted list, next to a plain
// sequential read of the same file; and the memory the list's lines take.
#include "BenchCatalogue.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "ui/cards/TfrmArmi.h"
#include "core/search/ResultModel.h"
#include "ui/search/SearchWindows.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <vector>

namespace {

double plainRead(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    unsigned sum = 0;
    while (qint64 n = file.read(buffer.data(), buffer.size())) {
        if (n < 0)
            break;
        total += n;
        sum += static_cast<unsigned char>(buffer[n - 1]);
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    if (total == 0 || sum == 0xFFFFFFFF)
        std::printf("nothing read\n");
    return ms;
}

struct Run {
    double ms;
    int lines;
    size_t heapBytes;
    size_t lineChars;
};

Run search(TfrmArmi &editor, const QString &name, const QString &year)
{
    TfrmTrovaArmi window(&editor);
    window.show();
    window.filter("txtMunizioni")->setText(name);
    window.filter("txtAnno")->setText(year);
    const size_t before = mallinfo2().uordblks;
    QElapsedTimer timer;
    timer.start();
    window.btnCercaClick();
    const double ms = timer.nsecsElapsed() / 1e6;
    const size_t after = mallinfo2().uordblks;
    size_t chars = 0;
    for (int i = 0; i < window.results()->count(); ++i)
        chars += window.results()->entry(i).line.size();
    return {ms, window.results()->count(), after > before ? after - before : 0, chars};
}

} // namespace

int main(int argc, char **argv)
{
    BenchProgram program(argc, argv, 100000);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;

    const QString path = ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"));
    TfrmArmi editor;

    std::vector<double> plain, all, two;
    Run allRun{}, twoRun{};
    plainRead(path); // warm the page cache
    for (int i = 0; i < runs; ++i) {
        plain.push_back(plainRead(path));
        allRun = search(editor, QString(), QString());
        all.push_back(allRun.ms);
        twoRun = search(editor, QStringLiteral("set 1"), QStringLiteral("19"));
        two.push_back(twoRun.ms);
    }
    const double p = median(plain);
    std::printf("catalogue: 100,000 cards, %lld bytes; runs: %d (median)\n",
                static_cast<long long>(QFileInfo(path).size()), runs);
    std::printf("plain sequential read:   %8.1f ms\n", p);
    std::printf("Cerca, no filter:        %8.1f ms  (%d lines)  ratio %.2f\n", median(all),
                allRun.lines, median(all) / p);
    std::printf("Cerca, two filters:      %8.1f ms  (%d lines)  ratio %.2f  (goal: at most 3)\n",
                median(two), twoRun.lines, median(two) / p);
    std::printf("list memory, no filter:  %zu bytes for %zu characters of lines: %.2f x their "
                "8-bit bytes, %.2f x their UTF-16 bytes (goal: at most 3)\n",
                allRun.heapBytes, allRun.lineChars, double(allRun.heapBytes) / allRun.lineChars,
                double(allRun.heapBytes) / (2.0 * allRun.lineChars));
    return 0;
}
