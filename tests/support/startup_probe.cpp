// Loaded into the real program with LD_PRELOAD by test_platform. When the
// program makes its application object, the probe writes down what the
// program had set up before it (to the file named by
// VETRINORA_STARTUP_PROBE) and ends the program there, before any window.
#include <QCoreApplication>
#include <QFile>

#include <cstdlib>

namespace {
void probe()
{
    const QString report = qEnvironmentVariable("VETRINORA_STARTUP_PROBE");
    if (report.isEmpty())
        return;
    QFile out(report);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QCoreApplication::testAttribute(Qt::AA_UseSoftwareOpenGL) ? "software-opengl=on\n"
                                                                             : "software-opengl=off\n");
        out.close();
    }
    std::_Exit(0);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(probe)
