#include "TestSupport.h"

#include "core/cards/CardStore.h"
#include "core/cards/RecordFile.h"
#include "core/collection/CardFile.h"
#include "core/collection/Cestino.h"
#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <atomic>
#include <csignal>
#include <sys/resource.h>
#endif

using Schede::TSchedaMOC;
using Schede::TSchedaSet;

namespace {

const RecordLayout &layoutNamed(const QString &name)
{
    return name == QLatin1String("TSchedaSet") ? TSchedaSet : TSchedaMOC;
}

QByteArray fieldBytes(const Record &r, std::string_view name)
{
    const FieldDef *f = r.layout().field(name);
    return r.bytes().mid(f->offset, f->size());
}

Record recordWith(const RecordLayout &layout, std::string_view field, const QString &text)
{
    Record r(layout);
    r.setText(field, text);
    return r;
}

// Text in the code page, as its bytes.
QByteArray w(const char *utf8) { return Windows1252::encode(QString::fromUtf8(utf8)); }

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    // A scan split into runs gives no run more cards than a caller reserves
    // for it, also where a short file is read in fewer runs than asked for.
    void scanRunsFitTheirReservation_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<int>("parts");
        for (int cards : {0, 1, 3, 255, 256, 511, 600, 1000, 1025})
            for (int parts : {1, 2, 4})
                QTest::addRow("%d cards, %d runs", cards, parts) << cards << parts;
    }
    void scanRunsFitTheirReservation()
    {
        QFETCH(int, cards);
        QFETCH(int, parts);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Catalogo_BLOKKO.pro"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(qsizetype(cards) * TSchedaSet.size, '\0')) == qint64(cards) * TSchedaSet.size);
        file.close();
        std::vector<std::atomic<qint64>> seen(static_cast<std::size_t>(parts));
        qint64 reserved = -1;
        QVERIFY(CardStore(path, TSchedaSet)
                    .scanParts(
                        parts, [&](int part, const char *, qint64) { ++seen.at(size_t(part)); }, [](int) {},
                        [&](qint64 count) { reserved = CardStore::mostPerPart(count, parts); }));
        qint64 total = 0;
        for (const auto &n : seen) {
            QVERIFY2(n <= reserved, qPrintable(QStringLiteral("%1 > %2").arg(n.load()).arg(reserved)));
            total += n;
        }
        QCOMPARE(total, qint64(cards));
    }

    // Offsets and capacities as stored in files written by every copy of the
    // program: a field at the start, in the middle and at the end of each.
    void layoutPlaces_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QString>("control");
        QTest::newRow("set first") << "TSchedaSet" << "NomeSet" << 0 << 50 << "txtMunizioni";
        QTest::newRow("set date") << "TSchedaSet" << "DataAcquisto" << 1612 << 30 << "txtRecapito";
        QTest::newRow("set value") << "TSchedaSet" << "Valore" << 1894 << 15 << "txtPrezzo";
        QTest::newRow("set for sale") << "TSchedaSet" << "InVendita" << 1910 << 2 << "chkSegnala";
        QTest::newRow("set last") << "TSchedaSet" << "Desc03" << 3168 << 250 << "lblDesc03";
        QTest::newRow("moc first") << "TSchedaMOC" << "NomeProgetto" << 0 << 120 << "txtTitolo";
        QTest::newRow("moc scale") << "TSchedaMOC" << "Scala" << 525 << 10 << "txtAnno";
        QTest::newRow("moc cost") << "TSchedaMOC" << "CostoTotale" << 536 << 12 << "txtValore";
        QTest::newRow("moc place") << "TSchedaMOC" << "LuogoConservazione" << 1571 << 50 << "txtLuogo";
        QTest::newRow("moc for sale") << "TSchedaMOC" << "InVendita" << 1873 << 2 << "chkInVendita";
        QTest::newRow("moc last") << "TSchedaMOC" << "Desc03" << 3131 << 250 << "lblDesc03";
    }
    void layoutPlaces()
    {
        QFETCH(QString, layout);
        QFETCH(QString, field);
        QFETCH(int, offset);
        QFETCH(int, capacity);
        QFETCH(QString, control);
        const RecordLayout &l = layoutNamed(layout);
        const FieldDef *f = l.field(field.toStdString());
        QVERIFY(f);
        QCOMPARE(f->offset, offset);
        QCOMPARE(f->capacity, capacity);
        QCOMPARE(f->controlName(), control);
        QCOMPARE(l.fieldForControl(control.toStdString()), f);
    }

    void layoutSizes()
    {
        QCOMPARE(TSchedaSet.size, 3419);
        QCOMPARE(TSchedaSet.fields.size(), std::size_t(22));
        QCOMPARE(TSchedaMOC.size, 3382);
        QCOMPARE(TSchedaMOC.fields.size(), std::size_t(28));
        QCOMPARE(TSchedaSet.money().controlName(), QStringLiteral("txtPrezzo"));
        QCOMPARE(TSchedaMOC.money().controlName(), QStringLiteral("txtValore"));
        QCOMPARE(TSchedaSet.field("EtaConsigliata")->captionText(),
                 QString::fromUtf8("Età consigliata:"));
    }

    void fieldEncoding_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored"); // length byte and text bytes
        QTest::addColumn<QString>("readBack");
        QTest::newRow("yes") << "TSchedaSet" << "InVendita" << QString::fromUtf8("Sì")
                             << QByteArray("\x02\x53\xEC", 3) << QString::fromUtf8("Sì");
        QTest::newRow("no") << "TSchedaMOC" << "InVendita" << "No" << QByteArray("\x02No", 3)
                            << "No";
        QTest::newRow("empty") << "TSchedaSet" << "Note" << "" << QByteArray("\x00", 1) << "";
        QTest::newRow("accents and euro")
            << "TSchedaSet" << "NomeSet" << QString::fromUtf8("Città € è")
            << QByteArray("\x09" "Citt\xE0 \x80 \xE8", 10) << QString::fromUtf8("Città € è");
        QTest::newRow("trimmed") << "TSchedaMOC" << "Designer" << " \t Rossi \r\n"
                                 << QByteArray("\x05Rossi", 6) << "Rossi";
        QTest::newRow("not in the code page") << "TSchedaSet" << "Tema" << QString::fromUtf8("a☃b")
                                              << QByteArray("\x03" "a?b", 4) << "a?b";
        QTest::newRow("exactly the capacity")
            << "TSchedaMOC" << "Scala" << "1234567890" << QByteArray("\x0A" "1234567890", 11)
            << "1234567890";
        QTest::newRow("cut to the capacity")
            << "TSchedaMOC" << "Scala" << "12345678901" << QByteArray("\x0A" "1234567890", 11)
            << "1234567890";
        // The accent typed apart lies past the capacity, yet makes one
        // letter with the last character kept.
        QTest::newRow("an accent typed apart, past the capacity")
            << "TSchedaMOC" << "Scala" << QString::fromUtf8("123456789e\u0301")
            << QByteArray("\x0A" "123456789\xE9", 11) << QString::fromUtf8("123456789é");
        QTest::newRow("the code page's undefined bytes")
            << "TSchedaSet" << "Tema" << QString::fromUtf8("a\u0081b\u0080c")
            << QByteArray("\x05" "a\x81" "b?c", 6) << QString::fromUtf8("a\u0081b?c");
    }
    void fieldEncoding()
    {
        QFETCH(QString, layout);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        QFETCH(QString, readBack);
        const Record r = recordWith(layoutNamed(layout), field.toStdString(), text);
        const QByteArray bytes = fieldBytes(r, field.toStdString());
        QCOMPARE(bytes.left(stored.size()), stored);
        QCOMPARE(bytes.mid(stored.size()), QByteArray(bytes.size() - stored.size(), '\0'));
        QCOMPARE(r.text(field.toStdString()), readBack);
    }

    void fieldsDoNotTouchTheirNeighbours()
    {
        Record r(TSchedaSet);
        r.bytes().fill('\x7F');
        r.setText("CodiceSet", QStringLiteral("10305"));
        const FieldDef *f = TSchedaSet.field("CodiceSet");
        QCOMPARE(r.bytes().at(f->offset - 1), '\x7F');
        QCOMPARE(r.bytes().at(f->offset + f->size()), '\x7F');
        QCOMPARE(r.bytes().size(), 3419);
    }

    void readingIsSafeOnDamagedFields()
    {
        Record r(TSchedaMOC);
        const FieldDef *f = TSchedaMOC.field("Scala");
        // A length byte above the capacity reads only the capacity.
        QByteArray &b = r.bytes();
        b[f->offset] = char(200);
        for (int i = 1; i <= f->capacity; ++i)
            b[f->offset + i] = 'x';
        b[f->offset + f->size()] = 'y'; // the next field's length byte
        QCOMPARE(r.text(*f), QString(10, QLatin1Char('x')));
        // Bytes after the text are ignored.
        r.setText(*f, QStringLiteral("1:87"));
        b[f->offset + 6] = 'Z';
        QCOMPARE(r.text(*f), QStringLiteral("1:87"));
    }

    void windows1252RoundTripsEveryByte()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        QCOMPARE(Windows1252::encode(Windows1252::decode(all)), all);
        QCOMPARE(Windows1252::decode(QByteArray("\x80\x9C\x8A", 3)), QString::fromUtf8("€œŠ"));
    }

    // Characters the code page lacks: a letter becomes its nearest letter,
    // anything else "?", and the list of replacements says which.
    void windows1252NearestLetters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("replaced");
        QTest::newRow("in the code page") << QString::fromUtf8("Città € œ – “x”") << w("Città € œ – “x”") << QString();
        QTest::newRow("accents dropped") << QString::fromUtf8("Łódź ő Ő ă ț") << w("Lódz o O a t")
                                         << QString::fromUtf8("Ł → L, ź → z, ő → o, Ő → O, ă → a, ț → t");
        QTest::newRow("letters with a stroke") << QString::fromUtf8("ł đ ħ ı") << QByteArray("l d h i")
                                               << QString::fromUtf8("ł → l, đ → d, ħ → h, ı → i");
        QTest::newRow("no nearest letter") << QString::fromUtf8("Ωmega ≠ 😀!") << QByteArray("?mega ? ?!")
                                           << QString::fromUtf8("Ω → ?, ≠ → ?, 😀 → ?");
        QTest::newRow("accent typed apart") << QString::fromUtf8("e\u0301 o\u030B") << w("é o")
                                            << QString::fromUtf8("ő → o");
        QTest::newRow("each once") << QString::fromUtf8("őőő") << QByteArray("ooo") << QString::fromUtf8("ő → o");
    }
    void windows1252NearestLetters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        QCOMPARE(Windows1252::encode(text), stored);
        QTEST(Windows1252::describe(Windows1252::replacements(text)), "replaced");
        QCOMPARE(Windows1252::representable(text), Windows1252::replacements(text).isEmpty());
    }

    // ---- the record file -------------------------------------------------

    void missingFileIsCreatedEmpty()
    {
        TestProgramFolder folder;
        const QString path = folder.file(QStringLiteral("Catalogo_BLOKKO.pro"));
        RecordFile file(path, TSchedaSet.size);
        file.openOrCreate();
        QCOMPARE(file.size(), qint64(0));
        QCOMPARE(file.position(), qint64(0));
        file.close();
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFileInfo(path).size(), qint64(0));
    }

    void appendReadAndOverwrite()
    {
        TestProgramFolder folder;
        const QString path = folder.file(QStringLiteral("Castelli.moc"));
        Record card(TSchedaMOC);
        {
            RecordFile file(path, TSchedaMOC.size);
            file.openOrCreate();
            for (const char *name : {"Torre", "Ponte", "Mura"}) {
                card.setText("NomeProgetto", QString::fromLatin1(name));
                file.seek(file.size());
                file.write(card);
                QCOMPARE(file.position(), file.size());
            }
            file.close();
        }
        QCOMPARE(QFileInfo(path).size(), qint64(3 * 3382));
        {
            RecordFile file(path, TSchedaMOC.size);
            file.openOrCreate();
            file.seek(1);
            card.setText("NomeProgetto", QStringLiteral("Ponte levatoio"));
            file.write(card);
            QCOMPARE(file.position(), qint64(2));
            QCOMPARE(file.size(), qint64(3));
            file.close();
        }
        RecordFile file(path, TSchedaMOC.size);
        file.openOrCreate();
        Record read(TSchedaMOC);
        QStringList names;
        while (file.position() < file.size()) {
            file.read(read);
            names << read.text("NomeProgetto");
        }
        QCOMPARE(names, QStringList({"Torre", "Ponte levatoio", "Mura"}));
        QCOMPARE(file.position(), qint64(3));
        file.close();
        // Record 1 on disk, byte for byte.
        const QByteArray bytes = folder.read(QStringLiteral("Castelli.moc"));
        QCOMPARE(bytes.mid(3382, 15), QByteArray("\x0EPonte levatoio", 15));
    }

    void trailingPartialRecordIsNeverRead()
    {
        TestProgramFolder folder;
        const Record card = cardWith(TSchedaSet, {{"NomeSet", QStringLiteral("Galeone")}});
        folder.write(QStringLiteral("Catalogo_BLOKKO.pro"), card.bytes() + QByteArray(100, 'x'));
        RecordFile file(folder.file(QStringLiteral("Catalogo_BLOKKO.pro")), TSchedaSet.size);
        file.openOrCreate();
        QCOMPARE(file.size(), qint64(1));
        Record read(TSchedaSet);
        file.read(read);
        QCOMPARE(read.text("NomeSet"), QStringLiteral("Galeone"));
        QVERIFY_THROWS_EXCEPTION(RecordFile::Error, file.read(read));
        QVERIFY_THROWS_EXCEPTION(RecordFile::Error, file.seek(2));
        // An append lands at the end of the whole records, over the partial one.
        file.seek(file.size());
        file.write(card);
        file.close();
        QCOMPARE(QFileInfo(file.path()).size(), qint64(2 * 3419));
    }

    void readOnlyFileIsReportedAndUnchanged()
    {
        TestProgramFolder folder;
        folder.writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), TSchedaSet, {{{"NomeSet", "Faro"}}});
        const QByteArray before = folder.read(QStringLiteral("Catalogo_BLOKKO.pro"));
        const QString path = folder.file(QStringLiteral("Catalogo_BLOKKO.pro"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        RecordFile file(path, TSchedaSet.size);
        QVERIFY_THROWS_EXCEPTION(RecordFile::Error, file.openOrCreate());
        QCOMPARE(folder.read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    void aFolderInPlaceOfTheFileIsReported()
    {
        TestProgramFolder folder;
        QDir(folder.path()).mkdir(QStringLiteral("Catalogo_BLOKKO.pro"));
        RecordFile file(folder.file(QStringLiteral("Catalogo_BLOKKO.pro")), TSchedaSet.size);
        QVERIFY_THROWS_EXCEPTION(RecordFile::Error, file.openOrCreate());
        QVERIFY(QFileInfo(file.path()).isDir());
    }

    void aRecordOfAnotherLayoutIsRefused()
    {
        TestProgramFolder folder;
        RecordFile file(folder.file(QStringLiteral("a.moc")), TSchedaMOC.size);
        file.openOrCreate();
        Record wrong(TSchedaSet);
        QVERIFY_THROWS_EXCEPTION(RecordFile::Error, file.write(wrong));
        QCOMPARE(file.size(), qint64(0));
    }

#ifdef Q_OS_UNIX
    // A write that does not reach the disk whole (here: the file size limit,
    // as on a full disk) is an error, never a saved card.
    void incompleteWriteIsAnError()
    {
        TestProgramFolder folder;
        const QString path = folder.file(QStringLiteral("Catalogo_BLOKKO.pro"));
        Record card(TSchedaSet);
        card.setText("NomeSet", QStringLiteral("Galeone"));
        RecordFile file(path, TSchedaSet.size);
        file.openOrCreate();
        file.write(card);

        struct rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tight = old;
        tight.rlim_cur = 3419 + 1000;
        setrlimit(RLIMIT_FSIZE, &tight);
        bool failed = false;
        try {
            file.write(card);
        } catch (const RecordFile::Error &) {
            failed = true;
        }
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(failed);
        QCOMPARE(file.position(), qint64(1));
        QCOMPARE(file.size(), qint64(1));
        file.close();
        // The part of the second card that did get written is cut off again.
        QCOMPARE(QFileInfo(path).size(), qint64(3419));
        QCOMPARE(folder.read(QStringLiteral("Catalogo_BLOKKO.pro")), card.bytes());
    }
#endif

    // What the collection window shows when the system refuses a record
    // action: a deletion whose bin cannot be made (a file stands where its
    // folder goes, which root cannot get round either) fails with the access
    // message, word for word, and leaves the catalogue as it was.
    void accessMessageText()
    {
        TestProgramFolder folder;
        folder.writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), TSchedaSet,
                          {{{"NomeSet", QStringLiteral("Uno")}}, {{"NomeSet", QStringLiteral("Due")}}});
        folder.write(QStringLiteral("Cestino"), "non una cartella");
        const QByteArray before = folder.read(QStringLiteral("Catalogo_BLOKKO.pro"));
        QString shown;
        try {
            Cestino::remove(CardFile::catalogue(), {0});
        } catch (const Cestino::Failure &e) {
            shown = QString::fromUtf8(e.what());
        }
        QCOMPARE(shown, QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio."
                                       "\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella "
                                       "cartella di installazione del programma."));
        QCOMPARE(folder.read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
    }
};

VETRINORA_TEST_MAIN(TestRecords)
#include "test_records.moc"
