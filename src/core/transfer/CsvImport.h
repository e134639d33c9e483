#pragma once
// Cards in from a CSV file or the program's own spreadsheet export. Every
// cell is stored as the card editor would store what was typed into its
// field: trimmed, line breaks as blanks, cut to the field's capacity, the
// amount normalised as the money field does, the for-sale flag read from
// "Sì", "si", "yes", "true", "1", "x" (yes) or "No", "no", "false", "0" or an
// empty cell (no). The cards are appended in one step: a failure or a cancel
// half-way leaves the record file as it was.

#include "core/cards/CardStore.h"
#include "core/transfer/Rows.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace Transfer {

// For each column of the file, the index of the layout field it fills, or -1.
using Mapping = QList<int>;

// The mapping proposed from the heading row: each heading that names a field
// by its caption or field name (case and accents aside) fills it; a field is
// filled by its first column only.
Mapping proposeMapping(const RecordLayout &layout, const QStringList &headings);

// One cell made ready for its field.
struct Converted {
    QString text;           // what is stored
    bool cut = false;       // longer than the field: the end is lost
    bool unreadable = false; // an amount or a yes/no that could not be read
    QString replaced;       // characters stored as others: "ő → o, Ω → ?"
};
Converted convert(const FieldDef &field, const QString &cell);

// The first rows of a file, for the preview.
struct Preview {
    QStringList headings;
    QList<QStringList> rows;
    QString encoding;
    QChar separator;
    bool moreRows = false;
    QList<qint64> rowNumbers; // each row's number in the file, the heading row being 1
    QStringList sheets;       // a spreadsheet's sheets (empty for a CSV file)
    int sheet = 0;            // the sheet shown
};
// Throws Transfer::Error for an empty file, a file with only a heading row,
// ragged rows among those read, or a file that is no CSV.
Preview preview(const QString &path, int rows = 20, int sheet = 0);

// The cards of a catalogue by their identity: set code and name for sets,
// code ID and project name for MOCs (case, accents and blanks aside).
class PresentCards {
public:
    explicit PresentCards(const CardStore &store);
    bool contains(const Record &card) const;
    static QString key(const RecordLayout &layout, const Record &card);

private:
    QSet<QString> keys_;
};

// The card a row of the file gives under `mapping`, as the import stores it.
Record cardFromRow(const RecordLayout &layout, const Mapping &mapping, const QStringList &row);

struct ImportOptions {
    int sheet = 0;            // the sheet of a spreadsheet
    bool skipPresent = false; // leave out the cards already in the catalogue
    // Cells corrected in the preview: file row number -> column -> text.
    QHash<qint64, QHash<int, QString>> corrections;
};

struct ImportReport {
    qint64 imported = 0;
    struct Cell {
        qint64 row;     // the row of the file, the heading row being 1
        QString column; // its heading
        QString text;   // the cell as read
    };
    QList<Cell> cut;        // cells cut to their field's capacity
    QList<Cell> unreadable; // amounts and yes/no cells that could not be read
    QList<Cell> replaced;   // cells with characters stored as others, the text
                            // being the list of replacements
    qint64 cutCount = 0;
    qint64 unreadableCount = 0;
    qint64 replacedCount = 0;
    bool readAsWindows1252 = false; // taken for UTF-8 at first, it was not
    qint64 skipped = 0; // cards already in the catalogue, left out
    static constexpr int kListed = 200; // cells kept in each list
};

// Appends every row of the file after the heading row to `store`. Rows whose
// cells are all empty are skipped. Throws Transfer::Error (nothing appended)
// for bad input or a failing record file, Transfer::Cancelled when
// `progress` (bytes read, file size) returns false. The file is read on a
// thread of its own while the rows read before are converted and written;
// `progress` is called on the caller's thread.
ImportReport importFile(const QString &path, const Mapping &mapping, const CardStore &store,
                        const std::function<bool(qint64, qint64)> &progress = {});
ImportReport importFile(const QString &path, const Mapping &mapping, const CardStore &store,
                        const ImportOptions &options,
                        const std::function<bool(qint64, qint64)> &progress = {});

// The report shown at the end of an import.
QString reportText(const ImportReport &report);

QString headingOnlyMessage();
QString readAsWindows1252Message();
QString raggedRowMessage(qint64 row, qsizetype cells, qsizetype headings);
QString nothingMappedMessage();

} // namespace Transfer
