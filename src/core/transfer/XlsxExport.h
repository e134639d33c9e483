#pragma once
// Cards out to a real spreadsheet (.xlsx, written by the formats module): one
// column per field in record order under the fields' headings, as the CSV
// export. Amounts are numbers with a euro format (so the sheet can sum them),
// years and piece counts numbers, dates that read as dates (dd/mm/yyyy,
// d/m/yy, yyyy-mm-dd) dates; everything else text. The heading row is frozen
// and filtered, the columns as wide as their contents.

#include "core/cards/CardStore.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace Transfer {

// Writes the cards of `store` to `path`, replacing it once the workbook is
// complete; with `rows`, only those cards (0-based, in the order given).
// Returns the number of cards written. Throws Transfer::Error (nothing
// written) when the file cannot be written or the record file read;
// `progress`, given cards done and all, returning false throws
// Transfer::Cancelled, nothing written.
qint64 exportXlsx(const CardStore &store, const QString &path,
                  const std::optional<QList<qint64>> &rows = std::nullopt,
                  const std::function<bool(qint64, qint64)> &progress = {});

// The message of an export that could not write its workbook.
QString xlsxFailedMessage();

} // namespace Transfer
