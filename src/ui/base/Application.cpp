#include "ui/base/Application.h"

#include "core/app/Formats.h"
#include "ui/base/Widgets.h"
#include "ui/platform/Platform.h"

#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <exception>
#include <memory>
#include <thread>

#ifdef VETRINORA_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

// The artwork is built into the core library; a static library must ask for
// its resources to be registered.
static void registerResources() { Q_INIT_RESOURCE(resources); }

namespace {

// The system's font configuration, read on a thread of its own while the
// application object connects to the display: the first window's text
// needs it, and reading it is the longest single step of the start.
std::thread &fontConfiguration()
{
    static std::thread reading;
    return reading;
}

} // namespace

VetrinoraApplication::VetrinoraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    if (fontConfiguration().joinable())
        fontConfiguration().join();
    installEnterPressesButtons();
}

bool VetrinoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Si è verificato un errore imprevisto."));
    }
    return false;
}

void VetrinoraApplication::reportError(const QString &text)
{
    platform::services().message(QApplication::activeWindow(), platform::MessageKind::Error,
                                 text, {platform::Button::Ok});
}

void VetrinoraApplication::prepareProcess()
{
    // Drawing never depends on the display adapter: OpenGL, where anything
    // asks for it, goes through the software rasteriser. Widgets paint in
    // software anyway, so nothing shown changes.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
#ifdef VETRINORA_FONTCONFIG
    if (!fontConfiguration().joinable())
        fontConfiguration() = std::thread([] { FcInit(); });
#endif
}

namespace {

// The program's icon, drawn from its SVG at each size when first asked for.
// A window is given the sizes of title bars and task bars, up to 64, drawn
// and sent with the first window; a larger one is drawn only for whoever
// asks for it (launchers and switchers take the menu entry's icon, installed
// up to 256).
class ProgramIconEngine : public QIconEngine {
public:
    ProgramIconEngine() : svg_(std::make_shared<QSvgRenderer>(QStringLiteral(":/images/icona_app.svg"))) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        svg_->render(painter, QRectF(rect));
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QString key = QStringLiteral("vetrinora-icon-%1x%2").arg(size.width()).arg(size.height());
        QPixmap pixmap;
        if (QPixmapCache::find(key, &pixmap))
            return pixmap;
        pixmap = QPixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        // The icon is square: in a box of another shape, centred.
        const int side = std::min(size.width(), size.height());
        paint(&painter, QRect((size.width() - side) / 2, (size.height() - side) / 2, side, side), mode, state);
        painter.end();
        QPixmapCache::insert(key, pixmap);
        return pixmap;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : {16, 24, 32, 48, 64})
            sizes << QSize(size, size);
        return sizes;
    }

    QIconEngine *clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("VetrinoraProgramIcon"); }

private:
    std::shared_ptr<QSvgRenderer> svg_;
};

} // namespace

QIcon VetrinoraApplication::programIcon() { return QIcon(new ProgramIconEngine); }

void VetrinoraApplication::showProgramIcon()
{
    if (QApplication::windowIcon().isNull())
        setWindowIcon(programIcon());
}

void VetrinoraApplication::prepare(Icon icon)
{
    registerResources();
    setApplicationName(QStringLiteral("Vetrinora"));
    // The menu entry's id, for desktops that match windows to their entry;
    // every window, dialogs and message boxes included, shows this icon.
    // Drawing it takes a few milliseconds, which the first window need not
    // wait for: the desktop shows it as soon as it is set.
    setDesktopFileName(QStringLiteral("it.vetrinora.Vetrinora"));
    if (icon == Icon::Now)
        showProgramIcon();
    setQuitOnLastWindowClosed(false);
    Formats::install();
}
