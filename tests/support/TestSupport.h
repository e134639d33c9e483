#pragma once
// What every test shares: a scripted platform layer that records each
// message and dialog, a temporary program folder of its own, and a main()
// that runs on the offscreen platform with the program's application object.

#include "ui/platform/Platform.h"
#include "core/cards/RecordLayout.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QQueue>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QWidget;

// A card's texts as pairs of field name and text.
using CardFields = QList<QPair<const char *, QString>>;

// A card of the layout holding the given texts, every other field empty.
Record cardWith(const RecordLayout &layout, const CardFields &fields);

// Types text into a field key by key, accented letters included.
void type(QWidget *field, const QString &text);

// True when a list frames no current entry, or frames a selected one: what
// looks selected is selected.
class QAbstractItemView;
bool highlightIsSelection(const QAbstractItemView *view);

// Runs `opening`, which is to show a modal window, and hands that window to
// `onModal` while it is up; a window still open afterwards is closed, so a
// failed check never leaves the test waiting. True when a modal window came
// up and nothing failed while it was handled.
bool withModal(const std::function<void()> &opening,
               const std::function<void(QWidget *)> &onModal);

class ScriptedServices : public platform::Services {
public:
    struct Message {
        platform::MessageKind kind;
        QString text;
        platform::Buttons buttons;
    };
    struct FileDialog {
        bool save;
        platform::FileDialogRequest request;
        bool folder = false; // a folder chooser: its title in request.title,
                             // where it starts in request.proposedName
    };

    ScriptedServices();
    ~ScriptedServices() override;

    platform::Button message(QWidget *parent, platform::MessageKind kind, const QString &text,
                             const platform::Buttons &buttons) override;
    QString openFile(QWidget *parent, const platform::FileDialogRequest &request) override;
    QString saveFile(QWidget *parent, const platform::FileDialogRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    void shellOpen(const QString &command) override;
    // Records the command like shellOpen; false once for each queued failure.
    bool shellOpenChecked(const QString &command) override;
    int openFailures = 0;
    bool print(QWidget *parent, const platform::PrintJob &job) override;
    void preview(QWidget *parent, const platform::PrintJob &job) override;
    std::unique_ptr<platform::VideoInput> openVideoInput() override;

    // Answers given in order; without one a message answers its first button
    // and a file or folder dialog is cancelled.
    QQueue<platform::Button> answers;
    QQueue<QString> chosenFiles;
    // Runs as each message is shown, before it is answered.
    std::function<void(const Message &)> onMessage;

    QList<Message> messages;
    QList<FileDialog> fileDialogs;
    QStringList opened;
    // Every print and preview, with its pages painted at 96 dots per inch
    // (one pixel per 1/96 inch) over the printable area.
    struct Printed {
        bool preview;
        platform::PrintJob job;
        QList<QImage> pages;
    };
    QList<Printed> printed;
    bool printAnswer = true; // false: the print dialog is cancelled
    bool printFails = false; // true: the printer reports a failure
    bool cameraPresent = true;
    // The video inputs handed out, newest last.
    QList<class ScriptedVideoInput *> cameras;

    // The texts of the messages shown so far.
    QStringList texts() const;
    void clear();
};

// A fresh, empty program folder that the program uses until destroyed.
class TestProgramFolder {
public:
    TestProgramFolder();
    ~TestProgramFolder();
    QString path() const;                 // with the trailing separator
    QString file(const QString &name) const;
    // Lays the credential file shipped with the program into the folder.
    void installShippedCredentials() const;
    void write(const QString &name, const QByteArray &bytes) const;
    // Writes a record file of cards, each given as pairs of field and text.
    using Fields = CardFields;
    void writeCards(const QString &name, const RecordLayout &layout,
                    const QList<Fields> &cards) const;
    // Writes a record file of `count` cards, each filled in by `fill` with
    // its position, counted from 1.
    void writeCards(const QString &name, const RecordLayout &layout, int count,
                    const std::function<void(Record &, int)> &fill) const;
    QByteArray read(const QString &name) const;
    // Has LibreOffice read `name` of the folder with `inputFilter` and write it
    // back as UTF-8 CSV with ";" into `outFolder`; returns the CSV written
    // (empty when soffice wrote nothing, with its errors in `errors`). With
    // `quoteText`, every cell LibreOffice holds as text is written quoted
    // and every number bare, so the two can be told apart.
    QByteArray convertToCsv(const QString &soffice, const QString &name, const QString &inputFilter,
                            const QString &outFolder, QByteArray *errors, bool quoteText = false) const;

private:
    QTemporaryDir dir_;
};

// A real small file system that can be filled up: a tmpfs mounted over a
// folder. Mounting needs root; where it is refused, reason() says why and the
// test skips.
class SmallDisk {
public:
    explicit SmallDisk(const QString &folder, int kilobytes = 2048);
    ~SmallDisk(); // unmounts
    bool mounted() const { return mounted_; }
    QString reason() const { return reason_; }
    // Fills every free byte with a filler file; free() removes it again.
    void fill();
    void free();

private:
    QString folder_;
    bool mounted_ = false;
    QString reason_;
};

#define REQUIRE_SMALL_DISK(disk)                                                           \
    do {                                                                                   \
        if (!(disk).mounted())                                                             \
            QSKIP(qPrintable(QStringLiteral("no small file system to fill: ")              \
                             + (disk).reason()));                                          \
    } while (false)

// A camera the test drives: pushFrame delivers a frame from a thread of its
// own, as a capture device does.
class ScriptedVideoInput : public platform::VideoInput {
    Q_OBJECT
public:
    ScriptedVideoInput(ScriptedServices *owner, bool present);
    ~ScriptedVideoInput() override;
    bool available() const override { return present_; }
    void start() override;
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    QImage currentFrame() override { return frame_; }
    // Delivers the frame from another thread and returns once it was handled.
    void pushFrame(const QImage &image);

private:
    ScriptedServices *owner_;
    bool present_;
    bool active_ = false;
    QImage frame_;
};

// A test of the running program: a fresh program folder, the scripted
// platform layer and the window roster for every test function.
class Roster;
class ProgramTest : public QObject {
    Q_OBJECT
public:
    ProgramTest();
    ~ProgramTest() override;

protected slots:
    void init();
    void cleanup();

protected:
    std::unique_ptr<TestProgramFolder> folder;
    std::unique_ptr<ScriptedServices> services;
    std::unique_ptr<Roster> roster;
};

QString kindName(platform::MessageKind kind);

// The start of an exported spreadsheet file up to its heading row, as the
// collector's spreadsheet program expects it, written out piece by piece.
QByteArray spreadsheetHead(const char *sheet);

int runTests(int argc, char **argv, QObject *testObject);

#define VETRINORA_TEST_MAIN(TestClass)                                                     \
    int main(int argc, char **argv)                                                        \
    {                                                                                      \
        TestClass tc;                                                                      \
        return runTests(argc, argv, &tc);                                                  \
    }
