#pragma once
// The text of the user manual "Guida.pdf": its chapters, built around the
// program's own help topics (each paragraph printed once), the table of the
// program's messages and the description of the data folder. The pictures
// are named here and drawn by make_guida from the real windows.
#include <QList>
#include <QString>
#include <QStringList>

namespace Guida {

struct Chapter {
    QString title;
    QString html; // the body, without the title
};

// Every chapter, in order.
QList<Chapter> chapters();

// One message of the program: its text exactly as shown ("%1", "%2" ...
// where the program puts a name or a number), the window it comes from, its
// cause and the remedy; `fills` says what goes in place of %1, %2 ... ("nome"
// when it says nothing).
struct Message {
    QString text;
    QString where;
    QString cause;
    QString remedy;
    QStringList fills = {};
};
QList<Message> messages();

// Where the collection lives; the chapters on the data folder, backup,
// restore and moving the collection are written from these alone.
struct DataFolder {
    QString credentialFile;  // the file that makes a program folder portable
    QString installedFolder; // as the user types it in a terminal
    QString initialPassword;
};
DataFolder dataFolder();

// The pictures the chapters show, by resource name ("avvio.png", ...).
QStringList pictureNames();

} // namespace Guida
