#include "TestSupport.h"

#include "core/app/Credentials.h"
#include "core/app/Crypt.h"

#include <QRegularExpression>
#include <QTest>

class TestCrypt : public QObject {
    Q_OBJECT
private slots:
    void scrambleKnownValues_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("scrambled");
        // Worked out by hand from the key schedule: K starts at 3592 (0x0E08),
        // so the first cipher byte is the plain byte XOR 0x0E.
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("A") << "A" << "4F";
        QTest::newRow("initial password") << "PERGAMENAVERDE" << "5E22E638672E183A5C97D440C0BB";
        QTest::newRow("accented") << QString::fromUtf8("È") << "C6";
    }
    void scrambleKnownValues()
    {
        QFETCH(QString, plain);
        QFETCH(QString, scrambled);
        QCOMPARE(Crypt::Scramble(plain), scrambled);
        QCOMPARE(Crypt::Unscramble(scrambled), plain);
    }

    void roundTripOverEveryCharacter()
    {
        QString all;
        for (char16_t c = 1; c <= 0xFF; ++c)
            all += QChar(c);
        const QString scrambled = Crypt::Scramble(all);
        QCOMPARE(scrambled.size(), all.size() * 2);
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]*$")).match(scrambled).hasMatch());
        QCOMPARE(Crypt::Unscramble(scrambled), all);
        // One character at a time too: the key starts afresh each time.
        for (QChar c : all)
            QCOMPARE(Crypt::Unscramble(Crypt::Scramble(QString(c))), QString(c));
    }

    void sameCharacterScramblesDifferentlyAtEachPosition()
    {
        const QString s = Crypt::Scramble(QStringLiteral("AAAA"));
        QSet<QString> pairs;
        for (int i = 0; i < 4; ++i)
            pairs.insert(s.mid(2 * i, 2));
        QVERIFY(pairs.size() > 1);
    }

    void unscrambleIgnoresALastOddDigit()
    {
        QCOMPARE(Crypt::Unscramble(QStringLiteral("4F")), QStringLiteral("A"));
        QCOMPARE(Crypt::Unscramble(QStringLiteral("4F7")), QStringLiteral("A"));
        QCOMPARE(Crypt::Unscramble(QStringLiteral("4")), QString());
    }

    void unscrambleAcceptsSmallHexDigits()
    {
        QCOMPARE(Crypt::Unscramble(QStringLiteral("5e22e638672e183a5c97d440c0bb")),
                 QStringLiteral("PERGAMENAVERDE"));
    }

    void unscrambleRefusesANonHexPair_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("letters") << "ZZ";
        QTest::newRow("second pair") << "4FG1";
        QTest::newRow("blank inside") << "4 ";
        QTest::newRow("sign") << "+1";
    }
    void unscrambleRefusesANonHexPair()
    {
        QFETCH(QString, value);
        QVERIFY_THROWS_EXCEPTION(Crypt::Error, Crypt::Unscramble(value));
    }

    void normalFormCapitalisesOnlyAtoZ_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("normal");
        QTest::newRow("small letters") << "pergamenaverde" << "PERGAMENAVERDE";
        QTest::newRow("blanks around") << "  abc1 \t" << "ABC1";
        QTest::newRow("blank inside kept") << "a b" << "A B";
        QTest::newRow("accented unchanged") << QString::fromUtf8("èa") << QString::fromUtf8("èA");
        QTest::newRow("only blanks") << "   " << "";
    }
    void normalFormCapitalisesOnlyAtoZ()
    {
        QFETCH(QString, typed);
        QFETCH(QString, normal);
        QCOMPARE(Credentials::normalForm(typed), normal);
    }
};

VETRINORA_TEST_MAIN(TestCrypt)
#include "test_crypt.moc"
