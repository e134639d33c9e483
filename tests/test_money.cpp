#include "TestSupport.h"

#include "core/editing/Money.h"

#include <QKeyEvent>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <clocale>
#include <cmath>
#include <optional>
#include <string>

namespace {

// Switches the C library's number format for the life of the object, as Qt
// does from LANG at start-up: under an Italian locale strtod stops at a point
// and printf writes a comma.
class NumericLocale {
public:
    explicit NumericLocale(const char *name)
        : before_(std::setlocale(LC_NUMERIC, nullptr)), ok_(std::setlocale(LC_NUMERIC, name) != nullptr)
    {
    }
    ~NumericLocale() { std::setlocale(LC_NUMERIC, before_.c_str()); }
    bool ok() const { return ok_; }

private:
    std::string before_;
    bool ok_;
};

const char *const kItalian = "it_IT.UTF-8";

// The amount of a text in the program's form ("-12,5e3"), read independently
// of the program's own reader.
double amountOf(const QString &text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(QString(text).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    return ok ? v : std::nan("");
}

// Random texts a field may be left with: mostly amounts of every size and
// sign, with and without decimals and exponents, and near the places where
// rounding or writing change their form; the rest any mix of the characters
// an amount is made of.
class AmountTexts {
public:
    explicit AmountTexts(quint32 seed) : random_(seed) {}

    QString next()
    {
        switch (random_.bounded(6)) {
        case 0: return noise();
        case 1: return nearEdge();
        default: return amount();
        }
    }

private:
    QString digits(int min, int max)
    {
        QString s;
        const int n = int(random_.bounded(min, max + 1));
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + random_.bounded(10));
        return s;
    }
    QString pick(std::initializer_list<const char *> options)
    {
        const auto *it = options.begin() + random_.bounded(int(options.size()));
        return QString::fromLatin1(*it);
    }
    QString amount()
    {
        QString s = pick({"", "", "", "-", "+", " ", " -"});
        s += digits(0, 22);
        if (random_.bounded(3) != 0)
            s += QLatin1Char(',') + digits(0, 6);
        if (random_.bounded(6) == 0)
            s += pick({"e", "E", "e-", "e+", "E-"}) + digits(1, 3);
        if (random_.bounded(8) == 0)
            s += pick({" ", "  ", "\t"});
        return s;
    }
    QString nearEdge()
    {
        // Just below and above a million billion, half cents, and the
        // sixteen-digit amounts that no longer fit fifteen digits.
        QString s = pick({"", "-"});
        s += pick({"999999999999999", "1000000000000000", "99999999999999", "9999999999999",
                   "12345678901234", "0", "1", "2", "1234567890123456789", "17976931348623157"});
        s += pick({"", ",", ",5", ",49", ",495", ",005", ",125", ",995", ",999", ",994999"});
        if (random_.bounded(4) == 0)
            s += pick({"e1", "e2", "e-2", "e15", "e20", "e-3", "e291", "e292", "e308"});
        return s;
    }
    QString noise()
    {
        static const QString alphabet = QStringLiteral("0123456789,,,--++eE. 9");
        QString s;
        const int n = int(random_.bounded(0, 14));
        for (int i = 0; i < n; ++i)
            s += alphabet.at(random_.bounded(int(alphabet.size())));
        return s;
    }

    QRandomGenerator random_;
};

} // namespace

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void normalise_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty") << "" << "0,00";
        QTest::newRow("blanks") << "   " << "0,00";
        QTest::newRow("whole") << "12" << "12,00";
        QTest::newRow("one decimal") << "12,5" << "12,50";
        QTest::newRow("leading and trailing zeros") << "0012,300" << "12,30";
        QTest::newRow("leading comma") << ",5" << "0,50";
        QTest::newRow("trailing comma") << "5," << "5,00";
        QTest::newRow("lone comma") << "," << "0,00";
        QTest::newRow("rounds down") << "3,456" << "3,46";
        QTest::newRow("half rounds up") << "0,125" << "0,13";
        QTest::newRow("below a cent") << "0,004" << "0,00";
        QTest::newRow("carries") << "1,999" << "2,00";
        QTest::newRow("two commas") << "1,2,3" << "0,00";
        QTest::newRow("fifteen nines") << "999999999999999" << "999999999999999,00";
        QTest::newRow("blanks around") << " 7 " << "7,00";
        QTest::newRow("point is not a separator") << "1.5" << "0,00";
        QTest::newRow("letters") << "abc" << "0,00";
        QTest::newRow("exponent") << "1,5e2" << "150,00";
        QTest::newRow("negative exponent") << "125E-3" << "0,13";
        QTest::newRow("bare exponent") << "1e" << "0,00";
        QTest::newRow("plus sign") << "+4,2" << "4,20";
        QTest::newRow("zero") << "0" << "0,00";
        QTest::newRow("huge exponent") << "1e400" << "0,00";
        // Fifteen significant digits at most: a sixteenth is rounded away.
        QTest::newRow("sixteen digits") << "12345678901234,56" << "12345678901234,60";
        // At a million billion and beyond every integer digit is written.
        QTest::newRow("half above fifteen nines") << "999999999999999,5" << "1000000000000000,00";
        QTest::newRow("a million billion") << "1e15" << "1000000000000000,00";
        QTest::newRow("twenty digits") << "12345678901234567890" << "12345678901234600000,00";
        QTest::newRow("exponent twenty") << "1,5e20" << "150000000000000000000,00";
        QTest::newRow("largest double") << "1,7976931348623157e308"
                                        << QStringLiteral("179769313486231") + QString(294, QLatin1Char('0'))
                                               + QStringLiteral(",00");
        // Negative amounts round away from zero, like positive ones.
        QTest::newRow("negative") << "-12,5" << "-12,50";
        QTest::newRow("negative cents") << "-0,49" << "-0,49";
        QTest::newRow("negative half") << "-0,125" << "-0,13";
        QTest::newRow("negative below a cent") << "-0,004" << "0,00";
        QTest::newRow("negative zero") << "-0" << "0,00";
        QTest::newRow("negative fifteen nines and a half") << "-999999999999999,5"
                                                           << "-1000000000000000,00";
    }
    void normalise()
    {
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QCOMPARE(Money::normalise(typed), result);
    }

    // The C library's number format follows the system locale (Qt sets it
    // from LANG); amounts must come out the same whatever it is.
    void normaliseUnderAnItalianNumberFormat_data() { normalise_data(); }
    void normaliseUnderAnItalianNumberFormat()
    {
        QFETCH(QString, typed);
        QFETCH(QString, result);
        NumericLocale italian(kItalian);
        if (!italian.ok())
            QSKIP("the it_IT.UTF-8 locale is not installed (locale -a)");
        QCOMPARE(Money::normalise(typed), result);
    }

    // Whatever a field is left with, the text it then holds is a money text
    // that a second focus loss leaves alone, and it stays within half a cent
    // of the amount read (within fifteen significant digits for large ones).
    void normaliseIsStableOnRandomTexts_data()
    {
        QTest::addColumn<QByteArray>("locale");
        QTest::newRow("process locale") << QByteArray();
        QTest::newRow("italian number format") << QByteArray(kItalian);
    }
    void normaliseIsStableOnRandomTexts()
    {
        QFETCH(QByteArray, locale);
        std::optional<NumericLocale> numeric;
        if (!locale.isEmpty()) {
            numeric.emplace(locale.constData());
            if (!numeric->ok())
                QSKIP("the it_IT.UTF-8 locale is not installed (locale -a)");
        }
        static const QRegularExpression form(QStringLiteral("^-?[0-9]+,[0-9]{2}$"));
        AmountTexts texts(20260307);
        for (int i = 0; i < 20000; ++i) {
            const QString typed = texts.next();
            const QString once = Money::normalise(typed);
            const QString twice = Money::normalise(once);
            QVERIFY2(form.match(once).hasMatch(), qPrintable(typed + QStringLiteral(" -> ") + once));
            QVERIFY2(once != QLatin1String("-0,00"), qPrintable(typed));
            QVERIFY2(twice == once, qPrintable(typed + QStringLiteral(" -> ") + once
                                               + QStringLiteral(" -> ") + twice));
            if (typed.contains(QLatin1Char('.')))
                continue; // a point is no separator: "0,00", checked by the table
            const double read = amountOf(typed.trimmed());
            if (std::isnan(read) || std::isinf(read) || std::fabs(read) > 1e300)
                continue; // unreadable: "0,00", checked by the table
            const double written = amountOf(once);
            const double allowed = std::fabs(read) < 1e13 ? 0.005 + std::fabs(read) * 1e-15 + 1e-9
                                                          : std::fabs(read) * 1e-14;
            QVERIFY2(std::fabs(written - read) <= allowed,
                     qPrintable(typed + QStringLiteral(" -> ") + once));
        }
    }

    // The quick reading of normal amounts agrees with cents() on every text
    // it accepts, and accepts every normal amount short enough for it: random
    // texts of all kinds, and normal amounts of 1 to 17 integer digits with
    // leading zeros, signs and the largest values of each length.
    void normalCentsAgreesWithCents()
    {
        static const QRegularExpression form(QStringLiteral("^-?[0-9]{1,13},[0-9]{2}$"));
        QRandomGenerator random(20261210);
        AmountTexts texts(20261210);
        int quick = 0;
        for (int i = 0; i < 200000; ++i) {
            QString text;
            if (i % 2 == 0) {
                text = texts.next();
            } else {
                const int length = int(random.bounded(1, 18));
                if (random.bounded(4) == 0)
                    text += QLatin1Char('-');
                for (int d = 0; d < length; ++d) {
                    const int digit = random.bounded(8) == 0 ? 9 : int(random.bounded(10));
                    text += QChar(u'0' + (i % 7 == 1 ? 9 : digit));
                }
                text += QLatin1Char(',');
                text += QChar(u'0' + random.bounded(10));
                text += QChar(u'0' + (i % 7 == 1 ? 9 : random.bounded(10)));
                if (random.bounded(50) == 0)
                    text.insert(int(random.bounded(text.size() + 1)), QChar(u'.' + random.bounded(3)));
            }
            const QByteArray latin = text.toLatin1();
            const std::optional<qint64> fast =
                Money::normalCents(std::string_view(latin.constData(), std::size_t(latin.size())));
            QCOMPARE(fast.has_value(), form.match(text).hasMatch());
            if (!fast)
                continue;
            ++quick;
            const std::optional<qint64> slow = Money::cents(text);
            QVERIFY2(slow.has_value(), qPrintable(text));
            QVERIFY2(*fast == *slow, qPrintable(text + QStringLiteral(": %1 and %2").arg(*fast).arg(*slow)));
        }
        QVERIFY(quick > 50000);
    }

    void normalCents_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<bool>("quick");
        QTest::newRow("zero") << "0,00" << qint64(0) << true;
        QTest::newRow("negative zero") << "-0,00" << qint64(0) << true;
        QTest::newRow("leading zeros") << "007,50" << qint64(750) << true;
        QTest::newRow("negative cents") << "-0,49" << qint64(-49) << true;
        QTest::newRow("thirteen nines") << "9999999999999,99" << qint64(999999999999999) << true;
        QTest::newRow("fourteen digits") << "10000000000000,00" << qint64(0) << false;
        QTest::newRow("one decimal") << "12,5" << qint64(0) << false;
        QTest::newRow("three decimals") << "12,500" << qint64(0) << false;
        QTest::newRow("plus sign") << "+12,50" << qint64(0) << false;
        QTest::newRow("no integer digit") << ",50" << qint64(0) << false;
        QTest::newRow("point") << "12.50" << qint64(0) << false;
        QTest::newRow("blank inside") << "12 ,50" << qint64(0) << false;
        QTest::newRow("sign alone") << "-" << qint64(0) << false;
        QTest::newRow("empty") << "" << qint64(0) << false;
    }
    void normalCents()
    {
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        QFETCH(bool, quick);
        const QByteArray latin = text.toLatin1();
        const std::optional<qint64> fast =
            Money::normalCents(std::string_view(latin.constData(), std::size_t(latin.size())));
        QCOMPARE(fast.has_value(), quick);
        if (quick) {
            QCOMPARE(*fast, expected);
            QCOMPARE(Money::cents(text), std::optional<qint64>(expected));
        }
    }

    void keyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("digit") << int(Qt::Key_7) << "7" << true;
        QTest::newRow("comma") << int(Qt::Key_Comma) << "," << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "" << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << "" << true;
        QTest::newRow("left") << int(Qt::Key_Left) << "" << true;
        QTest::newRow("right") << int(Qt::Key_Right) << "" << true;
        QTest::newRow("point") << int(Qt::Key_Period) << "." << false;
        QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << false;
        QTest::newRow("blank") << int(Qt::Key_Space) << " " << false;
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << false;
        // Home and End move and select inside the field.
        QTest::newRow("home") << int(Qt::Key_Home) << "" << true;
        QTest::newRow("end") << int(Qt::Key_End) << "" << true;
        QTest::newRow("up") << int(Qt::Key_Up) << "" << false;
    }
    void keyFilter()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, allowed);
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCOMPARE(Money::keyAllowed(&event), allowed);
    }
};

VETRINORA_TEST_MAIN(TestMoney)
#include "test_money.moc"
