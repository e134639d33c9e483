#include "ui/base/OpenURL.h"

#include "ui/platform/Platform.h"

namespace TMisc {
void Open(const QString &command) { platform::services().shellOpen(command); }
} // namespace TMisc
