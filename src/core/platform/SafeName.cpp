#include "core/platform/SafeName.h"

#include "core/cards/Windows1252.h"

#include <QDir>
#include <QFileInfo>

namespace SafeName {

namespace {

bool windows1252(const QString &name)
{
    return Windows1252::decode(Windows1252::encode(name)) == name;
}

} // namespace

bool isBareAnyCharacters(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() < 160))
            return false;
    }
    if (name.contains(QDir::separator()))
        return false;
    // "C:" and "C:name" name a drive, or a drive's current folder.
    const bool drive = name.size() >= 2 && name.at(1) == QLatin1Char(':')
                       && ((name.at(0) >= QLatin1Char('A') && name.at(0) <= QLatin1Char('Z'))
                           || (name.at(0) >= QLatin1Char('a') && name.at(0) <= QLatin1Char('z')));
    return !drive && !QDir::isAbsolutePath(name);
}

bool isBare(const QString &name) { return isBareAnyCharacters(name) && windows1252(name); }

QString pathIn(const QString &folder, const QString &name)
{
    if (!isBare(name))
        return {};
    QString base = folder;
    while (base.size() > 1 && (base.endsWith(QLatin1Char('/')) || base.endsWith(QDir::separator())))
        base.chop(1);
    const QString path = base + QDir::separator() + name;
    const QFileInfo file(path);
    if (!file.exists())
        return file.isSymLink() ? QString() : path;
    const QString inside = QFileInfo(base).canonicalFilePath();
    const QString target = file.canonicalFilePath();
    if (inside.isEmpty() || !target.startsWith(inside + QLatin1Char('/')))
        return {};
    return path;
}

} // namespace SafeName
