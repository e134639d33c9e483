#include "ui/platform/QtServices.h"

#include "core/app/Messages.h"

#include "ui/platform/Modules.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <stdexcept>
#include <QUrl>

namespace platform {

namespace {

QMessageBox::StandardButton toStandard(Button button)
{
    switch (button) {
    case Button::Ok: return QMessageBox::Ok;
    case Button::Cancel: return QMessageBox::Cancel;
    case Button::Yes: return QMessageBox::Yes;
    case Button::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}


QString withExtension(const QString &path, const QString &extension)
{
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}

// A message box whose text Ctrl+C copies, on every system, so that a user can
// paste a message into a mail or a note.
class CopyableMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(text());
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
};

} // namespace

Button QtServices::message(QWidget *parent, MessageKind kind, const QString &text,
                           const Buttons &buttons)
{
    CopyableMessageBox box(parent);
    box.setWindowTitle(QStringLiteral(" Vetrinora"));
    box.setText(text);
    switch (kind) {
    case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
    case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MessageKind::Plain: box.setIcon(QMessageBox::NoIcon); break;
    }
    QMessageBox::StandardButtons standard;
    for (Button b : buttons)
        standard |= toStandard(b);
    box.setStandardButtons(standard);
    if (!buttons.isEmpty())
        box.setDefaultButton(toStandard(buttons.first()));
    const int answer = box.exec();
    for (Button b : buttons)
        if (answer == toStandard(b))
            return b;
    // Closed without a choice: a question counts as No, anything else as its
    // first button (whose answer nobody uses).
    if (kind == MessageKind::Confirmation)
        return Button::No;
    return buttons.isEmpty() ? Button::Ok : buttons.first();
}

QString QtServices::openFile(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtServices::saveFile(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withExtension(dialog.selectedFiles().constFirst(), request.defaultExtension);
}

QString QtServices::chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

QUrl urlForCommand(const QString &command)
{
    QString text = command.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    static const QStringList schemes = {QStringLiteral("http:"), QStringLiteral("https:"),
                                        QStringLiteral("mailto:"), QStringLiteral("ftp:")};
    for (const QString &scheme : schemes)
        if (text.startsWith(scheme, Qt::CaseInsensitive))
            return QUrl(text);
    if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + text);
    return QUrl::fromLocalFile(text);
}

void QtServices::shellOpen(const QString &command)
{
    // The result is not examined: the desktop reports its own failures.
    QDesktopServices::openUrl(urlForCommand(command));
}

bool QtServices::shellOpenChecked(const QString &command)
{
    return QDesktopServices::openUrl(urlForCommand(command));
}

namespace {
// A function of the print module; without it printing cannot start (the
// module's reason is in the log).
template <typename Function>
Function printFunction(const char *name)
{
    const Function function = printModule().function<Function>(name);
    if (!function)
        throw std::runtime_error(Messages::printNotStarted().toStdString());
    return function;
}

// The camera of the camera module; without the module there is no camera
// (the module's reason is in the log).
class ModuleVideoInput : public VideoInput {
public:
    ModuleVideoInput()
    {
        const auto create = cameraModule().function<CreateCameraBackend>(kCreateCameraBackend);
        if (!create)
            return;
        backend_.reset(create());
        backend_->frameArrived = [this] { emit frameArrived(); };
    }

    ~ModuleVideoInput() override
    {
        if (backend_) {
            backend_->stop();
            backend_->frameArrived = nullptr;
        }
    }

    bool available() const override { return backend_ && backend_->available(); }
    void start() override
    {
        if (backend_)
            backend_->start();
    }
    void stop() override
    {
        if (backend_)
            backend_->stop();
    }
    bool isActive() const override { return backend_ && backend_->isActive(); }
    QImage currentFrame() override { return backend_ ? backend_->currentFrame() : QImage(); }

private:
    std::unique_ptr<CameraBackend> backend_;
};
} // namespace

std::unique_ptr<VideoInput> QtServices::openVideoInput() { return std::make_unique<ModuleVideoInput>(); }

bool QtServices::print(QWidget *parent, const PrintJob &job)
{
    QString failure;
    const bool printed = printFunction<PrintWithDialog>(kPrintWithDialog)(parent, job, &failure);
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
    return printed;
}

void QtServices::preview(QWidget *parent, const PrintJob &job)
{
    QString failure;
    printFunction<PreviewWithDialog>(kPreviewWithDialog)(parent, job, &failure);
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
}

} // namespace platform
