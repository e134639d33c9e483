#include "core/collection/Statistics.h"

#include "core/cards/Windows1252.h"
#include "core/collection/CollectionModel.h"
#include "core/editing/Money.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
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
    if (__builtin_add_overflow(sum, amount, &sum))
        overflow = true;
}

std::string_view view(QByteArrayView bytes) { return {bytes.data(), std::size_t(bytes.size())}; }

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
          state(file.archive ? file.layout->field("StatoProgetto") : nullptr)
    {
    }
    const FieldDef *money, *forSale, *name, *pieces, *theme, *release, *purchase, *designer, *state;
};

// What one run of cards adds up to.
struct Part {
    Figures totals; // the scalar figures only
    QHash<QByteArray, Sum> theme, designer, state;
    std::map<int, Sum> release, purchase;
    std::vector<Candidate> top;

    void count(Sum &sum, const std::optional<qint64> &cents)
    {
        ++sum.cards;
        if (cents)
            add(sum.cents, *cents, totals.overflow);
        else
            ++sum.unreadable;
    }

    void countIn(QHash<QByteArray, Sum> &groups, QByteArrayView key, const std::optional<qint64> &cents)
    {
        // Looked up without a copy; the key is copied only when it is new.
        auto it = groups.find(QByteArray::fromRawData(key.data(), key.size()));
        if (it == groups.end())
            it = groups.insert(QByteArray(key.data(), key.size()), Sum{});
        count(*it, cents);
    }

    void visit(const char *record, const Fields &fields, bool archive, int fileNumber, qint64 index)
    {
        const QByteArrayView amount = Record::bytesAt(record, *fields.money);
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
        if (Record::bytesAt(record, *fields.forSale) == QByteArrayView("S\xEC", 2)) {
            ++f.forSale;
            if (cents)
                add(f.forSaleCents, *cents, f.overflow);
            else
                ++f.forSaleUnreadable;
        }
        if (fields.pieces) {
            const QByteArrayView text = Record::bytesAt(record, *fields.pieces);
            qint64 n = 0;
            if (piecesOf(view(text), n)) {
                add(f.pieces, n, f.overflow);
                ++f.piecesCounted;
            } else if (!text.isEmpty()) {
                ++f.piecesUnreadable;
            }
        }
        if (fields.theme)
            countIn(theme, Record::bytesAt(record, *fields.theme), cents);
        if (fields.release) {
            int y = 0;
            if (yearOf(view(Record::bytesAt(record, *fields.release)), y))
                count(release[y], cents);
            else
                ++f.noReleaseYear;
        }
        if (fields.purchase) {
            quint64 key = 0;
            if (collectionDateKey(view(Record::bytesAt(record, *fields.purchase)), key))
                count(purchase[int(key / 10000)], cents);
            else
                ++f.noPurchaseDate;
        }
        if (fields.designer)
            countIn(designer, Record::bytesAt(record, *fields.designer), cents);
        if (fields.state)
            countIn(state, Record::bytesAt(record, *fields.state), cents);
        if (cents) {
            Candidate c{*cents, fileNumber, index, {}};
            if (top.size() < std::size_t(kMostValuable) || before(c, top.back())) {
                const QByteArrayView name = Record::bytesAt(record, *fields.name);
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

QList<Group> groups(const QHash<QByteArray, Sum> &sums)
{
    QList<Group> list;
    list.reserve(sums.size());
    for (auto it = sums.begin(); it != sums.end(); ++it)
        list << groupOf(nameOf(it.key()), it.value());
    return list;
}

QList<Group> groups(const std::map<int, Sum> &sums)
{
    QList<Group> list;
    for (const auto &[year, sum] : sums)
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
            for (auto it = from->begin(); it != from->end(); ++it)
                merge((*into)[it.key()], it.value(), f.overflow);
        for (auto [into, from] : {std::pair{&all.release, &other.release}, std::pair{&all.purchase, &other.purchase}})
            for (const auto &[year, sum] : *from)
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
