#pragma once
#include <QString>
#include <QStringView>

namespace Text {

// Removes leading and trailing characters whose code is at most 32 (blanks
// and control characters), as every text is trimmed on its way into and out
// of a record.
QString trim(const QString &text);
// The same, as a view of `text`: nothing copied.
QStringView trimmed(QStringView text);

// The letters A-Z become a-z; nothing else changes (accented letters stay).
QString foldAZ(const QString &text);

// The order of the program's sorted lists: the letters a-z are taken as A-Z,
// every other character compares by its code.
bool lessFoldingAZ(const QString &a, const QString &b);

} // namespace Text
