#include "core/collection/Statistics.h"

#include "core/cards/Windows1252.h"
#include "core/collection/CollectionModel.h"
#include "core/editing/Money.h"
#include "core/platform/System.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <array>
#include <map>
#include <string_view>

namespace Statistics {

QString unnamed() { return QStringLiteral("(non indicato)"); }

namespace {

// A file is read in two halves at once, as the collection window reads it.
constexpr int kParts = 2;

struct Sum {
    qint64 cards = 0;
    qint64 cents = 0;
    qint64 unreadable = 0;
};

struct Candidate {
    qint64 cents;
    int file;
    qint64 index;
    QByteArray name;
};

// The more valuable first; equal amounts in file order.
bool before(const Candidate &a, const Candidate &b)
{
    if (a.cents != b.cents)
        return a.cents > b.cents;
    if (a.file != b.file)
        return a.file < b.file;
    return a.index < b.index;
}

void add(qint64 &sum, qint64 amount, bool &overflow)
{
    if (qAddOverflow(sum, amount, &sum))
        overflow = true;
}

std::string_view view(QByteArrayView bytes) { return {bytes.data(), std::size_t(bytes.size())}; }

// A field's stored text as Record::bytesAt reads it (the length capped at the
// capacity, blanks and control characters trimmed), inline: it runs several
// times for every card.
inline QByteArrayView at(const char *record, const FieldDef &field)
{
    const char *base = record + field.offset;
    const int length = std::min(int(static_cast<unsigned char>(base[0])), field.capacity);
    const char *first = base + 1;
    const char *last = first + length;
    while (first < last && static_cast<unsigned char>(*first) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(last[-1]) <= 32)
        --last;
    return QByteArrayView(first, last - first);
}

// The groups of one field (themes, designers, states): a collection has a
// few dozen at most, looked up in a short list, the last one found first;
// past that a hash table takes the rest.
class Groups {
public:
    Sum &operator[](QByteArrayView key)
    {
        if (last_ < list_.size() && list_[last_].first == key)
            return list_[last_].second;
        for (std::size_t i = 0; i < list_.size(); ++i)
            if (list_[i].first == key) {
                last_ = i;
                return list_[i].second;
            }
        if (list_.size() < kShort) {
            list_.emplace_back(QByteArray(key.data(), key.size()), Sum{});
            last_ = list_.size() - 1;
            return list_.back().second;
        }
        auto it = rest_.find(QByteArray::fromRawData(key.data(), key.size()));
        if (it == rest_.end())
            it = rest_.insert(QByteArray(key.data(), key.size()), Sum{});
        return *it;
    }
    template <typename Visit>
    void forEach(Visit visit) const
    {
        for (const auto &[key, sum] : list_)
            visit(key, sum);
        for (auto it = rest_.begin(); it != rest_.end(); ++it)
            visit(it.key(), it.value());
    }

private:
    static constexpr std::size_t kShort = 32;
    std::vector<std::pair<QByteArray, Sum>> list_;
    std::size_t last_ = 0;
    QHash<QByteArray, Sum> rest_;
};

// A year of four digits and nothing else.
bool yearOf(std::string_view t, int &year)
{
    if (t.size() != 4)
        return false;
    year = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            return false;
        year = year * 10 + (c - '0');
    }
    return true;
}

// A count of pieces: digits, or digits grouped by thousands with points
// ("1.500").
bool piecesOf(std::string_view t, qint64 &pieces)
{
    if (t.empty() || t.size() > 18)
        return false;
    const std::size_t point = t.find('.');
    if (point != std::string_view::npos) {
        if (point == 0 || point > 3)
            return false;
        for (std::size_t at = point; at < t.size(); at += 4)
            if (t[at] != '.' || at + 4 > t.size())
                return false;
    }
    pieces = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '.' && point != std::string_view::npos)
            continue;
        if (t[i] < '0' || t[i] > '9')
            return false;
        pieces = pieces * 10 + (t[i] - '0');
    }
    return true;
}

// The fields of a file's layout that the figures read, looked up once.
struct Fields {
    explicit Fields(const CardFile &file)
        : money(&file.layout->money()), forSale(&file.layout->forSale()), name(&file.layout->fields.front()),
          pieces(file.layout->field("NumeroPezzi")), theme(file.layout->field("Tema")),
          release(file.layout->field("AnnoUscita")), purchase(file.layout->field("DataAcquisto")),
          designer(file.archive ? file.layout->field("Designer") : nullptr),
          state(file.archive ? file.layout->field("StatoProgetto") : nullptr), recordSize(file.layout->size)
    {
    }
    const FieldDef *money, *forSale, *name, *pieces, *theme, *release, *purchase, *designer, *state;
    int recordSize;
};

// The sums by year: the years a collection holds in a table by year, any
// other in a map.
class Years {
public:
    Sum &operator[](int year)
    {
        const int slot = year - kFirst;
        if (slot >= 0 && slot < kCount) {
            used_[std::size_t(slot)] = true;
            return table_[std::size_t(slot)];
        }
        return others_[year];
    }
    // Every year counted, in order.
    std::map<int, Sum> all() const
    {
        std::map<int, Sum> years = others_;
        for (int i = 0; i < kCount; ++i)
            if (used_[std::size_t(i)])
                years[kFirst + i] = table_[std::size_t(i)];
        return years;
    }

private:
    static constexpr int kFirst = 1900;
    static constexpr int kCount = 256;
    std::array<Sum, kCount> table_{};
    std::array<bool, kCount> used_{};
    std::map<int, Sum> others_;
};

// How many cards ahead the fields are fetched.
constexpr int kAhead = 4;

// What one run of cards adds up to. Each run counts on a thread of its own:
// runs never share a cache line.
struct alignas(64) Part {
    Figures totals; // the scalar figures only
    Groups theme, designer, state;
    Years release, purchase;
    std::vector<Candidate> top;

    void count(Sum &sum, const std::optional<qint64> &cents)
    {
        ++sum.cards;
        if (cents)
            add(sum.cents, *cents, totals.overflow);
        else
            ++sum.unreadable;
    }

    void countIn(Groups &groups, QByteArrayView key, const std::optional<qint64> &cents)
    {
        count(groups[key], cents);
    }

    void visit(const char *record, const Fields &fields, bool archive, int fileNumber, qint64 index)
    {
        // The fields read lie far apart in a card, too far apart for the
        // processor to foresee: the cards a little ahead in the same batch
        // are asked for now, so that they are at hand when their turn comes
        // (asking past the batch's end does no harm).
        const char *ahead = record + kAhead * fields.recordSize;
        for (const FieldDef *f : {fields.money, fields.name, fields.pieces, fields.theme, fields.release,
                                  fields.purchase, fields.designer, fields.state})
            if (f)
                platform::prefetch(ahead + f->offset);
        const QByteArrayView amount = at(record, *fields.money);
        std::optional<qint64> cents = Money::normalCents(view(amount));
        if (!cents && !amount.isEmpty())
            cents = Money::cents(Windows1252::decode(amount.data(), amount.size()));
        Figures &f = totals;
        ++f.cards;
        ++(archive ? f.mocs : f.sets);
        if (cents)
            add(f.cents, *cents, f.overflow);
        else
            ++f.unreadable;
        if (at(record, *fields.forSale) == QByteArrayView("S\xEC", 2)) {
            ++f.forSale;
            if (cents)
                add(f.forSaleCents, *cents, f.overflow);
            else
                ++f.forSaleUnreadable;
        }
        if (fields.pieces) {
            const QByteArrayView text = at(record, *fields.pieces);
            qint64 n = 0;
            if (piecesOf(view(text), n)) {
                add(f.pieces, n, f.overflow);
                ++f.piecesCounted;
            } else if (!text.isEmpty()) {
                ++f.piecesUnreadable;
            }
        }
        if (fields.theme)
            countIn(theme, at(record, *fields.theme), cents);
        if (fields.release) {
            int y = 0;
            if (yearOf(view(at(record, *fields.release)), y))
                count(release[y], cents);
            else
                ++f.noReleaseYear;
        }
        if (fields.purchase) {
            quint64 key = 0;
            if (collectionDateKey(view(at(record, *fields.purchase)), key))
                count(purchase[int(key / 10000)], cents);
            else
                ++f.noPurchaseDate;
        }
        if (fields.designer)
            countIn(designer, at(record, *fields.designer), cents);
        if (fields.state)
            countIn(state, at(record, *fields.state), cents);
        if (cents) {
            Candidate c{*cents, fileNumber, index, {}};
            if (top.size() < std::size_t(kMostValuable) || before(c, top.back())) {
                const QByteArrayView name = at(record, *fields.name);
                c.name = QByteArray(name.data(), name.size());
                top.insert(std::upper_bound(top.begin(), top.end(), c, before), std::move(c));
                if (top.size() > std::size_t(kMostValuable))
                    top.pop_back();
            }
        }
    }
};

void merge(Sum &into, const Sum &from, bool &overflow)
{
    into.cards += from.cards;
    into.unreadable += from.unreadable;
    add(into.cents, from.cents, overflow);
}

QString nameOf(const QByteArray &bytes)
{
    return bytes.isEmpty() ? unnamed() : Windows1252::decode(bytes);
}

Group groupOf(const QString &name, const Sum &sum) { return {name, sum.cards, sum.cents, sum.unreadable}; }

QList<Group> groups(const Groups &sums)
{
    QList<Group> list;
    sums.forEach([&](const QByteArray &key, const Sum &sum) { list << groupOf(nameOf(key), sum); });
    return list;
}

QList<Group> groups(const Years &sums)
{
    QList<Group> list;
    for (const auto &[year, sum] : sums.all())
        list << groupOf(QString::number(year), sum);
    return list;
}

// Orders groups by `first`, then `second`, both largest first, then by name.
void order(QList<Group> &list, qint64 Group::*first, qint64 Group::*second)
{
    QCollator collator{QLocale(QLocale::Italian, QLocale::Italy)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(list.begin(), list.end(), [&](const Group &a, const Group &b) {
        if (a.*first != b.*first)
            return a.*first > b.*first;
        if (a.*second != b.*second)
            return a.*second > b.*second;
        return collator.compare(a.name, b.name) < 0;
    });
}

} // namespace

Figures compute(const QList<CardFile> &files, const Chosen &chosen)
{
    std::vector<Part> parts(kParts);
    for (int n = 0; n < files.size(); ++n) {
        const CardFile &file = files.at(n);
        const Fields fields(file);
        // The chosen cards of the file, as a mark per card.
        std::vector<bool> marked;
        if (chosen) {
            const std::vector<qint64> &indices = chosen->at(std::size_t(n));
            if (indices.empty())
                continue;
            marked.assign(std::size_t(indices.back() + 1), false);
            for (qint64 i : indices)
                marked[std::size_t(i)] = true;
        }
        file.store().scanParts(
            kParts,
            [&](int part, const char *record, qint64 index) {
                if (chosen && (std::size_t(index) >= marked.size() || !marked[std::size_t(index)]))
                    return;
                parts[std::size_t(part)].visit(record, fields, file.archive, n, index);
            },
            [](int) {});
    }

    Part &all = parts.front();
    Figures &f = all.totals;
    for (std::size_t p = 1; p < parts.size(); ++p) {
        const Part &other = parts[p];
        const Figures &o = other.totals;
        f.cards += o.cards;
        f.sets += o.sets;
        f.mocs += o.mocs;
        f.unreadable += o.unreadable;
        f.forSale += o.forSale;
        f.forSaleUnreadable += o.forSaleUnreadable;
        f.piecesCounted += o.piecesCounted;
        f.piecesUnreadable += o.piecesUnreadable;
        f.noReleaseYear += o.noReleaseYear;
        f.noPurchaseDate += o.noPurchaseDate;
        f.overflow = f.overflow || o.overflow;
        add(f.cents, o.cents, f.overflow);
        add(f.forSaleCents, o.forSaleCents, f.overflow);
        add(f.pieces, o.pieces, f.overflow);
        for (auto [into, from] : {std::pair{&all.theme, &other.theme}, std::pair{&all.designer, &other.designer},
                                  std::pair{&all.state, &other.state}})
            from->forEach([&](const QByteArray &key, const Sum &sum) { merge((*into)[key], sum, f.overflow); });
        for (auto [into, from] : {std::pair{&all.release, &other.release}, std::pair{&all.purchase, &other.purchase}})
            for (const auto &[year, sum] : from->all())
                merge((*into)[year], sum, f.overflow);
        all.top.insert(all.top.end(), other.top.begin(), other.top.end());
    }

    f.byTheme = groups(all.theme);
    order(f.byTheme, &Group::cents, &Group::cards);
    f.byReleaseYear = groups(all.release);
    f.byPurchaseYear = groups(all.purchase);
    f.byDesigner = groups(all.designer);
    order(f.byDesigner, &Group::cards, &Group::cents);
    f.byState = groups(all.state);
    order(f.byState, &Group::cards, &Group::cents);

    std::sort(all.top.begin(), all.top.end(), before);
    for (std::size_t i = 0; i < all.top.size() && i < std::size_t(kMostValuable); ++i) {
        const Candidate &c = all.top[i];
        f.mostValuable << Card{nameOf(c.name), files.at(c.file).name, c.index + 1, c.cents};
    }
    return std::move(f);
}

} // namespace Statistics
