#include "core/app/InstalledFiles.h"

#include "core/app/ProgramFolder.h"

#include <QDir>

// Where the installation puts the program's files, relative to the folder
// of the executable; the build sets them from its install folders.
#if !defined(VETRINORA_MODULE_DIR) || !defined(VETRINORA_SHARED_DIR) || !defined(VETRINORA_DOC_DIR)
#error "The build must say where the installation puts the program's files"
#endif

namespace InstalledFiles {

namespace {
QString programFile(const char *installedFolder, const QString &name)
{
    if (ProgramFolder::layout() == ProgramFolder::Layout::Portable)
        return ProgramFolder::file(name);
    const QString folder = QDir::cleanPath(ProgramFolder::executableFolder() + QLatin1Char('/')
                                           + QString::fromUtf8(installedFolder));
    return QDir::toNativeSeparators(folder + QLatin1Char('/') + name);
}
} // namespace

QString manual() { return programFile(VETRINORA_DOC_DIR, QStringLiteral("Guida.pdf")); }

QString cameraModule()
{
    return programFile(VETRINORA_MODULE_DIR, QStringLiteral("vetrinora_webcam"));
}

QString printModule()
{
    return programFile(VETRINORA_MODULE_DIR, QStringLiteral("vetrinora_print"));
}

QString formatsModule()
{
    return programFile(VETRINORA_MODULE_DIR, QStringLiteral("vetrinora_formats"));
}

QString channelModule()
{
    return programFile(VETRINORA_MODULE_DIR, QStringLiteral("vetrinora_channel"));
}

QString chartsModule()
{
    return programFile(VETRINORA_MODULE_DIR, QStringLiteral("vetrinora_charts"));
}

QString initialCredentials(const QString &executableFolder)
{
    const QString folder = QDir::cleanPath(executableFolder + QLatin1Char('/')
                                           + QString::fromUtf8(VETRINORA_SHARED_DIR));
    return QDir::toNativeSeparators(folder + QStringLiteral("/unins000.dll"));
}

} // namespace InstalledFiles
