// Card files written byte by byte by tests/data/make_fixtures.py, apart from
// the program: the record codec reads back every text of them (accented
// letters, fields filled to their capacity, length bytes above the capacity)
// and writes the same cards as the same bytes.

#include "TestSupport.h"

#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString dataFile(const QString &name)
{
    return QStringLiteral(VETRINORA_SOURCE_DIR "/tests/data/") + name;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

const RecordLayout *layoutNamed(const QString &name)
{
    for (const RecordLayout *layout : {&Schede::TSchedaSet, &Schede::TSchedaMOC})
        if (name == QLatin1String(layout->name.data(), layout->name.size()))
            return layout;
    return nullptr;
}

} // namespace

class TestFixtures : public QObject {
    Q_OBJECT

private slots:
    void fixturesReadAndWriteBack_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("layoutName");
        QTest::addColumn<QJsonObject>("texts");
        QTest::addColumn<QString>("rewritten");
        const QJsonObject index =
            QJsonDocument::fromJson(readAll(dataFile(QStringLiteral("fixtures.json")))).object();
        QVERIFY(!index.isEmpty());
        for (auto it = index.begin(); it != index.end(); ++it) {
            const QJsonObject entry = it.value().toObject();
            QTest::newRow(qPrintable(it.key()))
                << it.key() << entry[QStringLiteral("layout")].toString()
                << entry[QStringLiteral("texts")].toObject() << entry[QStringLiteral("rewritten")].toString();
        }
    }

    void fixturesReadAndWriteBack()
    {
        QFETCH(QString, file);
        QFETCH(QString, layoutName);
        QFETCH(QJsonObject, texts);
        QFETCH(QString, rewritten);
        const RecordLayout *layout = layoutNamed(layoutName);
        QVERIFY2(layout, qPrintable(layoutName));
        for (const QString &field : texts.keys())
            QVERIFY2(layout->field(field.toStdString()), qPrintable(field));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString copy = dir.filePath(file);
        QVERIFY(QFile::copy(dataFile(file), copy));
        const CardStore fixture(copy, *layout);
        QCOMPARE(fixture.count(), 1);
        const Record card = fixture.read(0);
        Record same(*layout);
        for (const FieldDef &f : layout->fields) {
            const QString expected = texts.value(f.fieldName()).toString();
            const QString read = card.text(f);
            QVERIFY2(read == expected, qPrintable(QStringLiteral("%1: read \"%2\", written \"%3\"")
                                                      .arg(f.fieldName(), read, expected)));
            same.setText(f, expected);
        }

        const QString written = dir.filePath(QStringLiteral("written"));
        QCOMPARE(CardStore(written, *layout).append(same), 1);
        const QByteArray bytes = readAll(written);
        const QByteArray wanted = readAll(dataFile(rewritten));
        QCOMPARE(bytes.size(), wanted.size());
        for (const FieldDef &f : layout->fields)
            QVERIFY2(bytes.mid(f.offset, f.size()) == wanted.mid(f.offset, f.size()),
                     qPrintable(QStringLiteral("%1 is written differently").arg(f.fieldName())));
        QCOMPARE(bytes, wanted);
    }
};

VETRINORA_TEST_MAIN(TestFixtures)
#include "test_fixtures.moc"
