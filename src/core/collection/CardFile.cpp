#include "core/collection/CardFile.h"

#include "core/app/ProgramFolder.h"
#include "core/archives/ArchiveNames.h"
#include "core/cards/PhotoNames.h"
#include "core/cards/Schede.h"
#include "core/platform/SafeName.h"

#include <QDir>
#include <QFileInfo>
#include <stdexcept>

namespace {
const QString kCatalogueFile = QStringLiteral("Catalogo_BLOKKO.pro");
const QString kMocSuffix = QStringLiteral(".moc");
const QString kJpg = QStringLiteral(".jpg");
} // namespace

QString CardFile::fileName() const { return QFileInfo(path).fileName(); }

QString CardFile::photoPath(int slot, qint64 position) const
{
    return photoFolder + photoPrefixes.at(slot) + QString::number(position) + kJpg;
}

qint64 CardFile::photoPosition(int slot, const QString &file) const
{
    const QString &prefix = photoPrefixes.at(slot);
    if (!file.startsWith(prefix) || !file.endsWith(kJpg))
        return -1;
    const qsizetype digits = file.size() - prefix.size() - kJpg.size();
    if (digits < 1 || digits > 18)
        return -1;
    qint64 n = 0;
    for (qsizetype i = prefix.size(); i < prefix.size() + digits; ++i) {
        const QChar c = file.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    // Names are written without leading zeros.
    if (file.at(prefix.size()) == QLatin1Char('0'))
        return -1;
    return n;
}

CardFile CardFile::catalogue()
{
    CardFile f;
    f.path = ProgramFolder::file(kCatalogueFile);
    f.layout = &Schede::TSchedaSet;
    f.name = QStringLiteral("Catalogo BLOKKO");
    f.photoFolder = ProgramFolder::file(QString::fromLatin1(PhotoNames::kSetFolder)) + QDir::separator();
    f.photoPrefixes = {PhotoNames::setPrefix()};
    return f;
}

CardFile CardFile::archiveNamed(const QString &name)
{
    CardFile f;
    f.path = ProgramFolder::file(name + kMocSuffix);
    f.layout = &Schede::TSchedaMOC;
    f.name = name;
    f.archive = true;
    f.photoFolder = ProgramFolder::file(QString::fromLatin1(PhotoNames::kMocFolder)) + QDir::separator();
    for (int slot = 0; slot < PhotoNames::kMocSlots; ++slot)
        f.photoPrefixes << PhotoNames::mocPrefix(name, slot);
    return f;
}

bool CardFile::isRecordFileName(const QString &fileName)
{
    if (fileName == kCatalogueFile)
        return true;
    return fileName.size() > kMocSuffix.size() && fileName.endsWith(kMocSuffix)
           && SafeName::isBare(fileName);
}

CardFile CardFile::fromFileName(const QString &fileName)
{
    if (!isRecordFileName(fileName))
        throw std::invalid_argument("not a record file name of the program folder");
    if (fileName.endsWith(kMocSuffix))
        return archiveNamed(fileName.chopped(kMocSuffix.size()));
    return catalogue();
}

QList<CardFile> CardFile::everything()
{
    QList<CardFile> files{catalogue()};
    for (const QString &entry : ArchiveNames::list(ProgramFolder::path()))
        files << archiveNamed(entry.chopped(kMocSuffix.size()));
    return files;
}
