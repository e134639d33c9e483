#pragma once
#include <QString>
#include <optional>
#include <string_view>

class QKeyEvent;

// The money texts of the card editors: digits, a comma and two decimals
// ("0,00"), no thousands separator and no currency sign.
namespace Money {

inline QString zero() { return QStringLiteral("0,00"); }

// The text a money field holds once it is left: the amount read with a
// decimal comma, rounded to cents (halves away from zero), written with up to
// fifteen significant digits, every integer digit and two decimals. Anything
// that cannot be read as an amount gives "0,00". The result always reads
// -?[0-9]+,[0-9]{2} and normalises to itself. The process locale plays no part.
QString normalise(const QString &text);

// The amount of a stored money text in cents, read exactly as the money field
// reads it (the value normalise() gives); std::nullopt when the field could
// not read it at all (empty, "abc", "1.234,5") or when the amount is beyond
// what cents in 64 bits can count.
std::optional<qint64> cents(const QString &text);
// The cents of a text already in the form normalise() writes, read straight
// from its digits: -?[0-9]+,[0-9]{2} with at most thirteen integer digits, for
// which the result equals cents(). Any other text gives std::nullopt and is
// left to cents().
std::optional<qint64> normalCents(std::string_view text);
// Cents as a money text: "-12,05", "0,00"; no thousands separator.
QString fromCents(qint64 cents);
// Whether normalise() reads `text` as an amount: an empty or blank text counts
// as the amount zero; anything else that normalise() turns into "0,00"
// because it cannot be read does not.
bool readable(const QString &text);

// Whether the key filter lets a key into a money field: Backspace, Delete,
// the left and right arrows, Home and End (with Shift too, to select), Ctrl+A,
// a comma or a digit (Tab and Backtab too, which move the focus before the
// field sees them). Nothing else that types or pastes gets in.
bool keyAllowed(const QKeyEvent *event);

// Whether the key types a character into the field (a digit or a comma), as
// opposed to editing or moving: only these count against the typing limit.
bool typesCharacter(const QKeyEvent *event);

} // namespace Money
