#pragma once
// The modules of the windows, opened through platform::Module
// (core/platform/Module.h), the one loader of every module:
// - the camera ("vetrinora_webcam", Qt Multimedia and GStreamer), opened when
//   a webcam window first opens;
// - printing and its preview ("vetrinora_print", Qt's print support), opened
//   when something is first printed or previewed;
// - the channel between two starts ("vetrinora_channel", Qt Network), opened
//   by a second start, and by the first once its login window is drawn;
// - the charts ("vetrinora_charts", Qt Charts), opened when the statistics
//   window first opens.

#include "core/platform/Module.h"
#include "core/reports/PrintJob.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
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

// The local socket through which a second start of the program asks the
// first, which answers to a name of its own, to come forward.
struct LocalChannel {
    virtual ~LocalChannel() = default;
    // Asks the program answering to `name` to come forward; false when none
    // answers within `waitMs`.
    virtual bool ask(const QString &name, int waitMs) = 0;
    // Answers to `name` from now on, calling `comeForward` (on this thread)
    // for each start that asks; false when the name cannot be taken.
    virtual bool answer(const QString &name, std::function<void()> comeForward) = 0;
};

// The one function the channel module exports; the caller owns the channel.
using CreateLocalChannel = LocalChannel *(*)();
inline constexpr const char *kCreateLocalChannel = "vetrinora_create_local_channel";

// A chart of the statistics window.
struct ChartSpec {
    enum class Kind { Bars, SideBars, Pie };
    Kind kind = Kind::Bars;
    QString title;
    QString unit;       // what the bars measure: "€", "MOC"
    QStringList labels; // one for each bar or slice
    QList<double> values;
    QStringList sliceLabels; // the text beside each slice of a pie
};

// Makes the charts.
struct ChartMaker {
    virtual ~ChartMaker() = default;
    // A view of the chart (a QChartView), a child of `parent`.
    virtual QWidget *view(QWidget *parent, const ChartSpec &spec) = 0;
    // Draws the chart into `area` (1/96 inch units), its texts the size
    // they have on screen whatever the painter's resolution.
    virtual void render(QPainter &painter, const ChartSpec &spec, const QRectF &area) = 0;
};

// The one function the charts module exports: its maker, which lives as
// long as the program.
using GetChartMaker = ChartMaker *(*)();
inline constexpr const char *kGetChartMaker = "vetrinora_chart_maker";

// The installation's camera, print, channel and charts modules.
Module &cameraModule();
Module &printModule();
Module &channelModule();
Module &chartsModule();

} // namespace platform
