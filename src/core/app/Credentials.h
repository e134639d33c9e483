#pragma once
#include <QString>

// The access password, kept scrambled in the credential file "unins000.dll"
// of the program folder, section "Accesso", key "Valore".
namespace Credentials {

QString filePath();

// a-z become A-Z (nothing else changes, accented letters included), then
// the text is trimmed.
QString normalForm(const QString &typed);

// The stored password, unscrambled and trimmed; empty when the file, the
// section or the key is missing. Read afresh at every call. Throws
// (Crypt::Error, IniFile::Error) when the value cannot be read.
QString storedPassword();

// Writes the scrambled form of a password already in normal form. Throws
// IniFile::Error when the file cannot be written; the old file then stays.
void store(const QString &normalPassword);

// Why a password cannot be stored (a character above U+00FF or none at
// U+0000, more than 255 characters), or an empty text when it can.
QString whyNotStorable(const QString &normalPassword);

} // namespace Credentials
