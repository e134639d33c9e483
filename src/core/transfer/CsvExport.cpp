#include "core/transfer/CsvExport.h"

#include "core/cards/Windows1252.h"
#include "core/output/Spreadsheet.h"
#include "core/platform/AtomicFile.h"
#include "core/transfer/Transfer.h"

#include <QHash>
#include <csv.h>

namespace Transfer {

namespace {

class CsvOut {
public:
    explicit CsvOut(platform::AtomicFile &file) : file_(file) { buffer_.reserve(kFlushAt + 4096); }

    void cell(const QString &text)
    {
        if (!first_)
            buffer_ += ',';
        first_ = false;
        QByteArray utf8 = text.toUtf8();
        // Quoted always; a quote alone does not keep a spreadsheet from
        // reading "=..." as a formula, the guard before it does.
        if (Spreadsheet::readAsFormula(utf8))
            utf8.prepend(Spreadsheet::kTextGuardUtf8);
        const size_t need = csv_write(nullptr, 0, utf8.constData(), size_t(utf8.size()));
        const qsizetype at = buffer_.size();
        buffer_.resize(at + qsizetype(need));
        csv_write(buffer_.data() + at, need, utf8.constData(), size_t(utf8.size()));
    }
    void endRow()
    {
        buffer_ += "\r\n";
        first_ = true;
        if (buffer_.size() >= kFlushAt)
            flush();
    }
    void raw(QByteArrayView bytes) { buffer_ += bytes; }
    bool flush()
    {
        ok_ = ok_ && file_.write(buffer_);
        buffer_.clear();
        return ok_;
    }

private:
    static constexpr qsizetype kFlushAt = 1 << 20;
    platform::AtomicFile &file_;
    QByteArray buffer_;
    bool first_ = true;
    bool ok_ = true;
};

} // namespace

QString exportFailedMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di scrivere il file CSV.\r\n\r\n"
                          "Accertarsi che il file non sia già aperto in un altro programma e che "
                          "la cartella scelta consenta la scrittura.");
}

qint64 exportCsv(const CardStore &store, const QString &path,
                 const std::optional<QList<qint64>> &rows,
                 const std::function<bool(qint64, qint64)> &progress)
{
    const RecordLayout &layout = store.layout();
    platform::AtomicFile file(path);
    if (!file.open())
        throw Error(exportFailedMessage());
    CsvOut out(file);
    out.raw("\xEF\xBB\xBF");
    for (const FieldDef &f : layout.fields)
        out.cell(heading(f));
    out.endRow();

    auto writeCard = [&](const char *record) {
        for (const FieldDef &f : layout.fields)
            out.cell(Record::textAt(record, f));
        out.endRow();
    };

    qint64 written = 0;
    bool cancelled = false;
    try {
        if (!rows) {
            qint64 total = 0;
            store.scan(
                [&](const char *record, qint64 index) {
                    if (cancelled)
                        return;
                    writeCard(record);
                    ++written;
                    if (progress && (index % 1024) == 0 && !progress(index, total))
                        cancelled = true;
                },
                [&](qint64 count) { total = count; });
        } else {
            // The chosen cards, in the order given: read in one pass, each
            // kept until it is its turn only if it comes early.
            QHash<qint64, QList<qsizetype>> wanted;
            for (qsizetype i = 0; i < rows->size(); ++i)
                wanted[rows->at(i)].append(i);
            QList<QByteArray> picked(rows->size());
            store.scan([&](const char *record, qint64 index) {
                const auto it = wanted.constFind(index);
                if (it == wanted.cend())
                    return;
                for (const qsizetype slot : *it)
                    picked[slot] = QByteArray(record, layout.size);
            });
            for (const QByteArray &record : picked) {
                if (record.isEmpty())
                    continue;
                writeCard(record.constData());
                ++written;
            }
        }
    } catch (const CardStore::Failure &e) {
        file.discard();
        throw Error(QString::fromUtf8(e.what()));
    }
    if (cancelled) {
        file.discard();
        throw Cancelled{};
    }
    if (!out.flush() || !file.commit())
        throw Error(exportFailedMessage());
    return written;
}

} // namespace Transfer
