#include "core/app/Credentials.h"

#include "core/app/Messages.h"
#include "core/app/Crypt.h"
#include "core/app/IniFile.h"
#include "core/app/ProgramFolder.h"
#include "core/app/Text.h"

namespace Credentials {

namespace {
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");
constexpr qsizetype kMaxLength = 255;
} // namespace

QString filePath() { return ProgramFolder::file(QStringLiteral("unins000.dll")); }

QString normalForm(const QString &typed)
{
    QString upper = typed;
    for (QChar &c : upper)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - u'a' + u'A');
    return Text::trim(upper);
}

QString storedPassword()
{
    return Text::trim(Crypt::Unscramble(IniFile::readValue(filePath(), kSection, kKey)));
}

void store(const QString &normalPassword)
{
    // Readable by its owner alone: it holds the password, barely hidden.
    IniFile::writeValue(filePath(), kSection, kKey, Crypt::Scramble(normalPassword).trimmed(), true);
}

QString whyNotStorable(const QString &normalPassword)
{
    if (normalPassword.size() > kMaxLength)
        return Messages::passwordTooLong();
    for (qsizetype i = 0; i < normalPassword.size(); ++i) {
        const QChar c = normalPassword.at(i);
        if (c.unicode() != 0 && c.unicode() <= 0xFF)
            continue;
        QString shown = c.isHighSurrogate() ? normalPassword.mid(i, 2) : QString(c);
        if (c.unicode() == 0)
            shown.clear();
        return Messages::passwordCharacter(shown);
    }
    return {};
}

} // namespace Credentials
