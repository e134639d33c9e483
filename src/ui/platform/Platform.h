#pragma once
// The thin layer in front of the desktop services the program uses: message
// dialogs, file and folder choosers, the shell's "open" action, printing and
// its preview, and the camera (the last two through the modules of
// Modules.h). Production code talks to Qt through QtServices; tests install
// a scripted double with setServices().

#include "core/reports/PrintJob.h"

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <QImage>
#include <QObject>
#include <functional>
#include <memory>

class QPainter;
class QWidget;

namespace platform {

enum class MessageKind { Information, Warning, Error, Confirmation, Plain };
enum class Button { Ok, Cancel, Yes, No };
using Buttons = QList<Button>;

struct FileDialogRequest {
    QString title;
    QStringList filters;      // "Immagini JPEG (*.jpg)", ...
    QString proposedName;     // file name proposed in the dialog
    QString defaultExtension; // without the dot
    bool overwritePrompt = false;
};

// The default video input. frameArrived is emitted for every new frame, on
// the capture device's own thread; currentFrame converts the latest one.
class VideoInput : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether the system has a default video input at all.
    virtual bool available() const = 0;
    // Starts capturing; with no video input it does nothing.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual QImage currentFrame() = 0;

signals:
    void frameArrived();
};

class Services {
public:
    virtual ~Services() = default;
    // Shows a modal message; returns the button pressed (the first button when
    // the dialog was dismissed without a choice, except for questions: No).
    virtual Button message(QWidget *parent, MessageKind kind, const QString &text,
                           const Buttons &buttons) = 0;
    // Return the chosen path, or an empty text when the user cancelled.
    virtual QString openFile(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual QString saveFile(QWidget *parent, const FileDialogRequest &request) = 0;
    // Asks for an existing folder, starting in `start`; returns its path, or
    // an empty text when the user cancelled. A desktop without one cancels.
    virtual QString chooseFolder(QWidget *parent, const QString &title, const QString &start)
    {
        Q_UNUSED(parent);
        Q_UNUSED(title);
        Q_UNUSED(start);
        return {};
    }
    // Hands a file path, web address or "mailto:" address to the desktop.
    // File paths and mail addresses may come enclosed in double quotes.
    virtual void shellOpen(const QString &command) = 0;
    // The same, saying whether a program took the file: false when the
    // desktop has nothing that opens it.
    virtual bool shellOpenChecked(const QString &command)
    {
        shellOpen(command);
        return true;
    }
    // Shows the print dialog and prints; false when the user cancelled.
    virtual bool print(QWidget *parent, const PrintJob &job) = 0;
    // Shows the document in a modal print preview, from which it can be printed.
    virtual void preview(QWidget *parent, const PrintJob &job) = 0;
    // A new handle on the default video input, off.
    virtual std::unique_ptr<VideoInput> openVideoInput() = 0;
};

Services &services();
// For tests: installs a double (nullptr puts Qt's services back). The caller
// keeps ownership.
void setServices(Services *replacement);

// The message kinds as the program uses them.
void information(QWidget *parent, const QString &text); // OK, Cancel
void warning(QWidget *parent, const QString &text);     // OK, Cancel
void error(QWidget *parent, const QString &text);       // OK, Cancel
bool confirm(QWidget *parent, const QString &text);     // Yes, No; true for Yes
void showMessage(QWidget *parent, const QString &text); // plain box, OK

QString buttonText(Button button);

} // namespace platform
