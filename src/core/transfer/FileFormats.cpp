#include "core/transfer/FileFormats.h"

#include "core/app/InstalledFiles.h"
#include "core/platform/Module.h"
#include "core/transfer/Transfer.h"

#include <QMutex>

namespace Transfer {

FileFormats &fileFormats()
{
    // Imports and exports run on threads of their own: one opens the module.
    static QMutex mutex;
    static FileFormats *formats = nullptr;
    const QMutexLocker lock(&mutex);
    if (!formats) {
        // Opened afresh at each try until one succeeds, so that a module put
        // back while the program runs is found; once loaded it stays loaded.
        platform::Module module(InstalledFiles::formatsModule());
        if (const auto get = module.function<GetFileFormats>(kGetFileFormats))
            formats = get();
        if (!formats)
            throw Error(moduleMissingMessage());
    }
    return *formats;
}

QString moduleMissingMessage()
{
    return QStringLiteral("Attenzione: manca una parte del programma, quella che legge e scrive i "
                          "file zip e i fogli di calcolo (vetrinora_formats).\r\n\r\n"
                          "Reinstallare Vetrinora.");
}

} // namespace Transfer
