#pragma once
#include <QByteArray>
#include <QString>

// Windows-1252, the code page of every text stored in record files and
// spreadsheets, on every system. Characters it cannot represent become '?';
// the five bytes it leaves undefined decode to the control characters of the
// same code, so every byte reads back as it was written.
namespace Windows1252 {

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
QString decode(const char *bytes, qsizetype length);
// Decodes `length` bytes into `out`, which has room for them.
void decodeInto(const char *bytes, qsizetype length, QChar *out);

} // namespace Windows1252
