#include "TestSupport.h"

#include "editing/Money.h"

#include <QKeyEvent>
#include <QTest>

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
        QTest::newRow("bare exponent") << "1e" << "0,00";
        QTest::newRow("plus sign") << "+4,2" << "4,20";
        QTest::newRow("zero") << "0" << "0,00";
    }
    void normalise()
    {
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QCOMPARE(Money::normalise(typed), result);
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
        QTest::newRow("home") << int(Qt::Key_Home) << "" << false;
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
