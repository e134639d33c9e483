#include "core/transfer/CsvImport.h"

#include "core/app/Messages.h"
#include "core/app/Text.h"
#include "core/cards/Windows1252.h"
#include "core/editing/Money.h"
#include "core/editing/WrittenAmount.h"
#include "core/transfer/SheetRows.h"
#include "core/transfer/ReadAhead.h"
#include "core/transfer/Transfer.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

namespace Transfer {

namespace {

bool allEmpty(const QStringList &row)
{
    for (const QString &cell : row) {
        if (!Text::trimmed(cell).isEmpty())
            return false;
    }
    return true;
}

// A cell's text as one line: each line break becomes a blank.
QString oneLine(const QString &cell)
{
    const QStringView kept = Text::trimmed(cell);
    const bool oneLineAlready = !kept.contains(u'\n') && !kept.contains(u'\r');
    // The usual cell, with nothing to trim and on one line, stays as it is.
    if (oneLineAlready && kept.size() == cell.size())
        return cell;
    QString text = kept.toString();
    if (!oneLineAlready) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return text;
}

// How often, in rows, an import tells its progress.
constexpr qint64 kProgressEvery = 512;

// The rows of a source read on a thread of its own, a batch at a time, in
// their order, every kProgressEvery-th one (counting the rows read before
// the reader, `before`) with the source's position and size after it, for a
// progress bar. A failure of the source comes after the rows read before it.
class RowReader {
public:
    RowReader(RowSource &source, qint64 before)
        : source_(source), number_(before),
          batches_([this](std::vector<Row> &batch) { return readBatch(batch); }, 8)
    {
    }

    bool next(QStringList &row, qint64 &position, qint64 &size)
    {
        if (taken_ == batch_.size()) {
            taken_ = 0;
            if (!batches_.next(batch_))
                return false;
        }
        Row &r = batch_[taken_++];
        row = std::move(r.cells);
        position = r.position;
        size = r.size;
        return true;
    }

private:
    struct Row {
        QStringList cells;
        qint64 position = 0;
        qint64 size = 0;
    };
    static constexpr size_t kBatch = 256;

    // On the reading thread. A batch cut short by a failure is handed out
    // first; the failure follows with the next call.
    bool readBatch(std::vector<Row> &batch)
    {
        if (failure_)
            std::rethrow_exception(std::exchange(failure_, nullptr));
        batch.reserve(kBatch);
        try {
            while (!ended_ && batch.size() < kBatch) {
                Row r;
                if (!source_.next(r.cells)) {
                    ended_ = true;
                    break;
                }
                // Asking a file for its size costs a system call: only the
                // rows the progress bar is told about learn theirs.
                if (++number_ % kProgressEvery == 0) {
                    r.position = source_.position();
                    r.size = source_.size();
                }
                batch.push_back(std::move(r));
            }
        } catch (...) {
            if (batch.empty())
                throw;
            failure_ = std::current_exception();
        }
        return !batch.empty();
    }

    RowSource &source_;
    // The reading thread's own.
    qint64 number_;
    bool ended_ = false;
    std::exception_ptr failure_;
    // The caller's: the batch being handed out.
    std::vector<Row> batch_;
    size_t taken_ = 0;
    ReadAhead<std::vector<Row>> batches_; // last: its thread starts once the rest is ready
};

void note(QList<ImportReport::Cell> &list, qint64 &count, qint64 row, const QString &column,
          const QString &text)
{
    ++count;
    if (list.size() < ImportReport::kListed)
        list.append({row, column, text});
}

} // namespace

QString readAsWindows1252Message()
{
    return QStringLiteral("Il file non è scritto tutto in UTF-8: è stato letto per intero come "
                          "testo Windows-1252. Controllare nelle schede importate le lettere "
                          "accentate.");
}

QString headingOnlyMessage()
{
    return QStringLiteral("Attenzione: il file scelto contiene soltanto la riga di intestazione. "
                          "Non è stata importata nessuna scheda.");
}

QString raggedRowMessage(qint64 row, qsizetype cells, qsizetype headings)
{
    return Messages::raggedRow(QString::number(row), QString::number(cells), QString::number(headings));
}

QString nothingMappedMessage()
{
    return QStringLiteral("Attenzione: nessuna colonna del file è associata a un campo della "
                          "scheda. Indicare almeno un campo da riempire.");
}

Mapping proposeMapping(const RecordLayout &layout, const QStringList &headings)
{
    Mapping mapping;
    QList<bool> taken(qsizetype(layout.fields.size()), false);
    for (const QString &h : headings) {
        const int field = fieldForHeading(layout, h);
        if (field >= 0 && !taken[field]) {
            taken[field] = true;
            mapping.append(field);
        } else {
            mapping.append(-1);
        }
    }
    return mapping;
}

Converted convert(const FieldDef &field, const QString &cell)
{
    Converted c;
    QString text = oneLine(cell);
    switch (field.role) {
    case FieldRole::Money:
        text = Money::fromWritten(text); // "€ 1.234,50" and the like, as the money field reads them
        c.unreadable = !Money::readable(text);
        c.text = Money::normalise(text);
        // An amount whose whole units do not fit the field cannot be stored:
        // cut, it would read as an amount ten or more times smaller.
        if (c.text.indexOf(QLatin1Char(',')) > field.capacity) {
            c.unreadable = true;
            c.text = Money::zero();
        }
        break;
    case FieldRole::ForSale: {
        const QString key = matchKey(text);
        static const QStringList yes{QStringLiteral("si"), QStringLiteral("yes"), QStringLiteral("true"),
                                     QStringLiteral("1"), QStringLiteral("x")};
        static const QStringList no{QString(), QStringLiteral("no"), QStringLiteral("false"),
                                    QStringLiteral("0")};
        if (yes.contains(key))
            c.text = yesText();
        else {
            c.unreadable = !no.contains(key);
            c.text = noText();
        }
        return c;
    }
    case FieldRole::Text:
    case FieldRole::Attachment:
        c.text = text;
        break;
    }
    if (c.text.size() > field.capacity) {
        c.cut = true;
        c.text = Text::trim(c.text.left(field.capacity));
    }
    c.replaced = Windows1252::describe(Windows1252::replacements(c.text));
    return c;
}

static Preview previewAs(const QString &path, int rows, int sheet, bool windows1252)
{
    std::unique_ptr<RowSource> source = openRows(path, sheet, windows1252);
    Preview p;
    if (source->encoding() == QLatin1String("ODS") || source->encoding() == QLatin1String("XLSX"))
        p.sheets = sheetNames(path);
    p.sheet = sheet;
    p.encoding = source->encoding();
    p.separator = source->separator();
    QStringList row;
    if (!source->next(row))
        throw Error(emptyFileMessage());
    p.headings = row;
    qint64 number = 1;
    while (source->next(row)) {
        ++number;
        if (allEmpty(row))
            continue;
        if (row.size() != p.headings.size())
            throw Error(raggedRowMessage(number, row.size(), p.headings.size()));
        if (p.rows.size() == rows) {
            p.moreRows = true;
            break;
        }
        p.rows.append(row);
        p.rowNumbers.append(number);
    }
    if (p.rows.isEmpty())
        throw Error(headingOnlyMessage());
    return p;
}

PresentCards::PresentCards(const CardStore &store)
{
    const RecordLayout &layout = store.layout();
    Record card(layout);
    const FieldDef *code = layout.field("CodiceSet") ? layout.field("CodiceSet") : layout.field("CodiceID");
    const FieldDef *name = layout.field("NomeSet") ? layout.field("NomeSet") : layout.field("NomeProgetto");
    if (!code || !name || !QFileInfo::exists(store.path()))
        return;
    try {
        store.scan([&](const char *record, qint64) {
            keys_.insert(matchKey(Record::textAt(record, *code)) + QChar(0x1F)
                         + matchKey(Record::textAt(record, *name)));
        });
    } catch (const CardStore::Failure &e) {
        throw Error(QString::fromUtf8(e.what()));
    }
}

QString PresentCards::key(const RecordLayout &layout, const Record &card)
{
    const FieldDef *code = layout.field("CodiceSet") ? layout.field("CodiceSet") : layout.field("CodiceID");
    const FieldDef *name = layout.field("NomeSet") ? layout.field("NomeSet") : layout.field("NomeProgetto");
    if (!code || !name)
        return QString();
    return matchKey(card.text(*code)) + QChar(0x1F) + matchKey(card.text(*name));
}

bool PresentCards::contains(const Record &card) const
{
    return !keys_.isEmpty() && keys_.contains(key(card.layout(), card));
}

Record cardFromRow(const RecordLayout &layout, const Mapping &mapping, const QStringList &row)
{
    Record card(layout);
    card.setText(layout.money(), Money::zero());
    card.setText(layout.forSale(), noText());
    for (qsizetype col = 0; col < row.size() && col < mapping.size(); ++col) {
        if (mapping.at(col) >= 0) {
            const FieldDef &field = layout.fields[size_t(mapping.at(col))];
            card.setText(field, convert(field, row.at(col)).text);
        }
    }
    return card;
}

ImportReport importFile(const QString &path, const Mapping &mapping, const CardStore &store,
                        const std::function<bool(qint64, qint64)> &progress)
{
    return importFile(path, mapping, store, ImportOptions(), progress);
}

static ImportReport importAs(const QString &path, const Mapping &mapping, const CardStore &store,
                             const ImportOptions &options,
                             const std::function<bool(qint64, qint64)> &progress, bool windows1252)
{
    const RecordLayout &layout = store.layout();
    std::optional<PresentCards> present;
    if (options.skipPresent)
        present.emplace(store);
    std::unique_ptr<RowSource> source = openRows(path, options.sheet, windows1252);
    QStringList headings;
    if (!source->next(headings))
        throw Error(emptyFileMessage());

    // What a new card holds before any cell is stored: as the editor
    // clears itself for a new card.
    Record blank(layout);
    blank.setText(layout.money(), Money::zero());
    blank.setText(layout.forSale(), noText());

    ImportReport report;
    report.readAsWindows1252 = windows1252;
    try {
        RowReader rows(*source, 1);
        store.appendAll([&](const std::function<void(const Record &)> &put) {
            QStringList row;
            Record card(layout);
            qint64 number = 1;
            qint64 position = 0;
            qint64 size = 0;
            while (rows.next(row, position, size)) {
                ++number;
                if (progress && (number % kProgressEvery) == 0 && !progress(position, size))
                    throw Cancelled{};
                if (allEmpty(row))
                    continue;
                if (row.size() != headings.size())
                    throw Error(raggedRowMessage(number, row.size(), headings.size()));
                // Into the card's own bytes: no new buffer for every row.
                std::copy_n(blank.bytes().constData(), blank.bytes().size(), card.bytes().data());
                if (const auto fixed = options.corrections.constFind(number); fixed != options.corrections.cend()) {
                    for (auto c = fixed->cbegin(); c != fixed->cend(); ++c)
                        if (c.key() >= 0 && c.key() < row.size())
                            row[c.key()] = c.value();
                }
                for (qsizetype col = 0; col < row.size() && col < mapping.size(); ++col) {
                    const int f = mapping.at(col);
                    if (f < 0)
                        continue;
                    const FieldDef &field = layout.fields[size_t(f)];
                    const Converted c = convert(field, row.at(col));
                    if (c.cut)
                        note(report.cut, report.cutCount, number, headings.value(col), row.at(col));
                    if (c.unreadable)
                        note(report.unreadable, report.unreadableCount, number, headings.value(col),
                             row.at(col));
                    if (!c.replaced.isEmpty())
                        note(report.replaced, report.replacedCount, number, headings.value(col),
                             c.replaced);
                    card.setText(field, c.text);
                }
                if (present && present->contains(card)) {
                    ++report.skipped;
                    continue;
                }
                put(card);
                ++report.imported;
            }
            if (report.imported == 0 && report.skipped == 0)
                throw Error(headingOnlyMessage());
        });
    } catch (const CardStore::Failure &e) {
        throw Error(QString::fromUtf8(e.what()));
    }
    // The reading thread has ended with the last row: the source is the
    // caller's again.
    if (progress)
        progress(source->size(), source->size());
    return report;
}

Preview preview(const QString &path, int rows, int sheet)
{
    try {
        return previewAs(path, rows, sheet, false);
    } catch (const NotUtf8 &) {
        return previewAs(path, rows, sheet, true);
    }
}

ImportReport importFile(const QString &path, const Mapping &mapping, const CardStore &store,
                        const ImportOptions &options,
                        const std::function<bool(qint64, qint64)> &progress)
{
    bool anything = false;
    for (const int f : mapping)
        anything = anything || f >= 0;
    if (!anything)
        throw Error(nothingMappedMessage());
    // A file that turns out not to be UTF-8 after its first block is read
    // again, whole, as Windows-1252: nothing of the first reading is kept.
    try {
        return importAs(path, mapping, store, options, progress, false);
    } catch (const NotUtf8 &) {
        return importAs(path, mapping, store, options, progress, true);
    }
}

QString reportText(const ImportReport &report)
{
    QString text = report.imported == 1 ? Messages::oneCardImported()
                                        : Messages::cardsImported(QString::number(report.imported));
    const auto list = [&](QString (*title)(const QString &), const QList<ImportReport::Cell> &cells,
                          qint64 count) {
        if (count == 0)
            return;
        text += QStringLiteral("\r\n\r\n") + title(QString::number(count));
        for (const ImportReport::Cell &c : cells)
            text += QStringLiteral("\r\n")
                    + Messages::reportCell(QString::number(c.row), c.column, Text::trim(c.text).left(60));
        if (count > cells.size())
            text += QStringLiteral("\r\n- e altre %1.").arg(count - cells.size());
    };
    if (report.readAsWindows1252)
        text += QStringLiteral("\r\n\r\n") + readAsWindows1252Message();
    if (report.skipped > 0)
        text += QStringLiteral("\r\n\r\n") + Messages::skippedCards(QString::number(report.skipped));
    list(&Messages::cutCells, report.cut, report.cutCount);
    list(&Messages::unreadableValues, report.unreadable, report.unreadableCount);
    list(&Messages::replacedInImport, report.replaced, report.replacedCount);
    return text;
}

} // namespace Transfer
