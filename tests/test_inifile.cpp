#include "TestSupport.h"

#include "core/app/IniFile.h"

#include <QFile>
#include <QTest>

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void readsTheValue_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QByteArray("[Accesso]\r\nValore=4F\r\n") << "4F";
        QTest::newRow("no line end") << QByteArray("[Accesso]\nValore=4F") << "4F";
        QTest::newRow("names in other case") << QByteArray("[ACCESSO]\nvalore=4F\n") << "4F";
        QTest::newRow("blanks around") << QByteArray("[Accesso]\n  Valore = 4F  \n") << "4F";
        QTest::newRow("quoted") << QByteArray("[Accesso]\nValore=\"4F\"\n") << "4F";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Accesso]\nValore=4F\n") << "4F";
        QTest::newRow("key of another section")
            << QByteArray("[Altro]\nValore=11\n[Accesso]\nValore=4F\n") << "4F";
        QTest::newRow("missing key") << QByteArray("[Accesso]\nAltro=4F\n") << "";
        QTest::newRow("key after the section") << QByteArray("[Accesso]\n[Altro]\nValore=4F\n")
                                               << "";
        QTest::newRow("missing section") << QByteArray("[Altro]\nValore=4F\n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("commented key") << QByteArray("[Accesso]\n;Valore=11\nValore=4F\n") << "4F";
        QTest::newRow("CR line ends") << QByteArray("[Altro]\rValore=11\r[Accesso]\rValore=4F\r") << "4F";
        QTest::newRow("CR line ends, no final line end")
            << QByteArray("[Accesso]\rX=1\rValore=4F") << "4F";
        QTest::newRow("mixed line ends") << QByteArray("[Accesso]\rX=1\r\nValore=4F\n") << "4F";
    }
    void readsTheValue()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, value);
        QCOMPARE(IniFile::valueIn(content, QStringLiteral("Accesso"), QStringLiteral("Valore")),
                 value);
    }

    void writesOnlyTheValue_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replace, CRLF kept")
            << QByteArray("[Accesso]\r\nValore=4F\r\n") << QByteArray("[Accesso]\r\nValore=ABCD\r\n");
        QTest::newRow("other sections and comments stay")
            << QByteArray("; note\r\n[Prima]\r\nX=1\r\n\r\n[accesso]\r\nvalore = 4F  \r\nY=2\r\n[Dopo]\r\nValore=9\r\n")
            << QByteArray("; note\r\n[Prima]\r\nX=1\r\n\r\n[accesso]\r\nvalore =ABCD\r\nY=2\r\n[Dopo]\r\nValore=9\r\n");
        QTest::newRow("LF file, no final line end")
            << QByteArray("[Accesso]\nValore=4F") << QByteArray("[Accesso]\nValore=ABCD");
        QTest::newRow("key added to the section")
            << QByteArray("[Accesso]\r\nAltro=1\r\n\r\n[Dopo]\r\nZ=3\r\n")
            << QByteArray("[Accesso]\r\nAltro=1\r\nValore=ABCD\r\n\r\n[Dopo]\r\nZ=3\r\n");
        QTest::newRow("key added after a last line without line end")
            << QByteArray("[Accesso]\nAltro=1") << QByteArray("[Accesso]\nAltro=1\nValore=ABCD\n");
        QTest::newRow("section added")
            << QByteArray("[Altro]\nX=1") << QByteArray("[Altro]\nX=1\n[Accesso]\nValore=ABCD\n");
        QTest::newRow("empty file")
            << QByteArray() << QByteArray("[Accesso]\r\nValore=ABCD\r\n");
        // A missing key goes right under the header, in the file's own line end.
        QTest::newRow("key added under the header, CR")
            << QByteArray("[Accesso]\r[Dopo]\rZ=3\r")
            << QByteArray("[Accesso]\rValore=ABCD\r[Dopo]\rZ=3\r");
        QTest::newRow("key added under the header, LF")
            << QByteArray("[Accesso]\n[Dopo]\nZ=3\n")
            << QByteArray("[Accesso]\nValore=ABCD\n[Dopo]\nZ=3\n");
        QTest::newRow("key added under the header, CRLF")
            << QByteArray("[Accesso]\r\n[Dopo]\r\nZ=3\r\n")
            << QByteArray("[Accesso]\r\nValore=ABCD\r\n[Dopo]\r\nZ=3\r\n");
        QTest::newRow("header ending the file with CR")
            << QByteArray("[Accesso]\r") << QByteArray("[Accesso]\rValore=ABCD\r");
        QTest::newRow("header ending the file with CR, after LF lines")
            << QByteArray("[Prima]\nX=1\n[Accesso]\r")
            << QByteArray("[Prima]\nX=1\n[Accesso]\rValore=ABCD\n");
        QTest::newRow("header ending the file without line end")
            << QByteArray("[Accesso]") << QByteArray("[Accesso]\r\nValore=ABCD\r\n");
        QTest::newRow("CR file, key added after the last key")
            << QByteArray("[Accesso]\rAltro=1\r") << QByteArray("[Accesso]\rAltro=1\rValore=ABCD\r");
        QTest::newRow("CR file, key replaced")
            << QByteArray("[Accesso]\rValore=4F\rY=2\r") << QByteArray("[Accesso]\rValore=ABCD\rY=2\r");
        QTest::newRow("CR file, section added")
            << QByteArray("[Altro]\rX=1\r") << QByteArray("[Altro]\rX=1\r[Accesso]\rValore=ABCD\r");
    }
    void writesOnlyTheValue()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QByteArray written = IniFile::withValue(before, QStringLiteral("Accesso"),
                                                      QStringLiteral("Valore"), QStringLiteral("ABCD"));
        QCOMPARE(written, after);
        QCOMPARE(IniFile::valueIn(written, QStringLiteral("Accesso"), QStringLiteral("Valore")),
                 QStringLiteral("ABCD"));
    }

    void aKeyAddedUnderALoneCRReadsBackFromTheFile()
    {
        TestProgramFolder folder;
        folder.write(QStringLiteral("mac.ini"), QByteArray("[Altro]\rX=1\r[Accesso]\r"));
        const QString path = folder.file(QStringLiteral("mac.ini"));
        IniFile::writeValue(path, QStringLiteral("Accesso"), QStringLiteral("Valore"),
                            QStringLiteral("4F"));
        QCOMPARE(folder.read(QStringLiteral("mac.ini")),
                 QByteArray("[Altro]\rX=1\r[Accesso]\rValore=4F\r"));
        QCOMPARE(IniFile::readValue(path, QStringLiteral("Accesso"), QStringLiteral("Valore")),
                 QStringLiteral("4F"));
        QCOMPARE(IniFile::readValue(path, QStringLiteral("Altro"), QStringLiteral("X")),
                 QStringLiteral("1"));
    }

    void writeCreatesAMissingFile()
    {
        TestProgramFolder folder;
        const QString path = folder.file(QStringLiteral("nuovo.ini"));
        IniFile::writeValue(path, QStringLiteral("Accesso"), QStringLiteral("Valore"),
                            QStringLiteral("4F"));
        QCOMPARE(folder.read(QStringLiteral("nuovo.ini")), QByteArray("[Accesso]\r\nValore=4F\r\n"));
        QCOMPARE(IniFile::readValue(path, QStringLiteral("Accesso"), QStringLiteral("Valore")),
                 QStringLiteral("4F"));
    }

    void readOfAMissingFileIsEmpty()
    {
        TestProgramFolder folder;
        QCOMPARE(IniFile::readValue(folder.file(QStringLiteral("manca.ini")),
                                    QStringLiteral("Accesso"), QStringLiteral("Valore")),
                 QString());
    }

    void readOnlyFileIsRefusedAndKept()
    {
        TestProgramFolder folder;
        const QByteArray content("[Accesso]\r\nValore=4F\r\n");
        folder.write(QStringLiteral("ro.ini"), content);
        const QString path = folder.file(QStringLiteral("ro.ini"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QVERIFY_THROWS_EXCEPTION(IniFile::Error,
                                 IniFile::writeValue(path, QStringLiteral("Accesso"),
                                                     QStringLiteral("Valore"), QStringLiteral("AB")));
        QCOMPARE(folder.read(QStringLiteral("ro.ini")), content);
    }

    void aFolderInPlaceOfTheFileIsAnError()
    {
        TestProgramFolder folder;
        QDir(folder.path()).mkdir(QStringLiteral("cartella.ini"));
        const QString path = folder.file(QStringLiteral("cartella.ini"));
        QVERIFY_THROWS_EXCEPTION(IniFile::Error,
                                 IniFile::readValue(path, QStringLiteral("Accesso"),
                                                    QStringLiteral("Valore")));
        QVERIFY_THROWS_EXCEPTION(IniFile::Error,
                                 IniFile::writeValue(path, QStringLiteral("Accesso"),
                                                     QStringLiteral("Valore"), QStringLiteral("AB")));
        QVERIFY(QFileInfo(path).isDir());
    }
};

VETRINORA_TEST_MAIN(TestIniFile)
#include "test_inifile.moc"
