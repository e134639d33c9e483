#pragma once
#include <QString>

namespace Text {

// Removes leading and trailing characters whose code is at most 32 (blanks
// and control characters), as every text is trimmed on its way into and out
// of a record.
QString trim(const QString &text);

} // namespace Text
