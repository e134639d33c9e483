#pragma once
// A module of the installation: a shared library kept apart from the
// executable so that a start does not load the libraries it brings in, and
// opened the first time one of its functions is wanted. The modules are
// listed where their interfaces are (ui/platform/Modules.h for the camera,
// printing, the channel between two starts and the charts,
// core/transfer/FileFormats.h for zip and .xlsx files);
// InstalledFiles says where each one is. Their interfaces are plain C++ and
// nothing is thrown across a module's boundary.

#include <QLibrary>
#include <QString>

namespace platform {

class Module {
public:
    // `path` without its suffix, which the system's own is added to.
    explicit Module(const QString &path);
    Module(const Module &) = delete;
    Module &operator=(const Module &) = delete;

    // The exported function `name` as a `Function`, opening the module first
    // if need be; nullptr when it cannot be had. When it cannot, the
    // system's reason is kept and written to the program's log (qWarning),
    // so that a missing or broken installation can be told apart from
    // anything else.
    template <typename Function>
    Function function(const char *name)
    {
        return reinterpret_cast<Function>(resolve(name));
    }
    // Why the last look-up failed; empty after one that succeeded.
    QString reason() const { return reason_; }

    // A program that has a module's code linked in (the tests, the
    // benchmarks, the test writers) gives its exported function here; every
    // look-up of `name` then finds it without opening any file. A nullptr
    // takes it back.
    static void linkIn(const char *name, QFunctionPointer function);

private:
    QFunctionPointer resolve(const char *name);

    QLibrary library_;
    QString reason_;
};

} // namespace platform
