#include "core/transfer/XlsxExport.h"

#include "core/cards/Windows1252.h"
#include "core/editing/Money.h"
#include "core/transfer/FileFormats.h"
#include "core/transfer/Transfer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>
#include <array>
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <string>
#include <string_view>

namespace Transfer {

namespace {

// The workbook's writer writes numbers with printf, which follows LC_NUMERIC:
// under an Italian locale 1234.5 would come out as "1234,5", which no
// spreadsheet reads. The export runs with the C number format on its own
// thread.
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

// A run of ASCII digits from `i`, at most `most` of them read; their count.
int digitsAt(std::string_view s, std::size_t &i, int most, qint64 &value)
{
    value = 0;
    int n = 0;
    while (i < s.size() && n <= most && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++n;
    }
    return n;
}

// A whole number written with digits only (up to fifteen), or in Italian
// groups ("1.500", at most five groups).
std::optional<double> wholeNumber(std::string_view s)
{
    std::size_t i = 0;
    qint64 value = 0;
    const int first = digitsAt(s, i, 15, value);
    if (first == 0)
        return std::nullopt;
    if (i == s.size())
        return first <= 15 ? std::optional<double>(double(value)) : std::nullopt;
    if (first > 3)
        return std::nullopt;
    int groups = 0;
    while (i < s.size()) {
        if (s[i] != '.' || ++groups > 4)
            return std::nullopt;
        ++i;
        qint64 part = 0;
        if (digitsAt(s, i, 3, part) != 3)
            return std::nullopt;
        value = value * 1000 + part;
    }
    return double(value);
}

// A date written as dd/mm/yyyy, d/m/yy or yyyy-mm-dd.
std::optional<QDate> dateOf(std::string_view s)
{
    const auto separator = [](char c) { return c == '/' || c == '.' || c == '-'; };
    std::size_t i = 0;
    qint64 a = 0, b = 0, c = 0;
    const int na = digitsAt(s, i, 4, a);
    if (i >= s.size())
        return std::nullopt;
    const char first = s[i++];
    const int nb = digitsAt(s, i, 2, b);
    if (i >= s.size())
        return std::nullopt;
    const char second = s[i++];
    const int nc = digitsAt(s, i, 4, c);
    if (i != s.size() || nb < 1 || nb > 2)
        return std::nullopt;
    QDate d;
    if ((na == 1 || na == 2) && separator(first) && separator(second) && (nc == 2 || nc == 4)) {
        if (nc == 2)
            c += c < 70 ? 2000 : 1900;
        d = QDate(int(c), int(b), int(a));
    } else if (na == 4 && first == '-' && second == '-' && (nc == 1 || nc == 2)) {
        d = QDate(int(a), int(b), int(c));
    }
    if (!d.isValid() || d.year() < 1900)
        return std::nullopt;
    return d;
}

// Each Windows-1252 byte as UTF-8.
class Utf8Table {
public:
    Utf8Table()
    {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const char16_t u = Windows1252::decode(&byte, 1).at(0).unicode();
            Entry &e = entries_[std::size_t(b)];
            if (u < 0x80) {
                e.bytes[0] = char(u);
                e.size = 1;
            } else if (u < 0x800) {
                e.bytes[0] = char(0xC0 | (u >> 6));
                e.bytes[1] = char(0x80 | (u & 0x3F));
                e.size = 2;
            } else {
                e.bytes[0] = char(0xE0 | (u >> 12));
                e.bytes[1] = char(0x80 | ((u >> 6) & 0x3F));
                e.bytes[2] = char(0x80 | (u & 0x3F));
                e.size = 3;
            }
        }
    }
    // `bytes` as UTF-8 into `out`, which is reused from field to field.
    void convert(QByteArrayView bytes, std::string &out) const
    {
        out.clear();
        for (const char b : bytes) {
            const Entry &e = entries_[static_cast<unsigned char>(b)];
            out.append(e.bytes, e.size);
        }
    }

private:
    struct Entry {
        char bytes[3] = {};
        std::size_t size = 0;
    };
    std::array<Entry, 256> entries_;
};

const Utf8Table &utf8Table()
{
    static const Utf8Table table;
    return table;
}

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
            const int n = int(Record::bytesAt(record, layout.fields[size_t(c)]).size())
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
        const std::unique_ptr<XlsxWriter> w = fileFormats().writeXlsx(temporary.fileName(), QDir::tempPath());
        if (!w)
            throw Error(xlsxFailedMessage());
        using Style = XlsxWriter::Style;
        const Utf8Table &utf8 = utf8Table();
        std::string buffer;
        buffer.reserve(1024);
        const auto writeCard = [&](const char *record) {
            const qint64 row = written + 1;
            for (qsizetype c = 0; c < qsizetype(layout.fields.size()); ++c) {
                const QByteArrayView bytes = Record::bytesAt(record, layout.fields[size_t(c)]);
                if (bytes.isEmpty())
                    continue;
                const std::string_view view(bytes.data(), std::size_t(bytes.size()));
                const int col = int(c);
                bool cellOk = true;
                bool done = false;
                switch (kinds[c]) {
                case Kind::Money: {
                    std::optional<qint64> cents = Money::normalCents(view);
                    if (!cents)
                        cents = Money::cents(Windows1252::decode(bytes.data(), bytes.size()));
                    if (cents) {
                        cellOk = w->number(row, col, double(*cents) / 100.0, Style::Euro);
                        done = true;
                    }
                    break;
                }
                case Kind::Year:
                case Kind::Count:
                    if (const auto n = wholeNumber(view)) {
                        cellOk = w->number(row, col, *n, kinds[c] == Kind::Year ? Style::Year : Style::Count);
                        done = true;
                    }
                    break;
                case Kind::Date:
                    if (const auto d = dateOf(view)) {
                        cellOk = w->date(row, col, d->year(), d->month(), d->day(), Style::Date);
                        done = true;
                    }
                    break;
                case Kind::Text:
                    break;
                }
                if (!done) {
                    utf8.convert(bytes, buffer);
                    cellOk = w->text(row, col, buffer.c_str(), Style::Plain);
                }
                ok = ok && cellOk;
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
                ok = w->setWidth(int(c), widths[c]) && ok;
            ok = w->freezeFirstRow() && ok;
            for (qsizetype c = 0; c < qsizetype(layout.fields.size()); ++c)
                ok = w->text(0, int(c), heading(layout.fields[size_t(c)]).toUtf8().constData(), Style::Heading) && ok;
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
        ok = w->filter(written, int(layout.fields.size() - 1)) && ok;
        ok = w->close() && ok;
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
