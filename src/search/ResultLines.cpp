#include "search/ResultLines.h"

#include "cards/Windows1252.h"

#include <QByteArrayMatcher>

namespace {

constexpr LineColumn kSetColumns[] = {
    {"NomeSet", "", 28},
    {"Tema", "  Tema: ", 30},
    {"CodiceSet", "  Cod. ", 20},
    {"NumeroPezzi", "  Pezzi: ", 12},
    {"AnnoUscita", "  Anno: ", 12},
    {"Valore", "  Valore: € ", 0},
};

constexpr LineColumn kMocColumns[] = {
    {"NomeProgetto", "", 28},
    {"CodiceID", "  ID: ", 20},
    {"Tema", "  Tema: ", 25},
    {"Designer", "  Designer: ", 24},
    {"Scala", "  Scala: ", 10},
    {"CostoTotale", "  € ", 0},
};

char foldByte(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

} // namespace

namespace ResultLines {

std::span<const LineColumn> setColumns() { return kSetColumns; }
std::span<const LineColumn> mocColumns() { return kMocColumns; }

QString build(const char *record, const RecordLayout &layout, std::span<const LineColumn> columns)
{
    QString line;
    line.reserve(160);
    for (const LineColumn &column : columns) {
        line += QString::fromUtf8(column.prefix);
        const QString text = Record::textAt(record, *layout.field(column.field));
        if (column.width == 0)
            line += text;
        else
            line += text.left(column.width).leftJustified(column.width, QLatin1Char(' '));
    }
    return line;
}

} // namespace ResultLines

CardFilter::CardFilter(const QList<Test> &tests, int required) : required_(required)
{
    for (const Test &t : tests) {
        // An empty filter never occurs; one with a character outside the
        // code page cannot occur in a stored field.
        if (t.text.isEmpty() || Windows1252::decode(Windows1252::encode(t.text)) != t.text)
            continue;
        QByteArray needle = Windows1252::encode(t.text);
        for (char &c : needle)
            c = foldByte(c);
        tests_.append({t.field, needle});
    }
}

bool CardFilter::matches(const char *record) const
{
    if (required_ <= 0)
        return true;
    int found = 0;
    QByteArray folded;
    for (const Compiled &t : tests_) {
        const QByteArrayView field = Record::bytesAt(record, *t.field);
        folded.resize(field.size());
        for (qsizetype i = 0; i < field.size(); ++i)
            folded[i] = foldByte(field[i]);
        if (folded.contains(t.needle) && ++found >= required_)
            return true;
    }
    return found >= required_;
}
