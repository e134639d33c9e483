#pragma once
#include <QString>

// The shared opener: hands a file path, a web address or a "mailto:" address
// to the desktop's "open" action. Callers enclose file paths and mail
// addresses in double quotes and pass web addresses bare. The result is not
// examined and nothing is reported.
namespace TMisc {
void Open(const QString &command);
} // namespace TMisc
