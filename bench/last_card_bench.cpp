// "Last card" in the set editor on a 100,000-card catalogue next to the same
// action on a 10-card catalogue, in one run. Each last card has a photo.
#include "BenchCatalogue.h"
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "core/cards/RecordFile.h"
#include "core/cards/Schede.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/editing/PhotoBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianMs(TfrmArmi &editor, const QString &folder, int runs, const QString &expected)
{
    ProgramFolder::setPathForTests(folder);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        // From the first card each time, as a user would go: the label then
        // shows the last card only if the click really went there.
        editor.cmdPrimoClick();
        if (editor.lblPosizione->text() != QLatin1String("1"))
            qFatal("first card not shown");
        QElapsedTimer timer;
        timer.start();
        editor.cmdUltimoClick();
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (editor.lblPosizione->text() != expected)
            qFatal("last card not shown");
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare();
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;

    QTemporaryDir small, large;
    writeCatalogue(small.path(), 10);
    writeCatalogue(large.path(), 100000);

    TfrmArmi editor;
    // Alternate so that both see the same machine state.
    medianMs(editor, small.path(), 5, QStringLiteral("10"));
    medianMs(editor, large.path(), 5, QStringLiteral("100000"));
    const double s = medianMs(editor, small.path(), runs, QStringLiteral("10"));
    const double l = medianMs(editor, large.path(), runs, QStringLiteral("100000"));
    std::printf("runs: %d each (median)\n", runs);
    std::printf("last card, 10 cards:      %7.3f ms\n", s);
    std::printf("last card, 100,000 cards: %7.3f ms\n", l);
    std::printf("Last card, 100,000 vs 10 cards            ratio %5.2f  (goal: at most 1.2)%s\n", l / s,
                l / s <= 1.2 ? "" : "  FAIL");
    ProgramFolder::setPathForTests(QString());
    return 0;
}
