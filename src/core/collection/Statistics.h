#pragma once
// The figures of the statistics window, computed in one pass over the record
// files: value and number of cards by theme, by year of release and by year
// of purchase, the part for sale, the ten most valuable cards, the pieces,
// and the MOCs by designer and by state. Amounts that the money field cannot
// read are counted apart and never summed.

#include "core/collection/CardFile.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace Statistics {

// The cards of one group: a theme, a year, a designer, a state.
struct Group {
    QString name;
    qint64 cards = 0;
    qint64 cents = 0;      // the amounts that read
    qint64 unreadable = 0; // cards whose amount does not read
};

// A card among the most valuable.
struct Card {
    QString name;     // its first field ("Castello medievale")
    QString file;     // the name of its record file ("Catalogo BLOKKO")
    qint64 position;  // 1-based in its file
    qint64 cents;
};

struct Figures {
    qint64 cards = 0;
    qint64 sets = 0;
    qint64 mocs = 0;
    qint64 cents = 0;      // the value of the cards whose amount reads
    qint64 unreadable = 0; // cards whose amount does not read
    qint64 forSale = 0;
    qint64 forSaleCents = 0;
    qint64 forSaleUnreadable = 0;
    qint64 pieces = 0;           // "Numero pezzi" of the cards where it is a number
    qint64 piecesCounted = 0;    // the cards that make up `pieces`
    qint64 piecesUnreadable = 0; // filled in, but not a number
    qint64 noReleaseYear = 0;    // sets whose "Anno uscita" is no year
    qint64 noPurchaseDate = 0;   // sets whose "Data acquisto" is no date
    bool overflow = false;       // a sum beyond what cents in 64 bits hold

    QList<Group> byTheme;        // by value, largest first
    QList<Group> byReleaseYear;  // sets, by year
    QList<Group> byPurchaseYear; // sets, by year
    QList<Group> byDesigner;     // MOCs, by number, most first
    QList<Group> byState;        // MOCs, by number, most first
    QList<Card> mostValuable;    // at most ten, most valuable first
};

// Per file, the 0-based indices of the cards to count, ascending; std::nullopt
// counts every card of every file.
using Chosen = std::optional<std::vector<std::vector<qint64>>>;

// Reads the files once. Throws CardStore::Failure.
Figures compute(const QList<CardFile> &files, const Chosen &chosen = std::nullopt);

// The name of a group whose field is empty.
QString unnamed();
// How many of the most valuable cards are kept.
inline constexpr int kMostValuable = 10;

} // namespace Statistics
