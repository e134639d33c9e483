#include "core/app/ProgramFolder.h"

#include "core/platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>

namespace ProgramFolder {

namespace {
QString overridden;

QString withSeparator(const QString &folder)
{
    QString native = QDir::toNativeSeparators(folder);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}
} // namespace

QString path()
{
    if (!overridden.isEmpty())
        return overridden;
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString file(const QString &name) { return path() + name; }

void removeTemporaryLeftovers()
{
    // Only names of our own making: a file such as "unins000.dll.backup" may
    // be the user's, whatever older versions once left beside it.
    platform::removeTemporaryLeftovers(path());
    for (const char *folder : {"Schedario", "Foto_MOC", "Documenti_Allegati"})
        platform::removeTemporaryLeftovers(file(QString::fromLatin1(folder)));
}

void setPathForTests(const QString &folder)
{
    overridden = folder.isEmpty() ? QString() : withSeparator(folder);
}

} // namespace ProgramFolder
