#include "core/transfer/LibArchive.h"

#include <QLibrary>

const LibArchive *LibArchive::get()
{
    static const LibArchive *const opened = []() -> const LibArchive * {
#ifdef Q_OS_WIN
        static QLibrary library(QStringLiteral("archive"));
#else
        static QLibrary library(QStringLiteral("archive"), 13);
#endif
        static LibArchive functions;
        bool complete = library.load();
#ifdef VETRINORA_LIBARCHIVE_FILE
        if (!complete) {
            library.setFileName(QStringLiteral(VETRINORA_LIBARCHIVE_FILE));
            complete = library.load();
        }
#endif
#define VETRINORA_LIBARCHIVE_RESOLVE(name)                                                         \
    functions.name = reinterpret_cast<decltype(functions.name)>(library.resolve(#name));           \
    complete = complete && functions.name;
        VETRINORA_LIBARCHIVE_FUNCTIONS(VETRINORA_LIBARCHIVE_RESOLVE)
#undef VETRINORA_LIBARCHIVE_RESOLVE
        return complete ? &functions : nullptr;
    }();
    return opened;
}
