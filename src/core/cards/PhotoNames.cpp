#include "core/cards/PhotoNames.h"

namespace PhotoNames {

namespace {
const QString kJpg = QStringLiteral(".jpg");
} // namespace

QString setPrefix() { return QStringLiteral("BLOKKO_"); }

QString mocPrefix(const QString &archive, int slot)
{
    return archive + (slot == 0 ? QStringLiteral("_Foto_A_") : QStringLiteral("_Foto_B_"));
}

QString setFileName(const QString &position) { return setPrefix() + position + kJpg; }

QString mocFileName(const QString &archive, int slot, const QString &position)
{
    return mocPrefix(archive, slot) + position + kJpg;
}

} // namespace PhotoNames
