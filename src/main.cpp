#include "core/app/ProgramFolder.h"
#include "core/platform/Termination.h"
#include "ui/app/Roster.h"
#include "ui/app/SingleInstance.h"
#include "ui/base/Application.h"

// The start-up measures, and what each saves (measured on a 2-core machine
// under other builds, so with their noise: the dynamic loader's own figures
// from LD_DEBUG=statistics, medians of 9 starts, and the medians of 15
// starts of bench/startup_bench):
// - Five modules are loaded only when first used (core/platform/Module.h),
//   each linking its libraries plainly. Linked into the executable, their
//   libraries would cost the dynamic loader, at every start, before main()
//   (Debian builds every library with BIND_NOW, so all their symbols are
//   bound at load; measured with empty programs linked to each set, medians
//   of 40 starts):
//   - the file formats (libarchive, libxlsxwriter, with libcrypto, libxml2
//     and the rest they bring): about 7.5 ms;
//   - the camera (Qt Multimedia): about 5 ms;
//   - printing (Qt's print support): about 4 ms;
//   - the channel between two starts (Qt Network, with Kerberos and
//     libproxy): about 3.5 ms; the first start opens it once its login
//     window is drawn, a second start when it finds the folder held;
//   - the charts (Qt Charts, with Qt's OpenGL libraries): about 3 ms.
// - Fontconfig reads its configuration (8 to 14 ms) on a thread of its own
//   while the application object is made (prepareProcess()).
// - The login window is made and shown first, the other main windows once
//   it is drawn (Roster::Creation::LoginFirst): about 40 ms (the login
//   window at 100 ms instead of 140 ms, bench/startup_bench).
// - The program's icon is drawn from its SVG once the first window is up
//   (Icon::AfterFirstWindow): within the noise of that benchmark, under
//   10 ms.
// - Ended from outside (log-out, kill), the program gives back its lock
//   (platform::quitOnTermination): the next start does not take over a
//   stale lock, which costs two more syncs of the lock's files.
// What remains is mostly the login window's text, which a bare Qt window
// does not draw: fontconfig's configuration (about 6.5 ms of parsing; on a
// 2-core machine the application object waits about 5 ms for its thread)
// and the first font engine, made when the password field lays out its
// empty text (about 4.5 ms). Qt Svg (the logo) and libcsv add about 1.5 ms
// to the loading, and the lock's sync (QLockFile) about 1 ms.
// The data folder's lock is taken before the login window is made, not on a
// thread beside it: the window's first text can start the session bus, whose
// start forks, and a fork while another thread holds a lock of the memory
// allocator can leave the child waiting for ever (seen under
// AddressSanitizer).
int main(int argc, char **argv)
{
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare(VetrinoraApplication::Icon::AfterFirstWindow);
    // Ended from outside (log-out, kill), it closes as from its menu.
    platform::quitOnTermination(&app);
    // One program per data folder: a second start brings the running one to
    // the front and ends, before it reads or repairs anything.
    SingleInstance instance(ProgramFolder::path());
    switch (instance.claim()) {
    case SingleInstance::Claim::Owner: break;
    case SingleInstance::Claim::HandedOver: return 0;
    case SingleInstance::Claim::Refused: return 1;
    }
    // The login window shows first; the other main windows, and the icon,
    // follow as soon as it is drawn.
    Roster roster(Roster::Creation::LoginFirst);
    QObject::connect(&instance, &SingleInstance::raiseRequested, &roster, &Roster::bringToFront);
    // Other starts are answered from then on (a start meanwhile waits).
    QObject::connect(&roster, &Roster::othersCreated, &instance, &SingleInstance::answerOtherStarts);
    roster.start();
    return app.exec();
}
