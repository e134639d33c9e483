#include "core/editing/AttachmentNames.h"

#include "core/cards/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace AttachmentNames {

bool isBareName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QDir::separator()))
        return false;
    const bool drive = name.size() >= 2 && name.at(1) == QLatin1Char(':')
                       && ((name.at(0) >= QLatin1Char('A') && name.at(0) <= QLatin1Char('Z'))
                           || (name.at(0) >= QLatin1Char('a') && name.at(0) <= QLatin1Char('z')));
    return !drive;
}

QString pathInFolder(const QString &folder, const QString &name)
{
    if (!isBareName(name))
        return {};
    const QString path = folder + QDir::separator() + name;
    const QFileInfo file(path);
    if (!file.exists())
        return file.isSymLink() ? QString() : path;
    const QString inside = QFileInfo(folder).canonicalFilePath();
    const QString target = file.canonicalFilePath();
    if (inside.isEmpty() || !target.startsWith(inside + QLatin1Char('/')))
        return {};
    return path;
}

QString unstorableCharacters(const QString &name)
{
    QStringList found;
    for (char32_t c : name.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (Windows1252::decode(Windows1252::encode(one)) != one && !found.contains(one))
            found << one;
    }
    return found.join(QLatin1Char(' '));
}

Problem problemOf(const QString &name)
{
    if (name.size() > kMaxStoredBytes || QFile::encodeName(name).size() > kMaxFileNameBytes)
        return Problem::TooLong;
    if (!unstorableCharacters(name).isEmpty())
        return Problem::NotStorable;
    return Problem::None;
}

} // namespace AttachmentNames
