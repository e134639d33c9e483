#include "core/search/ResultLines.h"

#include "core/cards/Windows1252.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cstring>

namespace {

constexpr LineColumn kSetColumns[] = {
    {"NomeSet", u"", 28},
    {"Tema", u"  Tema: ", 30},
    {"CodiceSet", u"  Cod. ", 20},
    {"NumeroPezzi", u"  Pezzi: ", 12},
    {"AnnoUscita", u"  Anno: ", 12},
    {"Valore", u"  Valore: € ", 0},
};

constexpr LineColumn kMocColumns[] = {
    {"NomeProgetto", u"", 28},
    {"CodiceID", u"  ID: ", 20},
    {"Tema", u"  Tema: ", 25},
    {"Designer", u"  Designer: ", 24},
    {"Scala", u"  Scala: ", 10},
    {"CostoTotale", u"  € ", 0},
};

char foldByte(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

} // namespace

namespace ResultLines {

std::span<const LineColumn> setColumns() { return kSetColumns; }
std::span<const LineColumn> mocColumns() { return kMocColumns; }

QString build(const char *record, const RecordLayout &layout, std::span<const LineColumn> columns)
{
    return LineBuilder(layout, columns)(record);
}

} // namespace ResultLines

LineBuilder::LineBuilder(const RecordLayout &layout, std::span<const LineColumn> columns)
{
    for (const LineColumn &c : columns) {
        const FieldDef *field = layout.field(c.field);
        QByteArray prefix = Windows1252::encode(QString::fromUtf16(c.prefix.data(), c.prefix.size()));
        const qsizetype prefixLength = prefix.size();
        // Copied in whole blocks: the prefix is padded to a block, and a
        // field is read in blocks when a block past its end is still in the
        // record.
        prefix.append(kBlock, '\0');
        const bool blocks = field->offset + 1 + field->capacity + kBlock <= layout.size;
        columns_.append({field, c.prefix, c.width, prefix, prefixLength, blocks});
    }
    for (const Column &c : columns_)
        maxLength_ += c.prefixLength + (c.width == 0 ? 255 : c.width);
    // Room for the last block written past the line's end.
    maxLength_ += kBlock;
}

QString LineBuilder::operator()(const char *record) const
{
    // Measured first, then written straight into one buffer of the exact
    // size: a search builds a line for every card.
    QVarLengthArray<QByteArrayView, 8> texts;
    qsizetype length = 0;
    for (const Column &c : columns_) {
        texts.append(Record::bytesAt(record, *c.field));
        length += qsizetype(c.prefix.size()) + (c.width == 0 ? texts.last().size() : c.width);
    }
    QString line(length, Qt::Uninitialized);
    QChar *out = line.data();
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        const Column &c = columns_[i];
        std::copy(c.prefix.cbegin(), c.prefix.cend(), reinterpret_cast<char16_t *>(out));
        out += c.prefix.size();
        const qsizetype width = c.width == 0 ? texts[i].size() : c.width;
        const qsizetype shown = std::min<qsizetype>(texts[i].size(), width);
        Windows1252::decodeInto(texts[i].data(), shown, out);
        std::fill(out + shown, out + width, QLatin1Char(' '));
        out += width;
    }
    return line;
}

qsizetype LineBuilder::appendTo(const char *record, QByteArray &out) const
{
    const qsizetype start = out.size();
    out.resize(start + maxLength_);
    out.resize(start + writeTo(record, out.data() + start));
    return out.size() - start;
}

qsizetype LineBuilder::writeTo(const char *record, char *out) const
{
    // A line is a dozen short copies; done in fixed blocks of 16 bytes, each
    // is a couple of moves instead of a call. Bytes written past a piece are
    // overwritten by the next piece, or lie past the line's end.
    static constexpr char kSpaces[kBlock] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                             ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    const auto copyBlocks = [](char *to, const char *from, qsizetype n) {
        for (qsizetype k = 0; k < n; k += kBlock)
            std::memcpy(to + k, from + k, kBlock);
    };
    char *at = out;
    for (const Column &c : columns_) {
        copyBlocks(at, c.prefixBytes.constData(), c.prefixLength);
        at += c.prefixLength;
        const QByteArrayView text = Record::bytesAt(record, *c.field);
        const qsizetype shown = c.width == 0 ? text.size() : std::min<qsizetype>(text.size(), c.width);
        if (c.blocks)
            copyBlocks(at, text.data(), shown);
        else
            std::memcpy(at, text.data(), size_t(shown));
        for (qsizetype k = shown; k < c.width; k += kBlock)
            std::memcpy(at + k, kSpaces, kBlock);
        at += c.width == 0 ? shown : c.width;
    }
    return at - out;
}

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
    char folded[256];
    for (const Compiled &t : tests_) {
        const QByteArrayView field = Record::bytesAt(record, *t.field);
        for (qsizetype i = 0; i < field.size(); ++i)
            folded[i] = foldByte(field[i]);
        if (QByteArrayView(folded, field.size()).contains(t.needle) && ++found >= required_)
            return true;
    }
    return found >= required_;
}
