#pragma once
// The one-line summaries of cards in the search and for-sale lists: five
// fixed-width columns and the money value, built from a record.

#include "core/cards/RecordLayout.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <span>
#include <string_view>

struct LineColumn {
    std::string_view field;
    std::u16string_view prefix; // printed before the field
    int width;          // 0: the text as stored, unpadded
};

namespace ResultLines {

std::span<const LineColumn> setColumns();
std::span<const LineColumn> mocColumns();

QString build(const char *record, const RecordLayout &layout, std::span<const LineColumn> columns);

} // namespace ResultLines

// Builds the lines of one layout, with its columns' fields looked up once.
class LineBuilder {
public:
    LineBuilder(const RecordLayout &layout, std::span<const LineColumn> columns);
    QString operator()(const char *record) const;
    // Appends the line of `record` in its 8-bit form (Windows-1252, one byte
    // a character) to `out`; returns its length.
    qsizetype appendTo(const char *record, QByteArray &out) const;
    // Writes that form to `out`, which has room for maxLength() bytes (a
    // little more than the longest line: bytes past the line may change).
    qsizetype writeTo(const char *record, char *out) const;
    qsizetype maxLength() const { return maxLength_; }

private:
    static constexpr qsizetype kBlock = 16;
    struct Column {
        const FieldDef *field;
        std::u16string_view prefix;
        int width;
        QByteArray prefixBytes; // padded with a block of zeros
        qsizetype prefixLength;
        bool blocks; // the field may be read in whole blocks
    };
    QList<Column> columns_;
    qsizetype maxLength_ = 0;
};

// The filters of a search: for each filled-in filter the field it tests and
// its text as typed. A record qualifies when at least `required` of them
// occur in their fields, the letters A-Z taken as a-z on both sides.
class CardFilter {
public:
    struct Test {
        const FieldDef *field;
        QString text;
    };

    CardFilter(const QList<Test> &tests, int required);
    bool matches(const char *record) const;
    int required() const { return required_; }

private:
    struct Compiled {
        const FieldDef *field;
        QByteArray needle; // folded Windows-1252 bytes
    };
    QList<Compiled> tests_;
    int required_;
};
