#include "core/platform/Module.h"

#include <QDebug>
#include <QHash>
#include <QMutex>

namespace platform {

namespace {
struct Linked {
    QMutex mutex;
    QHash<QByteArray, QFunctionPointer> functions;
};
Linked &linked()
{
    static Linked one;
    return one;
}
} // namespace

Module::Module(const QString &path) : library_(path) {}

void Module::linkIn(const char *name, QFunctionPointer function)
{
    Linked &l = linked();
    const QMutexLocker lock(&l.mutex);
    l.functions.insert(QByteArray(name), function);
}

QFunctionPointer Module::resolve(const char *name)
{
    {
        Linked &l = linked();
        const QMutexLocker lock(&l.mutex);
        if (const QFunctionPointer found = l.functions.value(QByteArray(name))) {
            reason_.clear();
            return found;
        }
    }
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

} // namespace platform
