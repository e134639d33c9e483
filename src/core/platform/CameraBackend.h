#pragma once
// The camera behind the webcam window, kept in a module of its own
// ("vetrinora_webcam", see InstalledFiles) so that the program does not
// load the whole multimedia stack at start-up, only when a webcam window
// opens. The interface is plain C++: nothing of it needs the meta-object
// system across the module's boundary.

#include <QImage>
#include <functional>

namespace platform {

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

// The one function the module exports.
using CreateCameraBackend = CameraBackend *(*)();
inline constexpr const char *kCreateCameraBackend = "vetrinora_create_camera_backend";

} // namespace platform
