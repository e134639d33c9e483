#pragma once
// The folded text of the collection's cards, which the filter searches and
// the sort weighs: Windows-1252 bytes in lower case with their accents taken
// off, control characters made blanks.

#include <QByteArray>
#include <QString>
#include <array>

namespace Folding {

// Joins the folded fields of one card.
inline constexpr char kSeparator = '\x01';

// Each byte to its folded byte.
const std::array<char, 256> &table();
// Folds `from`..`to` into `out` and returns the end of what it wrote.
char *into(const char *from, const char *to, char *out, const std::array<char, 256> &table);
// A text of the user's, folded as the cards are.
QByteArray fold(const QString &text);

} // namespace Folding
