// The default camera through Qt Multimedia, built as the module that the
// webcam window loads on demand.
#include "ui/platform/Modules.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMutex>
#include <QVideoFrame>
#include <QVideoSink>
#include <memory>

namespace {

class QtCameraBackend : public platform::CameraBackend {
public:
    QtCameraBackend()
    {
        session_.setVideoSink(&sink_);
        // Emitted on the thread that delivers the frame.
        QObject::connect(&sink_, &QVideoSink::videoFrameChanged, &sink_,
                         [this](const QVideoFrame &frame) {
                             {
                                 QMutexLocker lock(&mutex_);
                                 frame_ = frame;
                             }
                             if (frameArrived)
                                 frameArrived();
                         },
                         Qt::DirectConnection);
    }

    ~QtCameraBackend() override
    {
        if (camera_)
            camera_->stop();
    }

    // A camera object on a missing device would still feed a test pattern,
    // so nothing starts without a real one.
    bool available() const override { return !QMediaDevices::defaultVideoInput().isNull(); }

    void start() override
    {
        if (!available() || isActive())
            return;
        if (!camera_) {
            camera_ = std::make_unique<QCamera>(QMediaDevices::defaultVideoInput());
            session_.setCamera(camera_.get());
        }
        camera_->start();
    }

    void stop() override
    {
        if (camera_)
            camera_->stop();
    }

    bool isActive() const override { return camera_ && camera_->isActive(); }

    QImage currentFrame() override
    {
        QVideoFrame frame;
        {
            QMutexLocker lock(&mutex_);
            frame = frame_;
        }
        return frame.toImage();
    }

private:
    QMediaCaptureSession session_;
    QVideoSink sink_;
    std::unique_ptr<QCamera> camera_;
    QMutex mutex_;
    QVideoFrame frame_;
};

} // namespace

extern "C" Q_DECL_EXPORT platform::CameraBackend *vetrinora_create_camera_backend()
{
    return new QtCameraBackend;
}
