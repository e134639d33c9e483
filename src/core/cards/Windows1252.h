#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Windows-1252, the code page of every text stored in record files and
// spreadsheets, on every system. A letter it cannot represent becomes its
// nearest letter (the letter without its accents: "ő" is stored as "o", "ł"
// as "l"); any other character it cannot represent becomes '?';
// the five bytes it leaves undefined decode to the control characters of the
// same code, so every byte reads back as it was written.
namespace Windows1252 {

QByteArray encode(const QString &text);
// When the code page holds every character of the text: writes the bytes of
// its first `room` characters (or all, when fewer) to `out` and returns how
// many. Otherwise returns -1, `out` holding nothing to use: encode() then
// finds the nearest letters.
qsizetype encodeHeld(QStringView text, char *out, qsizetype room);
// Whether every character of the text is stored as it is.
bool representable(const QString &text);

// A character that is stored as another one.
struct Replacement {
    QString from; // the character given
    QString to;   // what is stored: its nearest letter, or "?"
};
// The characters of the text that are stored as others, each once, in the
// order they first occur.
QList<Replacement> replacements(const QString &text);
// The list as the user reads it: "ő → o, ł → l, Ω → ?".
QString describe(const QList<Replacement> &list);

QString decode(const QByteArray &bytes);
QString decode(const char *bytes, qsizetype length);
// Decodes `length` bytes into `out`, which has room for them.
void decodeInto(const char *bytes, qsizetype length, QChar *out);

} // namespace Windows1252
