#include "core/app/Formats.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Formats {

QString date(const QDate &d) { return d.toString(shortDateFormat()); }

QString time(const QTime &t) { return t.toString(QStringLiteral("HH:mm:ss")); }

bool install()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    static QTranslator *translator = nullptr;
    if (translator)
        return true;
    auto *candidate = new QTranslator(QCoreApplication::instance());
    if (!candidate->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                         QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete candidate;
        return false;
    }
    QCoreApplication::installTranslator(candidate);
    translator = candidate;
    return true;
}

} // namespace Formats
