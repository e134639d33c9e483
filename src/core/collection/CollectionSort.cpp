#include "core/collection/CollectionSort.h"

#include "core/app/ByteRanks.h"
#include "core/cards/Windows1252.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace CollectionSort {

namespace {

// The bytes of folded text that the collation weighs one by one, each on its
// own: for each, its place in Italian order among them, from 1; 0 for every
// other byte. Two texts made of such bytes compare as their places do, the
// shorter first when it begins the longer. The places are taken from the
// collation keys themselves, and a byte that does not behave so is left out.
const ByteRanks::Table &plainRanks()
{
    static const ByteRanks::Table ranks = [] {
        const QCollator collator = italianCollator();
        const auto text = [](std::initializer_list<char> bytes) {
            QString t;
            for (char b : bytes)
                t += QLatin1Char(b);
            return t;
        };
        std::vector<char> plain;
        for (char b = ' '; b < 0x7F; ++b)
            if (b < 'A' || b > 'Z') // folded text has no capitals
                plain.push_back(b);
        const auto before = [&](const QString &a, const QString &b) {
            return collator.sortKey(a).compare(collator.sortKey(b)) < 0;
        };
        std::stable_sort(plain.begin(), plain.end(),
                         [&](char a, char b) { return before(text({a}), text({b})); });
        std::vector<bool> kept(plain.size(), true);
        for (std::size_t i = 0; i < plain.size(); ++i) {
            // It weighs something, and nothing else weighs the same.
            if (!before(text({'a'}), text({'a', plain[i]})))
                kept[i] = false;
            if (i + 1 < plain.size() && !before(text({plain[i]}), text({plain[i + 1]})))
                kept[i] = kept[i + 1] = false;
        }
        std::vector<unsigned char> order;
        for (std::size_t i = 0; i < plain.size(); ++i)
            if (kept[i])
                order.push_back(static_cast<unsigned char>(plain[i]));
        if (order.size() < 2)
            return ByteRanks::Table{};
        // A difference in first place decides whatever follows.
        for (std::size_t i = 0; i + 1 < order.size(); ++i)
            if (!before(text({char(order[i]), char(order.back())}), text({char(order[i + 1]), char(order.front())}))
                || !before(text({char(order[i])}), text({char(order[i + 1])})))
                return ByteRanks::Table{};
        // Kept in their collation order: each its own place.
        return ByteRanks::ranked(order, [&](unsigned char a, unsigned char b) {
            return std::find(order.begin(), order.end(), a) < std::find(order.begin(), order.end(), b);
        });
    }();
    return ranks;
}

// A number as an integer of the same order.
quint64 numberHead(double v)
{
    if (v == 0)
        v = 0; // -0 ranks with 0
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return (bits & (quint64(1) << 63)) ? ~bits : bits | (quint64(1) << 63);
}

} // namespace

QCollator italianCollator()
{
    QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

bool measureField(const FieldDef &f)
{
    for (std::string_view start : {"Peso", "Dimensioni", "Tempo", "Eta", "LivelloDifficolta"})
        if (f.name.starts_with(start))
            return true;
    return false;
}

bool dateKey(std::string_view t, quint64 &key)
{
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    char separator = 0;
    for (char ch : t) {
        if (ch >= '0' && ch <= '9') {
            if (count == 0)
                count = 1;
            if (++digits[count - 1] > 4)
                return false;
            parts[count - 1] = parts[count - 1] * 10 + (ch - '0');
        } else if ((ch == '/' || ch == '-' || ch == '.') && count > 0 && digits[count - 1] > 0
                   && count < 3 && (separator == 0 || separator == ch)) {
            separator = ch;
            ++count;
        } else {
            return false;
        }
    }
    if (count < 2 || digits[count - 1] == 0)
        return false;
    int day = 0, month = 0, year = 0;
    if (count == 2) {
        if (digits[0] > 2 || digits[1] != 4)
            return false;
        month = parts[0];
        year = parts[1];
    } else if (digits[0] == 4) {
        if (digits[1] > 2 || digits[2] > 2)
            return false;
        year = parts[0];
        month = parts[1];
        day = parts[2];
    } else {
        if (digits[0] > 2 || digits[1] > 2 || (digits[2] != 2 && digits[2] != 4))
            return false;
        day = parts[0];
        month = parts[1];
        year = digits[2] == 2 ? (parts[2] <= 49 ? 2000 : 1900) + parts[2] : parts[2];
    }
    if (month < 1 || month > 12)
        return false;
    // The day exists in the Gregorian calendar, as QDate has it (no year 0),
    // checked without building a date: the statistics read every card's.
    if (day != 0) {
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (year == 0 || day > kDays[month - 1] + (month == 2 && leap))
            return false;
    }
    key = quint64(year) * 10000 + quint64(month) * 100 + quint64(day);
    return true;
}

bool leadingNumber(std::string_view t, double &value)
{
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ')
        ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        negative = t[i++] == '-';
    double v = 0;
    bool digits = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            v = v * 10 + (t[i] - '0');
            digits = true;
        } else if (t[i] == '.' && digits && i + 1 < t.size() && t[i + 1] >= '0' && t[i + 1] <= '9') {
            continue;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < t.size() && t[i] == ',') {
        double scale = 0.1;
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, scale /= 10)
            v += (t[i] - '0') * scale;
    }
    value = negative ? -v : v;
    return true;
}

std::vector<int> places(const QList<QString> &texts)
{
    const QCollator collator = italianCollator();
    std::vector<int> byText(std::size_t(texts.size()));
    for (std::size_t i = 0; i < byText.size(); ++i)
        byText[i] = int(i);
    std::vector<QCollatorSortKey> keys;
    for (const QString &t : texts)
        keys.push_back(collator.sortKey(t));
    const auto order = [&](int a, int b) { return keys[std::size_t(a)].compare(keys[std::size_t(b)]); };
    std::stable_sort(byText.begin(), byText.end(), [&](int a, int b) { return order(a, b) < 0; });
    std::vector<int> result(byText.size(), 0);
    for (std::size_t i = 1; i < byText.size(); ++i)
        result[std::size_t(byText[i])] = result[std::size_t(byText[i - 1])]
                                          + (order(byText[i - 1], byText[i]) < 0 ? 1 : 0);
    return result;
}

Cells::Cells(std::size_t rows) : collator_(italianCollator()), texts_(rows), collationKeys_(rows)
{
    entries_.reserve(rows);
}

void Cells::addDate(quint32 row, quint64 day) { entries_.push_back({day, row, Date, false}); }

void Cells::addNumber(quint32 row, double value) { addPlace(row, numberHead(value)); }

void Cells::addPlace(quint32 row, quint64 place) { entries_.push_back({place, row, Number, false}); }

void Cells::addText(quint32 row, std::string_view text)
{
    texts_[row] = text;
    std::size_t packed = 0;
    const quint64 head = ByteRanks::head(text, 0, plainRanks(), &packed);
    entries_.push_back({head, row, Text, packed == text.size()});
}

const QCollatorSortKey &Cells::collationKey(quint32 row)
{
    std::optional<QCollatorSortKey> &k = collationKeys_[row];
    if (!k)
        k.emplace(collator_.sortKey(Windows1252::decode(texts_[row].data(), qsizetype(texts_[row].size()))));
    return *k;
}

// Within one kind of cell.
bool Cells::less(const Entry &x, const Entry &y)
{
    if (x.kind != Text)
        return x.head < y.head;
    if (x.head != y.head) {
        // The first differing place decides when both texts have one there.
        const auto [a, b] = ByteRanks::firstDifference(x.head, y.head);
        if (a != 0 && b != 0)
            return a < b;
    } else if (x.whole && y.whole) {
        return false; // the same text
    }
    const int plain = ByteRanks::compare(texts_[x.row], texts_[y.row], plainRanks());
    if (plain != ByteRanks::kUndecided)
        return plain < 0;
    return collationKey(x.row).compare(collationKey(y.row)) < 0;
}

std::vector<quint32> Cells::sorted(Qt::SortOrder order)
{
    if (order == Qt::AscendingOrder)
        std::stable_sort(entries_.begin(), entries_.end(), [&](const Entry &x, const Entry &y) {
            return x.kind != y.kind ? x.kind < y.kind : less(x, y);
        });
    else
        std::stable_sort(entries_.begin(), entries_.end(), [&](const Entry &x, const Entry &y) {
            return x.kind != y.kind ? x.kind < y.kind : less(y, x);
        });
    std::vector<quint32> rows(entries_.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = entries_[i].row;
    return rows;
}

} // namespace CollectionSort
