#include "ui/collection/TfrmStatistiche.h"

#include "core/app/HelpTopics.h"
#include "core/app/ProgramFolder.h"
#include "core/cards/CardStore.h"
#include "core/collection/CollectionModel.h"
#include "ui/base/HelpWindows.h"
#include "ui/base/Widgets.h"
#include "ui/platform/Modules.h"
#include "ui/platform/Platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <memory>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

// How many bars a chart draws at most; its table lists every group.
constexpr int kChartBars = 20;
// The picture: two charts a row, each this size.
constexpr int kPictureChartWidth = 800;
constexpr int kPictureChartHeight = 450;
constexpr int kPictureHeading = 70;

QString number(qint64 n) { return QLocale(QLocale::Italian, QLocale::Italy).toString(n); }

QString cards(qint64 n)
{
    return n == 1 ? QStringLiteral("1 scheda") : QStringLiteral("%1 schede").arg(number(n));
}

QString settingsPath() { return ProgramFolder::file(QStringLiteral("Collezione.ini")); }

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

// Fonts of the printed pages are sized in pixels of 1/96 inch, so that the
// painter's scale alone brings them to the printer's resolution.
int pixels(double points) { return int(points * 96 / 72 + 0.5); }

double euros(qint64 cents) { return double(cents) / 100.0; }

// The rows of a table of groups: name, cards, value, unreadable amounts.
QList<QStringList> groupRows(const QList<Statistics::Group> &groups)
{
    QList<QStringList> rows;
    for (const Statistics::Group &g : groups)
        rows << QStringList{g.name, number(g.cards), moneyText(g.cents), number(g.unreadable)};
    return rows;
}

// The page layout of the printed and saved statistics.
QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

// The printable area of the page in 1/96 inch.
QSizeF a4Area()
{
    const QRectF inches = a4().paintRect(QPageLayout::Inch);
    return {inches.width() * 96, inches.height() * 96};
}

} // namespace

TfrmStatistiche::TfrmStatistiche(const Statistics::Figures &figures, const QString &what,
                                 const QString &filter, QWidget *parent)
    : QWidget(parent, Qt::Window), figures_(figures), what_(what), filter_(filter), charts_(chartMaker())
{
    setObjectName(QStringLiteral("frmStatistiche"));
    setWindowTitle(QStringLiteral(" Vetrinora - Statistiche"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    lblTitolo = new QLabel(this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(verdana(12));
    lblTitolo->setText(filter_.isEmpty()
                           ? QStringLiteral("Statistiche: %1").arg(what_)
                           : QStringLiteral("Statistiche: %1, schede filtrate per «%2»").arg(what_, filter_));
    lblTitolo->setWordWrap(true);
    lblRiepilogo = new QLabel(this);
    lblRiepilogo->setObjectName(QStringLiteral("lblRiepilogo"));
    lblRiepilogo->setWordWrap(true);
    lblRiepilogo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    {
        const Statistics::Figures &f = figures_;
        QStringList s;
        s << QStringLiteral("%1 (%2 set, %3 MOC).").arg(cards(f.cards), number(f.sets), number(f.mocs));
        s << QStringLiteral("Valore: %1.").arg(moneyText(f.cents));
        s << QStringLiteral("In vendita: %1 per %2.").arg(cards(f.forSale), moneyText(f.forSaleCents));
        s << QStringLiteral("Pezzi in totale: %1.").arg(number(f.pieces));
        if (f.unreadable > 0)
            s << QStringLiteral("Importi non leggibili, non sommati: %1.").arg(cards(f.unreadable));
        if (f.piecesUnreadable > 0)
            s << QStringLiteral("Numero pezzi non leggibile: %1.").arg(cards(f.piecesUnreadable));
        if (f.overflow)
            s << QStringLiteral("Le somme superano quanto il programma può contare: i totali non sono "
                                "affidabili.");
        lblRiepilogo->setText(s.join(QLatin1Char(' ')));
    }
    layout->addWidget(lblTitolo);
    layout->addWidget(lblRiepilogo);

    tabGrafici = new QTabWidget(this);
    tabGrafici->setObjectName(QStringLiteral("tabGrafici"));
    layout->addWidget(tabGrafici, 1);

    const Statistics::Figures &f = figures_;
    const QStringList groupHeadings = {QString(), QStringLiteral("Schede"), QStringLiteral("Valore"),
                                       QStringLiteral("Importi non leggibili")};
    const auto headings = [&](const QString &first, const QString &cardsWord) {
        QStringList h = groupHeadings;
        h[0] = first;
        h[1] = cardsWord;
        return h;
    };
    const auto bars = [&](const QList<Statistics::Group> &groups, bool byValue, int limit) {
        QStringList labels;
        QList<double> values;
        for (int i = 0; i < groups.size() && (limit <= 0 || i < limit); ++i) {
            labels << groups.at(i).name;
            values << (byValue ? euros(groups.at(i).cents) : double(groups.at(i).cards));
        }
        return std::pair{labels, values};
    };
    const auto subject = [](const QString &tab, const QString &title) {
        Subject s;
        s.tab = tab;
        s.title = title;
        return s;
    };
    const auto limitNote = [](qsizetype count) {
        return count > kChartBars
                   ? QStringLiteral("Il grafico mostra i primi %1 su %2; la tabella li elenca tutti.")
                         .arg(kChartBars)
                         .arg(count)
                   : QString();
    };

    {
        Subject s = subject(QStringLiteral("Per tema"), QStringLiteral("Valore per tema"));
        std::tie(s.labels, s.values) = bars(f.byTheme, true, kChartBars);
        s.unit = QStringLiteral("€");
        s.note = limitNote(f.byTheme.size());
        tblTema = addSubject(s, "tblTema", headings(QStringLiteral("Tema"), QStringLiteral("Schede")),
                             groupRows(f.byTheme));
    }
    {
        Subject s = subject(QStringLiteral("Per anno di uscita"), QStringLiteral("Valore dei set per anno di uscita"));
        std::tie(s.labels, s.values) = bars(f.byReleaseYear, true, 0);
        s.unit = QStringLiteral("€");
        if (f.noReleaseYear > 0)
            s.note = QStringLiteral("Set senza un anno di uscita di quattro cifre, non contati qui: %1.")
                         .arg(number(f.noReleaseYear));
        tblAnnoUscita = addSubject(s, "tblAnnoUscita", headings(QStringLiteral("Anno di uscita"), QStringLiteral("Set")),
                                   groupRows(f.byReleaseYear));
    }
    {
        Subject s = subject(QStringLiteral("Per anno di acquisto"), QStringLiteral("Valore dei set per anno di acquisto"));
        std::tie(s.labels, s.values) = bars(f.byPurchaseYear, true, 0);
        s.unit = QStringLiteral("€");
        if (f.noPurchaseDate > 0)
            s.note = QStringLiteral("Set la cui data di acquisto non si legge come una data, non contati "
                                    "qui: %1.")
                         .arg(number(f.noPurchaseDate));
        tblAnnoAcquisto = addSubject(s, "tblAnnoAcquisto",
                                     headings(QStringLiteral("Anno di acquisto"), QStringLiteral("Set")),
                                     groupRows(f.byPurchaseYear));
    }
    {
        Subject s = subject(QStringLiteral("In vendita"), QStringLiteral("Parte del valore in vendita"));
        s.kind = Kind::Pie;
        s.unit = QStringLiteral("€");
        s.labels = QStringList{QStringLiteral("In vendita"), QStringLiteral("Non in vendita")};
        s.values = QList<double>{euros(f.forSaleCents), euros(f.cents - f.forSaleCents)};
        const qint64 notUnreadable = f.unreadable - f.forSaleUnreadable;
        const QList<QStringList> rows = {
            {QStringLiteral("In vendita"), number(f.forSale), moneyText(f.forSaleCents), number(f.forSaleUnreadable)},
            {QStringLiteral("Non in vendita"), number(f.cards - f.forSale), moneyText(f.cents - f.forSaleCents),
             number(notUnreadable)},
            {QStringLiteral("Totale"), number(f.cards), moneyText(f.cents), number(f.unreadable)},
        };
        tblInVendita = addSubject(s, "tblInVendita", headings(QString(), QStringLiteral("Schede")), rows);
    }
    {
        Subject s = subject(QStringLiteral("Le dieci più preziose"), QStringLiteral("Le dieci schede di maggior valore"));
        s.kind = Kind::SideBars;
        s.unit = QStringLiteral("€");
        QList<QStringList> rows;
        for (int i = 0; i < f.mostValuable.size(); ++i) {
            const Statistics::Card &c = f.mostValuable.at(i);
            s.labels << QStringLiteral("%1. %2").arg(i + 1).arg(c.name);
            s.values << euros(c.cents);
            rows << QStringList{QString::number(i + 1), c.name, c.file, QString::number(c.position),
                                moneyText(c.cents)};
        }
        tblPiuPreziose = addSubject(s, "tblPiuPreziose",
                                    {QStringLiteral("N."), QStringLiteral("Nome"), QStringLiteral("Catalogo"),
                                     QStringLiteral("Scheda"), QStringLiteral("Valore")},
                                    rows);
    }
    {
        Subject s = subject(QStringLiteral("MOC per designer"), QStringLiteral("Numero di MOC per designer"));
        std::tie(s.labels, s.values) = bars(f.byDesigner, false, kChartBars);
        s.unit = QStringLiteral("MOC");
        s.note = limitNote(f.byDesigner.size());
        QStringList h = headings(QStringLiteral("Designer"), QStringLiteral("MOC"));
        h[2] = QStringLiteral("Costo");
        tblDesigner = addSubject(s, "tblDesigner", h, groupRows(f.byDesigner));
    }
    {
        Subject s = subject(QStringLiteral("MOC per stato"), QStringLiteral("Numero di MOC per stato del progetto"));
        std::tie(s.labels, s.values) = bars(f.byState, false, kChartBars);
        s.unit = QStringLiteral("MOC");
        s.note = limitNote(f.byState.size());
        QStringList h = headings(QStringLiteral("Stato progetto"), QStringLiteral("MOC"));
        h[2] = QStringLiteral("Costo");
        tblStato = addSubject(s, "tblStato", h, groupRows(f.byState));
    }

    auto *commands = new QHBoxLayout;
    cmdCopia = button("cmdCopia", QStringLiteral("&Copia"), this);
    cmdCopia->setToolTip(QStringLiteral("Copia negli appunti le celle scelte della tabella, o tutta la tabella"));
    cmdStampa = button("cmdStampa", QStringLiteral("S&tampa..."), this);
    cmdSalva = button("cmdSalva", QStringLiteral("&Salva come immagine o PDF..."), this);
    cmdGuida = button("cmdGuida", QStringLiteral("&Guida"), this);
    cmdChiudi = button("cmdChiudi", QStringLiteral("Chiudi"), this);
    for (QPushButton *b : {cmdCopia, cmdStampa, cmdSalva, cmdGuida})
        commands->addWidget(b);
    commands->addStretch(1);
    commands->addWidget(cmdChiudi);
    layout->addLayout(commands);

    connect(cmdCopia, &QPushButton::clicked, this, &TfrmStatistiche::cmdCopiaClick);
    connect(cmdStampa, &QPushButton::clicked, this, &TfrmStatistiche::cmdStampaClick);
    connect(cmdSalva, &QPushButton::clicked, this, &TfrmStatistiche::cmdSalvaClick);
    connect(cmdGuida, &QPushButton::clicked, this, &TfrmStatistiche::cmdGuidaClick);
    connect(cmdChiudi, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TfrmStatistiche::cmdGuidaClick);
    auto *copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &TfrmStatistiche::cmdCopiaClick);

    QSettings settings(settingsPath(), QSettings::IniFormat);
    if (!restoreGeometry(settings.value(QStringLiteral("Statistiche/Geometria")).toByteArray())) {
        // A first opening takes most of the screen.
        const QRect screenArea = (parent ? parent->screen() : QApplication::primaryScreen())->availableGeometry();
        resize(screenArea.size() * 0.8);
        move(screenArea.center() - rect().center());
    }
}

QTableWidget *TfrmStatistiche::addSubject(Subject subject, const char *name, const QStringList &headings,
                                          const QList<QStringList> &rows)
{
    const QString tableName = QString::fromLatin1(name);
    auto *splitter = new QSplitter(Qt::Horizontal, tabGrafici);
    auto *chartSide = new QWidget(splitter);
    auto *chartLayout = new QVBoxLayout(chartSide);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    // The chart is made once the subject is in the list (below).
    const int chartAt = chartLayout->count();
    if (!subject.note.isEmpty()) {
        auto *note = new QLabel(subject.note, chartSide);
        note->setWordWrap(true);
        chartLayout->addWidget(note);
    }

    auto *table = new QTableWidget(int(rows.size()), int(headings.size()), splitter);
    table->setObjectName(tableName);
    table->setAccessibleName(subject.title);
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->setAlternatingRowColors(true);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setVisible(false);
    // Ctrl+C copies the selected cells, not only the current one.
    table->installEventFilter(this);
    static const QStringList figureColumns = {
        QStringLiteral("Schede"), QStringLiteral("Set"),   QStringLiteral("MOC"),    QStringLiteral("Valore"),
        QStringLiteral("Costo"),  QStringLiteral("Scheda"), QStringLiteral("N."),
        QStringLiteral("Importi non leggibili")};
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < headings.size(); ++c) {
            auto *item = new QTableWidgetItem(rows.at(r).value(c));
            // Counts and amounts to the right, as figures line up.
            if (figureColumns.contains(headings.at(c)))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    splitter->addWidget(chartSide);
    splitter->addWidget(table);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    subject.table = table;
    subjects_ << subject;
    QWidget *view = nullptr;
    if (charts_) {
        view = charts_->view(chartSide, chartOf(int(subjects_.size()) - 1));
    } else {
        auto *missing = new QLabel(chartMissingText(), chartSide);
        missing->setAlignment(Qt::AlignCenter);
        missing->setWordWrap(true);
        view = missing;
    }
    view->setObjectName(QStringLiteral("cht") + tableName.mid(3));
    view->setAccessibleName(subject.title);
    chartLayout->insertWidget(chartAt, view, 1);
    tabGrafici->addTab(splitter, subject.tab);
    return table;
}

platform::ChartSpec TfrmStatistiche::chartOf(int number) const
{
    const Subject &s = subjects_.at(number);
    platform::ChartSpec spec;
    spec.kind = s.kind == Kind::Pie        ? platform::ChartSpec::Kind::Pie
                : s.kind == Kind::SideBars ? platform::ChartSpec::Kind::SideBars
                                           : platform::ChartSpec::Kind::Bars;
    spec.title = s.title;
    spec.unit = s.unit;
    spec.labels = s.labels;
    spec.values = s.values;
    if (s.kind == Kind::Pie)
        for (int i = 0; i < s.labels.size(); ++i)
            spec.sliceLabels << QStringLiteral("%1: %2").arg(
                s.labels.at(i), moneyText(qint64(std::max(0.0, s.values.at(i)) * 100 + 0.5)));
    return spec;
}

platform::ChartMaker *TfrmStatistiche::chartMaker()
{
    // Once found, for good; while missing, looked for again by each window.
    static platform::ChartMaker *maker = nullptr;
    if (!maker)
        if (const auto get = platform::chartsModule().function<platform::GetChartMaker>(platform::kGetChartMaker))
            maker = get();
    return maker;
}

void TfrmStatistiche::renderChart(QPainter &painter, int subject, const QRectF &area) const
{
    if (charts_) {
        charts_->render(painter, chartOf(subject), area);
        return;
    }
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, chartMissingText());
}

QString TfrmStatistiche::chartMissingText()
{
    return QStringLiteral("Il grafico non si può disegnare: manca una parte del programma "
                          "(vetrinora_charts). Le cifre sono nella tabella.");
}

QList<QTableWidget *> TfrmStatistiche::tables() const
{
    QList<QTableWidget *> list;
    for (const Subject &s : subjects_)
        list << s.table;
    return list;
}

QString TfrmStatistiche::tableText(const QTableWidget *table)
{
    QStringList lines;
    const QList<QTableWidgetSelectionRange> ranges = table->selectedRanges();
    if (ranges.isEmpty()) {
        QStringList heading;
        for (int c = 0; c < table->columnCount(); ++c)
            heading << table->horizontalHeaderItem(c)->text();
        lines << heading.join(QLatin1Char('\t'));
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c)
                cells << table->item(r, c)->text();
            lines << cells.join(QLatin1Char('\t'));
        }
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    // The selected cells in reading order; the rows and columns that hold
    // at least one of them, the others left blank.
    std::map<int, std::map<int, QString>> cells;
    int firstColumn = table->columnCount(), lastColumn = -1;
    for (QTableWidgetItem *item : table->selectedItems()) {
        cells[item->row()][item->column()] = item->text();
        firstColumn = std::min(firstColumn, item->column());
        lastColumn = std::max(lastColumn, item->column());
    }
    for (const auto &[row, columns] : cells) {
        QStringList line;
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const auto it = columns.find(c);
            line << (it == columns.end() ? QString() : it->second);
        }
        lines << line.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TfrmStatistiche::cmdCopiaClick()
{
    const int current = tabGrafici->currentIndex();
    if (current < 0 || current >= subjects_.size())
        return;
    QApplication::clipboard()->setText(tableText(subjects_.at(current).table));
}

int TfrmStatistiche::pageCount() const { return int(subjects_.size()); }

void TfrmStatistiche::paintPage(QPainter &painter, int page, const QSizeF &size) const
{
    const Subject &s = subjects_.at(page);
    painter.save();
    painter.setPen(Qt::black);
    qreal y = 0;
    const auto text = [&](const QString &t, qreal pointSize, bool bold) {
        QFont f = QApplication::font();
        f.setPixelSize(pixels(pointSize));
        f.setBold(bold);
        painter.setFont(f);
        QRectF used;
        painter.drawText(QRectF(0, y, size.width(), size.height() - y), Qt::TextWordWrap, t, &used);
        y += used.height() + 4;
    };
    text(lblTitolo->text(), 12, true);
    text(lblRiepilogo->text(), 8, false);
    y += 6;
    // The subject as text too: the chart itself is a picture.
    text(s.title, 11, true);
    const QRectF chartArea(0, y, size.width(), size.width() * 0.6);
    renderChart(painter, page, chartArea);
    y = chartArea.bottom() + 8;
    if (!s.note.isEmpty())
        text(s.note, 8, false);

    // The table under the chart, as many rows as the page holds.
    QFont f = QApplication::font();
    f.setPixelSize(pixels(8));
    painter.setFont(f);
    const qreal lineHeight = QFontMetricsF(f, painter.device()).height() + 3;
    const QTableWidget *table = s.table;
    const int columns = table->columnCount();
    QList<qreal> widths;
    qreal total = 0;
    for (int c = 0; c < columns; ++c) {
        widths << std::max(40, table->columnWidth(c));
        total += widths.back();
    }
    for (qreal &w : widths)
        w *= size.width() / total;
    const auto row = [&](const QStringList &cells, bool bold) {
        QFont rowFont = f;
        rowFont.setBold(bold);
        painter.setFont(rowFont);
        qreal x = 0;
        for (int c = 0; c < columns; ++c) {
            const Qt::Alignment align = c == 0 || !bold ? Qt::AlignLeft : Qt::AlignRight;
            painter.drawText(QRectF(x + 2, y, widths.at(c) - 4, lineHeight), Qt::AlignVCenter | (bold ? Qt::AlignLeft : align),
                             painter.fontMetrics().elidedText(cells.value(c), Qt::ElideRight, int(widths.at(c) - 4)));
            x += widths.at(c);
        }
        y += lineHeight;
    };
    QStringList heading;
    for (int c = 0; c < columns; ++c)
        heading << table->horizontalHeaderItem(c)->text();
    row(heading, true);
    painter.drawLine(QPointF(0, y), QPointF(size.width(), y));
    const int fits = int((size.height() - y) / lineHeight) - 1;
    const int shown = table->rowCount() <= fits + 1 ? table->rowCount() : std::max(0, fits);
    for (int r = 0; r < shown; ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << table->item(r, c)->text();
        row(cells, false);
    }
    if (shown < table->rowCount())
        text(QStringLiteral("... e altre %1 righe, tutte nella finestra Statistiche.")
                 .arg(table->rowCount() - shown),
             8, false);
    painter.restore();
}

void TfrmStatistiche::cmdStampaClick()
{
    platform::PrintJob job;
    job.title = QStringLiteral("Statistiche");
    job.layout = a4();
    job.pageCount = pageCount();
    const QSizeF area = a4Area();
    job.paintPage = [this, area](QPainter &painter, int page, double scale) {
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, page, area);
        painter.restore();
    };
    platform::services().print(this, job);
}

QStringList TfrmStatistiche::saveFilters()
{
    return {QStringLiteral("Immagine PNG (*.png)"), QStringLiteral("Documento PDF (*.pdf)")};
}

bool TfrmStatistiche::saveTo(const QString &path) const
{
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter writer(path);
        writer.setTitle(QStringLiteral("Statistiche: %1").arg(what_));
        writer.setCreator(QStringLiteral("Vetrinora"));
        writer.setPageLayout(a4());
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        const double scale = writer.resolution() / 96.0;
        for (int page = 0; page < pageCount(); ++page) {
            if (page > 0 && !writer.newPage())
                return false;
            painter.save();
            painter.scale(scale, scale);
            paintPage(painter, page, a4Area());
            painter.restore();
        }
        return painter.end();
    }
    // Every chart on one picture, two a row, under the title and the summary.
    const int rows = int((subjects_.size() + 1) / 2);
    QImage image(2 * kPictureChartWidth, kPictureHeading + rows * kPictureChartHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font = QApplication::font();
        font.setPixelSize(20);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(12, 6, image.width() - 24, 30), Qt::AlignLeft | Qt::AlignVCenter, lblTitolo->text());
        font.setPixelSize(13);
        font.setBold(false);
        painter.setFont(font);
        painter.drawText(QRect(12, 36, image.width() - 24, kPictureHeading - 36), Qt::TextWordWrap,
                         lblRiepilogo->text());
        for (int i = 0; i < subjects_.size(); ++i)
            renderChart(painter, i,
                        QRectF((i % 2) * kPictureChartWidth, kPictureHeading + (i / 2) * kPictureChartHeight,
                               kPictureChartWidth, kPictureChartHeight));
    }
    return image.save(path, "PNG");
}

void TfrmStatistiche::cmdSalvaClick()
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Salva le statistiche");
    request.filters = saveFilters();
    request.proposedName = QStringLiteral("Statistiche.png");
    request.defaultExtension = QStringLiteral("png");
    request.overwritePrompt = true;
    QString path = platform::services().saveFile(this, request);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    if (!saveTo(path))
        platform::error(this, QStringLiteral("Non è stato possibile salvare il file \"%1\". Controlla che la "
                                             "cartella esista e che si possa scrivere, poi riprova.")
                                  .arg(QDir::toNativeSeparators(path)));
}

void TfrmStatistiche::cmdGuidaClick() { TfrmGuida::showTopic(this, HelpTopics::statistics()); }

bool TfrmStatistiche::eventFilter(QObject *watched, QEvent *event)
{
    if (qobject_cast<QTableWidget *>(watched)) {
        const bool copy = (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)
                          && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy);
        if (copy && event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (copy) {
            QApplication::clipboard()->setText(tableText(static_cast<QTableWidget *>(watched)));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmStatistiche::closeEvent(QCloseEvent *event)
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Statistiche/Geometria"), saveGeometry());
    QWidget::closeEvent(event);
}

TfrmStatistiche *TfrmStatistiche::showFor(QWidget *parent, const CollectionModel &model, const QString &what)
{
    Statistics::Chosen chosen;
    if (!model.filter().isEmpty()) {
        chosen.emplace(std::size_t(model.files().size()));
        for (int row = 0; row < model.rowCount(); ++row) {
            const CollectionModel::CardRef card = model.card(row);
            (*chosen)[std::size_t(card.file)].push_back(card.index);
        }
        for (std::vector<qint64> &indices : *chosen)
            std::sort(indices.begin(), indices.end());
    }
    Statistics::Figures figures;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        figures = Statistics::compute(model.files(), chosen);
    } catch (const CardStore::Failure &) {
        QApplication::restoreOverrideCursor();
        platform::error(parent, CardStore::accessMessage());
        return nullptr;
    }
    QApplication::restoreOverrideCursor();
    for (TfrmStatistiche *earlier : parent->findChildren<TfrmStatistiche *>(Qt::FindDirectChildrenOnly))
        earlier->close();
    auto *window = new TfrmStatistiche(figures, what, model.filter(), parent);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
