// The collection table over real record files: sorting, filtering and totals,
// and deleting cards into the waste bin and putting them back, photos
// included.

#include "TestSupport.h"

#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"
#include "core/collection/CardFile.h"
#include "core/collection/Cestino.h"
#include "core/collection/CollectionModel.h"
#include "core/platform/SafeName.h"

#include <QAbstractItemModelTester>
#include <QCollator>
#include <limits>
#include <QDir>
#include <QLocale>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

using Fields = CardFields;

namespace {

// The texts of one column, top to bottom.
QStringList column(const CollectionModel &model, int c)
{
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out << model.text(r, c);
    return out;
}

int columnOf(const CollectionModel &model, const QString &caption)
{
    for (int c = 0; c < model.columnCount(); ++c)
        if (model.columnList().at(c).caption == caption)
            return c;
    return -1;
}

void writePhoto(const CardFile &file, int slot, qint64 position, const QByteArray &content)
{
    QDir().mkpath(file.photoFolder);
    QFile f(file.photoPath(slot, position));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readPhoto(const CardFile &file, int slot, qint64 position)
{
    QFile f(file.photoPath(slot, position));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(nessuna)");
}

QStringList names(const CardFile &file)
{
    QStringList out;
    const FieldDef &first = file.layout->fields.front();
    file.store().scan([&](const char *record, qint64) { out << Record::textAt(record, first); });
    return out;
}

} // namespace

class TestCollection : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> folder;

    void writeSets(const QList<Fields> &cards)
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, cards);
    }

private slots:
    void init() { folder = std::make_unique<TestProgramFolder>(); }
    void cleanup() { folder.reset(); }

    void sorting_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("pieces in numeric order, text after numbers")
            << "NumeroPezzi" << QStringList{"10000", "abc", "1008", "", "1000", "1.500", "9"} << true
            << QStringList{"9", "1000", "1008", "1.500", "10000", "", "abc"};
        QTest::newRow("values by amount, unreadable last")
            << "Valore" << QStringList{"100,00", "abc", "9,99", "-5,00", "1000,5"} << true
            << QStringList{"-5,00", "9,99", "100,00", "1000,5", "abc"};
        QTest::newRow("years descending")
            << "AnnoUscita" << QStringList{"1999", "2021", "2005"} << false
            << QStringList{"2021", "2005", "1999"};
        QTest::newRow("purchase dates as dates, unreadable after")
            << "DataAcquisto"
            << QStringList{"01/03/2023", "02/02/2019", "regalo", "04/05/2021", "2020-12-31", "3/1/21",
                           "", "11/2020", "31/02/2020", "15.06.1999", "1/1/85"}
            << true
            << QStringList{"1/1/85", "15.06.1999", "02/02/2019", "11/2020", "2020-12-31", "3/1/21",
                           "04/05/2021", "01/03/2023", "", "31/02/2020", "regalo"};
        QTest::newRow("dates descending, unreadable still after")
            << "DataAcquisto" << QStringList{"01/03/2023", "boh", "02/02/2019", "04/05/2021"} << false
            << QStringList{"01/03/2023", "04/05/2021", "02/02/2019", "boh"};
        QTest::newRow("weights by their number")
            << "PesoScatola" << QStringList{"1,2 kg", "950 g", "10 kg", "pesante", "2 kg"} << true
            << QStringList{"1,2 kg", "2 kg", "10 kg", "950 g", "pesante"};
        QTest::newRow("sizes by their first number")
            << "DimensioniScatola" << QStringList{"40x30", "120x80", "9x9", "grande"} << true
            << QStringList{"9x9", "40x30", "120x80", "grande"};
        QTest::newRow("names in Italian collation")
            << "NomeSet" << QStringList{"Zattera", "élite", "Albero", "eco", "Àncora", "zebra"} << true
            << QStringList{"Albero", "Àncora", "eco", "élite", "Zattera", "zebra"};
    }

    void sorting()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, values);
        QFETCH(bool, ascending);
        QFETCH(QStringList, expected);
        const QByteArray fieldName = field.toLatin1();
        QList<Fields> cards;
        for (const QString &v : values)
            cards << Fields{{"NomeSet", QStringLiteral("Set")}, {fieldName.constData(), v}};
        if (field == QStringLiteral("NomeSet"))
            for (int i = 0; i < cards.size(); ++i)
                cards[i] = Fields{{"NomeSet", values.at(i)}};
        writeSets(cards);
        CollectionModel model;
        const QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.load({CardFile::catalogue()});
        const FieldDef *def = Schede::TSchedaSet.field(fieldName.constData());
        int c = -1;
        for (int i = 0; i < model.columnCount(); ++i)
            if (model.columnList().at(i).setField == def)
                c = i;
        QVERIFY(c >= 0);
        model.sort(c, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        QCOMPARE(column(model, c), expected);
    }

    // Text columns sort exactly as a stable sort by the Italian collation keys
    // of the folded texts would, both ways, over generated names: plain letters,
    // accents and punctuation, the other signs of the file's code page, and
    // short texts that begin one another.
    void sortingMatchesCollation_data()
    {
        QTest::addColumn<QString>("alphabet");
        QTest::addColumn<int>("longest");
        QTest::newRow("letters, digits, blanks") << QStringLiteral("abzAZ09 ") << 6;
        QTest::newRow("accents and punctuation")
            << QStringLiteral("aàeèéiìoòuùAÈÙ -'.,()/&!?_#@*+<=>[]{}~^`|\\\"$%;:") << 5;
        QTest::newRow("other signs of the code page")
            << QStringLiteral("aeosz€œŒßæÆøð“”‘’–—«»°ª²½…™©§¿¡\u00A0\u00AD\u007F·¨´") << 5;
        QTest::newRow("texts that begin one another") << QStringLiteral("a-\u00AD") << 4;
    }
    void sortingMatchesCollation()
    {
        QFETCH(QString, alphabet);
        QFETCH(int, longest);
        QRandomGenerator random(20261210);
        QList<Fields> cards;
        for (int i = 0; i < 3000; ++i) {
            QString name;
            const int length = int(random.bounded(longest + 1));
            for (int k = 0; k < length; ++k)
                name += alphabet.at(random.bounded(int(alphabet.size())));
            cards << Fields{{"NomeSet", name}};
        }
        writeSets(cards);
        CollectionModel model;
        model.load({CardFile::catalogue()});
        const int c = columnOf(model, QStringLiteral("Nome set"));
        QVERIFY(c >= 0);
        // The texts as the file holds them, folded, in file order.
        QStringList folded;
        for (int r = 0; r < model.rowCount(); ++r)
        {
            const QByteArray bytes = CollectionModel::fold(model.text(r, c));
            folded << Windows1252::decode(bytes.constData(), bytes.size());
        }
        QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        for (const QString &t : folded)
            keys.push_back(collator.sortKey(t));
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            QList<qint64> expected;
            for (qint64 i = 0; i < folded.size(); ++i)
                expected << i;
            std::stable_sort(expected.begin(), expected.end(), [&](qint64 a, qint64 b) {
                const int d = keys[std::size_t(a)].compare(keys[std::size_t(b)]);
                return order == Qt::AscendingOrder ? d < 0 : d > 0;
            });
            model.load({CardFile::catalogue()});
            model.sort(c, order);
            QList<qint64> shown;
            for (int r = 0; r < model.rowCount(); ++r)
                shown << model.card(r).index;
            for (int r = 0; r < shown.size(); ++r)
                QVERIFY2(shown.at(r) == expected.at(r),
                         qPrintable(QStringLiteral("row %1: «%2» where «%3» belongs")
                                        .arg(r)
                                        .arg(folded.at(shown.at(r)), folded.at(expected.at(r)))));
        }
    }

    // Cards that compare equal keep their order: the order of the file, or
    // the order of the sort before.
    void sortingIsStable()
    {
        writeSets({{{"NomeSet", "A1"}, {"Tema", "Città"}, {"AnnoUscita", "2000"}},
                   {{"NomeSet", "B1"}, {"Tema", "Spazio"}, {"AnnoUscita", "1990"}},
                   {{"NomeSet", "A2"}, {"Tema", "città"}, {"AnnoUscita", "1990"}},
                   {{"NomeSet", "B2"}, {"Tema", "Spazio"}, {"AnnoUscita", "2000"}},
                   {{"NomeSet", "A3"}, {"Tema", "Citta"}, {"AnnoUscita", "2000"}}});
        CollectionModel model;
        model.load({CardFile::catalogue()});
        const int name = columnOf(model, QStringLiteral("Nome set"));
        const int theme = columnOf(model, QStringLiteral("Tema"));
        const int year = columnOf(model, QStringLiteral("Anno uscita"));
        model.sort(theme);
        QCOMPARE(column(model, name), (QStringList{"A1", "A2", "A3", "B1", "B2"}));
        model.sort(theme, Qt::DescendingOrder);
        QCOMPARE(column(model, name), (QStringList{"B1", "B2", "A1", "A2", "A3"}));
        model.sort(theme);
        model.sort(year);
        QCOMPARE(column(model, name), (QStringList{"A2", "B1", "A1", "A3", "B2"}));
    }

    void filtering_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("nothing: every card") << "" << QStringList{"Drago nero", "Castello", "Perché no", "Nave"};
        QTest::newRow("any case") << "DRAGO" << QStringList{"Drago nero"};
        QTest::newRow("without accents") << "perche" << QStringList{"Perché no"};
        QTest::newRow("with accents") << "città" << QStringList{"Castello"};
        QTest::newRow("any field") << "soffitta" << QStringList{"Castello", "Nave"};
        QTest::newRow("blanks around") << "  nave " << QStringList{"Nave"};
        QTest::newRow("no match") << "sottomarino" << QStringList{};
        QTest::newRow("never across two fields") << "nero cas" << QStringList{};
    }

    void filtering()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        writeSets({{{"NomeSet", "Drago nero"}, {"Tema", "Castelli"}},
                   {{"NomeSet", "Castello"}, {"Tema", "Citta"}, {"LuogoConservazione", "Soffitta"}},
                   {{"NomeSet", "Perché no"}},
                   {{"NomeSet", "Nave"}, {"Note", "in SOFFITTA"}}});
        CollectionModel model;
        const QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.load({CardFile::catalogue()});
        // Typed letter by letter, as the filter box hands it over.
        for (int i = 1; i <= text.size(); ++i)
            model.setFilter(text.left(i));
        QCOMPARE(column(model, 0), expected);
        QCOMPARE(model.totalsShown().cards, qint64(expected.size()));
        model.setFilter(QString());
        QCOMPARE(model.rowCount(), 4);
    }

    // Long texts of capitals, accents, signs and plain runs find their own
    // card, however their letters fall.
    void filteringFindsEveryText()
    {
        // Runs of bytes that fold to themselves, now and then one that does not.
        const QString plain = QStringLiteral("abcxyz 09-?@[`{~\u007F_");
        const QString odd = QStringLiteral("ABCXYZ@àÈÉìÒùœŒ€ßÿŸ“”");
        QRandomGenerator random(7);
        QList<Fields> cards;
        QStringList texts;
        for (int i = 0; i < 200; ++i) {
            QString t;
            const int length = int(random.bounded(8, 60));
            for (int k = 0; k < length; ++k) {
                const QString &from = random.bounded(8) == 0 ? odd : plain;
                t += from.at(random.bounded(int(from.size())));
            }
            t = t.trimmed();
            texts << t;
            cards << Fields{{"NomeSet", QStringLiteral("Set %1").arg(i)}, {"Note", t}};
        }
        writeSets(cards);
        CollectionModel model;
        model.load({CardFile::catalogue()});
        for (int i = 0; i < texts.size(); ++i) {
            model.setFilter(texts.at(i));
            bool found = false;
            for (int r = 0; r < model.rowCount(); ++r)
                found |= model.card(r).index == i;
            QVERIFY2(found, qPrintable(texts.at(i)));
            model.setFilter(texts.at(i).toUpper());
            found = false;
            for (int r = 0; r < model.rowCount(); ++r)
                found |= model.card(r).index == i;
            QVERIFY2(found || texts.at(i).contains(QChar(u'ß')),
                     qPrintable(texts.at(i)));
        }
    }

    void totals_data()
    {
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QList<bool>>("forSale");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<qint64>("forSaleCount");
        QTest::addColumn<qint64>("forSaleCents");
        QTest::addColumn<QStringList>("unreadable");
        QTest::newRow("plain amounts") << QStringList{"10,50", "0,00", "99,99"}
                                       << QList<bool>{true, false, true} << qint64(11049)
                                       << qint64(2) << qint64(11049) << QStringList{};
        QTest::newRow("amounts the field reads its own way")
            << QStringList{"12,5", "7", ",5", "1,005", "-2,25"} << QList<bool>{false, false, true, false, false}
            // 1,005 is 1,00 to the field: the nearest double lies below the half cent.
            << qint64(1250 + 700 + 50 + 100 - 225) << qint64(1) << qint64(50) << QStringList{};
        QTest::newRow("odd amounts counted and named, never 0")
            << QStringList{"", "abc", "1.234,5", "20,00"} << QList<bool>{true, false, false, true}
            << qint64(2000) << qint64(2) << qint64(2000)
            << QStringList{"Catalogo BLOKKO, scheda 1: «»", "Catalogo BLOKKO, scheda 2: «abc»",
                           "Catalogo BLOKKO, scheda 3: «1.234,5»"};
    }

    void totals()
    {
        QFETCH(QStringList, amounts);
        QFETCH(QList<bool>, forSale);
        QFETCH(qint64, cents);
        QFETCH(qint64, forSaleCount);
        QFETCH(qint64, forSaleCents);
        QFETCH(QStringList, unreadable);
        QList<Fields> cards;
        for (int i = 0; i < amounts.size(); ++i)
            cards << Fields{{"NomeSet", QStringLiteral("Set %1").arg(i + 1)},
                            {"Valore", amounts.at(i)},
                            {"InVendita", forSale.at(i) ? QStringLiteral("Sì") : QStringLiteral("No")}};
        writeSets(cards);
        CollectionModel model;
        model.load({CardFile::catalogue()});
        const CollectionModel::Totals t = model.totalsAll();
        QCOMPARE(t.cards, qint64(amounts.size()));
        QCOMPARE(t.cents, cents);
        QCOMPARE(t.forSale, forSaleCount);
        QCOMPARE(t.forSaleCents, forSaleCents);
        QCOMPARE(t.unreadable, qint64(unreadable.size()));
        QCOMPARE(t.unreadableCards, unreadable);
        QVERIFY(!t.overflow);
        // The selection of the first two cards.
        const CollectionModel::Totals two = model.totalsOf({0, 1});
        QCOMPARE(two.cards, qint64(2));
    }

    void moneyTexts_data()
    {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0,00 €";
        QTest::newRow("cents") << qint64(5) << "0,05 €";
        QTest::newRow("thousands grouped") << qint64(4114418) << "41.144,18 €";
        QTest::newRow("millions") << qint64(123456789) << "1.234.567,89 €";
        QTest::newRow("just under a thousand") << qint64(99999) << "999,99 €";
        QTest::newRow("exactly a thousand") << qint64(100000) << "1.000,00 €";
        QTest::newRow("negative") << qint64(-1205) << "-12,05 €";
        QTest::newRow("negative thousands") << qint64(-123456) << "-1.234,56 €";
        QTest::newRow("the smallest") << std::numeric_limits<qint64>::min()
                                      << "-92.233.720.368.547.758,08 €";
    }

    void moneyTexts()
    {
        QFETCH(qint64, cents);
        QFETCH(QString, text);
        QCOMPARE(moneyText(cents), text);
    }

    // The whole collection: every file, a column naming each card's file,
    // the value column holding the sets' value and the MOCs' cost.
    void wholeCollection()
    {
        writeSets({{{"NomeSet", "Faro"}, {"Valore", "30,00"}, {"InVendita", "Sì"}, {"AnnoUscita", "2001"}}});
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                           {{{"NomeProgetto", "Torre"}, {"CostoTotale", "12,50"}, {"InVendita", "No"}},
                            {{"NomeProgetto", "Mura"}, {"CostoTotale", "x"}, {"InVendita", "Sì"}}});
        CollectionModel model;
        const QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.load(CardFile::everything());
        QCOMPARE(model.columnList().at(0).caption, QStringLiteral("Archivio"));
        QCOMPARE(column(model, 0), (QStringList{"Catalogo BLOKKO", "Castelli", "Castelli"}));
        QCOMPARE(column(model, columnOf(model, QStringLiteral("Nome"))), (QStringList{"Faro", "Torre", "Mura"}));
        const int value = columnOf(model, QStringLiteral("Valore / costo"));
        QCOMPARE(column(model, value), (QStringList{"30,00", "12,50", "x"}));
        const CollectionModel::Totals t = model.totalsAll();
        QCOMPARE(t.cards, qint64(3));
        QCOMPARE(t.cents, qint64(4250));
        QCOMPARE(t.forSale, qint64(2));
        QCOMPARE(t.forSaleCents, qint64(3000));
        QCOMPARE(t.unreadableCards, QStringList{"Castelli, scheda 2: «x»"});
        // Descending: the largest amount first, the unreadable one still last.
        model.sort(value, Qt::DescendingOrder);
        QCOMPARE(column(model, 0), (QStringList{"Catalogo BLOKKO", "Castelli", "Castelli"}));
        QCOMPARE(model.card(1).file, 1);
        QCOMPARE(model.card(1).index, qint64(0));
        QCOMPARE(model.cardTitle(2), QStringLiteral("Castelli, scheda 2: Mura"));
        // A number column of the sets alone: the MOCs' empty cells go with the texts.
        const int name = columnOf(model, QStringLiteral("Nome"));
        model.sort(columnOf(model, QStringLiteral("Anno uscita")), Qt::DescendingOrder);
        QCOMPARE(column(model, name), (QStringList{"Faro", "Torre", "Mura"}));
        // The file column by the files' names in collation order.
        model.sort(0);
        QCOMPARE(column(model, name), (QStringList{"Torre", "Mura", "Faro"}));
        model.sort(0, Qt::DescendingOrder);
        QCOMPARE(column(model, name), (QStringList{"Faro", "Torre", "Mura"}));
        // Shown at once and completed later, as a large collection is.
        QCOMPARE(model.prepare(CardFile::everything()), qint64(3));
        model.setFilter(QStringLiteral("o"));
        model.completeLoad();
        QCOMPARE(column(model, name), (QStringList{"Faro", "Torre"}));
    }

    // Deleting takes the cards and their photos into the bin, the photos of
    // the cards after them follow their cards; restoring puts them back at
    // the end with their photos. Attachments stay where they are.
    void deleteAndRestore_data()
    {
        QTest::addColumn<bool>("archive");
        QTest::addColumn<QList<qint64>>("deleted"); // 0-based
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("restored");
        QTest::newRow("set catalogue, two cards") << false << QList<qint64>{1, 3}
            << QStringList{"C1", "C3", "C5", "C6"} << QStringList{"C1", "C3", "C5", "C6", "C2", "C4"};
        QTest::newRow("MOC archive, first card") << true << QList<qint64>{0}
            << QStringList{"C2", "C3", "C4", "C5", "C6"} << QStringList{"C2", "C3", "C4", "C5", "C6", "C1"};
        QTest::newRow("last card") << false << QList<qint64>{5}
            << QStringList{"C1", "C2", "C3", "C4", "C5"} << QStringList{"C1", "C2", "C3", "C4", "C5", "C6"};
        QTest::newRow("every card") << true << QList<qint64>{0, 1, 2, 3, 4, 5}
            << QStringList{} << QStringList{"C1", "C2", "C3", "C4", "C5", "C6"};
    }

    void deleteAndRestore()
    {
        QFETCH(bool, archive);
        QFETCH(QList<qint64>, deleted);
        QFETCH(QStringList, after);
        QFETCH(QStringList, restored);
        const CardFile file = archive ? CardFile::archiveNamed(QStringLiteral("Mie creazioni"))
                                      : CardFile::catalogue();
        QList<Fields> cards;
        for (int i = 1; i <= 6; ++i)
            cards << Fields{{file.layout->fields.front().name.data(), QStringLiteral("C%1").arg(i)},
                            {"File01", QStringLiteral("allegato%1.pdf").arg(i)}};
        folder->writeCards(file.fileName(), *file.layout, cards);
        // Card 5 has no photo; a photo past the last card is no card's.
        for (int i = 1; i <= 6; ++i)
            for (int slot = 0; slot < file.photoPrefixes.size(); ++slot)
                if (i != 5)
                    writePhoto(file, slot, i, QStringLiteral("foto %1 di C%2").arg(slot).arg(i).toUtf8());
        writePhoto(file, 0, 9, "orfana");
        QDir().mkpath(folder->file(QStringLiteral("Documenti_Allegati")));
        folder->write(QStringLiteral("Documenti_Allegati/allegato2.pdf"), "documento");

        const QString id = Cestino::remove(file, std::vector<qint64>(deleted.begin(), deleted.end()));
        QVERIFY(!id.isEmpty());
        QCOMPARE(names(file), after);
        auto checkPhotos = [&](const QStringList &order) {
            for (int p = 1; p <= order.size(); ++p)
                for (int slot = 0; slot < file.photoPrefixes.size(); ++slot)
                    QCOMPARE(readPhoto(file, slot, p),
                             order.at(p - 1) == QStringLiteral("C5")
                                 ? QByteArray("(nessuna)")
                                 : QStringLiteral("foto %1 di %2").arg(slot).arg(order.at(p - 1)).toUtf8());
        };
        checkPhotos(after);
        QCOMPARE(readPhoto(file, 0, 9), QByteArray("orfana"));
        QCOMPARE(folder->read(QStringLiteral("Documenti_Allegati/allegato2.pdf")), QByteArray("documento"));

        const QList<Cestino::Entry> bin = Cestino::entries();
        QCOMPARE(bin.size(), 1);
        QCOMPARE(bin.front().id, id);
        QCOMPARE(bin.front().fileName, file.fileName());
        QCOMPARE(bin.front().titles.size(), deleted.size());
        for (int i = 0; i < deleted.size(); ++i)
            QCOMPARE(bin.front().positions.at(i), deleted.at(i) + 1);

        Cestino::restore(id);
        QCOMPARE(names(file), restored);
        checkPhotos(restored);
        QVERIFY(Cestino::entries().isEmpty());
        QCOMPARE(QDir(Cestino::folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
        // The attachment fields came back whole.
        QCOMPARE(file.store().read(restored.size() - 1).text("File01"),
                 QStringLiteral("allegato%1.pdf").arg(restored.last().mid(1)));
    }

    // A process deleting cards with photos from a catalogue of 1,000 cards
    // (and putting them back) is killed at random moments; after the start-up
    // recovery every card is whole and in the file or in the bin, never both,
    // never lost, and every photo belongs to its card.
    void killedMidDelete()
    {
        constexpr int kCards = 1000;
        const CardFile file = CardFile::catalogue();
        auto name = [](int id) { return QStringLiteral("Carta %1").arg(id, 4, 10, QLatin1Char('0')); };
        auto hasPhoto = [](const QString &card) { return card.right(4).toInt() % 7 != 0; };
        folder->writeCards(file.fileName(), *file.layout, kCards, [&](Record &r, int position) {
            r.setText("NomeSet", name(position));
            r.setText("Note", name(position));
        });
        for (int p = 1; p <= kCards; ++p)
            if (hasPhoto(name(p)))
                writePhoto(file, 0, p, ("foto di " + name(p)).toUtf8());

        QRandomGenerator random(20261210);
        for (int k = 0; k < 200; ++k) {
            QProcess writer;
            writer.start(QStringLiteral(VETRINORA_COLLECTION_WRITER),
                         {folder->path(), QString::number(k)});
            QVERIFY(writer.waitForStarted());
            QVERIFY(writer.waitForReadyRead(30000));
            QThread::usleep(random.bounded(60000));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            Cestino::recover();
            const QString at = QStringLiteral("after kill %1").arg(k);
            QCOMPARE(QFileInfo(file.path).size() % file.layout->size, 0);
            QSet<QString> seen;
            qint64 position = 0;
            bool ok = true;
            file.store().scan([&](const char *record, qint64 index) {
                const QString card = Record::textAt(record, file.layout->fields.front());
                position = index + 1;
                if (card != Record::textAt(record, *file.layout->field("Note")) || seen.contains(card)) {
                    ok = false;
                    return;
                }
                seen.insert(card);
                const QByteArray photo = readPhoto(file, 0, position);
                if (photo != (hasPhoto(card) ? ("foto di " + card).toUtf8() : QByteArray("(nessuna)")))
                    ok = false;
            });
            QVERIFY2(ok, qPrintable(at + QStringLiteral(": card %1 torn or photo mismatched").arg(position)));
            for (const Cestino::Entry &e : Cestino::entries()) {
                for (int i = 0; i < e.titles.size(); ++i) {
                    const QString &card = e.titles.at(i);
                    QVERIFY2(!seen.contains(card), qPrintable(at + QStringLiteral(": twice ") + card));
                    seen.insert(card);
                    QFile photo(Cestino::folder() + e.id + QStringLiteral("/foto0_%1.jpg").arg(e.positions.at(i)));
                    QCOMPARE(photo.exists(), hasPhoto(card));
                    if (photo.open(QIODevice::ReadOnly))
                        QCOMPARE(photo.readAll(), ("foto di " + card).toUtf8());
                }
            }
            QVERIFY2(seen.size() == kCards, qPrintable(at + QStringLiteral(": %1 cards").arg(seen.size())));
            // Nothing half done remains.
            for (const QString &entry : QDir(Cestino::folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                QVERIFY(!QFileInfo::exists(Cestino::folder() + entry + QStringLiteral("/giornale")));
        }
    }

    // A deletion from a file that cannot be replaced changes nothing.
    void deleteFailsWhole()
    {
        writeSets({{{"NomeSet", "Uno"}}, {{"NomeSet", "Due"}}});
        const CardFile file = CardFile::catalogue();
        writePhoto(file, 0, 2, "foto di Due");
        QVERIFY_THROWS_EXCEPTION(Cestino::Failure, Cestino::remove(file, {5}));
        QCOMPARE(names(file), (QStringList{"Uno", "Due"}));
        QCOMPARE(readPhoto(file, 0, 2), QByteArray("foto di Due"));
        QVERIFY(Cestino::entries().isEmpty());
    }

    // A full disk during a delete to the bin is named as such, and the
    // collection stays as it was.
    void aFullDiskDuringADeleteSaysSo()
    {
        SmallDisk disk(folder->path(), 1024);
        REQUIRE_SMALL_DISK(disk);
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet, 200,
                           [](Record &r, int n) { r.setText(Schede::TSchedaSet.fields.front(), QString::number(n)); });
        const CardFile file = CardFile::catalogue();
        const QByteArray before = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        disk.fill();
        try {
            Cestino::remove(file, {0, 7});
            QFAIL("the delete did not fail");
        } catch (const Cestino::Failure &e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QString::fromUtf8("Attenzione: il disco è pieno e l'archivio non può essere scritto. Le "
                                       "schede non sono state modificate.\r\n\r\nLiberare spazio sul disco "
                                       "e ripetere l'operazione."));
        }
        disk.free();
        QCOMPARE(folder->read(QStringLiteral("Catalogo_BLOKKO.pro")), before);
        QVERIFY(Cestino::entries().isEmpty());
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Catalogo_BLOKKO.pro"});
    }

    // Names read from files: only a bare name, storable in a record, stands
    // for a record file of the folder, and only a bare name resolved inside
    // its folder gives a path.
    void namesReadFromFilesAreChecked_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("recordFile");
        QTest::addColumn<bool>("bare");
        QTest::newRow("catalogue") << "Catalogo_BLOKKO.pro" << true << true;
        QTest::newRow("archive") << QString::fromUtf8("Città € 2.moc") << true << true;
        QTest::newRow("another file") << "altro.pro" << false << true;
        QTest::newRow("bare .moc only") << ".moc" << false << true;
        QTest::newRow("dot-dot") << "../../victim.moc" << false << false;
        QTest::newRow("dot-dot alone") << ".." << false << false;
        QTest::newRow("dot") << "." << false << false;
        QTest::newRow("backslashes") << "..\\..\\victim.moc" << false << false;
        QTest::newRow("folder part") << "Foto_MOC/x.moc" << false << false;
        QTest::newRow("absolute") << "/tmp/victim.moc" << false << false;
        QTest::newRow("drive and root") << "C:\\victim.moc" << false << false;
        QTest::newRow("drive's folder") << "C:victim.moc" << false << false;
        QTest::newRow("control character") << "a\nb.moc" << false << false;
        QTest::newRow("C1 control character") << QString::fromUtf8("a\u0081b.moc") << false << false;
        QTest::newRow("outside Windows-1252") << QString::fromUtf8("Ωmega.moc") << false << false;
        QTest::newRow("empty") << "" << false << false;
    }
    void namesReadFromFilesAreChecked()
    {
        QFETCH(QString, name);
        QFETCH(bool, recordFile);
        QFETCH(bool, bare);
        QCOMPARE(CardFile::isRecordFileName(name), recordFile);
        QCOMPARE(SafeName::isBare(name), bare);
        QCOMPARE(SafeName::pathIn(folder->path(), name).isEmpty(), !bare);
        if (!recordFile)
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CardFile::fromFileName(name));
    }

    // A link inside the folder that leads out of it is not followed.
    void aLinkOutOfTheFolderGivesNoPath()
    {
        QTemporaryDir outside;
        QVERIFY(QFile::link(outside.path(), folder->file(QStringLiteral("fuori"))));
        QVERIFY(QFile::link(outside.filePath(QStringLiteral("victim.moc")), folder->file(QStringLiteral("dangling.moc"))));
        folder->write(QStringLiteral("dentro.moc"), "x");
        QCOMPARE(SafeName::pathIn(folder->path(), QStringLiteral("fuori")), QString());
        QCOMPARE(SafeName::pathIn(folder->path(), QStringLiteral("dangling.moc")), QString());
        QCOMPARE(QFileInfo(SafeName::pathIn(folder->path(), QStringLiteral("dentro.moc"))).canonicalFilePath(),
                 QFileInfo(folder->file(QStringLiteral("dentro.moc"))).canonicalFilePath());
    }
};

VETRINORA_TEST_MAIN(TestCollection)
#include "test_collection.moc"
