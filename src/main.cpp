#include "core/app/ProgramFolder.h"
#include "ui/app/Roster.h"
#include "ui/app/SingleInstance.h"
#include "ui/base/Application.h"

int main(int argc, char **argv)
{
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare(VetrinoraApplication::Icon::AfterFirstWindow);
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
    roster.start();
    return app.exec();
}
