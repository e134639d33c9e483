#include "core/search/ResultModel.h"

#include "core/app/ByteRanks.h"
#include "core/app/Text.h"
#include "core/cards/Windows1252.h"

#include <QColor>
#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Each byte's place in the list's order, from 1: its character, the letters
// a-z taken as A-Z. Equal places only for a letter and its capital.
const ByteRanks::Table &ranks()
{
    static const ByteRanks::Table table = [] {
        std::array<char16_t, 256> keys{};
        std::vector<unsigned char> bytes(256);
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            char16_t c = Windows1252::decode(&byte, 1).at(0).unicode();
            if (c >= u'a' && c <= u'z')
                c = char16_t(c - u'a' + u'A');
            keys[size_t(b)] = c;
            bytes[size_t(b)] = static_cast<unsigned char>(b);
        }
        return ByteRanks::ranked(bytes, [&](unsigned char x, unsigned char y) { return keys[x] < keys[y]; });
    }();
    return table;
}

std::string_view view(QByteArrayView bytes) { return std::string_view(bytes.data(), size_t(bytes.size())); }

} // namespace

bool LineList::less(QByteArrayView a, QByteArrayView b)
{
    return ByteRanks::lessEveryBytePlaced(view(a), view(b), ranks());
}

void LineList::Part::reserve(qsizetype lines, qsizetype bytes)
{
    lines_ = platform::BigArray<Line>(size_t(lines));
    order_ = platform::BigArray<Key>(size_t(lines));
    bytes_ = platform::BigArray<char>(size_t(bytes));
}

void LineList::Part::keyLast()
{
    // Taken while the line is still in the cache.
    const auto &rank = ranks();
    const quint32 slot = quint32(lines_.size() - 1);
    const std::string_view text = view(line(slot));
    order_.push_back({{ByteRanks::head(text, 0, rank), ByteRanks::head(text, 8, rank)}, slot});
}

void LineList::Part::add(const LineBuilder &builder, const char *record, qint64 index)
{
    const qint64 at = qint64(bytes_.size());
    bytes_.resize(size_t(at + builder.writeTo(record, bytes_.room(size_t(builder.maxLength())))));
    lines_.push_back({at, index});
    keyLast();
}

void LineList::Part::add(QByteArrayView line, qint64 index)
{
    const qint64 at = qint64(bytes_.size());
    std::memcpy(bytes_.grow(size_t(line.size())), line.data(), size_t(line.size()));
    lines_.push_back({at, index});
    keyLast();
}

QByteArrayView LineList::Part::line(quint32 slot) const
{
    const qint64 offset = lines_[slot].offset;
    const qint64 end = slot + 1 < lines_.size() ? lines_[slot + 1].offset : qint64(bytes_.size());
    return QByteArrayView(bytes_.data() + offset, end - offset);
}

void LineList::Part::sort()
{
    bytes_.trim();
    // The keys are in file order. A stable radix sort on their 16 bytes
    // orders them by head, keeping file order among equal heads; bytes that
    // are the same in every key (a common prefix, the padding) are passed
    // over. Runs of equal heads are then settled by their whole lines.
    const size_t n = order_.size();
    const auto digit = [](const Key &k, int d) {
        return unsigned(d < 8 ? k.head[0] >> (8 * (7 - d)) : k.head[1] >> (8 * (15 - d))) & 0xFFu;
    };
    std::vector<std::array<quint32, 256>> counts(16);
    for (std::array<quint32, 256> &c : counts)
        c.fill(0);
    for (const Key &k : order_)
        for (int d = 0; d < 16; ++d)
            ++counts[size_t(d)][digit(k, d)];
    platform::BigArray<Key> spare(n);
    spare.resize(n);
    Key *from = order_.data();
    Key *to = spare.data();
    for (int d = 15; d >= 0; --d) {
        std::array<quint32, 256> &c = counts[size_t(d)];
        if (n == 0 || c[digit(from[0], d)] == n)
            continue;
        quint32 sum = 0;
        for (quint32 &v : c)
            sum += std::exchange(v, sum);
        for (size_t i = 0; i < n; ++i)
            to[c[digit(from[i], d)]++] = from[i];
        std::swap(from, to);
    }
    if (from != order_.data())
        std::memcpy(order_.data(), from, n * sizeof(Key));
    const auto sameHead = [](const Key &a, const Key &b) {
        return a.head[0] == b.head[0] && a.head[1] == b.head[1];
    };
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        while (j < n && sameHead(order_[i], order_[j]))
            ++j;
        if (j - i > 1)
            std::sort(order_.begin() + i, order_.begin() + j, [&](const Key &a, const Key &b) {
                const QByteArrayView x = line(a.slot), y = line(b.slot);
                if (LineList::less(x, y))
                    return true;
                if (LineList::less(y, x))
                    return false;
                return a.slot < b.slot;
            });
        i = j;
    }
}

LineList LineList::merge(std::vector<Part> parts)
{
    LineList list;
    size_t total = 0;
    for (const Part &p : parts)
        total += p.lines_.size();
    list.slots_ = platform::BigArray<Slot>(total);

    struct Cursor {
        const Part *part;
        size_t next;
        quint8 chunk;
    };
    std::vector<Cursor> cursors;
    for (Part &p : parts)
        cursors.push_back({&p, 0, quint8(cursors.size())});
    // Parts come in file order: of equal lines the earlier part's go first.
    for (;;) {
        Cursor *best = nullptr;
        for (Cursor &c : cursors) {
            if (c.next >= c.part->order_.size())
                continue;
            if (!best) {
                best = &c;
                continue;
            }
            const Part::Key &a = c.part->order_[c.next];
            const Part::Key &b = best->part->order_[best->next];
            bool before;
            if (a.head[0] != b.head[0])
                before = a.head[0] < b.head[0];
            else if (a.head[1] != b.head[1])
                before = a.head[1] < b.head[1];
            else
                before = less(c.part->line(a.slot), best->part->line(b.slot));
            if (before)
                best = &c;
        }
        if (!best)
            break;
        const quint32 slot = best->part->order_[best->next++].slot;
        const Part::Line &l = best->part->lines_[slot];
        list.slots_.push_back({best->chunk, quint64(l.offset), quint64(best->part->line(slot).size()), l.record});
    }
    for (Part &p : parts)
        list.chunks_.push_back(std::move(p.bytes_));
    return list;
}

QByteArrayView LineList::bytes(qsizetype row) const
{
    const Slot &s = slots_[size_t(row)];
    return QByteArrayView(chunks_[s.chunk].data() + s.offset, qsizetype(s.length));
}

QString LineList::text(qsizetype row) const
{
    const QByteArrayView b = bytes(row);
    return Windows1252::decode(b.data(), b.size());
}

qsizetype LineList::heldBytes() const
{
    qsizetype held = qsizetype(slots_.heldBytes());
    for (const platform::BigArray<char> &c : chunks_)
        held += qsizetype(c.heldBytes());
    return held;
}

ResultModel::ResultModel(QObject *parent) : QAbstractListModel(parent), font_(lineFont())
{
    // Long lines scroll sideways: every item is 1600 wide.
    itemSize_ = QSize(1600, QFontMetrics(font_).height() + 2);
}

QFont ResultModel::lineFont()
{
    QFont font(QStringLiteral("Courier New"), 12);
    font.setStyleHint(QFont::Monospace);
    return font;
}

void ResultModel::setEntries(QList<Entry> entries)
{
    std::vector<LineList::Part> parts(1);
    qsizetype bytes = 0;
    for (const Entry &e : entries)
        bytes += e.line.size();
    parts[0].reserve(entries.size(), bytes);
    for (const Entry &e : entries)
        parts[0].add(Windows1252::encode(e.line), e.record);
    parts[0].sort();
    setLines(LineList::merge(std::move(parts)));
}

void ResultModel::setLines(LineList lines)
{
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

void ResultModel::clear() { setLines({}); }

QStringList ResultModel::lines() const
{
    QStringList result;
    result.reserve(lines_.size());
    for (qsizetype i = 0; i < lines_.size(); ++i)
        result.append(lines_.text(i));
    return result;
}

int ResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(lines_.size());
}

QVariant ResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= lines_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole: return lines_.text(index.row());
    case Qt::FontRole: return font_;
    case Qt::ForegroundRole: return QColor(Qt::black);
    case Qt::SizeHintRole: return itemSize_;
    default: return {};
    }
}
