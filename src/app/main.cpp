#include "app/Application.h"
#include "app/Roster.h"

int main(int argc, char **argv)
{
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare();
    Roster roster;
    roster.start();
    return app.exec();
}
