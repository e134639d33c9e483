#include "TestSupport.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include "ui/base/Application.h"
#include "core/app/ProgramFolder.h"
#include "ui/app/Roster.h"
#include "core/cards/RecordLayout.h"
#include "LinkedModules.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QPointer>
#include <stdexcept>
#include <atomic>
#include <cstring>
#include <thread>

ScriptedServices::ScriptedServices() { platform::setServices(this); }
ScriptedServices::~ScriptedServices() { platform::setServices(nullptr); }

platform::Button ScriptedServices::message(QWidget *, platform::MessageKind kind,
                                           const QString &text, const platform::Buttons &buttons)
{
    messages.append({kind, text, buttons});
    if (onMessage)
        onMessage(messages.last());
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons.isEmpty() ? platform::Button::Ok : buttons.first();
}

QString ScriptedServices::openFile(QWidget *, const platform::FileDialogRequest &request)
{
    fileDialogs.append({false, request});
    return chosenFiles.isEmpty() ? QString() : chosenFiles.dequeue();
}

QString ScriptedServices::saveFile(QWidget *, const platform::FileDialogRequest &request)
{
    fileDialogs.append({true, request});
    return chosenFiles.isEmpty() ? QString() : chosenFiles.dequeue();
}

QString ScriptedServices::chooseFolder(QWidget *, const QString &title, const QString &start)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.proposedName = start;
    fileDialogs.append({false, request, true});
    return chosenFiles.isEmpty() ? QString() : chosenFiles.dequeue();
}

void ScriptedServices::shellOpen(const QString &command) { opened.append(command); }

bool ScriptedServices::shellOpenChecked(const QString &command)
{
    opened.append(command);
    if (openFailures <= 0)
        return true;
    --openFailures;
    return false;
}

namespace {
QList<QImage> paintPages(const platform::PrintJob &job)
{
    const QSizeF mm = job.layout.paintRect(QPageLayout::Millimeter).size();
    const QSize size = (mm * 96.0 / 25.4).toSize();
    QList<QImage> pages;
    for (int page = 0; page < job.pageCount; ++page) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        job.paintPage(painter, page, 1.0);
        pages.append(image);
    }
    return pages;
}
} // namespace

std::unique_ptr<platform::VideoInput> ScriptedServices::openVideoInput()
{
    auto input = std::make_unique<ScriptedVideoInput>(this, cameraPresent);
    cameras.append(input.get());
    return input;
}

ScriptedVideoInput::ScriptedVideoInput(ScriptedServices *owner, bool present)
    : owner_(owner), present_(present)
{
}

ScriptedVideoInput::~ScriptedVideoInput() { owner_->cameras.removeAll(this); }

void ScriptedVideoInput::start()
{
    if (present_)
        active_ = true;
}

void ScriptedVideoInput::pushFrame(const QImage &image)
{
    std::atomic<bool> done = false;
    std::thread capture([&] {
        frame_ = image;
        emit frameArrived();
        done = true;
    });
    // The capture thread waits for the user-interface thread: keep it turning.
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    capture.join();
}

bool ScriptedServices::print(QWidget *, const platform::PrintJob &job)
{
    if (printFails)
        throw std::runtime_error("printer failure");
    if (!printAnswer) {
        printed.append({false, job, {}});
        return false;
    }
    printed.append({false, job, paintPages(job)});
    return true;
}

void ScriptedServices::preview(QWidget *, const platform::PrintJob &job)
{
    if (printFails)
        throw std::runtime_error("printer failure");
    printed.append({true, job, paintPages(job)});
}

QStringList ScriptedServices::texts() const
{
    QStringList result;
    for (const Message &m : messages)
        result.append(m.text);
    return result;
}

void ScriptedServices::clear()
{
    messages.clear();
    fileDialogs.clear();
    opened.clear();
    printed.clear();
}

ProgramTest::ProgramTest() = default;
ProgramTest::~ProgramTest() = default;

void ProgramTest::init()
{
    folder = std::make_unique<TestProgramFolder>();
    services = std::make_unique<ScriptedServices>();
    roster = std::make_unique<Roster>();
}

void ProgramTest::cleanup()
{
    roster.reset();
    services.reset();
    folder.reset();
}

QByteArray spreadsheetHead(const char *sheet)
{
    return QByteArray(
               "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
               "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
               "xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" "
               "content=\"text/html; charset=windows-1252\"><!--[if gte mso 9]><xml>"
               "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet><x:Name>")
           + sheet
           + "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
             "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False"
             "</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>"
             "False</x:ProtectScenarios></x:WorksheetOptions></x:ExcelWorksheet>"
             "</x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]--></head><body>"
             "<table x:str><tr>";
}

QString kindName(platform::MessageKind kind)
{
    switch (kind) {
    case platform::MessageKind::Information: return QStringLiteral("information");
    case platform::MessageKind::Warning: return QStringLiteral("warning");
    case platform::MessageKind::Error: return QStringLiteral("error");
    case platform::MessageKind::Confirmation: return QStringLiteral("confirmation");
    case platform::MessageKind::Plain: return QStringLiteral("plain");
    }
    return {};
}

TestProgramFolder::TestProgramFolder()
{
    if (!dir_.isValid())
        qFatal("cannot create a temporary program folder");
    ProgramFolder::setPathForTests(dir_.path());
}

TestProgramFolder::~TestProgramFolder() { ProgramFolder::setPathForTests(QString()); }

QString TestProgramFolder::path() const { return ProgramFolder::path(); }

QString TestProgramFolder::file(const QString &name) const { return ProgramFolder::file(name); }

void TestProgramFolder::installShippedCredentials() const
{
    QFile::copy(QStringLiteral(VETRINORA_SOURCE_DIR "/src/resources/unins000.dll"),
                file(QStringLiteral("unins000.dll")));
    QFile(file(QStringLiteral("unins000.dll")))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

void TestProgramFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

void TestProgramFolder::writeCards(const QString &name, const RecordLayout &layout,
                                   const QList<Fields> &cards) const
{
    QByteArray bytes;
    for (const Fields &f : cards)
        bytes += cardWith(layout, f).bytes();
    write(name, bytes);
}

void TestProgramFolder::writeCards(const QString &name, const RecordLayout &layout, int count,
                                   const std::function<void(Record &, int)> &fill) const
{
    QByteArray bytes;
    for (int position = 1; position <= count; ++position) {
        Record r(layout);
        if (fill)
            fill(r, position);
        bytes += r.bytes();
    }
    write(name, bytes);
}

Record cardWith(const RecordLayout &layout, const CardFields &fields)
{
    Record r(layout);
    for (const auto &[field, value] : fields)
        r.setText(field, value);
    return r;
}

void type(QWidget *field, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClicks(field, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

bool highlightIsSelection(const QAbstractItemView *view)
{
    const QModelIndex current = view->currentIndex();
    return !current.isValid() || view->selectionModel()->isSelected(current);
}

bool withModal(const std::function<void()> &opening,
               const std::function<void(QWidget *)> &onModal)
{
    bool seen = false;
    // A timer of this call only: it cannot fire once the call has returned.
    QTimer watch;
    watch.setSingleShot(true);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal) {
            watch.start(5); // not up yet: look again while `opening` waits
            return;
        }
        seen = true;
        onModal(modal);
        if (modal && modal->isVisible())
            modal->close();
    });
    watch.start(0);
    opening();
    return seen && !QTest::currentTestFailed();
}

SmallDisk::SmallDisk(const QString &folder, int kilobytes) : folder_(folder)
{
#ifdef Q_OS_LINUX
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("vetrinora-test"),
                 folder});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit
        || mount.exitCode() != 0) {
        reason_ = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
        if (reason_.isEmpty())
            reason_ = QStringLiteral("mount refused");
        return;
    }
    mounted_ = true;
#else
    Q_UNUSED(kilobytes);
    reason_ = QStringLiteral("tmpfs exists on Linux only");
#endif
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder_});
}

void SmallDisk::fill()
{
    QFile filler(folder_ + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        qFatal("cannot create the filler file");
    const QByteArray block(4096, '\0');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
}

void SmallDisk::free() { QFile::remove(folder_ + QStringLiteral("/filler")); }

QByteArray TestProgramFolder::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray TestProgramFolder::convertToCsv(const QString &soffice, const QString &name,
                                           const QString &inputFilter, const QString &outFolder,
                                           QByteArray *errors, bool quoteText) const
{
    QProcess lo;
    lo.setWorkingDirectory(path());
    QStringList environment = QProcess::systemEnvironment();
    environment << QStringLiteral("HOME=") + path();
    lo.setEnvironment(environment);
    lo.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                       QStringLiteral("-env:UserInstallation=file://") + path() + QStringLiteral("lo"),
                       QStringLiteral("--infilter=") + inputFilter,
                       QStringLiteral("--convert-to"), QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76")
                                                      + QLatin1String(quoteText ? ",1,,0,true" : ""),
                       QStringLiteral("--outdir"), path() + outFolder, file(name)});
    lo.waitForFinished(120000);
    if (errors)
        *errors = lo.readAllStandardError();
    return read(outFolder + QLatin1Char('/') + QFileInfo(name).completeBaseName() + QStringLiteral(".csv"));
}

int runTests(int argc, char **argv, QObject *testObject)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare();
    linkModulesIn();
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(testObject, argc, argv);
}
