#pragma once
// Cards out to CSV: RFC 4180, UTF-8 with a byte-order mark (so spreadsheet
// programs open it with its accents), CR LF line ends, one column per field
// in record order with the fields' headings in the first row.

#include "core/cards/CardStore.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace Transfer {

// Writes the cards of `store` to `path`, replacing it in one step; with
// `rows`, only those cards (0-based, in the order given). Returns the number
// of cards written. Throws Transfer::Error (nothing written) when the file
// cannot be written or the record file read; `progress`, given cards done and
// all, returning false throws Transfer::Cancelled, nothing written.
qint64 exportCsv(const CardStore &store, const QString &path,
                 const std::optional<QList<qint64>> &rows = std::nullopt,
                 const std::function<bool(qint64, qint64)> &progress = {});

// The message of an export that could not write its file.
QString exportFailedMessage();

} // namespace Transfer
