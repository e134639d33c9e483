// "Cerca" over a 100,000-card set catalogue, with no filter and with two
// filters, from the click to the filled and sorted list, and the for-sale
// list, from its opening to the filled list; each next to a plain sequential
// read of the same file, measured in the same process, interleaved, after a
// warm-up; and the memory the list's lines take.
#include "BenchCatalogue.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "core/search/ResultModel.h"
#include "ui/search/SearchWindows.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <utility>
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

// "Cerca" in a search window, with the filters given as control and text.
template <typename Window>
Run search(CardHost &editor, const QList<std::pair<const char *, QString>> &filters)
{
    Window window(&editor);
    window.show();
    for (const auto &[control, text] : filters)
        window.filter(control)->setText(text);
    // The click comes to a window already painted.
    QCoreApplication::processEvents();
    return measured(window, [&] { window.btnCercaClick(); });
}

template <typename Window>
Run forSale(CardHost &editor)
{
    Window window(&editor);
    return measured(window, [&] { window.show(); });
}

struct Figure {
    const char *what;
    double goal;
    const QString *file; // measured against a plain read of this file
    std::function<Run()> run;
};

} // namespace

int main(int argc, char **argv)
{
    BenchProgram program(argc, argv, 100000);
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 7, 5);

    const QString sets = ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"));
    const QString mocs = writeMocArchive(program.folder.path(), QStringLiteral("Creazioni"), 100000);
    TfrmArmi setEditor;
    TfrmCartoline mocEditor;
    mocEditor.lblFile->setText(mocs);
    mocEditor.lblNome->setText(QStringLiteral("Creazioni"));

    std::vector<Figure> figures = {
        {"Cerca, no filter, 100,000 set cards", 2, &sets,
         [&] { return search<TfrmTrovaArmi>(setEditor, {}); }},
        {"Cerca, two filters, set cards", 1.5, &sets,
         [&] {
             return search<TfrmTrovaArmi>(setEditor, {{"txtMunizioni", QStringLiteral("set 1")},
                                                      {"txtAnno", QStringLiteral("19")}});
         }},
        {"For-sale list of sets", 2, &sets, [&] { return forSale<TfrmArmi_Disponibili>(setEditor); }},
        {"Cerca, no filter, 100,000 MOC cards", 2, &mocs,
         [&] { return search<TfrmTrovaCartoline>(mocEditor, {}); }},
        {"Cerca, two filters, MOC cards", 1.5, &mocs,
         [&] {
             return search<TfrmTrovaCartoline>(mocEditor, {{"txtTitolo", QStringLiteral("progetto 1")},
                                                           {"txtAnno", QStringLiteral("1:")}});
         }},
        {"For-sale list of MOCs", 2, &mocs, [&] { return forSale<TfrmInVendita>(mocEditor); }},
    };
    // Warm-up: the page cache, the allocator, the fonts of the lists.
    for (Figure &f : figures) {
        plainRead(*f.file);
        f.run();
    }
    std::vector<double> plainSets, plainMocs;
    std::vector<std::vector<double>> ms(figures.size());
    std::vector<Run> last(figures.size());
    for (int i = 0; i < runs; ++i) {
        for (size_t k = 0; k < figures.size(); ++k) {
            (figures[k].file == &sets ? plainSets : plainMocs).push_back(plainRead(*figures[k].file));
            last[k] = figures[k].run();
            ms[k].push_back(last[k].ms);
        }
    }
    std::printf("catalogue and archive: 100,000 cards each, %lld and %lld bytes; runs: %d (median)\n",
                static_cast<long long>(QFileInfo(sets).size()), static_cast<long long>(QFileInfo(mocs).size()),
                runs);
    std::printf("plain sequential read:   %8.1f ms (sets), %.1f ms (MOCs)\n", median(plainSets), median(plainMocs));
    char detail[96];
    for (size_t k = 0; k < figures.size(); ++k) {
        const double p = median(figures[k].file == &sets ? plainSets : plainMocs);
        std::snprintf(detail, sizeof detail, "  %.1f ms, %d lines", median(ms[k]), last[k].lines);
        figure(figures[k].what, median(ms[k]) / p, figures[k].goal, detail);
    }
    const Run &all = last.front();
    std::snprintf(detail, sizeof detail, "  %zu bytes held for %zu bytes of lines", all.heldBytes, all.lineBytes);
    figure("List memory, no filter (x 8-bit bytes)", double(all.heldBytes) / all.lineBytes, 2, detail);
    return 0;
}
