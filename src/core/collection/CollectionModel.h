#pragma once
// The cards of one or more record files as one table for a view. Nothing of
// the files is copied into memory: the model keeps, per card, its file and
// index, its amount and for-sale mark, and a compact folded text of its
// fields for filtering and sorting; what the view shows is read from the
// file a block at a time when it is asked for.

#include "core/collection/CardFile.h"
#include "core/platform/BigMemory.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <list>
#include <string_view>
#include <utility>
#include <vector>

class CollectionModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A column: a field of the layout (of each layout, for the whole
    // collection), or the column naming the card's file.
    struct Column {
        QString caption;
        const FieldDef *setField = nullptr;
        const FieldDef *mocField = nullptr;
        bool fileColumn = false;
        bool numeric = false; // year, pieces, value, cost
        const FieldDef *fieldFor(const RecordLayout &layout) const;
    };

    // How many cards, their value, how many are for sale and their value.
    // Amounts the money field cannot read count in `unreadable` and are
    // named in `unreadableCards` ("Catalogo BLOKKO, scheda 3: «abc»").
    struct Totals {
        qint64 cards = 0;
        qint64 cents = 0;
        qint64 forSale = 0;
        qint64 forSaleCents = 0;
        qint64 unreadable = 0;
        QStringList unreadableCards;
        bool overflow = false; // a sum beyond what cents in 64 bits hold
    };

    struct CardRef {
        int file = -1;
        qint64 index = -1; // 0-based in its file
    };

    explicit CollectionModel(QObject *parent = nullptr);

    // Reads the files once (what the totals need; a large file in two
    // halves at once) and shows their cards in file order. The whole collection
    // (more than one file) gets a first column naming each card's file.
    // Throws CardStore::Failure.
    void load(const QList<CardFile> &files);
    // Shows the files' cards at once, from the files' sizes alone; the
    // amounts and for-sale marks, and so the totals, wait for
    // completeLoad(). Returns the number of cards. Throws CardStore::Failure.
    qint64 prepare(const QList<CardFile> &files);
    // Reads what prepare() left out, in the same pass load() makes. Throws
    // CardStore::Failure, leaving the model empty.
    void completeLoad();
    // Whether the totals wait for completeLoad().
    bool pending() const { return pending_; }
    const QList<CardFile> &files() const { return files_; }
    const QList<Column> &columnList() const { return columns_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Dates in date order (dd/mm/yyyy, d/m/yy, yyyy-mm-dd, mm/yyyy), numbers
    // and measures ("1,2 kg", "40x30") by their number, the rest in Italian
    // collation; what reads as neither date nor number comes after what does,
    // whichever the order. Cards that compare equal keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Shows only the cards with a field that holds `text`, letters compared
    // without regard to case or accents.
    void setFilter(const QString &text);
    const QString &filter() const { return filter_; }

    // The text of a cell of a shown row.
    QString text(int row, int column) const;
    CardRef card(int row) const;
    // The 1-based position and first field of the card of a shown row.
    QString cardTitle(int row) const;
    qint64 totalCards() const { return qint64(rows_.size()); }

    Totals totalsAll() const;
    Totals totalsShown() const;
    Totals totalsOf(const QList<int> &shownRows) const;

    // A file's folded text: lower case, accents taken off, in Windows-1252.
    static QByteArray fold(const QString &text);

private:
    struct Row {
        quint32 index;
        quint16 file;
        bool forSale;
        bool readable;
        qint64 cents;
    };
    void start(const QList<CardFile> &files);
    void showInFileOrder();
    void clearRows();
    // Reads the rows of a file and appends them to `rows`.
    void appendScanned(int fileNumber, std::vector<Row> &rows) const;
    static Row readRow(const char *record, const RecordLayout &layout, qint64 index, int fileNumber);
    // Makes the folded text of every row, once after a load.
    void ensureTexts();
    const QByteArray &block(int file, qint64 blockNo) const;
    void addToTotals(Totals &totals, quint32 row) const;
    void buildColumns();
    QString cellText(quint32 row, int column) const;
    // Shows the rows in a new order, those the filter lets through; the
    // view's current and selected cards stay the same cards.
    void showInOrder(std::vector<quint32> order);
    // Field number `field` of a row's folded text (-1: none).
    std::string_view foldedField(quint32 row, int field) const;

    QList<CardFile> files_;
    QList<Column> columns_;
    std::vector<Row> rows_;
    bool pending_ = false;
    // Per row, its fields folded and joined by 0x01 (texts_[r]), kept in a
    // few large blocks: one per run of cards read at once. Empty until the
    // filter or the sort first needs them.
    std::vector<platform::BigBlock> folded_;
    std::vector<std::string_view> texts_;
    std::vector<quint32> order_; // every row, in the sorted order
    std::vector<quint32> shown_; // the rows of order_ that pass the filter
    QString filter_;
    QByteArray foldedFilter_;

    // The last blocks read for the view.
    struct Block {
        int file;
        qint64 number;
        QByteArray bytes;
    };
    mutable std::list<Block> blocks_;
};

// A total as the totals bar writes it: "1.234,50 €".
QString moneyText(qint64 cents);

// The day a whole text reads as, as the date sort reads it (dd/mm/yyyy,
// d/m/yy, yyyy-mm-dd, mm/yyyy): yyyymmdd, dd 00 for a month alone; false for
// a text that is no date.
bool collectionDateKey(std::string_view text, quint64 &key);
