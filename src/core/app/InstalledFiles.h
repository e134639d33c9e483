#pragma once
#include <QString>

// The program's own files, which it only reads: the user manual, the
// modules (camera, printing, file formats, the channel between two starts,
// charts) and the initial credential file. In a portable program folder they
// sit beside the executable; in an installation they sit in the folders of
// the installation, found relative to the executable (bin/vetrinora,
// libexec/vetrinora, share/vetrinora, share/doc/vetrinora under one prefix).
// Data files are never resolved here: see ProgramFolder.
namespace InstalledFiles {

// The user manual "Guida.pdf".
QString manual();
// The camera module, without its suffix (the loader adds the system's).
QString cameraModule();
// The print module, likewise.
QString printModule();
// The module of zip files and .xlsx workbooks, likewise.
QString formatsModule();
// The module of the channel between two starts, likewise.
QString channelModule();
// The module of the statistics window's charts, likewise.
QString chartsModule();
// The credential file that a new data folder starts with, in the
// installation whose executable sits in `executableFolder`.
QString initialCredentials(const QString &executableFolder);

} // namespace InstalledFiles
