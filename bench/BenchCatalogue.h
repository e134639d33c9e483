#pragma once
#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
// A set catalogue of a given size for the benchmarks, written with the
// program's own codec, with a photo for its last card.
#include "core/cards/RecordLayout.h"
#include "core/cards/Schede.h"

#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <algorithm>
#include <functional>
#include <vector>

// Writes `cards` records of a layout to `path`, each filled by `fill` with
// its position (from 1), in large writes.
inline void writeRecords(const QString &path, const RecordLayout &layout, int cards,
                         const std::function<void(Record &, int)> &fill)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the record file");
    Record r(layout);
    QByteArray chunk;
    for (int i = 1; i <= cards; ++i) {
        fill(r, i);
        chunk += r.bytes();
        if (chunk.size() > (8 << 20) || i == cards) {
            file.write(chunk);
            chunk.clear();
        }
    }
}

inline const char *const kBenchThemes[] = {"Città", "Pirati", "Castelli", "Spazio", "Treni", "Western"};

inline void writeCatalogue(const QString &folder, int cards)
{
    writeRecords(folder + QStringLiteral("/Catalogo_BLOKKO.pro"), Schede::TSchedaSet, cards, [](Record &r, int i) {
        // Names in no particular order, so that the list has real sorting to do.
        r.setText("NomeSet", QStringLiteral("Set %1").arg((i * 7919) % 100003));
        r.setText("Tema", QString::fromUtf8(kBenchThemes[i % 6]));
        r.setText("CodiceSet", QString::number(10000 + i));
        r.setText("AnnoUscita", QString::number(1975 + i % 50));
        r.setText("NumeroPezzi", QString::number(100 + i % 3000));
        // Purchase dates as people write them, some no date at all, and
        // weights with their unit: the collection window sorts them by
        // what they read as.
        const int day = 1 + (i * 37) % 28, month = 1 + (i * 11) % 12, year = 1990 + (i * 13) % 35;
        r.setText("DataAcquisto", i % 10 == 0   ? QStringLiteral("regalo")
                                  : i % 10 == 1 ? QStringLiteral("%1-%2-%3").arg(year).arg(month, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'))
                                                : QStringLiteral("%1/%2/%3").arg(day, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year));
        r.setText("PesoScatola", QStringLiteral("%1,%2 kg").arg(i % 7).arg(i % 10));
        r.setText("Note", QString(200, QLatin1Char('n')));
        r.setText("Valore", QStringLiteral("49,90"));
        // Every third card is for sale, for the for-sale list.
        r.setText("InVendita", i % 3 == 0 ? QStringLiteral("Sì") : QStringLiteral("No"));
    });
    QDir(folder).mkpath(QStringLiteral("Schedario"));
    QImage photo(1024, 768, QImage::Format_RGB32);
    photo.fill(QColor(200, 40, 40));
    photo.save(folder + QStringLiteral("/Schedario/BLOKKO_%1.jpg").arg(cards));
}

// A MOC archive `<name>.moc` of a given size in the same folder, every
// third creation for sale.
inline QString writeMocArchive(const QString &folder, const QString &name, int cards)
{
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".moc");
    static const char *scales[] = {"1:10", "1:20", "1:35", "1:43", "1:87", "minifig"};
    writeRecords(path, Schede::TSchedaMOC, cards, [](Record &r, int i) {
        r.setText("NomeProgetto", QStringLiteral("Progetto %1").arg((i * 7919) % 100003));
        r.setText("CodiceID", QStringLiteral("MOC-%1").arg(10000 + i));
        r.setText("Tema", QString::fromUtf8(kBenchThemes[i % 6]));
        r.setText("Designer", QStringLiteral("Designer %1").arg(i % 40));
        r.setText("Scala", QString::fromUtf8(scales[i % 6]));
        r.setText("NumeroPezzi", QString::number(100 + i % 3000));
        r.setText("Note", QString(200, QLatin1Char('n')));
        r.setText("CostoTotale", QStringLiteral("129,50"));
        r.setText("InVendita", i % 3 == 0 ? QStringLiteral("Sì") : QStringLiteral("No"));
    });
    return path;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One figure with its goal, and FAIL beside it when it misses.
inline void figure(const char *what, double ratio, double goal, const char *detail = "")
{
    std::printf("%-44s ratio %5.2f  (goal: at most %.1f)%s%s\n", what, ratio, goal, detail,
                ratio <= goal ? "" : "  FAIL");
}

// A plain sequential read of a file into a buffer that is already warm: the
// read the scans are measured against.
inline double plainRead(const QString &path)
{
    static QByteArray buffer(1 << 20, 'x');
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
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

// The program's application object on the offscreen platform, with a
// temporary program folder holding a catalogue of `cards` set cards. The
// platform's options can give it a screen (`configfile=…`); without them it
// has the platform's own 800×600.
struct BenchProgram {
    BenchProgram(int &argc, char **argv, int cards, const QByteArray &options = {})
    {
        qputenv("QT_QPA_PLATFORM", options.isEmpty() ? QByteArray("offscreen") : "offscreen:" + options);
        VetrinoraApplication::prepareProcess();
        app = std::make_unique<VetrinoraApplication>(argc, argv);
        app->prepare();
        writeCatalogue(folder.path(), cards);
        ProgramFolder::setPathForTests(folder.path());
    }
    ~BenchProgram() { ProgramFolder::setPathForTests(QString()); }

    std::unique_ptr<VetrinoraApplication> app;
    QTemporaryDir folder;
};
