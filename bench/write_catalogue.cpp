// Writes a set catalogue of the given size into a program folder, for the
// benchmark of the real program.
//   write_catalogue <folder> [cards]
#include "BenchCatalogue.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [cards]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    writeCatalogue(QString::fromLocal8Bit(argv[1]), argc > 2 ? std::atoi(argv[2]) : 100000);
    return 0;
}
