#include "platform/QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPainter>
#include <QVideoSink>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
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

namespace {
void paintJob(QPrinter &printer, const PrintJob &job)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("Impossibile avviare la stampa.");
    const double scale = printer.resolution() / 96.0;
    for (int page = 0; page < job.pageCount; ++page) {
        if (page > 0 && !printer.newPage())
            throw std::runtime_error("Impossibile avviare una nuova pagina di stampa.");
        job.paintPage(painter, page, scale);
    }
    if (!painter.end())
        throw std::runtime_error("La stampa non è stata completata.");
}
} // namespace

namespace {
// The default camera through Qt Multimedia. A camera object on a missing
// device would still feed a test pattern, so nothing starts without one.
class QtVideoInput : public VideoInput {
public:
    QtVideoInput()
    {
        session_.setVideoSink(&sink_);
        // Emitted on the thread that delivers the frame.
        QObject::connect(&sink_, &QVideoSink::videoFrameChanged, this, &VideoInput::frameArrived,
                         Qt::DirectConnection);
    }

    bool available() const override { return !QMediaDevices::defaultVideoInput().isNull(); }

    void start() override
    {
        if (!available() || isActive())
            return;
        if (!camera_) {
            camera_ = std::make_unique<QCamera>(QMediaDevices::defaultVideoInput());
            session_.setCamera(camera_.get());
        }
        camera_->start();
    }

    void stop() override
    {
        if (camera_)
            camera_->stop();
    }

    bool isActive() const override { return camera_ && camera_->isActive(); }

private:
    QMediaCaptureSession session_;
    QVideoSink sink_;
    std::unique_ptr<QCamera> camera_;
};
} // namespace

std::unique_ptr<VideoInput> QtServices::openVideoInput() { return std::make_unique<QtVideoInput>(); }

bool QtServices::print(QWidget *parent, const PrintJob &job)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job.title);
    printer.setPageLayout(job.layout);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    paintJob(printer, job);
    return true;
}

void QtServices::preview(QWidget *parent, const PrintJob &job)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job.title);
    printer.setPageLayout(job.layout);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral(" Anteprima di stampa"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&job](QPrinter *target) { paintJob(*target, job); });
    dialog.setWindowState(Qt::WindowMaximized);
    dialog.exec();
}

} // namespace platform
