#include "core/transfer/XlsxExport.h"

#include "core/editing/Money.h"
#include "core/transfer/Transfer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <xlsxwriter.h>

namespace Transfer {

namespace {

// libxlsxwriter writes numbers with printf, which follows LC_NUMERIC: under an
// Italian locale 1234.5 would come out as "1234,5", which no spreadsheet
// reads. The export runs with the C number format on its own thread.
class CNumbers {
public:
    CNumbers() : c_(newlocale(LC_NUMERIC_MASK, "C", duplocale(LC_GLOBAL_LOCALE))), old_(c_ ? uselocale(c_) : nullptr) {}
    ~CNumbers()
    {
        if (c_) {
            uselocale(old_);
            freelocale(c_);
        }
    }
    CNumbers(const CNumbers &) = delete;
    CNumbers &operator=(const CNumbers &) = delete;

private:
    locale_t c_;
    locale_t old_;
};

enum class Kind { Text, Money, Year, Count, Date };

// The cards of a whole file whose texts set the column widths.
constexpr qint64 kMeasured = 2000;

Kind kindOf(const RecordLayout &layout, const FieldDef &f)
{
    if (&f == &layout.money())
        return Kind::Money;
    const std::string_view name = f.name;
    if (name == "AnnoUscita")
        return Kind::Year;
    if (name == "NumeroPezzi")
        return Kind::Count;
    if (name == "DataAcquisto")
        return Kind::Date;
    return Kind::Text;
}

// A whole number written with digits only, or in Italian groups ("1.500").
std::optional<double> wholeNumber(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9]{1,15}$"));
    static const QRegularExpression grouped(QStringLiteral("^[0-9]{1,3}(\\.[0-9]{3}){1,4}$"));
    if (!plain.match(text).hasMatch() && !grouped.match(text).hasMatch())
        return std::nullopt;
    QString digits = text;
    digits.remove(QLatin1Char('.'));
    return digits.toDouble();
}

// A date written as dd/mm/yyyy, d/m/yy or yyyy-mm-dd.
std::optional<QDate> dateOf(const QString &text)
{
    static const QRegularExpression dmy(QStringLiteral("^([0-9]{1,2})[/.-]([0-9]{1,2})[/.-]([0-9]{2}|[0-9]{4})$"));
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    QDate d;
    if (const auto m = dmy.match(text); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += year < 70 ? 2000 : 1900;
        d = QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
    } else if (const auto i = iso.match(text); i.hasMatch()) {
        d = QDate(i.captured(1).toInt(), i.captured(2).toInt(), i.captured(3).toInt());
    }
    if (!d.isValid() || d.year() < 1900)
        return std::nullopt;
    return d;
}

class Workbook {
public:
    explicit Workbook(const QString &file)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        tmpdir_ = QFile::encodeName(QDir::tempPath());
        options.tmpdir = tmpdir_.data();
        const QByteArray name = QFile::encodeName(file);
        book = workbook_new_opt(name.constData(), &options);
        if (!book)
            throw Error(xlsxFailedMessage());
        sheet = workbook_add_worksheet(book, "Schede");
        heading = workbook_add_format(book);
        format_set_bold(heading);
        format_set_bg_color(heading, 0xDDDDDD);
        format_set_border(heading, LXW_BORDER_THIN);
        euro = workbook_add_format(book);
        format_set_num_format(euro, "#,##0.00\\ [$\xE2\x82\xAC-410];\\-#,##0.00\\ [$\xE2\x82\xAC-410]");
        year = workbook_add_format(book);
        format_set_num_format(year, "0");
        count = workbook_add_format(book);
        format_set_num_format(count, "#,##0");
        date = workbook_add_format(book);
        format_set_num_format(date, "dd/mm/yyyy");
    }
    ~Workbook()
    {
        if (book)
            workbook_close(book); // an abandoned workbook: its file is discarded
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;
    bool close()
    {
        const lxw_error e = workbook_close(book);
        book = nullptr;
        return e == LXW_NO_ERROR;
    }

    lxw_workbook *book = nullptr;
    lxw_worksheet *sheet = nullptr;
    lxw_format *heading = nullptr;
    lxw_format *euro = nullptr;
    lxw_format *year = nullptr;
    lxw_format *count = nullptr;
    lxw_format *date = nullptr;

private:
    QByteArray tmpdir_;
};

} // namespace

QString xlsxFailedMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di scrivere il file Excel.\r\n\r\n"
                          "Accertarsi che il file non sia già aperto in un altro programma e che "
                          "la cartella scelta consenta la scrittura.");
}

qint64 exportXlsx(const CardStore &store, const QString &path,
                  const std::optional<QList<qint64>> &rows,
                  const std::function<bool(qint64, qint64)> &progress)
{
    const RecordLayout &layout = store.layout();
    QList<Kind> kinds;
    QList<int> widths;
    for (const FieldDef &f : layout.fields) {
        kinds.append(kindOf(layout, f));
        widths.append(int(heading(f).size()) + 3); // room for the filter button
    }

    // The cards to write: all of them in file order, or the chosen ones.
    QHash<qint64, QList<qsizetype>> wanted;
    if (rows) {
        for (qsizetype i = 0; i < rows->size(); ++i)
            wanted[rows->at(i)].append(i);
    }
    QList<QByteArray> picked(rows ? rows->size() : 0);
    const auto measure = [&](const char *record) {
        for (qsizetype c = 0; c < qsizetype(layout.fields.size()); ++c) {
            const int n = int(Record::textAt(record, layout.fields[size_t(c)]).size())
                          + (kinds[c] == Kind::Money ? 6 : 1);
            widths[c] = std::max(widths[c], std::min(n, 60));
        }
    };

    // Written beside the target and put in its place once complete.
    QTemporaryFile temporary(QFileInfo(path).absoluteDir().filePath(QStringLiteral(".vetrinora-XXXXXX.xlsx")));
    if (!temporary.open())
        throw Error(xlsxFailedMessage());
    temporary.close();

    qint64 written = 0;
    bool cancelled = false;
    bool ok = true;
    {
        const CNumbers numbers;
        Workbook w(temporary.fileName());
        lxw_worksheet *ws = w.sheet;
        const auto writeCard = [&](const char *record) {
            const lxw_row_t row = lxw_row_t(written + 1);
            for (qsizetype c = 0; c < qsizetype(layout.fields.size()); ++c) {
                const QString text = Record::textAt(record, layout.fields[size_t(c)]);
                if (text.isEmpty())
                    continue;
                const lxw_col_t col = lxw_col_t(c);
                lxw_error e = LXW_NO_ERROR;
                bool done = false;
                switch (kinds[c]) {
                case Kind::Money:
                    if (const auto cents = Money::cents(text)) {
                        e = worksheet_write_number(ws, row, col, double(*cents) / 100.0, w.euro);
                        done = true;
                    }
                    break;
                case Kind::Year:
                case Kind::Count:
                    if (const auto n = wholeNumber(text)) {
                        e = worksheet_write_number(ws, row, col, *n, kinds[c] == Kind::Year ? w.year : w.count);
                        done = true;
                    }
                    break;
                case Kind::Date:
                    if (const auto d = dateOf(text)) {
                        lxw_datetime when{d->year(), d->month(), d->day(), 0, 0, 0};
                        e = worksheet_write_datetime(ws, row, col, &when, w.date);
                        done = true;
                    }
                    break;
                case Kind::Text:
                    break;
                }
                if (!done)
                    e = worksheet_write_string(ws, row, col, text.toUtf8().constData(), nullptr);
                ok = ok && e == LXW_NO_ERROR;
            }
            ++written;
        };
        try {
            // First the widths, which go before the rows: from the chosen cards,
            // or from the first cards of the whole file, enough to show what its
            // columns hold.
            if (!rows) {
                const qint64 sample = std::min<qint64>(store.count(), kMeasured);
                if (sample > 0) {
                    const QByteArray first = store.readRange(0, sample);
                    for (qint64 i = 0; i + 1 <= first.size() / layout.size; ++i)
                        measure(first.constData() + i * layout.size);
                }
            } else {
                store.scan([&](const char *record, qint64 index) {
                    const auto it = wanted.constFind(index);
                    if (it == wanted.cend())
                        return;
                    measure(record);
                    for (const qsizetype slot : *it)
                        picked[slot] = QByteArray(record, layout.size);
                });
            }
            for (qsizetype c = 0; c < widths.size(); ++c)
                worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
            worksheet_freeze_panes(ws, 1, 0);
            for (qsizetype c = 0; c < qsizetype(layout.fields.size()); ++c)
                worksheet_write_string(ws, 0, lxw_col_t(c), heading(layout.fields[size_t(c)]).toUtf8().constData(), w.heading);
            if (!rows) {
                qint64 total = 0;
                store.scan(
                    [&](const char *record, qint64 index) {
                        if (cancelled)
                            return;
                        writeCard(record);
                        if (progress && (index % 1024) == 0 && !progress(index, total))
                            cancelled = true;
                    },
                    [&](qint64 n) { total = n; });
            } else {
                for (const QByteArray &record : picked) {
                    if (!record.isEmpty())
                        writeCard(record.constData());
                }
            }
        } catch (const CardStore::Failure &e) {
            throw Error(QString::fromUtf8(e.what()));
        }
        if (cancelled)
            throw Cancelled{};
        worksheet_autofilter(ws, 0, 0, lxw_row_t(written), lxw_col_t(layout.fields.size() - 1));
        ok = w.close() && ok;
    }
    if (!ok)
        throw Error(xlsxFailedMessage());
    // The finished workbook takes the target's place in one step.
    const QByteArray from = QFile::encodeName(temporary.fileName());
    const QByteArray to = QFile::encodeName(path);
#ifdef Q_OS_WIN
    QFile::remove(path);
#endif
    if (std::rename(from.constData(), to.constData()) != 0)
        throw Error(xlsxFailedMessage());
    temporary.setAutoRemove(false);
    return written;
}

} // namespace Transfer
