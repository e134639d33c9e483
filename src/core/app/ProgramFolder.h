#pragma once
#include <QString>

// The program folder: the folder of the running executable. Every data file
// and folder of the program is resolved against it, and only here.
namespace ProgramFolder {

// The folder with a trailing separator of the platform.
QString path();
// path() followed by a name ("Catalogo_BLOKKO.pro", "Schedario", ...).
QString file(const QString &name);
// Removes the temporary files that a run killed in the middle of a save left
// in the folder and its photo and attachment folders.
void removeTemporaryLeftovers();
// For tests: use another folder (an empty text goes back to the executable's).
void setPathForTests(const QString &folder);

} // namespace ProgramFolder
