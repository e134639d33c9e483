#pragma once
// What sets the two card editors apart, as data: one engine (CardEditor)
// runs both the set catalogue and the MOC archives from these tables.

#include "core/app/HelpTopics.h"
#include "core/cards/RecordLayout.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <span>
#include <string_view>

enum class LabelPlace { Above, Left };

// A control of the card, in tab order, at its place in the content panel.
// Caption and capacity come from the record layout.
struct FieldPlace {
    std::string_view control;
    int x;
    int y;
    int width; // 0 for the check box
    LabelPlace label = LabelPlace::Above;
};

struct MandatoryField {
    std::string_view control;
    const char *message; // UTF-8
};

// A toolbar picture button or the position label (resource == nullptr).
struct ToolItem {
    int group; // index into toolBands
    std::string_view name;
    const char *resource;
    const char *hint; // UTF-8
    int width;
    // The keys that press it, in portable text; aliases follow the first
    // after "; " ("Alt+Left; PgUp"). Only the first is shown in its tooltip.
    const char *shortcut = nullptr;
};

// A photo box with its hidden placeholder twin and its commands.
struct PhotoSlot {
    std::string_view box;  // imgFoto, imgFoto02
    std::string_view twin; // imgBianco, imgBianco02
    QRect geometry; // its file name: PhotoNames, by the slot's place in the table
    std::string_view load, webcam, save, clear, zoom; // webcam empty where absent
    bool buttonsInRow; // a row under the box, or a column on its left
};

// A band or picture drawn behind the card (resource == nullptr: a band).
struct Decoration {
    std::string_view name;
    QRect geometry;
    const char *resource;
    QColor fill = Qt::white;
};

struct EditorConfig {
    const RecordLayout *layout;
    const char *callerWord; // "armi" or "cartoline": how the editor names itself to its windows
    const char *objectName;
    const char *caption;
    QColor gradientTop;
    QSize panelSize;
    std::span<const FieldPlace> fields;
    std::span<const MandatoryField> mandatory;
    std::span<const ToolItem> tools;
    std::span<const std::string_view> toolBands;
    std::span<const PhotoSlot> photos;
    std::span<const std::string_view> blankers; // background controls that empty the hint bar
    std::span<const Decoration> decorations; // drawn behind the card, in order
    const char *photoFolder;  // under the program folder (PhotoNames)
    const char *placeholder;  // SVG resource
    std::string_view trimmedBySink; // the field btnFocus trims
    int moneyFontSize;
    QColor moneyResting;
    const char *checkHint;
    QRect infoStrip; // shpInfo
    HelpTopics::Topic (*helpTopic)();
};

namespace EditorTables {
const EditorConfig &sets();
const EditorConfig &mocs();
} // namespace EditorTables
