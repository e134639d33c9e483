#include "core/editing/AttachmentNames.h"

#include "core/cards/Windows1252.h"
#include "core/platform/SafeName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace AttachmentNames {

bool isBareName(const QString &name) { return SafeName::isBareAnyCharacters(name); }

QString pathInFolder(const QString &folder, const QString &name) { return SafeName::pathIn(folder, name); }

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
