#pragma once
// What the moves of data in and out of the program share: the column
// headings of a layout's fields and the error that carries the message the
// windows show.

#include "core/cards/RecordLayout.h"

#include <QString>
#include <stdexcept>

namespace Transfer {

// A failure of an export, import, backup or restore: message() is the
// Italian text shown to the user. Nothing has been changed when it is thrown.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString &message() const { return message_; }

private:
    QString message_;
};

// Thrown when the user cancels an export, import or backup half-way; nothing
// has been changed.
struct Cancelled {};

// The heading of a field's column in exported files: its caption without the
// colon and the currency sign ("Nome set", "Valore"); the attachment fields
// read "Allegato 1" ... and "Descrizione allegato 1" ...
QString heading(const FieldDef &field);

// A heading or field name reduced for matching: letters without accents, in
// lower case, everything but letters and digits left out ("Età consigliata:"
// and "EtaConsigliata" both give "etaconsigliata").
QString matchKey(const QString &text);

// The field a column heading names (caption, heading or field name), or -1.
int fieldForHeading(const RecordLayout &layout, const QString &heading);

} // namespace Transfer
