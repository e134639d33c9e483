#include "core/archives/ArchiveNames.h"

#include "core/app/Text.h"
#include "core/cards/PhotoNames.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace ArchiveNames {

bool refusedWhileTyping(QChar c)
{
    static const QString refused = QString::fromUtf8("\"*/:<>?\\°ÇÑçñ");
    return refused.contains(c);
}

bool isAcceptable(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : name)
        if (refusedWhileTyping(c) || c == QLatin1Char('/') || c == QLatin1Char('\\')
            || c == QDir::separator() || c.unicode() < 32 || c.unicode() == 127
            || c.category() == QChar::Other_Control)
            return false;
    return true;
}

bool fileNamesFit(const QString &name)
{
    constexpr qsizetype kMaxFileNameBytes = 255;
    const QString highestPosition(10, QLatin1Char('9'));
    QStringList fileNames{name + QStringLiteral(".moc")};
    for (int slot = 0; slot < PhotoNames::kMocSlots; ++slot)
        fileNames << PhotoNames::mocFileName(name, slot, highestPosition);
    return std::all_of(fileNames.cbegin(), fileNames.cend(), [](const QString &fileName) {
        return QFile::encodeName(fileName).size() <= kMaxFileNameBytes;
    });
}

bool existsIgnoringCase(const QString &folder, const QString &fileName)
{
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(entries.cbegin(), entries.cend(), [&](const QString &entry) {
        return entry.compare(fileName, Qt::CaseInsensitive) == 0;
    });
}

QStringList list(const QString &folder)
{
    QStringList files = QDir(folder).entryList({QStringLiteral("*.moc")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    std::sort(files.begin(), files.end(), Text::lessFoldingAZ);
    return files;
}

} // namespace ArchiveNames
