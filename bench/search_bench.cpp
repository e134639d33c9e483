// "Cerca" over a 100,000-card set catalogue, with no filter and with two
// filters, from the click to the filled and sorted list, and the for-sale
// list, from its opening to the filled list; each next to a plain sequential
// read of the same file, measured in the same process, interleaved, after a
// warm-up; and the memory the list's lines take.
#include "BenchCatalogue.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "ui/cards/TfrmArmi.h"
#include "core/search/ResultModel.h"
#include "ui/search/SearchWindows.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <vector>

namespace {

struct Run {
    double ms;
    int lines;
    size_t heldBytes;
    size_t lineBytes;
};

size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

Run measured(ListWindow &window, const std::function<void()> &action)
{
    const size_t before = heapInUse();
    QElapsedTimer timer;
    timer.start();
    action();
    const double ms = timer.nsecsElapsed() / 1e6;
    const size_t after = heapInUse();
    size_t bytes = 0;
    const LineList &lines = window.results()->lineList();
    for (qsizetype i = 0; i < lines.size(); ++i)
        bytes += size_t(lines.bytes(i).size());
    // What the list holds in its own large blocks, and what it took from the heap.
    const size_t held = size_t(lines.heldBytes()) + (after > before ? after - before : 0);
    return {ms, window.results()->count(), held, bytes};
}

Run search(TfrmArmi &editor, const QString &name, const QString &year)
{
    TfrmTrovaArmi window(&editor);
    window.show();
    window.filter("txtMunizioni")->setText(name);
    window.filter("txtAnno")->setText(year);
    return measured(window, [&] { window.btnCercaClick(); });
}

Run forSale(TfrmArmi &editor)
{
    TfrmArmi_Disponibili window(&editor);
    return measured(window, [&] { window.show(); });
}

} // namespace

int main(int argc, char **argv)
{
    BenchProgram program(argc, argv, 100000);
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 7, 5);

    const QString path = ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"));
    TfrmArmi editor;

    std::vector<double> plain, all, two, sale;
    Run allRun{}, twoRun{}, saleRun{};
    // Warm-up: the page cache, the allocator, the fonts of the list.
    plainRead(path);
    search(editor, QString(), QString());
    forSale(editor);
    for (int i = 0; i < runs; ++i) {
        plain.push_back(plainRead(path));
        allRun = search(editor, QString(), QString());
        all.push_back(allRun.ms);
        plain.push_back(plainRead(path));
        twoRun = search(editor, QStringLiteral("set 1"), QStringLiteral("19"));
        two.push_back(twoRun.ms);
        plain.push_back(plainRead(path));
        saleRun = forSale(editor);
        sale.push_back(saleRun.ms);
    }
    const double p = median(plain);
    std::printf("catalogue: 100,000 cards, %lld bytes; runs: %d (median)\n",
                static_cast<long long>(QFileInfo(path).size()), runs);
    std::printf("plain sequential read:   %8.1f ms\n", p);
    char detail[96];
    std::snprintf(detail, sizeof detail, "  %.1f ms, %d lines", median(all), allRun.lines);
    figure("Cerca, no filter, 100,000 set cards", median(all) / p, 2, detail);
    std::snprintf(detail, sizeof detail, "  %.1f ms, %d lines", median(two), twoRun.lines);
    figure("Cerca, two filters", median(two) / p, 1.5, detail);
    std::snprintf(detail, sizeof detail, "  %.1f ms, %d lines", median(sale), saleRun.lines);
    figure("For-sale list of sets", median(sale) / p, 2, detail);
    std::snprintf(detail, sizeof detail, "  %zu bytes held for %zu bytes of lines", allRun.heldBytes,
                  allRun.lineBytes);
    figure("List memory, no filter (x 8-bit bytes)", double(allRun.heldBytes) / allRun.lineBytes, 2, detail);
    return 0;
}
