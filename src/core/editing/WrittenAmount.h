#pragma once
#include <QString>

namespace Money {

// An amount as people write it in a spreadsheet or a list, turned into the
// text the money field reads: "€ 1.234,50", "1.234,50 €", "EUR 12", "12,5",
// "1234.50", "1,234.50", "-12", "(12,00)" give "1234,50", "1234,50", "12",
// "12,5", "1234,50", "1234,50", "-12", "-12,00". A point or a comma followed
// by exactly three digits and then the other separator, or repeated, groups
// thousands; a lone point with one or two decimals, or with more than three,
// is a decimal point; a lone point followed by exactly three digits groups
// thousands, as in "1.234"; a lone comma is the decimal comma. A text the
// money field already reads, and a text that reads as no amount, are given
// back as they are.
QString fromWritten(const QString &text);

} // namespace Money
