#include "ui/base/Application.h"

#include "core/app/Formats.h"
#include "ui/platform/Platform.h"

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

void VetrinoraApplication::prepare()
{
    registerResources();
    setApplicationName(QStringLiteral("Vetrinora"));
    setQuitOnLastWindowClosed(false);
    Formats::install();
}
