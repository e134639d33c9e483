#pragma once
#include "ui/platform/Platform.h"

#include <QUrl>

namespace platform {

// Qt's own dialogs and QDesktopServices.
class QtServices : public Services {
public:
    Button message(QWidget *parent, MessageKind kind, const QString &text,
                   const Buttons &buttons) override;
    QString openFile(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFile(QWidget *parent, const FileDialogRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    void shellOpen(const QString &command) override;
    bool shellOpenChecked(const QString &command) override;
    bool print(QWidget *parent, const PrintJob &job) override;
    void preview(QWidget *parent, const PrintJob &job) override;
    std::unique_ptr<VideoInput> openVideoInput() override;
};

// The URL that the shell's "open" action receives for a command text:
// surrounding double quotes are removed; web and mail addresses stay
// addresses, everything else is a local file.
QUrl urlForCommand(const QString &command);

} // namespace platform
