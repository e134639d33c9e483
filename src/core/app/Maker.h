#pragma once
#include <QString>

// Who makes Vetrinora, as the about and splash windows and the start
// screen's site strip show it.
namespace Maker {
inline QString name() { return QStringLiteral("Studio Lanterna Software"); }
inline QString creditLine() { return QStringLiteral("un programma di Studio Lanterna Software"); }
inline QString email() { return QStringLiteral("assistenza@vetrinora.it"); }
inline QString site() { return QStringLiteral("https://www.vetrinora.it"); }
inline QString siteWithoutScheme() { return QStringLiteral("www.vetrinora.it"); }
} // namespace Maker
