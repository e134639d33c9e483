// Two programs on one data folder. The real program started a second time
// hands over to the first; a folder held from another computer or by another
// user is refused; a lock left by a killed program is taken over. And where
// a second program writes the file anyway (a folder shared on a network), a
// rewrite of a whole file and a card saved from the editor never put their
// copy over what the other wrote.

#include "TestSupport.h"

#include "core/app/DataFolderLock.h"
#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/collection/Cestino.h"
#include "ui/app/Roster.h"
#include "ui/app/SingleInstance.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "ui/cards/TfrmArmi.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using platform::MessageKind;

namespace {

const QString kCatalogue = QStringLiteral("Catalogo_BLOKKO.pro");

// The real program, laid out as a portable program folder in `folder`, with
// the module through which a second start hands over.
QString installProgram(const TestProgramFolder &folder)
{
    folder.installShippedCredentials();
    const QString exe = folder.file(QStringLiteral("Vetrinora"));
    QFile::copy(QStringLiteral(VETRINORA_PROGRAM), exe);
    QFile::copy(QStringLiteral(VETRINORA_CHANNEL_MODULE),
                folder.file(QFileInfo(QStringLiteral(VETRINORA_CHANNEL_MODULE)).fileName()));
    QFile(exe).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return exe;
}

// True once the program holding `folder` answers on its socket.
bool answers(const QString &folder, int withinMs)
{
    const QDeadlineTimer deadline(withinMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::serverName(folder));
        if (socket.waitForConnected(200))
            return true;
        QTest::qWait(100);
    }
    return false;
}

qint64 lockPid(const QString &folder)
{
    QLockFile lock(QDir(folder).filePath(DataFolderLock::fileName()));
    qint64 pid = 0;
    QString host, app;
    return lock.getLockInfo(&pid, &host, &app) ? pid : 0;
}

QStringList firstFields(const QByteArray &bytes)
{
    QStringList out;
    const RecordLayout &layout = Schede::TSchedaSet;
    for (qsizetype at = 0; at + layout.size <= bytes.size(); at += layout.size)
        out << Record::textAt(bytes.constData() + at, layout.fields.front());
    return out;
}

// The second program: saves or deletes cards of `folder`'s catalogue.
struct Actor {
    QProcess process;
    void start(const QString &folder, const QStringList &arguments)
    {
        process.start(QStringLiteral(VETRINORA_CARD_ACTOR), QStringList{folder} + arguments);
    }
    // The cards it reported saved.
    QStringList saved()
    {
        QStringList names;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
            if (line.startsWith("salvata "))
                names << QStringLiteral("Salvata %1").arg(QString::fromLatin1(line.mid(8)));
        return names;
    }
};

} // namespace

class TestSecondCopy : public ProgramTest {
    Q_OBJECT

    void writeCatalogue(int count)
    {
        folder->writeCards(kCatalogue, Schede::TSchedaSet, count, [](Record &r, int i) {
            r.setText("NomeSet", QStringLiteral("Card %1").arg(i));
            r.setText("Tema", QStringLiteral("Pirati"));
            r.setText("CodiceSet", QStringLiteral("C%1").arg(i));
            r.setText("AnnoUscita", QStringLiteral("1989"));
            r.setText("Valore", QStringLiteral("0,00"));
        });
    }

private slots:
    // A second start of the real program finds the first answering: it asks
    // it to come to the front and ends without a window of its own; the
    // first comes to the front, restored.
    void aSecondStartHandsOverToTheFirst()
    {
        SingleInstance first(folder->path());
        QCOMPARE(first.claim(), SingleInstance::Claim::Owner);
        first.answerOtherStarts();
        connect(&first, &SingleInstance::raiseRequested, roster.get(), &Roster::bringToFront);
        roster->start();
        QWidget *login = roster->window(Place::Login);
        QVERIFY(QTest::qWaitForWindowExposed(login));
        QWidget other;
        other.setWindowTitle(QStringLiteral("un altro programma"));
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        login->showMinimized();
        QTRY_VERIFY(login->isMinimized());

        QProcess second;
        second.start(installProgram(*folder), {});
        QVERIFY(second.waitForStarted());
        // The answer goes out from this test's event loop.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!login->isMinimized());
        QTRY_VERIFY(login->isActiveWindow());
        QCOMPARE(services->messages.size(), 0);
        QCOMPARE(lockPid(folder->path()), qint64(QCoreApplication::applicationPid()));
    }

    // The first start answers once its windows are made; a second start in
    // the moment before (here longer than the 5 seconds given to a program
    // that does not answer, as a slow disk can make it) waits for that answer
    // while the first's lock is recent, and hands over without a message of
    // its own.
    void aStartWhileTheFirstIsStartingWaitsForItsAnswer()
    {
        SingleInstance first(folder->path());
        QCOMPARE(first.claim(), SingleInstance::Claim::Owner);
        int raised = 0;
        connect(&first, &SingleInstance::raiseRequested, this, [&] { ++raised; });
        QProcess second;
        second.start(installProgram(*folder), {});
        QVERIFY(second.waitForStarted());
        QTest::qWait(6000);
        QCOMPARE(second.state(), QProcess::Running);
        first.answerOtherStarts();
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(raised, 1);
        QCOMPARE(lockPid(folder->path()), qint64(QCoreApplication::applicationPid()));
    }

    // A program on this computer that holds the folder since long ago and
    // does not answer (hung, or without its channel module): a start waits
    // 5 seconds, then says so.
    void aLongHeldFolderThatDoesNotAnswerIsRefused()
    {
        SingleInstance first(folder->path());
        QCOMPARE(first.claim(), SingleInstance::Claim::Owner); // and never answers
        QFile lockFile(folder->file(DataFolderLock::fileName()));
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
        lockFile.close();
        DataFolderLock probe(folder->path());
        QCOMPARE(probe.take(), DataFolderLock::Outcome::HeldHere);
        QElapsedTimer waited;
        waited.start();
        SingleInstance second(folder->path());
        QCOMPARE(second.claim(), SingleInstance::Claim::Refused);
        QVERIFY2(waited.elapsed() >= 4900 && waited.elapsed() < 20000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(services->texts(), QStringList{DataFolderLock::noAnswerMessage(folder->path(), probe.holder())});
        QCOMPARE(lockPid(folder->path()), qint64(QCoreApplication::applicationPid()));
    }

    // A folder where no lock can be made (a read-only file system): a second
    // start still finds the first by its answer and hands over, instead of
    // opening a second program on the same cards.
    void aFolderWithoutALockStillHandsOver()
    {
        QTemporaryDir base;
        QVERIFY(base.isValid());
        SmallDisk disk(base.path());
        REQUIRE_SMALL_DISK(disk);
        QCOMPARE(QProcess::execute("mount", {"-o", "remount,ro", base.path()}), 0);
        DataFolderLock probe(base.path());
        QCOMPARE(probe.take(), DataFolderLock::Outcome::Unavailable);
        SingleInstance first(base.path());
        QCOMPARE(first.claim(), SingleInstance::Claim::Owner);
        first.answerOtherStarts();
        SingleInstance second(base.path());
        QCOMPARE(second.claim(), SingleInstance::Claim::HandedOver);
        QVERIFY(services->messages.isEmpty());
    }

    // Two real programs: the second ends at once and the first runs on; a
    // program killed with SIGKILL leaves its lock, which the next start
    // takes over instead of refusing.
    void twoRealPrograms()
    {
        const QString exe = installProgram(*folder);
        QProcess first;
        first.start(exe, {});
        QVERIFY(first.waitForStarted());
        QVERIFY(answers(folder->path(), 20000));
        QCOMPARE(lockPid(folder->path()), first.processId());

        QProcess second;
        second.start(exe, {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFileInfo::exists(folder->file(DataFolderLock::fileName())));
        QProcess third;
        third.start(exe, {});
        QVERIFY(third.waitForStarted());
        QVERIFY(answers(folder->path(), 20000));
        QCOMPARE(third.state(), QProcess::Running);
        QCOMPARE(lockPid(folder->path()), third.processId());
        // Ended from outside (a log-out), it closes as from its menu: its
        // lock and its socket are gone, so the next start finds them free.
        third.terminate();
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitStatus(), QProcess::NormalExit);
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(folder->file(DataFolderLock::fileName())));
        QVERIFY(!answers(folder->path(), 300));
    }

    // The folder held from another computer, or by another user of this one:
    // refused, saying by whom and since when; nothing is taken over.
    void aFolderHeldElsewhereIsRefused_data()
    {
        QTest::addColumn<bool>("anotherUser");
        QTest::newRow("another computer") << false;
        QTest::newRow("another user") << true;
    }
    void aFolderHeldElsewhereIsRefused()
    {
        QFETCH(bool, anotherUser);
        const QString lockPath = folder->file(DataFolderLock::fileName());
        QString computer = QStringLiteral("altropc");
        QByteArray contents;
        if (anotherUser) {
            if (::getuid() != 0)
                QSKIP("giving the lock file to another user needs root");
            // A live process of this computer: this test's own.
            computer = QSysInfo::machineHostName();
            QLockFile mine(lockPath);
            QVERIFY(mine.tryLock(0));
            QFile f(lockPath);
            QVERIFY(f.open(QIODevice::ReadOnly));
            contents = f.readAll();
            f.close();
            mine.unlock();
        } else {
            contents = "4242\nvetrinora\naltropc\n0123456789abcdef0123456789abcdef\n";
        }
        folder->write(DataFolderLock::fileName(), contents);
        const QDateTime since(QDate(2026, 12, 10), QTime(21, 5));
        QFile lockFile(lockPath);
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(since, QFileDevice::FileModificationTime));
        lockFile.close();
        if (anotherUser)
            QCOMPARE(::chown(QFile::encodeName(lockPath).constData(), 65534, 65534), 0);

        SingleInstance second(folder->path());
        QCOMPARE(second.claim(), SingleInstance::Claim::Refused);
        const QString who = anotherUser
                                ? QStringLiteral("da un altro utente di questo computer (\"%1\")").arg(computer)
                                : QStringLiteral("sul computer \"altropc\"");
        QCOMPARE(services->texts(),
                 QStringList{QStringLiteral(
                                 "Attenzione: la collezione della cartella \"%1\" è già aperta in "
                                 "Vetrinora %2 dal 10/12/2026 alle 21:05. Due programmi che "
                                 "scrivono la stessa collezione perderebbero schede, perciò questa "
                                 "copia del programma si chiude.\r\n\r\nChiudere Vetrinora dove è "
                                 "aperto e avviarlo di nuovo. Se quel computer si è spento senza "
                                 "chiudere il programma, eliminare il file \"Vetrinora.lock\" "
                                 "dalla cartella e avviare di nuovo Vetrinora.")
                                 .arg(QDir::toNativeSeparators(QDir::cleanPath(folder->path())), who)});
        QCOMPARE(services->messages.first().kind, MessageKind::Error);
        QCOMPARE(services->messages.first().buttons, platform::Buttons{platform::Button::Ok});
        QCOMPARE(folder->read(DataFolderLock::fileName()), contents);
    }

    // While an import rewrites the catalogue, a second program saves 40
    // cards one by one: the import refuses to put its copy over them, and
    // every card reported saved is in the file; the import done again
    // brings its cards in too.
    void anImportNeverDropsCardsSavedMeanwhile()
    {
        writeCatalogue(500);
        const CardStore store(folder->file(kCatalogue), Schede::TSchedaSet);
        Actor actor;
        const auto import = [&](bool withActor) {
            return store.appendAll([&](const std::function<void(const Record &)> &put) {
                for (int i = 1; i <= 100; ++i) {
                    if (withActor && i == 50) {
                        actor.start(folder->path(), {QStringLiteral("append"), QStringLiteral("40"),
                                                     QStringLiteral("0")});
                        QVERIFY(actor.process.waitForFinished(60000));
                    }
                    Record card(Schede::TSchedaSet);
                    card.setText("NomeSet", QStringLiteral("Importata %1").arg(i));
                    put(card);
                }
            });
        };
        try {
            import(true);
            QFAIL("the import replaced a file changed under it");
        } catch (const CardStore::Changed &e) {
            QCOMPARE(QString::fromUtf8(e.what()), CardStore::changedFileMessage(kCatalogue));
        }
        QCOMPARE(actor.process.exitCode(), 0);
        const QStringList saved = actor.saved();
        QCOMPARE(saved.size(), 40);
        QStringList names = firstFields(folder->read(kCatalogue));
        QCOMPARE(names.size(), 540);
        QCOMPARE(names.mid(500), saved);
        QCOMPARE(import(false), qint64(640));
        names = firstFields(folder->read(kCatalogue));
        QCOMPARE(names.mid(500, 40), saved);
        QCOMPARE(names.last(), QStringLiteral("Importata 100"));
    }

    // Deletions to the bin, one after another, while a second program saves
    // 40 cards: each deletion either happens or is refused whole, and no
    // card reported saved is lost.
    void binDeletionsNeverDropCardsSavedMeanwhile()
    {
        writeCatalogue(3000);
        Actor actor;
        actor.start(folder->path(), {QStringLiteral("append"), QStringLiteral("40"), QStringLiteral("15")});
        QVERIFY(actor.process.waitForStarted());
        int deleted = 0;
        int refused = 0;
        QStringList gone;
        while (!actor.process.waitForFinished(0)) {
            try {
                const QStringList before = firstFields(
                    CardFile::catalogue().store().readRange(0, 1));
                Cestino::remove(CardFile::catalogue(), {0});
                gone << before;
                ++deleted;
            } catch (const Cestino::Failure &e) {
                QCOMPARE(QString::fromUtf8(e.what()), CardStore::changedFileMessage(kCatalogue));
                ++refused;
            }
        }
        QCOMPARE(actor.process.exitCode(), 0);
        const QStringList saved = actor.saved();
        QCOMPARE(saved.size(), 40);
        const QStringList names = firstFields(folder->read(kCatalogue));
        for (const QString &name : saved)
            QVERIFY2(names.contains(name), qPrintable(name + QStringLiteral(" lost")));
        QCOMPARE(names.size(), 3000 + 40 - deleted);
        QCOMPARE(Cestino::entries().size(), deleted);
        for (const QString &name : gone)
            QVERIFY(!names.contains(name));
        qInfo("%d deletions done, %d refused", deleted, refused);
    }

    // The editor shows card 2; a second program deletes card 1, so card 3
    // moves into position 2; the card saved from the editor is not put over
    // it: the save is refused with its message and the file stays as the
    // other program left it, the user's typing still on screen.
    void aCardMovedByAnotherProgramIsNotOverwritten()
    {
        writeCatalogue(3);
        roster->handOver(roster->frmAvvio(), roster->frmArmi());
        TfrmArmi *e = roster->frmArmi();
        QVERIFY(QTest::qWaitForWindowActive(e));
        for (const char *c : {"cmdPrimo", "cmdAvanti"}) {
            Picture *p = e->command(c);
            QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center());
        }
        QCOMPARE(e->lblPosizione->text(), QStringLiteral("2"));
        Actor actor;
        actor.start(folder->path(), {QStringLiteral("delete"), QStringLiteral("1")});
        QVERIFY(actor.process.waitForFinished(30000));
        QCOMPARE(actor.process.exitCode(), 0);
        const QByteArray afterDelete = folder->read(kCatalogue);
        QCOMPARE(firstFields(afterDelete), (QStringList{"Card 2", "Card 3"}));

        e->field("txtMunizioni")->setText(QStringLiteral("Card 2 ritoccata"));
        Picture *save = e->command("cmdSalva");
        QTest::mouseClick(save, Qt::LeftButton, {}, save->rect().center());
        QCOMPARE(services->texts(), QStringList{CardStore::changedCardMessage()});
        QCOMPARE(services->texts().first(),
                 QStringLiteral("Attenzione: dopo che la scheda è stata aperta, un'altra copia "
                                "del programma (o un altro programma) l'ha modificata o spostata "
                                "in archivio; le modifiche non sono state salvate, per non "
                                "sovrascrivere un'altra scheda.\r\n\r\nAnnotare le modifiche, "
                                "riaprire la scheda dall'archivio e ripeterle."));
        QCOMPARE(services->messages.first().kind, MessageKind::Error);
        QCOMPARE(folder->read(kCatalogue), afterDelete);
        QCOMPARE(e->field("txtMunizioni")->text(), QStringLiteral("Card 2 ritoccata"));

        // Shown again from the file, the card saves as before.
        services->messages.clear();
        services->answers.enqueue(platform::Button::No); // the changes on screen are dropped
        Picture *last = e->command("cmdUltimo");
        QTest::mouseClick(last, Qt::LeftButton, {}, last->rect().center());
        e->field("txtMunizioni")->setText(QStringLiteral("Card 3 ritoccata"));
        QTest::mouseClick(save, Qt::LeftButton, {}, save->rect().center());
        QCOMPARE(services->texts(),
                 (QStringList{QStringLiteral("Salvare le modifiche alla scheda?"),
                              QStringLiteral("Le modifiche apportate alla scheda corrente sono "
                                             "state salvate in archivio.")}));
        QCOMPARE(firstFields(folder->read(kCatalogue)), (QStringList{"Card 2", "Card 3 ritoccata"}));
    }
};

VETRINORA_TEST_MAIN(TestSecondCopy)
#include "test_second_copy.moc"
