#include "core/collection/Thumbnails.h"

#include "core/platform/AtomicFile.h"
#include "core/platform/System.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMutexLocker>
#include <QUrl>

#ifndef VETRINORA_VERSION
#define VETRINORA_VERSION "1.0"
#endif

namespace Thumbnails {

namespace {

const QString kUri = QStringLiteral("Thumb::URI");
const QString kMTime = QStringLiteral("Thumb::MTime");

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kOwnerFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Creates the folders of the cache that are missing, each readable by the
// user alone.
bool makeFolders(const QString &path)
{
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path && !makeFolders(parent))
        return false;
    if (!QDir().mkdir(path) && !QFileInfo(path).isDir())
        return false;
    QFile::setPermissions(path, kOwnerFolder);
    return true;
}

bool writePng(const QString &path, QImage image, const QString &photo, qint64 mtime)
{
    image.setText(kUri, uri(photo));
    image.setText(kMTime, QString::number(mtime));
    image.setText(QStringLiteral("Thumb::Size"), QString::number(QFileInfo(photo).size()));
    image.setText(QStringLiteral("Software"), QStringLiteral("Vetrinora " VETRINORA_VERSION));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return false;
    if (!makeFolders(QFileInfo(path).absolutePath()))
        return false;
    // A cache entry is made again when lost: it need not wait for the disk,
    // but a reader never sees half of it.
    platform::AtomicFile file(path);
    file.setDurable(false);
    if (!file.open())
        return false;
    QFile::setPermissions(file.temporaryPath(), kOwnerOnly);
    if (!file.write(bytes) || !file.commit())
        return false;
    QFile::setPermissions(path, kOwnerOnly);
    return true;
}

// The PNG at `path` when it names this photo as it is now.
QImage readEntry(const QString &path, const QString &photo, qint64 mtime)
{
    QImageReader reader(path, "png");
    QImage image = reader.read();
    if (image.isNull() || image.text(kUri) != uri(photo) || image.text(kMTime) != QString::number(mtime))
        return {};
    return image;
}

} // namespace

QString folder()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(cache + QStringLiteral("/thumbnails"));
}

QString sizeFolder(Size size)
{
    return folder() + (size == Size::Large ? QStringLiteral("/large") : QStringLiteral("/normal"));
}

QString failFolder() { return folder() + QStringLiteral("/fail/vetrinora-" VETRINORA_VERSION); }

QString uri(const QString &photo)
{
    return QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(photo).absoluteFilePath()))
        .toString(QUrl::FullyEncoded);
}

namespace {
QString entryName(const QString &photo)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri(photo).toUtf8(), QCryptographicHash::Md5).toHex())
           + QStringLiteral(".png");
}
} // namespace

QString cachePath(const QString &photo, Size size) { return sizeFolder(size) + QLatin1Char('/') + entryName(photo); }

QString failPath(const QString &photo) { return failFolder() + QLatin1Char('/') + entryName(photo); }

qint64 modified(const QString &photo) { return platform::modifiedSeconds(photo); }

QImage cached(const QString &photo, Size size, qint64 mtime)
{
    QImage image = readEntry(cachePath(photo, size), photo, mtime);
    const int n = pixels(size);
    // Another program's thumbnail larger than the size it is filed under.
    if (!image.isNull() && (image.width() > n || image.height() > n))
        image = image.scaled(n, n, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

bool failedBefore(const QString &photo, qint64 mtime)
{
    const QString path = failPath(photo);
    return QFileInfo::exists(path) && !readEntry(path, photo, mtime).isNull();
}

QImage decode(const QString &photo, Size size)
{
    QImageReader reader(photo);
    reader.setAutoTransform(true);
    const int n = pixels(size);
    const QSize full = reader.size();
    // JPEG decodes straight at a fraction of its size: far quicker than
    // decoding it whole and scaling down.
    if (full.isValid() && (full.width() > n || full.height() > n)) {
        QSize fit = full.scaled(n, n, Qt::KeepAspectRatio);
        reader.setScaledSize(fit.expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.width() > n || image.height() > n)
        image = image.scaled(n, n, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

bool store(const QString &photo, qint64 mtime, const QImage &thumbnail, Size size)
{
    return writePng(cachePath(photo, size), thumbnail, photo, mtime);
}

bool storeFailure(const QString &photo, qint64 mtime)
{
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    return writePng(failPath(photo), mark, photo, mtime);
}

Result thumbnail(const QString &photo, Size size, bool save)
{
    Result result;
    result.mtime = modified(photo);
    if (result.mtime < 0)
        return result;
    result.image = cached(photo, size, result.mtime);
    if (!result.image.isNull()) {
        result.state = Result::Cached;
        return result;
    }
    if (failedBefore(photo, result.mtime)) {
        result.state = Result::Failed;
        return result;
    }
    result.image = decode(photo, size);
    if (result.image.isNull()) {
        result.state = Result::Failed;
        if (save)
            storeFailure(photo, result.mtime);
        return result;
    }
    result.state = Result::Made;
    if (save)
        store(photo, result.mtime, result.image, size);
    return result;
}

} // namespace Thumbnails

namespace {
// Made thumbnails wait to be written while there is decoding to do, but
// never more than this many.
constexpr std::size_t kUnsavedMost = 256;
} // namespace

ThumbnailQueue::ThumbnailQueue(Thumbnails::Size size, QObject *parent) : QObject(parent), size_(size)
{
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    setMemoryLimit(16 << 20);
}

ThumbnailQueue::~ThumbnailQueue()
{
    {
        QMutexLocker lock(&mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    // What was made is still written.
    pool_.waitForDone();
}

QString ThumbnailQueue::key(const QString &photo, qint64 mtime)
{
    return QString::number(mtime) + QLatin1Char('|') + photo;
}

void ThumbnailQueue::setMemoryLimit(qint64 bytes) { memory_.setMaxCost(qsizetype(std::max<qint64>(bytes / 1024, 1))); }

ThumbnailQueue::Found ThumbnailQueue::find(const QString &photo)
{
    const qint64 mtime = Thumbnails::modified(photo);
    if (mtime < 0)
        return {State::NoPhoto, {}};
    if (const Kept *kept = memory_.object(key(photo, mtime)))
        return {kept->state, kept->image};
    return {};
}

int ThumbnailQueue::busy() const
{
    QMutexLocker lock(&mutex_);
    return int(inProgress_.size());
}

void ThumbnailQueue::want(const QStringList &photos)
{
    QMutexLocker lock(&mutex_);
    // What was wanted before and not started is wanted no more.
    for (const QString &photo : waiting_)
        inProgress_.remove(photo);
    waiting_.clear();
    for (const QString &photo : photos) {
        if (inProgress_.contains(photo))
            continue;
        inProgress_.insert(photo, false);
        waiting_.push_back(photo);
    }
    while (workers_ < pool_.maxThreadCount() && workers_ < int(waiting_.size())) {
        ++workers_;
        pool_.start([this] { work(); });
    }
}

void ThumbnailQueue::work()
{
    for (;;) {
        QString photo;
        std::optional<std::pair<QString, Thumbnails::Result>> unsaved;
        {
            QMutexLocker lock(&mutex_);
            if (!waiting_.empty() && unsaved_.size() < kUnsavedMost) {
                photo = waiting_.front();
                waiting_.pop_front();
                inProgress_[photo] = true;
            } else if (!unsaved_.empty()) {
                unsaved = std::move(unsaved_.front());
                unsaved_.pop_front();
            } else if (!waiting_.empty()) {
                photo = waiting_.front();
                waiting_.pop_front();
                inProgress_[photo] = true;
            } else {
                --workers_;
                return;
            }
        }
        if (unsaved) {
            const auto &[path, result] = *unsaved;
            if (result.state == Thumbnails::Result::Made)
                Thumbnails::store(path, result.mtime, result.image, size_);
            else
                Thumbnails::storeFailure(path, result.mtime);
            continue;
        }
        // Shown first, written when nothing waits to be shown.
        const Thumbnails::Result result = Thumbnails::thumbnail(photo, size_, false);
        if (result.state == Thumbnails::Result::Made || result.state == Thumbnails::Result::Failed) {
            QMutexLocker lock(&mutex_);
            unsaved_.emplace_back(photo, result);
        }
        QMetaObject::invokeMethod(
            this, [this, photo, result] { deliver(photo, result.mtime, result); }, Qt::QueuedConnection);
    }
}

void ThumbnailQueue::deliver(const QString &photo, qint64 mtime, const Thumbnails::Result &result)
{
    {
        QMutexLocker lock(&mutex_);
        inProgress_.remove(photo);
    }
    if (mtime >= 0) {
        auto *kept = new Kept{State::Failed, {}};
        if (result.state == Thumbnails::Result::Made || result.state == Thumbnails::Result::Cached)
            kept->state = State::Ready, kept->image = result.image;
        memory_.insert(key(photo, mtime), kept, qsizetype(result.image.sizeInBytes() / 1024 + 1));
    }
    emit ready(photo);
}
