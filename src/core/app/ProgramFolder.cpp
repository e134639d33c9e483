#include "core/app/ProgramFolder.h"

#include "core/app/InstalledFiles.h"
#include "core/platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace ProgramFolder {

namespace {
QString overridden;
QString executableOverride;

struct Folders {
    QString executable;
    Layout layout = Layout::Portable;
    QString data;
};
std::optional<Folders> resolved;

const QLatin1String credentialFile("unins000.dll");

QString withSeparator(const QString &folder)
{
    QString native = QDir::toNativeSeparators(folder);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

// The user's data folder of an installed program; on its first use it is
// created and receives the initial credential file. A credential file that
// is missing later (the user deleted it) comes back as the initial one, so
// the initial password opens the program again. Nothing is reported here: a
// folder that cannot be written shows up in the first action that needs it.
QString installedDataFolder(const QString &executable)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                           + QStringLiteral("/Vetrinora");
    // Made readable by the user alone: it holds the password file.
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString credentials = folder + QLatin1Char('/') + credentialFile;
    const QString initial = InstalledFiles::initialCredentials(executable);
    if (!QFileInfo::exists(credentials) && QFileInfo::exists(initial))
        platform::AtomicFile::copy(initial, credentials);
    return withSeparator(folder);
}

const Folders &folders()
{
    if (!resolved) {
        Folders f;
        f.executable = withSeparator(executableOverride.isEmpty()
                                         ? QCoreApplication::applicationDirPath()
                                         : executableOverride);
        if (QFileInfo::exists(f.executable + credentialFile)) {
            f.layout = Layout::Portable;
            f.data = f.executable;
        } else {
            f.layout = Layout::Installed;
            f.data = installedDataFolder(f.executable);
        }
        resolved = f;
    }
    return *resolved;
}
} // namespace

QString path()
{
    if (!overridden.isEmpty())
        return overridden;
    return folders().data;
}

QString file(const QString &name) { return path() + name; }

Layout layout()
{
    if (!overridden.isEmpty())
        return Layout::Portable;
    return folders().layout;
}

QString executableFolder() { return folders().executable; }

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

void setExecutableFolderForTests(const QString &folder)
{
    executableOverride = folder;
    resolved.reset();
}

} // namespace ProgramFolder
