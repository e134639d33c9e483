#include "ui/base/Application.h"
#include "ui/app/Roster.h"

int main(int argc, char **argv)
{
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare();
    // The login window shows first; the other main windows follow at once.
    Roster roster(Roster::Creation::LoginFirst);
    roster.start();
    return app.exec();
}
