// Saves the same file over and over, alternating between two contents, until
// it is killed: the process that the kill tests kill at random moments.
//   durability_writer photo PATH        a card photo, two pictures in turn
//   durability_writer credentials PATH  the credential file, two passwords in turn
// Prints "ready" once the first save is complete.

#include "DurabilityPictures.h"
#include "core/app/IniFile.h"
#include "ui/editing/PhotoBox.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QByteArray mode = argv[1];
    const QString path = QString::fromLocal8Bit(argv[2]);
    for (long round = 0;; ++round) {
        const int which = int(round % 2);
        bool ok = false;
        if (mode == "photo") {
            ok = Photos::save(durabilityPicture(which), path);
        } else if (mode == "credentials") {
            IniFile::writeValue(path, QStringLiteral("Accesso"), QStringLiteral("Valore"),
                                which == 0 ? QStringLiteral("PRIMA") : QStringLiteral("SECONDA"));
            ok = true;
        } else {
            return 2;
        }
        if (!ok)
            return 1;
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
