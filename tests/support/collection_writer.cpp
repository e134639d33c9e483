// Deletes cards of the set catalogue of a program folder into the waste bin
// and puts them back, over and over, until it is killed: the process that
// the kill test kills at random moments. Starts as the program does, by
// completing or undoing what the last killed run left half done.
//   collection_writer FOLDER SEED
// Prints "ready" once the first deletion is complete.

#include "core/app/ProgramFolder.h"
#include "core/collection/Cestino.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    ProgramFolder::setPathForTests(QString::fromLocal8Bit(argv[1]));
    QRandomGenerator random(quint32(QByteArray(argv[2]).toUInt()));
    Cestino::recover();
    const CardFile file = CardFile::catalogue();
    for (long round = 0;; ++round) {
        try {
            const qint64 count = file.store().count();
            std::vector<qint64> indices;
            const int how = 1 + int(random.bounded(3));
            for (int i = 0; i < how && count > 0; ++i)
                indices.push_back(qint64(random.bounded(quint32(count))));
            Cestino::remove(file, indices);
            const QList<Cestino::Entry> bin = Cestino::entries();
            if (bin.size() > 2)
                Cestino::restore(bin.front().id);
        } catch (const Cestino::Failure &) {
            return 1;
        }
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
