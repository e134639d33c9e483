#pragma once
#include <QString>

// The names of attached files. A card stores an attachment as a bare file
// name inside the attachment folder; these rules keep stored names from
// reaching anything else.
namespace AttachmentNames {

// Whether a stored name is a bare file name: not empty, no folder part
// ('/' or '\\'), no drive ("C:"), and not "." or "..".
bool isBareName(const QString &name);

// The path of the attached file a stored name stands for, or an empty text
// when the name is not bare or the file, followed through links, lies
// outside the folder (a link that leads nowhere counts as outside). A bare
// name of a file that is missing gives its path in the folder.
QString pathInFolder(const QString &folder, const QString &name);

} // namespace AttachmentNames
