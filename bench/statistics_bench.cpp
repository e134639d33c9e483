// The figures of the statistics window over a 100,000-card set catalogue
// (themes, years of release and purchase, the part for sale, the most
// valuable, the pieces), and over the same cards chosen one by one as a
// filter chooses them, next to a plain sequential read of the same file.
// Each figure is printed with its goal, and FAIL beside a goal missed.
#include "BenchCatalogue.h"
#include "core/collection/Statistics.h"

#include <QFileInfo>
#include <cstdio>

namespace {

double timed(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 7;
    BenchProgram program(argc, argv, 100000);
    const QString path = ProgramFolder::file(QStringLiteral("Catalogo_BLOKKO.pro"));
    plainRead(path); // warm the page cache
    std::vector<double> reads, all, chosen, scans;
    const QList<CardFile> files{CardFile::catalogue()};
    // Every other card, as a filter leaves them.
    Statistics::Chosen half{std::vector<std::vector<qint64>>(1)};
    for (qint64 i = 0; i < 100000; i += 2)
        half->front().push_back(i);
    qint64 cards = 0, pieces = 0;
    for (int i = 0; i < runs; ++i) {
        reads.push_back(plainRead(path));
        all.push_back(timed([&] {
            const Statistics::Figures f = Statistics::compute(files);
            cards = f.cards;
            pieces = f.pieces;
        }));
        chosen.push_back(timed([&] { Statistics::compute(files, half); }));
        scans.push_back(timed([&] {
            std::atomic<qint64> seen{0};
            files.front().store().scanParts(2, [&](int, const char *record, qint64) { seen += record[0]; },
                                            [](int) {});
        }));
    }
    const double read = median(reads);
    std::printf("catalogue: %lld cards, %lld bytes, %lld pieces\n", static_cast<long long>(cards),
                static_cast<long long>(QFileInfo(path).size()), static_cast<long long>(pieces));
    std::printf("%-44s %9.1f ms\n", "plain sequential read", read);
    std::printf("%-44s %9.1f ms\n", "the program's reading alone, nothing counted", median(scans));
    std::printf("%-44s %9.1f ms\n", "statistics of every card", median(all));
    std::printf("%-44s %9.1f ms\n", "statistics of every other card", median(chosen));
    figure("statistics of every card (x read)", median(all) / read, 1.5);
    figure("statistics of a filter's cards (x read)", median(chosen) / read, 1.5);
    return cards == 100000 ? 0 : 1;
}
