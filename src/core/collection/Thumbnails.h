#pragma once
// Small pictures of the cards' photos, kept where the desktop keeps them
// (the shared thumbnail cache of freedesktop.org): PNG files under
// $XDG_CACHE_HOME/thumbnails/normal (at most 128 pixels a side) and large
// (256), named after the MD5 of the photo's file:// URI and carrying that
// URI and the photo's modification time, so that the file manager and this
// program use each other's thumbnails and a changed photo is thumbnailed
// anew. A photo that cannot be read leaves a failure entry under
// fail/vetrinora-<version>/ and is not tried again until it changes.
//
// ThumbnailQueue makes them on worker threads, the most wanted first, and
// keeps a small number of them in memory.

#include <QCache>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <deque>

namespace Thumbnails {

enum class Size { Normal = 128, Large = 256 };
inline int pixels(Size size) { return int(size); }

// $XDG_CACHE_HOME/thumbnails ($HOME/.cache/thumbnails when it is not set),
// without a trailing separator.
QString folder();
// The folder of one size ("…/thumbnails/normal") and of this program's
// failure entries ("…/thumbnails/fail/vetrinora-1.0").
QString sizeFolder(Size size);
QString failFolder();
// The photo's absolute file:// URI, percent-encoded.
QString uri(const QString &photo);
// Where the thumbnail of a photo and its failure entry lie.
QString cachePath(const QString &photo, Size size);
QString failPath(const QString &photo);
// The photo's modification time in seconds, or -1 when there is no file.
qint64 modified(const QString &photo);

// A thumbnail of the cache that belongs to the photo as it is now (its URI
// and modification time match), or a null image.
QImage cached(const QString &photo, Size size, qint64 mtime);
// Whether the photo, as it is now, already failed.
bool failedBefore(const QString &photo, qint64 mtime);
// The photo decoded at thumbnail size (never enlarged), or a null image
// when it cannot be read.
QImage decode(const QString &photo, Size size);
// Writes a thumbnail or a failure entry into the cache, in one step and
// readable by the user alone; false when the cache refuses it.
bool store(const QString &photo, qint64 mtime, const QImage &thumbnail, Size size);
bool storeFailure(const QString &photo, qint64 mtime);

struct Result {
    enum State { Missing, Cached, Made, Failed } state = Missing;
    QImage image; // null unless Cached or Made
    qint64 mtime = -1;
};
// The thumbnail of a photo: from the cache, or decoded and (with `save`)
// stored; a photo that cannot be read gets its failure entry.
Result thumbnail(const QString &photo, Size size, bool save = true);

} // namespace Thumbnails

class ThumbnailQueue : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailQueue(Thumbnails::Size size, QObject *parent = nullptr);
    // Waits for the pictures being made; what is still waiting is dropped.
    ~ThumbnailQueue() override;

    Thumbnails::Size size() const { return size_; }

    enum class State { Waiting, Ready, NoPhoto, Failed };
    struct Found {
        State state = State::Waiting;
        QImage image; // when Ready
    };
    // What memory holds for the photo as it is on disk now; never waits.
    Found find(const QString &photo);
    // Replaces what waits to be made with these photos, the first made
    // first; photos held in memory or being made are left out.
    void want(const QStringList &photos);
    // The most memory the kept thumbnails may take.
    void setMemoryLimit(qint64 bytes);
    qint64 memoryLimit() const { return qint64(memory_.maxCost()) * 1024; }
    // How many photos wait or are being made.
    int busy() const;

signals:
    // A photo's thumbnail (or its failure) is now in memory.
    void ready(const QString &photo);

private:
    struct Kept {
        State state;
        QImage image;
    };
    static QString key(const QString &photo, qint64 mtime);
    void work();
    void deliver(const QString &photo, qint64 mtime, const Thumbnails::Result &result);

    Thumbnails::Size size_;
    QCache<QString, Kept> memory_; // cost in kilobytes
    QThreadPool pool_;
    mutable QMutex mutex_;
    std::deque<QString> waiting_;          // photos to make, most wanted first
    QHash<QString, bool> inProgress_;      // photos being made or waiting
    std::deque<std::pair<QString, Thumbnails::Result>> unsaved_; // made, to be written
    int workers_ = 0;
    bool stopping_ = false;
};
