// A second program at work on the set catalogue of a program folder, for the
// tests of two programs writing one collection:
//   card_actor FOLDER append N GAP_MS   saves N new cards one by one, GAP_MS
//                                       apart, printing "salvata K" after each
//   card_actor FOLDER delete POSITION   moves card POSITION to the waste bin
// Exits 0 when every action was reported done, 1 on a failure.

#include "core/app/ProgramFolder.h"
#include "core/cards/Schede.h"
#include "core/collection/Cestino.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    ProgramFolder::setPathForTests(QString::fromLocal8Bit(argv[1]));
    const CardFile file = CardFile::catalogue();
    const QByteArray action = argv[2];
    try {
        if (action == "append" && argc == 5) {
            const int count = QByteArray(argv[3]).toInt();
            const int gap = QByteArray(argv[4]).toInt();
            for (int k = 1; k <= count; ++k) {
                Record card(*file.layout);
                card.setText("NomeSet", QStringLiteral("Salvata %1").arg(k));
                card.setText("Valore", QStringLiteral("0,00"));
                file.store().append(card);
                std::printf("salvata %d\n", k);
                std::fflush(stdout);
                QThread::msleep(gap);
            }
            return 0;
        }
        if (action == "delete") {
            Cestino::remove(file, {QByteArray(argv[3]).toLongLong() - 1});
            return 0;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 2;
}
