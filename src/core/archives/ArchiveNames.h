#pragma once
#include <QString>
#include <QStringList>

// Names of MOC archives: the files "*.moc" of the program folder.
namespace ArchiveNames {

// Characters the name field refuses as they are typed.
bool refusedWhileTyping(QChar c);
// Whether a trimmed name can be an archive's name: none of the refused
// characters, no path separator or control character, not "." or "..".
bool isAcceptable(const QString &trimmedName);
// Whether every file named after the archive fits the file system's limit of
// 255 bytes for a file name: the archive file itself and the photos of its
// cards, for card numbers of up to ten digits.
bool fileNamesFit(const QString &trimmedName);
// Whether the folder holds an entry of that file name, whatever its case.
bool existsIgnoringCase(const QString &folder, const QString &fileName);
// The archive files of a folder (top level only), sorted with the letters
// A-Z compared without regard to case and every other character by its code.
QStringList list(const QString &folder);

} // namespace ArchiveNames
