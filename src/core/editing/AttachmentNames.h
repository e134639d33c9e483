#pragma once
#include <QString>

// The names of attached files. A card stores an attachment as a bare file
// name inside the attachment folder, in its record's 8-bit text; these rules
// keep stored names from reaching anything else and refuse, before a file is
// copied, names the record could not give back.
namespace AttachmentNames {

// Whether a stored name is a bare file name: not empty, no folder part
// ('/' or '\\'), no drive ("C:"), no control character, and not "." or
// "..".
bool isBareName(const QString &name);

// The path of the attached file a stored name stands for, or an empty text
// when the name is not bare (nor storable) or the file, followed through links, lies
// outside the folder (a link that leads nowhere counts as outside). A bare
// name of a file that is missing gives its path in the folder.
QString pathInFolder(const QString &folder, const QString &name);

// What keeps a chosen file name from being stored with a card.
enum class Problem {
    None,
    TooLong,    // longer than the card's field, or than the file system allows
    NotStorable // characters outside Windows-1252, which the record turns into '?'
};
Problem problemOf(const QString &name);

// The characters of a name that Windows-1252 cannot hold, each once, in
// order of appearance, separated by blanks.
QString unstorableCharacters(const QString &name);

// The longest name the card's field holds (one byte a character in
// Windows-1252), and the longest file name of the file system, in bytes of its
// own encoding. The copy's temporary file has a short name of its own, so
// only the name itself counts.
constexpr qsizetype kMaxStoredBytes = 250;
constexpr qsizetype kMaxFileNameBytes = 255;

} // namespace AttachmentNames
