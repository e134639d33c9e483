#include "app/OpenURL.h"

#include "platform/Platform.h"

namespace TMisc {
void Open(const QString &command) { platform::services().shellOpen(command); }
} // namespace TMisc
