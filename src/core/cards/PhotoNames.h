#pragma once
// How the photos of the cards are named and where they lie. A card of the
// set catalogue has one photo, "BLOKKO_12.jpg" in "Schedario"; a card of a
// MOC archive has two, "A" and "B", as in "Castelli_Foto_B_12.jpg" in
// "Foto_MOC". The number is the card's 1-based position in its file.

#include <QString>

namespace PhotoNames {

inline constexpr int kSetSlots = 1;
inline constexpr int kMocSlots = 2;
// The photo folders, under the program folder.
inline constexpr const char *kSetFolder = "Schedario";
inline constexpr const char *kMocFolder = "Foto_MOC";

// What a photo's file name begins with; the position and ".jpg" follow.
QString setPrefix();
QString mocPrefix(const QString &archive, int slot);

QString setFileName(const QString &position);
QString mocFileName(const QString &archive, int slot, const QString &position);

} // namespace PhotoNames
