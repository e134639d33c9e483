#pragma once
// The two modules of the installation, kept apart from the executable so
// that the program starts without the systems they bring in, and the one
// loader through which the program opens both:
// - the camera ("vetrinora_webcam", Qt Multimedia and GStreamer), opened when
//   a webcam window first opens;
// - printing and its preview ("vetrinora_print", Qt's print support), opened
//   when something is first printed or previewed.
// InstalledFiles says where each one is. Both interfaces are plain C++ and
// nothing is thrown across a module's boundary.

#include "core/reports/PrintJob.h"

#include <QImage>
#include <QLibrary>
#include <QString>
#include <functional>

class QWidget;

namespace platform {

// The camera behind the webcam window.
struct CameraBackend {
    virtual ~CameraBackend() = default;
    virtual bool available() const = 0; // a default video input exists
    virtual void start() = 0;           // does nothing without one
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // The latest frame as a picture of its own size.
    virtual QImage currentFrame() = 0;
    // Called on the capture device's thread for every new frame.
    std::function<void()> frameArrived;
};

// The one function the camera module exports.
using CreateCameraBackend = CameraBackend *(*)();
inline constexpr const char *kCreateCameraBackend = "vetrinora_create_camera_backend";

// The two functions the print module exports. A failure comes back as its
// text in `failure`, empty when there was none.
// Shows the print dialog and prints; false when the user cancelled or the
// printing failed.
using PrintWithDialog = bool (*)(QWidget *parent, const PrintJob &job, QString *failure);
// Shows the document in a modal print preview, from which it can be printed;
// a failure while painting closes the preview.
using PreviewWithDialog = void (*)(QWidget *parent, const PrintJob &job, QString *failure);

inline constexpr const char *kPrintWithDialog = "vetrinora_print_with_dialog";
inline constexpr const char *kPreviewWithDialog = "vetrinora_preview_with_dialog";

// A module opened on first use. When the module or one of its functions
// cannot be had, the system's reason is kept and written to the program's
// log (qWarning), so that a missing or broken installation can be told
// apart from anything else.
class Module {
public:
    // `path` without its suffix, which the system's own is added to.
    explicit Module(const QString &path);
    Module(const Module &) = delete;
    Module &operator=(const Module &) = delete;

    // The exported function `name` as a `Function`, opening the module first
    // if need be; nullptr when it cannot be had.
    template <typename Function>
    Function function(const char *name)
    {
        return reinterpret_cast<Function>(resolve(name));
    }
    // Why the last look-up failed; empty after one that succeeded.
    QString reason() const { return reason_; }

private:
    QFunctionPointer resolve(const char *name);

    QLibrary library_;
    QString reason_;
};

// The installation's camera and print modules.
Module &cameraModule();
Module &printModule();

} // namespace platform
