#pragma once
#include <QString>

// Names read from files (record fields, the bin's journals and indexes,
// backup entries, settings) are someone else's text until checked: before
// one of them becomes part of a path it goes through this check, so that a
// name can only ever stand for a file directly inside its own folder.
namespace SafeName {

// Whether `name` is a bare file name: not empty, not "." or "..", no folder
// separator ('/' or '\\'), no drive ("C:") or root, no control character,
// and every character one that Windows-1252 (the records' character set)
// can hold.
bool isBare(const QString &name);

// The same, without the character-set rule: for names of files the program
// only moves about and never stores in a record.
bool isBareAnyCharacters(const QString &name);

// The path of `name` in `folder`, or an empty text when the name is not
// bare or the file, followed through links, lies outside the folder (a link
// that leads nowhere counts as outside). A bare name of a missing file gives
// its path in the folder.
QString pathIn(const QString &folder, const QString &name);

} // namespace SafeName
