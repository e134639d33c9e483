#include "ui/search/ListWindow.h"

#include "core/app/Messages.h"
#include "ui/base/Application.h"
#include "core/app/Formats.h"
#include "core/app/Text.h"
#include "ui/base/Tuning.h"
#include "ui/base/Widgets.h"
#include "ui/editing/CardHost.h"
#include "core/cards/CardStore.h"
#include "ui/editing/FieldBehaviours.h"
#include "ui/editing/FieldEvents.h"
#include "ui/platform/Platform.h"
#include "core/reports/Report.h"
#include "core/search/ResultModel.h"

#include <QCloseEvent>
#include <QtConcurrent/QtConcurrentRun>
#include <QDateTime>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <exception>

namespace {

QString name(std::string_view view) { return QString::fromLatin1(view.data(), view.size()); }

QPushButton *button(const QString &objectName, const QString &text, const QRect &geometry,
                    QWidget *parent)
{
    QPushButton *b = makeButton(objectName, text, geometry, parent);
    b->setFont(verdana(10));
    return b;
}

QWidget *page(const QString &objectName, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(objectName);
    panel->setGeometry(14, 15, 833, 529);
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(QStringLiteral("QWidget#%1 { background: #F7FAFD; border: 1px solid "
                                        "#D8E5EF; border-radius: 6px; }")
                             .arg(objectName));
    return panel;
}

void stampTime(const char *what)
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    std::fprintf(stderr, "%s %lld\n", what, static_cast<long long>(ns));
    std::fflush(stderr);
}


} // namespace

ListWindow::ListWindow(const ListWindowConfig &config, CardHost *editor)
    : QDialog(editor->hostWindow()), config_(config), editor_(editor), model_(new ResultModel(this))
{
    makeFixedModal(this, QString::fromLatin1(config.objectName), QString::fromUtf8(config.caption),
                   QSize(862, 560));
    if (isSearch())
        buildFilterPage();
    buildResultPage();
    buildBusyPanel();
}

void ListWindow::buildBusyPanel()
{
    // Over the buttons of the filter page, or over the middle of a summary's list.
    panLavoro = new QWidget(this);
    panLavoro->setObjectName(QStringLiteral("panLavoro"));
    panLavoro->setGeometry(isSearch() ? QRect(204, 405, 453, 52) : QRect(204, 230, 453, 52));
    panLavoro->setAttribute(Qt::WA_StyledBackground);
    panLavoro->setStyleSheet(QStringLiteral("QWidget#panLavoro { background: #F7FAFD; border: 1px "
                                            "solid #D8E5EF; border-radius: 4px; }"));
    lblLavoro = makeLabel(QStringLiteral("lblLavoro"),
                          QStringLiteral("Lettura dell'archivio in corso..."),
                          QRect(8, 4, 300, 18), panLavoro);
    lblLavoro->setFont(verdana(9, true));
    lblLavoro->setStyleSheet(QStringLiteral("color: #008B8B;"));
    prgLavoro = new QProgressBar(panLavoro);
    prgLavoro->setObjectName(QStringLiteral("prgLavoro"));
    prgLavoro->setGeometry(8, 26, 310, 18);
    prgLavoro->setRange(0, 1000);
    prgLavoro->setTextVisible(false);
    btnInterrompi = button(QStringLiteral("btnInterrompi"), QStringLiteral("Annulla"),
                           QRect(330, 8, 115, 36), panLavoro);
    btnInterrompi->setToolTip(QStringLiteral("Interrompe la lettura (Esc)."));
    btnInterrompi->setAutoDefault(false);
    connect(btnInterrompi, &QPushButton::clicked, this, [this] {
        if (cancel_)
            *cancel_ = true;
    });
    panLavoro->hide();
}

ListWindow::~ListWindow() { FieldEvents::detachAll(this); }

void ListWindow::buildFilterPage()
{
    panAvvio = page(QStringLiteral("panAvvio"), this);
    new Picture(QStringLiteral("imgIstruzioni"), QStringLiteral(":/images/trova_istruzioni.svg"),
                QRect(16, 10, 801, 64), panAvvio);
    const RecordLayout &layout = *config_.layout;
    QList<QWidget *> cycle;
    QFont labelFont = font();
    labelFont.setBold(true);
    for (int i = 0; i < int(config_.filters.size()); ++i) {
        const FilterPlace &f = config_.filters[i];
        const FieldDef *def = layout.fieldForControl(f.control);
        Q_ASSERT(def);
        const int x = i < 5 ? 24 : 428;
        const int y = 112 + (i % 5) * 66;
        auto *edit = new QLineEdit(panAvvio);
        edit->setObjectName(name(f.control));
        edit->setGeometry(x, y, 380, 26);
        edit->setFont(verdana(12, true));
        QLabel *caption = makeLabel(QStringLiteral("lbl") + edit->objectName().mid(3),
                                    def->captionText(), QRect(x, y - 20, 380, 16), panAvvio);
        caption->setFont(labelFont);
        nameField(caption, edit);
        FieldBehaviours::attachHalo(edit, name(f.halo));
        filters_ << edit;
        cycle << edit;
    }
    FieldBehaviours::returnCycle(cycle);
    for (int i = 1; i < filters_.size(); ++i)
        setTabOrder(filters_[i - 1], filters_[i]);

    btnAnnulla = button(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                        QRect(24, 462, 150, 40), panAvvio);
    btnCerca = button(QStringLiteral("btnCerca"), QStringLiteral("Cerca"), QRect(659, 462, 150, 40),
                      panAvvio);
    lblAttendere = makeLabel(QStringLiteral("lblAttendere"),
                             QStringLiteral("Ricerca schede in corso. Attendere..."),
                             QRect(190, 470, 453, 24), panAvvio);
    lblAttendere->setAlignment(Qt::AlignCenter);
    lblAttendere->setFont(verdana(11, true));
    lblAttendere->setStyleSheet(QStringLiteral("color: #008B8B;"));
    lblAttendere->hide();
    lblConta = makeLabel(QStringLiteral("lblConta"), QStringLiteral("0"), QRect(), panAvvio);
    lblConta->hide();
    lblMemory = makeLabel(QStringLiteral("lblMemory"), QString(), QRect(), panAvvio);
    lblMemory->hide();
    btnCerca->installEventFilter(this);
    connect(btnAnnulla, &QPushButton::clicked, this, &QWidget::close);
    connect(btnCerca, &QPushButton::clicked, this, &ListWindow::btnCercaClick);
}

void ListWindow::buildResultPage()
{
    panContainer = page(QStringLiteral("panContainer"), this);
    new Picture(QStringLiteral("imgBanner"), QStringLiteral(":/images/risultati_banner.svg"),
                QRect(16, 10, 801, 50), panContainer);
    QLabel *title = makeLabel(QStringLiteral("lblTitolo"), QString::fromUtf8(config_.printTitle),
                              QRect(80, 18, 720, 34), panContainer);
    title->setFont(verdana(14, true));
    title->setStyleSheet(QStringLiteral("color: white;"));

    txtTrova = new QLineEdit(panContainer);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setGeometry(24, 72, 360, 28);
    txtTrova->setFont(verdana(12, true));
    txtTrova->setAccessibleName(QStringLiteral("Testo da trovare"));
    btnTrova = button(QStringLiteral("btnTrova"), QStringLiteral("Trova"), QRect(392, 70, 110, 32),
                      panContainer);
    QLabel *hint = makeLabel(QStringLiteral("lblIstruzioni"),
                             QStringLiteral("Premere Trova per cercare un testo nell'elenco, "
                                            "di nuovo per la voce successiva."),
                             QRect(514, 68, 300, 36), panContainer);
    hint->setWordWrap(true);
    FieldEvents::of(txtTrova)->onKeyDown([this](QKeyEvent *key) {
        if (isReturnKey(key)) {
            Focus::moveTo(btnTrova);
            return true;
        }
        return false;
    });

    lstRecords = new QListView(panContainer);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setGeometry(24, 108, 785, 300);
    lstRecords->setModel(model_);
    lstRecords->setUniformItemSizes(true);
    lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    selectTheCurrentEntry(lstRecords);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setFont(ResultModel::lineFont());
    connect(lstRecords, &QListView::doubleClicked, this, &ListWindow::lstRecordsDblClick);
    lstRecords->setAccessibleName(QString::fromUtf8(config_.printTitle));
    // Enter on a selected line recalls it, as a double click does.
    lstRecords->installEventFilter(this);

    lblRigo03 = makeLabel(QStringLiteral("lblRigo03"), QString::fromUtf8(config_.recallCaption),
                          QRect(24, 414, 785, 20), panContainer);
    lblRigo03->setFont(verdana(10, true));
    lblRigo03->setStyleSheet(QStringLiteral("color: crimson;"));
    if (isSearch()) {
        lblTrovate = makeLabel(QStringLiteral("lblTrovate"),
                               QStringLiteral("Il presente riepilogo contiene 0 schede"),
                               QRect(24, 436, 785, 22), panContainer);
        lblTrovate->setAlignment(Qt::AlignCenter);
        lblTrovate->setFont(verdana(11, true));
        lblTrovate->setStyleSheet(QStringLiteral("color: #008B8B;"));
        if (Tuning::current().stampSearchTimes)
            lblTrovate->installEventFilter(this);
    }
    btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                       QRect(24, 470, 150, 40), panContainer);
    btnStampa = button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"),
                       QRect(659, 470, 150, 40), panContainer);
    connect(btnChiudi, &QPushButton::clicked, this, &QWidget::close);
    connect(btnTrova, &QPushButton::clicked, this, &ListWindow::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &ListWindow::btnStampaClick);
    setTabOrder(txtTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnTrova);
    setTabOrder(btnTrova, btnChiudi);
    panContainer->setVisible(!isSearch());
}

QLineEdit *ListWindow::filter(std::string_view control) const
{
    for (QLineEdit *f : filters_)
        if (f->objectName() == name(control))
            return f;
    return nullptr;
}

int ListWindow::selectedRow() const
{
    const QModelIndexList rows = lstRecords->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListWindow::selectRow(int row)
{
    lstRecords->setCurrentIndex(model_->index(row));
}

QString &ListWindow::lastFind() const
{
    // One remembered find text for each kind of list window.
    static QHash<QString, QString> texts;
    return texts[objectName()];
}

void ListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    lastFind().clear();
    if (model_->count() > 0)
        selectRow(0);
    txtTrova->clear();
    if (isSearch())
        Focus::moveTo(filters_.first());
    else
        buildSummary();
}

void ListWindow::reject()
{
    // Esc during a scan stops the scan, not the window.
    if (cancel_) {
        *cancel_ = true;
        return;
    }
    QDialog::reject();
}

void ListWindow::closeEvent(QCloseEvent *event)
{
    if (cancel_) {
        *cancel_ = true;
        event->ignore();
        return;
    }
    model_->clear();
    if (lblAttendere)
        lblAttendere->hide();
    QDialog::closeEvent(event);
}

void ListWindow::paintEvent(QPaintEvent *) { paintVerticalGradient(this, Colors::steelBlue()); }

bool ListWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Only a press of the mouse shows the waiting text; the search runs on the click.
    if (watched == btnCerca && event->type() == QEvent::MouseButtonPress) {
        lblAttendere->show();
        lblAttendere->repaint();
    }
    if (Tuning::current().stampSearchTimes) {
        if (watched == btnCerca && event->type() == QEvent::MouseButtonRelease) {
            stampTime("cerca");
            countPending_ = true;
        }
        if (watched == lblTrovate && event->type() == QEvent::Paint && countPending_) {
            stampTime("conteggio");
            countPending_ = false;
        }
    }
    if (watched == lstRecords && event->type() == QEvent::KeyPress
        && isReturnKey(static_cast<QKeyEvent *>(event)) && selectedRow() >= 0) {
        lstRecordsDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

namespace {

// While a scan runs, the only input the scanning window takes is what
// stops it: "Annulla" and Esc. Everything else sent to it is dropped, so the
// window is left as it was when the scan began; other windows go on.
class ScanGuard : public QObject {
public:
    ScanGuard(QWidget *window, QWidget *stopButton, std::atomic<bool> &cancel)
        : window_(window), stop_(stopButton), cancel_(cancel)
    {
        qApp->installEventFilter(this);
    }
    ~ScanGuard() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A shortcut's event goes to the object that owns it: the window of
        // the nearest widget above it.
        QObject *owner = watched;
        while (owner && !owner->isWidgetType())
            owner = owner->parent();
        if (!owner || static_cast<QWidget *>(owner)->window() != window_)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
                cancel_ = true;
                return true;
            }
            [[fallthrough]];
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return watched != stop_;
        default:
            return false;
        }
    }

private:
    QWidget *window_;
    QWidget *stop_;
    std::atomic<bool> &cancel_;
};

} // namespace

std::optional<LineList> ListWindow::scan(const std::function<bool(const char *)> &listed)
{
    constexpr int kParts = 2;
    const LineBuilder builder(*config_.layout, config_.columns);
    const CardStore &store = editor_->store();
    std::vector<LineList::Part> parts(kParts);
    std::atomic<bool> cancel = false;
    std::atomic<qint64> total = 0, progress = 0;
    std::exception_ptr failure;
    const auto pause = Tuning::current().scanPause;

    QPointer<QWidget> focus = QApplication::focusWidget();
    // The scan runs on the pool's threads; this window waits for it, its
    // events going on, while every other window takes its input as usual.
    QFutureWatcher<bool> watcher;
    QEventLoop loop;
    connect(&watcher, &QFutureWatcher<bool>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([&] {
        try {
            return store.scanParts(
                kParts,
                [&](int part, const char *record, qint64 index) {
                    if (listed(record))
                        parts[size_t(part)].add(builder, record, index);
                },
                [&](int part) { parts[size_t(part)].sort(); },
                [&](qint64 count) {
                    total = count;
                    // Room for every card's longest line: only what is written is taken.
                    const qint64 most = CardStore::mostPerPart(count, kParts);
                    for (LineList::Part &p : parts)
                        p.reserve(most, most * builder.maxLength());
                    if (pause)
                        pause(cancel);
                },
                &cancel, &progress);
        } catch (...) {
            failure = std::current_exception();
            return false;
        }
    }));

    cancel_ = &cancel;
    ScanGuard guard(this, btnInterrompi, cancel);
    QTimer busy;
    busy.setSingleShot(true);
    connect(&busy, &QTimer::timeout, this, [&] {
        prgLavoro->setValue(0);
        panLavoro->show();
        panLavoro->raise();
    });
    QTimer progressTimer;
    connect(&progressTimer, &QTimer::timeout, this, [&] {
        if (total > 0)
            prgLavoro->setValue(int(progress * 1000 / total));
    });
    busy.start(Tuning::current().busyDelayMs);
    progressTimer.start(100);
    if (!watcher.isFinished())
        loop.exec();
    watcher.waitForFinished();
    const bool complete = watcher.result();
    busy.stop();
    progressTimer.stop();
    cancel_ = nullptr;
    panLavoro->hide();
    if (focus)
        focus->setFocus();

    if (failure)
        std::rethrow_exception(failure);
    if (!complete || cancel)
        return std::nullopt;
    return LineList::merge(std::move(parts));
}

void ListWindow::btnCercaClick()
{
    if (cancel_)
        return;
    int filled = 0;
    QList<CardFilter::Test> tests;
    for (QLineEdit *f : std::as_const(filters_)) {
        if (!Text::trim(f->text()).isEmpty())
            ++filled;
        tests.append({config_.layout->fieldForControl(f->objectName().toStdString()), f->text()});
    }
    const CardFilter filter(tests, filled);
    std::optional<LineList> lines;
    try {
        lines = scan([&](const char *record) { return filter.matches(record); });
    } catch (const CardStore::Failure &) {
        lblConta->setText(QString::number(filled));
        platform::showMessage(this, CardStore::accessMessage());
        return;
    }
    if (!lines) {
        // Cancelled: the filter page stays as it was before "Cerca".
        lblAttendere->hide();
        return;
    }
    lblConta->setText(QString::number(filled));
    model_->setLines(std::move(*lines));
    lblTrovate->setText(
        QStringLiteral("Il presente riepilogo contiene %1 schede").arg(model_->count()));
    panContainer->show();
    panAvvio->hide();
    txtTrova->clear();
    Focus::moveTo(txtTrova);
}

void ListWindow::buildSummary()
{
    std::optional<LineList> lines;
    try {
        lines = scan([&](const char *record) { return config_.qualifies(record, *config_.layout); });
    } catch (const CardStore::Failure &) {
        // Silent: the list stays empty.
        return;
    }
    if (!lines) {
        // Cancelled: back to the editor, as before the list was asked for.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    model_->setLines(std::move(*lines));
    Focus::moveTo(txtTrova);
}

void ListWindow::btnTrovaClick()
{
    const int count = model_->count();
    if (count == 0) {
        platform::showMessage(this, Messages::nothingToFind());
        return;
    }
    if (selectedRow() < 0)
        selectRow(0);
    const QString needle = Text::foldAZ(txtTrova->text());
    const auto matches = [&](int row) {
        return !needle.isEmpty() && Text::foldAZ(model_->entry(row).line).contains(needle);
    };
    const bool fresh = needle != lastFind();
    const int start = fresh ? 0 : selectedRow();
    int found = -1;
    if (fresh && matches(0)) {
        found = 0;
    } else {
        int row = start;
        do {
            row = (row + 1) % count;
            if (matches(row)) {
                found = row;
                break;
            }
        } while (row != start);
    }
    if (found >= 0) {
        selectRow(found);
        lstRecords->scrollTo(model_->index(found));
    }
    lastFind() = needle;
}

void ListWindow::lstRecordsDblClick()
{
    // The card comes back from the record its line was built from, so that
    // of two cards with the same line each can be recalled.
    const int row = selectedRow();
    const bool called = !config_.marker
                        || Text::trim(lblMemory->text()) == QLatin1String(config_.marker);
    if (row >= 0 && called) {
        // Annulla on the question about the card on screen: the list stays.
        if (!editor_->leaveCard())
            return;
        try {
            const qint64 index = model_->entry(row).record;
            const Record record = editor_->store().read(index);
            editor_->showCard(record, index + 1);
        } catch (const CardStore::Failure &) {
            // The window closes without a message.
        }
    }
    close();
}

void ListWindow::btnStampaClick()
{
    try {
        printList(this, QString::fromUtf8(config_.printTitle), model_->lines());
    } catch (const std::exception &e) {
        VetrinoraApplication::reportError(QString::fromUtf8(e.what()));
    }
}

void printList(QWidget *parent, const QString &title, const QStringList &lines)
{
    report::Template t = report::Template::load(QStringLiteral(":/reports/riepilogo.json"));
    const QDateTime now = QDateTime::currentDateTime();
    t.setText(QStringLiteral("txtTitolo"), title);
    t.setText(QStringLiteral("txtPagina"), QStringLiteral("Stampa eseguita in data ")
                                               + Formats::date(now.date()) + QStringLiteral(" alle ore ")
                                               + Formats::time(now.time()));
    t.setLines(QStringLiteral("txtRiepilogo"), lines);
    const double height = lines.size() * 12.822;
    t.object(QStringLiteral("txtRiepilogo")).rect.setHeight(height);
    t.band(QStringLiteral("MasterData")).height = height + 10;
    platform::services().print(parent, report::printJob(report::prepare(t)));
}
