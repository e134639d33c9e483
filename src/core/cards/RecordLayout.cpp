#include "core/cards/RecordLayout.h"

#include "core/app/Text.h"
#include "core/cards/Windows1252.h"

#include <algorithm>
#include <stdexcept>

const FieldDef *RecordLayout::field(std::string_view fieldName) const
{
    for (const FieldDef &f : fields)
        if (f.name == fieldName)
            return &f;
    return nullptr;
}

const FieldDef *RecordLayout::fieldForControl(std::string_view controlName) const
{
    for (const FieldDef &f : fields)
        if (f.control == controlName)
            return &f;
    return nullptr;
}

namespace {
const FieldDef &onlyWithRole(const RecordLayout &layout, FieldRole role)
{
    for (const FieldDef &f : layout.fields)
        if (f.role == role)
            return f;
    throw std::logic_error("layout without the requested field");
}

const FieldDef &checked(const RecordLayout &layout, std::string_view name)
{
    const FieldDef *f = layout.field(name);
    if (!f)
        throw std::logic_error("unknown field " + std::string(name));
    return *f;
}
} // namespace

const FieldDef &RecordLayout::forSale() const { return onlyWithRole(*this, FieldRole::ForSale); }
const FieldDef &RecordLayout::money() const { return onlyWithRole(*this, FieldRole::Money); }

Record::Record(const RecordLayout &layout) : layout_(&layout), bytes_(layout.size, '\0') {}

QByteArrayView Record::bytesAt(const char *record, const FieldDef &field)
{
    const char *base = record + field.offset;
    int length = static_cast<unsigned char>(base[0]);
    if (length > field.capacity)
        length = field.capacity;
    const char *first = base + 1;
    const char *last = first + length;
    while (first < last && static_cast<unsigned char>(*first) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(last[-1]) <= 32)
        --last;
    return QByteArrayView(first, last - first);
}

QString Record::textAt(const char *record, const FieldDef &field)
{
    const QByteArrayView bytes = bytesAt(record, field);
    return Windows1252::decode(bytes.data(), bytes.size());
}

QString Record::text(const FieldDef &field) const { return textAt(bytes_.constData(), field); }

QString Record::text(std::string_view fieldName) const
{
    return text(checked(*layout_, fieldName));
}

void Record::setText(const FieldDef &field, const QString &value)
{
    char *base = bytes_.data() + field.offset;
    // The usual text, all in the code page, goes straight into the record.
    const qsizetype held = Windows1252::encodeHeld(Text::trimmed(value), base + 1, std::min(255, field.capacity));
    if (held >= 0) {
        base[0] = static_cast<char>(held);
        std::fill(base + 1 + held, base + field.size(), '\0');
        return;
    }
    QByteArray encoded = Windows1252::encode(Text::trim(value)).left(255).left(field.capacity);
    base[0] = static_cast<char>(encoded.size());
    std::copy(encoded.cbegin(), encoded.cend(), base + 1);
    std::fill(base + 1 + encoded.size(), base + field.size(), '\0');
}

void Record::setText(std::string_view fieldName, const QString &value)
{
    setText(checked(*layout_, fieldName), value);
}

