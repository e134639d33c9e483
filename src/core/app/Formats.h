#pragma once
#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>

// The process-wide formats: "," as the decimal separator, "dd/mm/yyyy" dates
// and "hh:mm:ss" times whatever the system locale.
// Every window that shows or reads numbers and dates goes through here.
namespace Formats {

constexpr QChar decimalSeparator() { return QLatin1Char(','); }
inline QString shortDateFormat() { return QStringLiteral("dd/MM/yyyy"); }

QString date(const QDate &date);  // 07/03/2026
QString time(const QTime &time);  // 12:01:38, no time zone

// Makes the process Italian: the default locale for Qt's own widgets and the
// translation of Qt's stock texts ("Sì", "No", "Annulla"). Returns false when
// Qt's Italian translation could not be found.
bool install();

} // namespace Formats
