#include "ui/collection/TfrmCollezione.h"

#include "core/app/Messages.h"
#include "core/app/HelpTopics.h"
#include "core/app/ProgramFolder.h"
#include "core/cards/CardStore.h"
#include "core/collection/Cestino.h"
#include "core/app/Text.h"
#include "core/archives/ArchiveNames.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "ui/base/Navigation.h"
#include "ui/base/FlowLayout.h"
#include "ui/base/HelpWindows.h"
#include "ui/base/Tuning.h"
#include "ui/base/Widgets.h"
#include "ui/collection/CardTable.h"
#include "ui/collection/GalleryView.h"
#include "ui/editing/CardHost.h"
#include "ui/collection/TfrmStatistiche.h"
#include "ui/platform/Platform.h"
#include "ui/transfer/TransferCommands.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QScreen>
#include <QHideEvent>
#include <QShowEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace {
// How long the table may take to draw before the amounts are read anyway.
constexpr int kDrawingTime = 200;

// The wait cursor while a large collection is read through.
class Busy {
public:
    explicit Busy(bool large) : large_(large)
    {
        if (large_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~Busy()
    {
        if (large_)
            QApplication::restoreOverrideCursor();
    }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    bool large_;
};
} // namespace

namespace {

const QString kWholeCollection = QStringLiteral("Tutta la collezione");

QString cards(qint64 n)
{
    return n == 1 ? QStringLiteral("1 scheda") : QStringLiteral("%1 schede").arg(n);
}

QString settingsPath() { return ProgramFolder::file(QStringLiteral("Collezione.ini")); }

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

TfrmCollezione::TfrmCollezione(QWidget *parent)
    : MainLevelWindow(QStringLiteral("frmCollezione"), QStringLiteral(" Vetrinora - Collezione"),
                      Colors::steelBlue(), QSize(995, 692), parent),
      model_(new CollectionModel(this)), transfer_(new TransferCommands(this))
{
    QWidget *p = panel();
    // Unlike the windows of fixed panels, this one is all layout: its panel
    // fills the window at any size, and the window scrolls only where even
    // the least room its controls need is more than the screen has.
    p->setMinimumSize(0, 0);
    p->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    p->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    if (QWidget *stage = p->parentWidget()) {
        stage->setMinimumSize(0, 0);
        if (QLayout *centre = stage->layout())
            centre->setAlignment(p, Qt::Alignment());
    }
    auto *band = new Band(QStringLiteral("shpCollezione"), QRect(QPoint(0, 0), p->size()), p);
    band->lower();
    auto *layout = new QVBoxLayout(p);
    layout->setContentsMargins(16, 16, 16, 16);

    auto *top = new QHBoxLayout;
    auto *caption = new QLabel(QStringLiteral("Catalogo:"), p);
    caption->setFont(verdana(10));
    cmbCatalogo = new QComboBox(p);
    cmbCatalogo->setObjectName(QStringLiteral("cmbCatalogo"));
    cmbCatalogo->setMinimumWidth(200);
    cmbCatalogo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    txtFiltro = new QLineEdit(p);
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro->setPlaceholderText(QStringLiteral("Filtra: scrivi una parola di qualsiasi campo"));
    txtFiltro->setClearButtonEnabled(true);
    txtFiltro->setMinimumWidth(160);
    lblConteggio = new QLabel(p);
    lblConteggio->setObjectName(QStringLiteral("lblConteggio"));
    lblConteggio->setFont(verdana(10));
    top->addWidget(caption);
    top->addWidget(cmbCatalogo);
    top->addSpacing(16);
    top->addWidget(txtFiltro, 1);
    top->addWidget(lblConteggio);
    layout->addLayout(top);

    grdSchede = new CardTable(p);
    grdSchede->setObjectName(QStringLiteral("grdSchede"));
    grdSchede->setModel(model_);
    grdSchede->setSortingEnabled(false);
    grdSchede->horizontalHeader()->setSortIndicatorShown(true);
    grdSchede->horizontalHeader()->setSectionsClickable(true);
    grdSchede->verticalHeader()->setDefaultSectionSize(22);
    grdSchede->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdSchede->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdSchede->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdSchede->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSchede->setWordWrap(false);
    // Tab leaves the table for the next control; the arrows move inside it.
    grdSchede->setTabKeyNavigation(false);
    grdSchede->horizontalHeader()->setResizeContentsPrecision(200);
    grdSchede->horizontalHeader()->setTextElideMode(Qt::ElideNone);
    grdSchede->installEventFilter(this);
    grdSchede->viewport()->installEventFilter(this);
    layout->addWidget(grdSchede, 1);

    auto *totals = new QVBoxLayout;
    auto totalLabel = [&](const char *name) {
        auto *l = new QLabel(p);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(verdana(9, false));
        // A narrow window wraps a total onto two lines, never cuts it.
        l->setWordWrap(true);
        totals->addWidget(l);
        return l;
    };
    lblTotaleSelezione = totalLabel("lblTotaleSelezione");
    lblTotaleFiltro = totalLabel("lblTotaleFiltro");
    lblTotaleCollezione = totalLabel("lblTotaleCollezione");
    lblIllegibili = totalLabel("lblIllegibili");
    lblIllegibili->setStyleSheet(QStringLiteral("color: #A0301E"));
    lblIllegibili->setWordWrap(true);
    layout->addLayout(totals);

    panComandi = new FlowLayout;
    btnApri = button("btnApri", QStringLiteral("Apri scheda"), p);
    btnColonne = button("btnColonne", QStringLiteral("Colonne..."), p);
    btnCopia = button("btnCopia", QStringLiteral("Copia"), p);
    btnStampa = button("btnStampa", QStringLiteral("Stampa"), p);
    btnElimina = button("btnElimina", QStringLiteral("Elimina"), p);
    btnCestino = button("btnCestino", QStringLiteral("Cestino..."), p);
    // The commands that move the whole collection in and out: each with a
    // mnemonic of its own (Alt+B, Alt+R, Alt+E, Alt+X, Alt+I); the bin's
    // "Ripristina" is never confused with restoring a backup.
    cmdBackup = button("cmdBackup", QStringLiteral("&Backup..."), p);
    cmdRipristinaBackup = button("cmdRipristinaBackup", QStringLiteral("&Ripristina backup..."), p);
    cmdEsportaCsv = button("cmdEsportaCsv", QStringLiteral("&Esporta CSV..."), p);
    cmdEsportaXlsx = button("cmdEsportaXlsx", QStringLiteral("Esporta E&xcel..."), p);
    cmdImportaCsv = button("cmdImportaCsv", QStringLiteral("&Importa CSV..."), p);
    cmdStatistiche = button("cmdStatistiche", QStringLiteral("&Statistiche"), p);
    btnEsci = button("btnEsci", QStringLiteral("Chiudi"), p);
    for (QPushButton *b : {btnApri, btnColonne, btnCopia, btnStampa, btnElimina, btnCestino, cmdBackup,
                           cmdRipristinaBackup, cmdEsportaCsv, cmdEsportaXlsx, cmdImportaCsv, cmdStatistiche})
        panComandi->addWidget(b);
    panComandi->addWidget(chkGalleria = button("chkGalleria", QStringLiteral("&Galleria"), p));
    panComandi->addStretch();
    panComandi->addWidget(btnEsci);
    layout->addLayout(panComandi);

    btnCopia->setShortcut(QKeySequence::Copy);
    btnElimina->setShortcut(QKeySequence::Delete);
    btnStampa->setShortcut(QKeySequence::Print);

    connect(cmbCatalogo, &QComboBox::activated, this, &TfrmCollezione::cmbCatalogoChange);
    connect(txtFiltro, &QLineEdit::textChanged, this, &TfrmCollezione::txtFiltroChange);
    connect(grdSchede, &QTableView::doubleClicked, this, &TfrmCollezione::grdSchedeDblClick);
    connect(grdSchede->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                if (column < 0)
                    return; // no column: the order of the files
                // Amounts sort by their value: read first.
                finishLoad();
                const Busy busy(model_->totalCards() >= Tuning::current().deferredLoadCards);
                model_->sort(column, order);
            });
    connect(grdSchede->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfrmCollezione::updateTotals);
    connect(model_, &QAbstractItemModel::modelReset, this, &TfrmCollezione::updateTotals);
    connect(btnApri, &QPushButton::clicked, this, &TfrmCollezione::btnApriClick);
    connect(btnColonne, &QPushButton::clicked, this, &TfrmCollezione::btnColonneClick);
    connect(btnCopia, &QPushButton::clicked, this, &TfrmCollezione::btnCopiaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmCollezione::btnStampaClick);
    connect(btnElimina, &QPushButton::clicked, this, &TfrmCollezione::btnEliminaClick);
    connect(btnCestino, &QPushButton::clicked, this, &TfrmCollezione::btnCestinoClick);
    connect(cmdBackup, &QPushButton::clicked, this, &TfrmCollezione::cmdBackupClick);
    connect(cmdRipristinaBackup, &QPushButton::clicked, this, &TfrmCollezione::cmdRipristinaBackupClick);
    connect(cmdEsportaCsv, &QPushButton::clicked, this, &TfrmCollezione::cmdEsportaCsvClick);
    connect(cmdEsportaXlsx, &QPushButton::clicked, this, &TfrmCollezione::cmdEsportaXlsxClick);
    connect(cmdImportaCsv, &QPushButton::clicked, this, &TfrmCollezione::cmdImportaCsvClick);
    connect(cmdStatistiche, &QPushButton::clicked, this, &TfrmCollezione::cmdStatisticheClick);
    connect(btnEsci, &QPushButton::clicked, this, &TfrmCollezione::btnEsciClick);

    // Tab goes along the command row as it reads, closing last.
    QWidget::setTabOrder(btnCestino, cmdBackup);
    QWidget::setTabOrder(cmdBackup, cmdRipristinaBackup);
    QWidget::setTabOrder(cmdRipristinaBackup, cmdEsportaCsv);
    QWidget::setTabOrder(cmdEsportaCsv, cmdEsportaXlsx);
    QWidget::setTabOrder(cmdEsportaXlsx, cmdImportaCsv);
    QWidget::setTabOrder(cmdImportaCsv, cmdStatistiche);
    QWidget::setTabOrder(cmdStatistiche, btnEsci);

    // The panel's band follows the panel's size.
    p->installEventFilter(this);
    // Esc closes the window; F1 opens the help topic of where the focus is.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TfrmCollezione::btnEsciClick);
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { TfrmGuida::showTopic(this, helpTopic()); });
    setupGallery();
}

HelpTopics::Topic TfrmCollezione::helpTopic() const
{
    const QWidget *focus = focusWidget();
    if (focus == btnCestino || focus == btnElimina)
        return HelpTopics::bin();
    if (focus == cmdBackup || focus == cmdRipristinaBackup)
        return HelpTopics::backup();
    if (focus == cmdEsportaCsv || focus == cmdImportaCsv)
        return HelpTopics::spreadsheets();
    return HelpTopics::collection();
}

void TfrmCollezione::showWithOwnGeometry()
{
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    // What the file holds is checked by Qt: a geometry that does not read,
    // or lies off every screen, is not used.
    if (restoreGeometry(settings.value(QStringLiteral("Finestra/Geometria")).toByteArray())) {
        show();
        return;
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
}

namespace {
const QString kViewKey = QStringLiteral("Collezione/Vista");
const QString kGalleryView = QStringLiteral("Galleria");
const QString kTableView = QStringLiteral("Tabella");
} // namespace

void TfrmCollezione::setupGallery()
{
    lstGalleria = new GalleryView(model_, grdSchede->parentWidget());
    lstGalleria->setSelectionModel(grdSchede->selectionModel());
    lstGalleria->hide();
    for (QBoxLayout *box : grdSchede->parentWidget()->findChildren<QBoxLayout *>()) {
        if (const int at = box->indexOf(grdSchede); at >= 0) {
            box->insertWidget(at + 1, lstGalleria, box->stretch(at));
            break;
        }
    }
    connect(lstGalleria, &GalleryView::openRequested, this, &TfrmCollezione::btnApriClick);
    chkGalleria->setCheckable(true);
    connect(chkGalleria, &QPushButton::clicked, this, &TfrmCollezione::chkGalleriaClick);
    QWidget::setTabOrder(cmdStatistiche, chkGalleria);
    QWidget::setTabOrder(chkGalleria, btnEsci);
    // Anything but the gallery's own name in the settings is the table.
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    chkGalleria->setChecked(settings.value(kViewKey).toString() == kGalleryView);
    lstGalleria->setVisible(chkGalleria->isChecked());
    grdSchede->setVisible(!chkGalleria->isChecked());
}

void TfrmCollezione::chkGalleriaClick()
{
    const bool gallery = chkGalleria->isChecked();
    QAbstractItemView *from = gallery ? static_cast<QAbstractItemView *>(grdSchede) : lstGalleria;
    QAbstractItemView *to = gallery ? static_cast<QAbstractItemView *>(lstGalleria) : grdSchede;
    const bool hadFocus = from->hasFocus();
    to->setVisible(true);
    from->setVisible(false);
    if (const QModelIndex current = grdSchede->currentIndex(); current.isValid())
        to->scrollTo(model_->index(current.row(), gallery ? lstGalleria->modelColumn() : current.column()));
    if (hadFocus)
        to->setFocus();
}

void TfrmCollezione::hideEvent(QHideEvent *event)
{
    MainLevelWindow::hideEvent(event);
    // The view shown is remembered as the window is left: writing the
    // settings waits for the disk, which the switch itself never does.
    QSettings settings(settingsPath(), QSettings::IniFormat);
    const QString view = chkGalleria->isChecked() ? kGalleryView : kTableView;
    if (settings.value(kViewKey).toString() != view)
        settings.setValue(kViewKey, view);
    if (event->spontaneous())
        return;
    settings.setValue(QStringLiteral("Finestra/Geometria"), saveGeometry());
}

void TfrmCollezione::fitColumns()
{
    QHeaderView *header = grdSchede->horizontalHeader();
    // A long note gets a wide column, not the whole screen.
    const int widest = std::max(360, header->fontMetrics().averageCharWidth() * 48);
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (grdSchede->isColumnHidden(c))
            continue;
        // Heading and sampled cells, as the header measures them.
        grdSchede->resizeColumnToContents(c);
        const int heading = header->sectionSizeHint(c);
        header->resizeSection(c, std::max(heading, std::min(grdSchede->columnWidth(c), widest)));
    }
}

void TfrmCollezione::cmdStatisticheClick()
{
    // The amounts of a large collection first, so that the filter has
    // every card to choose from.
    finishLoad();
    TfrmStatistiche::showFor(this, *model_, cmbCatalogo->currentText());
}

QWidget *TfrmCollezione::closeTarget()
{
    QWidget *target = returnTo_ ? returnTo_ : navigation().window(Place::Start);
    returnTo_ = nullptr;
    return target;
}

void TfrmCollezione::btnEsciClick() { close(); }

void TfrmCollezione::showEvent(QShowEvent *event)
{
    MainLevelWindow::showEvent(event);
    if (event->spontaneous())
        return;
    fillChoices();
    reload();
    txtFiltro->setFocus();
}

void TfrmCollezione::fillChoices()
{
    const QString current = cmbCatalogo->currentText();
    cmbCatalogo->clear();
    for (const CardFile &file : CardFile::everything())
        cmbCatalogo->addItem(file.name, file.fileName());
    cmbCatalogo->addItem(kWholeCollection);
    const int again = cmbCatalogo->findText(current);
    cmbCatalogo->setCurrentIndex(again >= 0 ? again : 0);
}

void TfrmCollezione::cmbCatalogoChange()
{
    txtFiltro->blockSignals(true);
    txtFiltro->clear();
    txtFiltro->blockSignals(false);
    reload();
}


void TfrmCollezione::reload()
{
    const QString fileName = cmbCatalogo->currentData().toString();
    const QList<CardFile> files = fileName.isEmpty() ? CardFile::everything()
                                                     : QList<CardFile>{CardFile::fromFileName(fileName)};
    try {
        // A large collection shows its first rows at once, counted from the
        // files' sizes; the pass that reads the amounts for the totals
        // follows as soon as the window has drawn them.
        if (model_->prepare(files) >= Tuning::current().deferredLoadCards)
            // Also when the table is not drawn at all (a covered window).
            QTimer::singleShot(kDrawingTime, this, &TfrmCollezione::finishLoad);
        else
            model_->completeLoad();
    } catch (const CardStore::Failure &) {
        platform::error(this, CardStore::accessMessage());
    }
    grdSchede->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    model_->setFilter(txtFiltro->text());
    applyHiddenColumns();
    fitColumns();
    updateTotals();
}

void TfrmCollezione::finishLoad()
{
    if (!model_->pending())
        return;
    const Busy busy(true);
    try {
        model_->completeLoad();
    } catch (const CardStore::Failure &) {
        platform::error(this, CardStore::accessMessage());
    }
    // A file that changed size in between is shown anew: the filter again.
    model_->setFilter(txtFiltro->text());
    updateTotals();
}

QString TfrmCollezione::columnsKey() const
{
    if (model_->files().size() != 1)
        return QStringLiteral("Tutto/Nascoste");
    return model_->files().front().archive ? QStringLiteral("MOC/Nascoste")
                                           : QStringLiteral("Set/Nascoste");
}

void TfrmCollezione::applyHiddenColumns()
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    const QStringList hidden = settings.value(columnsKey()).toStringList();
    for (int c = 0; c < model_->columnCount(); ++c)
        grdSchede->setColumnHidden(c, hidden.contains(model_->columnList().at(c).caption));
}

void TfrmCollezione::btnColonneClick()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuColonne"));
    for (int c = 0; c < model_->columnCount(); ++c) {
        QAction *a = menu.addAction(model_->columnList().at(c).caption);
        a->setCheckable(true);
        a->setChecked(!grdSchede->isColumnHidden(c));
        connect(a, &QAction::toggled, this, [this, c](bool on) {
            grdSchede->setColumnHidden(c, !on);
            if (on)
                fitColumns();
            QStringList hidden;
            for (int i = 0; i < model_->columnCount(); ++i)
                if (grdSchede->isColumnHidden(i))
                    hidden << model_->columnList().at(i).caption;
            QSettings settings(settingsPath(), QSettings::IniFormat);
            settings.setValue(columnsKey(), hidden);
        });
    }
    menu.exec(btnColonne->mapToGlobal(QPoint(0, btnColonne->height())));
}

void TfrmCollezione::txtFiltroChange()
{
    // The first letter of a large collection reads its text through.
    const Busy busy(model_->totalCards() >= Tuning::current().deferredLoadCards);
    model_->setFilter(txtFiltro->text());
}

QString TfrmCollezione::totalsText(const QString &what, const CollectionModel::Totals &t)
{
    if (t.overflow)
        return QStringLiteral("%1: %2, valore oltre il calcolabile").arg(what, cards(t.cards));
    QString text = QStringLiteral("%1: %2, valore %3; in vendita %4 per %5")
                       .arg(what, cards(t.cards), moneyText(t.cents), cards(t.forSale),
                            moneyText(t.forSaleCents));
    if (t.unreadable)
        text += t.unreadable == 1 ? QStringLiteral(" (1 importo illeggibile non sommato)")
                                  : QStringLiteral(" (%1 importi illeggibili non sommati)").arg(t.unreadable);
    return text;
}

void TfrmCollezione::updateTotals()
{
    const qint64 shown = model_->rowCount();
    lblConteggio->setText(QStringLiteral("%1 su %2").arg(cards(shown)).arg(model_->totalCards()));
    if (model_->pending()) {
        const auto pending = [](const QString &what, qint64 count) {
            return QStringLiteral("%1: %2, calcolo dei valori in corso...").arg(what, cards(count));
        };
        lblTotaleSelezione->setText(pending(QStringLiteral("Selezione"), selectedRows().size()));
        lblTotaleFiltro->setText(pending(QStringLiteral("Schede filtrate"), shown));
        lblTotaleCollezione->setText(pending(
            model_->files().size() == 1 ? model_->files().front().name : kWholeCollection,
            model_->totalCards()));
        lblIllegibili->clear();
        return;
    }
    lblTotaleSelezione->setText(totalsText(QStringLiteral("Selezione"), model_->totalsOf(selectedRows())));
    lblTotaleFiltro->setText(totalsText(QStringLiteral("Schede filtrate"), model_->totalsShown()));
    const CollectionModel::Totals all = model_->totalsAll();
    lblTotaleCollezione->setText(totalsText(
        model_->files().size() == 1 ? model_->files().front().name : kWholeCollection, all));
    lblIllegibili->setText(all.unreadable
                               ? QStringLiteral("Importi illeggibili: ")
                                     + all.unreadableCards.join(QStringLiteral("; "))
                                     + (all.unreadable > all.unreadableCards.size()
                                            ? QStringLiteral("; ...")
                                            : QString())
                               : QString());
}

QList<int> TfrmCollezione::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &i : grdSchede->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> TfrmCollezione::visibleColumns() const
{
    QList<int> columns;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (!grdSchede->isColumnHidden(c))
            columns << c;
    return columns;
}

bool TfrmCollezione::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panel() && event->type() == QEvent::Resize)
        if (auto *band = panel()->findChild<Band *>(QStringLiteral("shpCollezione"), Qt::FindDirectChildrenOnly))
            band->setGeometry(panel()->rect());
    // The rows of a large collection are being drawn: the amounts are read
    // once they are on the screen.
    if (watched == grdSchede->viewport() && event->type() == QEvent::Paint && model_->pending())
        QMetaObject::invokeMethod(this, &TfrmCollezione::finishLoad, Qt::QueuedConnection);
    if (watched == grdSchede && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnApriClick();
            return true;
        }
    }
    return MainLevelWindow::eventFilter(watched, event);
}

void TfrmCollezione::grdSchedeDblClick() { btnApriClick(); }

void TfrmCollezione::btnApriClick()
{
    const QModelIndex current = grdSchede->currentIndex();
    if (!current.isValid())
        return;
    const CollectionModel::CardRef ref = model_->card(current.row());
    const CardFile file = model_->files().at(ref.file);
    std::optional<Record> record;
    try {
        record = file.store().read(ref.index);
    } catch (const CardStore::Failure &) {
        platform::error(this, CardStore::accessMessage());
        return;
    }
    const Place place = file.archive ? Place::Mocs : Place::Sets;
    if (file.archive)
        navigation().mocEditorFor(file.path, file.name);
    returnTo_ = nullptr;
    navigation().handOver(this, place);
    // The editor clears itself as it is shown; the card comes after, as
    // navigation shows one.
    if (auto *host = dynamic_cast<CardHost *>(navigation().window(place)))
        host->showCard(*record, ref.index + 1);
}

void TfrmCollezione::btnCopiaClick()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    const QList<int> columns = visibleColumns();
    QStringList lines;
    QStringList header;
    for (int c : columns)
        header << model_->columnList().at(c).caption;
    lines << header.join(QLatin1Char('\t'));
    for (int r : rows) {
        QStringList cells;
        for (int c : columns)
            cells << model_->text(r, c).replace(QLatin1Char('\t'), QLatin1Char(' '));
        lines << cells.join(QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TfrmCollezione::btnStampaClick()
{
    const QList<int> columns = visibleColumns();
    QString html = QStringLiteral("<h3>%1</h3><p>%2</p><table border=\"1\" cellspacing=\"0\" "
                                  "cellpadding=\"2\" width=\"100%\"><tr>")
                       .arg(cmbCatalogo->currentText().toHtmlEscaped(),
                            lblTotaleFiltro->text().toHtmlEscaped());
    for (int c : columns)
        html += QStringLiteral("<th>%1</th>").arg(model_->columnList().at(c).caption.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int r = 0; r < model_->rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c : columns)
            html += QStringLiteral("<td>%1</td>").arg(model_->text(r, c).toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");

    auto document = std::make_shared<QTextDocument>();
    QFont font = this->font();
    font.setPointSize(7);
    document->setDefaultFont(font);
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                             QPageLayout::Millimeter);
    const QRectF area = layout.paintRect(QPageLayout::Inch);
    const QSizeF page(area.width() * 96, area.height() * 96);
    document->setPageSize(page);
    document->setHtml(html);
    platform::PrintJob job;
    job.title = QStringLiteral("Collezione");
    job.layout = layout;
    job.pageCount = document->pageCount();
    job.paintPage = [document, page](QPainter &painter, int number, double scale) {
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -number * page.height());
        const QRectF clip(0, number * page.height(), page.width(), page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        painter.setClipRect(clip);
        document->documentLayout()->draw(&painter, context);
        painter.restore();
    };
    platform::services().print(this, job);
}

QString TfrmCollezione::deleteQuestion(const QStringList &titles)
{
    constexpr int kNamed = 10;
    QStringList named = titles.mid(0, kNamed);
    if (titles.size() > kNamed)
        named << QStringLiteral("... e altre %1").arg(cards(titles.size() - kNamed));
    const QString what = titles.size() == 1 ? QStringLiteral("la scheda")
                                            : QStringLiteral("le %1").arg(cards(titles.size()));
    return Messages::deleteCards(what, named.join(QStringLiteral("\r\n")));
}

void TfrmCollezione::btnEliminaClick()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    QStringList titles;
    std::map<int, std::vector<qint64>> byFile;
    for (int r : rows) {
        titles << model_->cardTitle(r);
        const CollectionModel::CardRef ref = model_->card(r);
        byFile[ref.file].push_back(ref.index);
    }
    if (!platform::confirm(this, deleteQuestion(titles)))
        return;
    try {
        for (const auto &[file, indices] : byFile)
            Cestino::remove(model_->files().at(file), indices);
    } catch (const Cestino::Failure &e) {
        platform::error(this, QString::fromUtf8(e.what()));
    }
    reload();
}

QString TfrmCollezione::purgeQuestion(const Cestino::Entry &entry)
{
    return QStringLiteral("Eliminare definitivamente dal cestino %1 di \"%2\": %3?\r\n\r\n"
                          "Non si potranno più ripristinare.")
        .arg(cards(entry.titles.size()), entry.name, entry.titles.join(QStringLiteral(", ")));
}

QString TfrmCollezione::emptyBinQuestion(const QList<Cestino::Entry> &entries)
{
    qint64 count = 0;
    QStringList parts;
    for (const Cestino::Entry &e : entries) {
        count += e.titles.size();
        parts << QStringLiteral("%1 (%2)").arg(e.titles.join(QStringLiteral(", ")), e.name);
    }
    return QStringLiteral("Svuotare il cestino? Saranno eliminate definitivamente %1: %2.\r\n\r\n"
                          "Non si potranno più ripristinare.")
        .arg(cards(count), parts.join(QStringLiteral("; ")));
}

void TfrmCollezione::btnCestinoClick()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("frmCestino"));
    dialog.setWindowTitle(QStringLiteral(" Cestino"));
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog.setSizeGripEnabled(true);
    auto *layout = new QVBoxLayout(&dialog);
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstCestino"));
    QList<Cestino::Entry> entries;
    const auto fill = [&] {
        entries = Cestino::entries();
        list->clear();
        for (const Cestino::Entry &e : entries)
            list->addItem(QStringLiteral("%1 - %2: %3")
                              .arg(e.when.toString(QStringLiteral("dd/MM/yyyy HH:mm")), e.name,
                                   e.titles.join(QStringLiteral(", "))));
        if (list->count())
            list->setCurrentRow(list->count() - 1);
    };
    selectTheCurrentEntry(list);
    fill();
    auto *row = new QHBoxLayout;
    QPushButton *restore = button("btnRipristina", QStringLiteral("Ripristina"), &dialog);
    QPushButton *purge = button("btnEliminaDefinitivamente", QStringLiteral("Elimina definitivamente"), &dialog);
    QPushButton *empty = button("btnSvuota", QStringLiteral("Svuota cestino"), &dialog);
    QPushButton *close = button("btnChiudi", QStringLiteral("Chiudi"), &dialog);
    // Restore and purge act on the entry shown selected: with none, there is
    // nothing to press.
    const auto enable = [&] {
        const bool selected = !list->selectedItems().isEmpty();
        restore->setEnabled(selected);
        purge->setEnabled(selected);
        empty->setEnabled(list->count() > 0);
    };
    enable();
    connect(list, &QListWidget::itemSelectionChanged, &dialog, enable);
    row->addWidget(empty);
    row->addStretch(1);
    row->addWidget(purge);
    row->addWidget(restore);
    row->addWidget(close);
    layout->addWidget(new QLabel(QStringLiteral("Le schede ripristinate tornano in fondo al loro archivio."),
                                 &dialog));
    layout->addWidget(list, 1);
    layout->addLayout(row);
    dialog.resize(dialog.sizeHint().expandedTo(QSize(560, 360)));
    connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    connect(restore, &QPushButton::clicked, &dialog, [&] {
        const int at = list->currentRow();
        if (at < 0)
            return;
        try {
            Cestino::restore(entries.at(at).id);
        } catch (const Cestino::Failure &e) {
            platform::error(&dialog, QString::fromUtf8(e.what()));
            return;
        }
        dialog.accept();
    });
    const auto purgeEntries = [&](const QList<Cestino::Entry> &gone) {
        try {
            for (const Cestino::Entry &e : gone)
                Cestino::purge(e.id);
        } catch (const Cestino::Failure &e) {
            platform::error(&dialog, QString::fromUtf8(e.what()));
        }
        fill();
        enable();
    };
    connect(purge, &QPushButton::clicked, &dialog, [&] {
        const int at = list->currentRow();
        if (at >= 0 && platform::confirm(&dialog, purgeQuestion(entries.at(at))))
            purgeEntries({entries.at(at)});
    });
    connect(empty, &QPushButton::clicked, &dialog, [&] {
        if (!entries.isEmpty() && platform::confirm(&dialog, emptyBinQuestion(entries)))
            purgeEntries(entries);
    });
    auto *help = new QShortcut(QKeySequence::HelpContents, &dialog);
    connect(help, &QShortcut::activated, &dialog,
            [&dialog] { TfrmGuida::showTopic(&dialog, HelpTopics::bin()); });
    if (dialog.exec() == QDialog::Accepted)
        reload();
}

void TfrmCollezione::reloadShowing(const QString &path)
{
    fillChoices();
    const int at = path.isEmpty() ? -1 : cmbCatalogo->findData(QFileInfo(path).fileName());
    if (at >= 0)
        cmbCatalogo->setCurrentIndex(at);
    cmbCatalogoChange();
}

void TfrmCollezione::cmdBackupClick() { transfer_->backup(this); }

void TfrmCollezione::cmdRipristinaBackupClick()
{
    if (transfer_->restore(this))
        reloadShowing(QString());
}

QString TfrmCollezione::newArchiveChoice() { return QStringLiteral("Nuovo archivio di MOC"); }

QString TfrmCollezione::askFile(bool forImport)
{
    QDialog dialog(this);
    makeFixedModal(&dialog, QStringLiteral("frmDestinazione"),
                   forImport ? QStringLiteral(" Importa CSV") : QStringLiteral(" Esporta CSV"),
                   QSize(460, 170));
    auto *layout = new QVBoxLayout(&dialog);
    auto *question = new QLabel(forImport ? QStringLiteral("Importare le schede &in:")
                                          : QStringLiteral("Esportare le schede &di:"),
                                &dialog);
    auto *box = new QComboBox(&dialog);
    box->setObjectName(QStringLiteral("cmbDestinazione"));
    question->setBuddy(box);
    for (const CardFile &file : CardFile::everything())
        box->addItem(file.name, file.path);
    auto *newName = new QLineEdit(&dialog);
    newName->setObjectName(QStringLiteral("txtNuovoArchivio"));
    newName->setPlaceholderText(QStringLiteral("Nome del nuovo archivio di MOC"));
    newName->setVisible(forImport);
    if (forImport)
        box->addItem(newArchiveChoice());
    // The catalogue shown comes first to hand.
    const int shown = model_->files().size() == 1 ? box->findData(model_->files().front().path) : -1;
    box->setCurrentIndex(shown >= 0 ? shown : 0);
    const auto follow = [box, newName] { newName->setEnabled(box->currentData().toString().isEmpty()); };
    follow();
    connect(box, &QComboBox::currentIndexChanged, &dialog, follow);
    auto *row = new QHBoxLayout;
    QPushButton *ok = button("btnContinua", QStringLiteral("Continua"), &dialog);
    QPushButton *cancel = button("btnAnnulla", QStringLiteral("Annulla"), &dialog);
    ok->setDefault(true);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addWidget(question);
    layout->addWidget(box);
    layout->addWidget(newName);
    layout->addStretch(1);
    layout->addLayout(row);
    QString chosen;
    connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    connect(ok, &QPushButton::clicked, &dialog, [&] {
        chosen = box->currentData().toString();
        if (chosen.isEmpty()) {
            const QString name = Text::trim(newName->text());
            if (const QString problem = TfrmCreaCatalogo::nameProblem(name); !problem.isEmpty()) {
                platform::warning(&dialog, problem);
                newName->setFocus();
                return;
            }
            const QString fileName = name + QStringLiteral(".moc");
            if (ArchiveNames::existsIgnoringCase(ProgramFolder::path(), fileName)) {
                platform::warning(&dialog, Messages::importArchiveNameUsed());
                newName->setFocus();
                return;
            }
            chosen = ProgramFolder::file(fileName);
        }
        dialog.accept();
    });
    box->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return chosen;
}

void TfrmCollezione::cmdEsportaXlsxClick() { exportCards(false); }

void TfrmCollezione::cmdEsportaCsvClick() { exportCards(true); }

void TfrmCollezione::exportCards(bool csv)
{
    // One catalogue is shown: that one. The whole collection: the user
    // names the file; either way a filter exports only the cards it shows,
    // in the order shown.
    const bool whole = model_->files().size() != 1;
    const QString path = whole ? askFile(false) : model_->files().front().path;
    if (path.isEmpty())
        return;
    std::optional<QList<qint64>> rows;
    if (!model_->filter().isEmpty()) {
        rows.emplace();
        for (int r = 0; r < model_->rowCount(); ++r) {
            const CollectionModel::CardRef ref = model_->card(r);
            if (model_->files().at(ref.file).path == path)
                rows->append(ref.index);
        }
    }
    if (csv)
        transfer_->exportCsv(this, path, rows);
    else
        transfer_->exportXlsx(this, path, rows);
}

void TfrmCollezione::cmdImportaCsvClick()
{
    const QString path = askFile(true);
    if (path.isEmpty())
        return;
    if (transfer_->importCsv(this, path))
        reloadShowing(path);
}
