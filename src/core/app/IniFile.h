#pragma once
#include <QByteArray>
#include <QString>
#include <stdexcept>

// A small INI reader and writer that keeps every byte of the file other than
// the value it writes: other sections, comments, key spelling and line ends
// stay as they were. Section and key names compare without regard to case.
namespace IniFile {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The value of key in section, trimmed (and without surrounding quotes);
// empty when the file, the section or the key is missing. Throws when the
// file exists but cannot be read.
QString readValue(const QString &path, const QString &section, const QString &key);

// Writes key=value into section, creating file, section and key as needed.
// The file is replaced only once the new content is completely written, so a
// failure leaves the old file whole; with `ownerOnly` the file is made
// readable and writable by its owner alone. Throws on failure.
void writeValue(const QString &path, const QString &section, const QString &key,
                const QString &value, bool ownerOnly = false);

// The pure halves of the two operations, on the file's bytes.
QString valueIn(const QByteArray &content, const QString &section, const QString &key);
QByteArray withValue(const QByteArray &content, const QString &section, const QString &key,
                     const QString &value);

} // namespace IniFile
