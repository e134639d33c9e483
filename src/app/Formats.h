#pragma once
#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>

// The process-wide formats: "," as the decimal separator and "dd/mm/yyyy"
// dates whatever the system locale, times in the system's long time format.
// Every window that shows or reads numbers and dates goes through here.
namespace Formats {

constexpr QChar decimalSeparator() { return QLatin1Char(','); }
inline QString shortDateFormat() { return QStringLiteral("dd/MM/yyyy"); }

QString date(const QDate &date);  // 07/03/2026
QString longTime(const QTime &time);

// Makes the process Italian: the default locale for Qt's own widgets and the
// translation of Qt's stock texts ("Sì", "No", "Annulla"). Returns false when
// Qt's Italian translation could not be found.
bool install();

} // namespace Formats
