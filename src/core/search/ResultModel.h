#pragma once
#include "core/platform/BigMemory.h"
#include "core/search/ResultLines.h"

#include <QAbstractListModel>
#include <QFont>
#include <QList>
#include <QSize>
#include <vector>

// The lines of a list, kept in their compact 8-bit form end to end in a few
// large blocks, each with the record it was built from. A line becomes text
// only when it is shown or asked for.
class LineList {
public:
    // The lines of one run of consecutive cards, collected in file order by
    // one thread and then sorted by that thread.
    class Part {
    public:
        // Room for at most `lines` lines of at most `bytes` bytes in all.
        void reserve(qsizetype lines, qsizetype bytes);
        void add(const LineBuilder &builder, const char *record, qint64 index);
        void add(QByteArrayView line, qint64 index);
        // Sorts the run's lines in the list's order; equal lines keep file order.
        void sort();

    private:
        friend class LineList;
        struct Key {
            quint64 head[2]; // the first 16 bytes, by their place in the order
            quint32 slot;
        };
        struct Line {
            qint64 offset;
            qint64 record;
        };
        QByteArrayView line(quint32 slot) const;
        void keyLast(); // the sort key of the line added last
        platform::BigArray<char> bytes_;
        platform::BigArray<Line> lines_; // in file order
        platform::BigArray<Key> order_; // keys, in file order until sorted
    };

    LineList() = default;
    // Joins sorted runs of consecutive cards, given in file order, into one
    // sorted list.
    static LineList merge(std::vector<Part> parts);

    qsizetype size() const { return qsizetype(slots_.size()); }
    QByteArrayView bytes(qsizetype row) const;
    QString text(qsizetype row) const;
    qint64 record(qsizetype row) const { return slots_[size_t(row)].record; }
    // Bytes held: the lines and their slots.
    qsizetype heldBytes() const;

    // Whether line a comes before line b in the list's order: the letters a-z
    // taken as A-Z, every other character by its code.
    static bool less(QByteArrayView a, QByteArrayView b);

private:
    struct Slot {
        quint64 chunk : 8;
        quint64 offset : 40;
        quint64 length : 16;
        qint64 record;
    };
    std::vector<platform::BigArray<char>> chunks_;
    platform::BigArray<Slot> slots_;
};

// The lines of a search or for-sale list, each with the record it was built
// from, in the program's sorted order. The list is filled at once and sorted
// once, never line by line.
class ResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Entry {
        QString line;
        qint64 record; // 0-based
    };

    explicit ResultModel(QObject *parent = nullptr);

    void setEntries(QList<Entry> entries);
    void setLines(LineList lines);
    void clear();
    Entry entry(int row) const { return {lines_.text(row), lines_.record(row)}; }
    int count() const { return int(lines_.size()); }
    QStringList lines() const;
    const LineList &lineList() const { return lines_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    static QFont lineFont();

private:
    LineList lines_;
    QFont font_;
    QSize itemSize_;
};
