#include "ui/base/Application.h"

#include "core/app/Formats.h"
#include "ui/platform/Platform.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <exception>

// The artwork is built into the core library; a static library must ask for
// its resources to be registered.
static void registerResources() { Q_INIT_RESOURCE(resources); }

VetrinoraApplication::VetrinoraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
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
}

QIcon VetrinoraApplication::programIcon()
{
    // Drawn from the SVG in every size a title bar, a task bar or a task
    // switcher may ask for, so no icon plugin is needed.
    QSvgRenderer svg(QStringLiteral(":/images/icona_app.svg"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void VetrinoraApplication::prepare()
{
    registerResources();
    setApplicationName(QStringLiteral("Vetrinora"));
    // The menu entry's id, for desktops that match windows to their entry;
    // every window, dialogs and message boxes included, shows this icon.
    setDesktopFileName(QStringLiteral("it.vetrinora.Vetrinora"));
    setWindowIcon(programIcon());
    setQuitOnLastWindowClosed(false);
    Formats::install();
}
