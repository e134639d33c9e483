#pragma once
// The first thing a start does: make sure this is the one program that
// writes its data folder. A second start by the same user on the same
// computer hands over to the running program, which comes to the front,
// and ends; a folder held from another computer or by another user is
// refused with a message that says by whom and since when.
//
// The first start takes the data folder's lock and goes on; it answers
// other starts (through the channel module, ui/platform/Modules.h) from
// when answerOtherStarts() is called, once its first window is drawn, so
// that the channel's libraries are not loaded before. A start that finds
// the lock held here meanwhile waits for the answer (claim()).

#include "core/app/DataFolderLock.h"

#include <QObject>
#include <QString>

#include <memory>

namespace platform {
struct LocalChannel;
}

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Owner,      // go on: this program holds the data folder
        HandedOver, // the running program was asked to come forward; end
        Refused,    // the folder is held elsewhere (the user was told); end
    };

    // The data folder `folder` (ProgramFolder::path() in the program).
    explicit SingleInstance(const QString &folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    Claim claim();
    // The owner answers the starts that ask it to come forward from now on
    // (raiseRequested()). Without the channel module, no start is answered:
    // the lock still keeps the folder this program's.
    void answerOtherStarts();

    // The name the running program answers to: one per data folder and user.
    static QString serverName(const QString &folder);

signals:
    // Another start asked this program to come to the front.
    void raiseRequested();

private:
    // How long a start waits for the program holding the folder to answer:
    // while that program's lock is recent, it may be starting still.
    static constexpr int kStartingSeconds = 60;
    static constexpr int kAnswerMs = 5000;

    bool handOver(int waitMs);
    platform::LocalChannel *channel();

    QString folder_;
    DataFolderLock lock_;
    std::unique_ptr<platform::LocalChannel> channel_;
    bool channelTried_ = false;
};
