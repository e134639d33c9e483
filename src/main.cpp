#include "ui/base/Application.h"
#include "ui/app/Roster.h"

int main(int argc, char **argv)
{
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare(VetrinoraApplication::Icon::AfterFirstWindow);
    // The login window shows first; the other main windows, and the icon,
    // follow as soon as it is drawn.
    Roster roster(Roster::Creation::LoginFirst);
    roster.start();
    return app.exec();
}
