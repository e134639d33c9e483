#pragma once
// A card record is a packed run of fixed text fields: a length byte and up to
// `capacity` bytes of Windows-1252 text. Each layout is described once, as a
// table, and that table drives the codec, the editors, the searches, the
// exports and the printed cards.

#include <QByteArray>
#include <QString>
#include <span>
#include <string_view>

enum class FieldRole {
    Text,       // an edit box of the editor
    Money,      // the amount field, kept as normalised text ("0,00")
    ForSale,    // yes/no text "Sì" / "No", shown as a check box
    Attachment, // a hidden attachment label (file name or description)
};

struct FieldDef {
    std::string_view name;    // record field, e.g. "NomeSet"
    int offset;               // of the length byte, from the record's start
    int capacity;             // text bytes; the field takes capacity + 1
    std::string_view control; // editor control, e.g. "txtMunizioni"
    std::string_view caption; // label beside the control, UTF-8; empty if none
    FieldRole role;

    constexpr int size() const { return capacity + 1; }
    QString controlName() const { return QString::fromLatin1(control.data(), control.size()); }
    QString fieldName() const { return QString::fromLatin1(name.data(), name.size()); }
    QString captionText() const { return QString::fromUtf8(caption.data(), caption.size()); }
};

struct RecordLayout {
    std::string_view name; // "TSchedaSet"
    int size;              // bytes per record
    std::span<const FieldDef> fields;

    // nullptr when the layout has no such field or control.
    const FieldDef *field(std::string_view fieldName) const;
    const FieldDef *fieldForControl(std::string_view controlName) const;
    const FieldDef &forSale() const;
    const FieldDef &money() const;
};

// True when the fields lie end to end from offset 0 and fill `size` exactly.
constexpr bool isPacked(std::span<const FieldDef> fields, int size)
{
    int offset = 0;
    for (const FieldDef &f : fields) {
        if (f.offset != offset || f.capacity < 1 || f.capacity > 255)
            return false;
        offset += f.size();
    }
    return offset == size;
}

// The yes/no texts of the for-sale field.
inline QString yesText() { return QStringLiteral("Sì"); }
inline QString noText() { return QStringLiteral("No"); }

// One record of a layout, as the bytes stored in the file.
class Record {
public:
    explicit Record(const RecordLayout &layout);

    const RecordLayout &layout() const { return *layout_; }
    const QByteArray &bytes() const { return bytes_; }
    QByteArray &bytes() { return bytes_; }

    // The field's text, decoded and trimmed. A length byte above the capacity
    // is read as the capacity; bytes after the text are never read.
    QString text(const FieldDef &field) const;
    QString text(std::string_view fieldName) const;
    // Stores the text trimmed, in Windows-1252, cut to the capacity; the bytes
    // after the text are zeroed.
    void setText(const FieldDef &field, const QString &text);
    void setText(std::string_view fieldName, const QString &text);


    // The same readings on a record that lies in a larger buffer.
    static QString textAt(const char *record, const FieldDef &field);
    // The field's stored bytes, the length byte capped at the capacity and
    // blanks and control characters (bytes up to 32) trimmed at both ends.
    static QByteArrayView bytesAt(const char *record, const FieldDef &field);

private:
    const RecordLayout *layout_;
    QByteArray bytes_;
};
