#pragma once
// How the collection table sorts a column. Every cell is reduced once to a
// small key: a date to its day, a number to an integer of the same order, a
// text to the places of its first plain bytes (ByteRanks). Dates come
// first, then numbers, then the texts that are neither, whichever way the
// column is sorted. Where the keys of two texts cannot decide, all their
// plain bytes are compared, and where not even those can, their Italian
// collation keys, made when first needed. The sort is stable.

#include "core/cards/RecordLayout.h"

#include <QCollator>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <string_view>
#include <vector>

namespace CollectionSort {

// The order the table sorts texts in.
QCollator italianCollator();

// Fields that hold a measure written with its unit ("1,2 kg", "40x30",
// "8+"): they sort by the number they begin with.
bool measureField(const FieldDef &field);

// The day a whole text reads as (dd/mm/yyyy, d/m/yy, yyyy-mm-dd, mm/yyyy,
// with "/", "-" or "." between the parts): yyyymmdd, dd 00 for a month
// alone; false for a text that is no date. Two-digit years up to 49 are
// 2000s.
bool dateKey(std::string_view text, quint64 &key);

// A number at the start of a text: digits with "." between thousands and
// an optional comma and decimals ("1.500", "2010", "12,50 circa").
bool leadingNumber(std::string_view text, double &value);

// The places of texts in collation order, equal texts at the same place.
std::vector<int> places(const QList<QString> &texts);

// The cells of one column, given row by row, and the rows in their sorted
// order.
class Cells {
public:
    // `rows`: the highest row number given, plus one.
    explicit Cells(std::size_t rows);

    void addDate(quint32 row, quint64 day);
    // A number, or a place of the kind numbers have (the file column).
    void addNumber(quint32 row, double value);
    void addPlace(quint32 row, quint64 place);
    // Folded text.
    void addText(quint32 row, std::string_view text);

    // The rows given, sorted; cells that compare equal keep the order they
    // were given in.
    std::vector<quint32> sorted(Qt::SortOrder order);

private:
    enum Kind : quint8 { Date, Number, Text };
    struct Entry {
        quint64 head; // a date's day, a number's value in integer order, or a text's first places
        quint32 row;
        Kind kind;
        bool whole; // head holds the whole text
    };
    bool less(const Entry &x, const Entry &y);

    const QCollatorSortKey &collationKey(quint32 row);

    QCollator collator_;
    std::vector<Entry> entries_;
    std::vector<std::string_view> texts_;
    std::vector<std::optional<QCollatorSortKey>> collationKeys_;
};

} // namespace CollectionSort
