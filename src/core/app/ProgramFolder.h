#pragma once
#include <QString>

// The data folder: where the collection lives. Every data file and folder of
// the program (record files, archives, photo and attachment folders,
// spreadsheet exports, the credential file) is resolved against it, and only
// here.
//
// Two layouts:
// - portable: the executable's own folder holds the credential file
//   "unins000.dll"; that folder is the data folder, and the program files
//   (manual, camera and print modules) sit beside the executable. A program folder
//   copied anywhere keeps working as it is.
// - installed: otherwise (a program installed under a prefix such as /usr);
//   the data folder is the user's application data folder
//   ($XDG_DATA_HOME/Vetrinora, usually ~/.local/share/Vetrinora), created on
//   the first start with the initial credential file of the installation.
//   The program files are found through InstalledFiles.
namespace ProgramFolder {

enum class Layout { Portable, Installed };

// The data folder with a trailing separator of the platform.
QString path();
// path() followed by a name ("Catalogo_BLOKKO.pro", "Schedario", ...).
QString file(const QString &name);
// The layout of this run.
Layout layout();
// The folder of the running executable, with a trailing separator.
QString executableFolder();
// Removes the temporary files that a run killed in the middle of a save left
// in the folder and its photo and attachment folders.
void removeTemporaryLeftovers();
// For tests: a portable program folder at `folder` (an empty text goes back
// to the executable's).
void setPathForTests(const QString &folder);
// For tests: resolve everything as for an executable in `folder` (an empty
// text goes back to the running executable's).
void setExecutableFolderForTests(const QString &folder);

} // namespace ProgramFolder
