#include "ui/platform/Modules.h"

#include "core/app/InstalledFiles.h"

#include <QDebug>

namespace platform {

Module::Module(const QString &path) : library_(path) {}

QFunctionPointer Module::resolve(const char *name)
{
    if (const QFunctionPointer found = library_.resolve(name)) {
        reason_.clear();
        return found;
    }
    // A module that loaded but lacks the function: the system says no more
    // than "unknown error" then.
    reason_ = library_.isLoaded()
                  ? QStringLiteral("%1 non ha la funzione %2").arg(library_.fileName(), QLatin1String(name))
                  : library_.errorString();
    qWarning().noquote() << QStringLiteral("Modulo non disponibile:") << reason_;
    return nullptr;
}

Module &cameraModule()
{
    static Module module(InstalledFiles::cameraModule());
    return module;
}

Module &printModule()
{
    static Module module(InstalledFiles::printModule());
    return module;
}

} // namespace platform
