#include "ui/output/ExportWindow.h"

#include "core/app/Messages.h"
#include "ui/base/HelpWindows.h"
#include "ui/base/OpenURL.h"
#include "core/app/ProgramFolder.h"
#include "ui/base/Widgets.h"
#include "ui/editing/CardHost.h"
#include "core/cards/CardStore.h"
#include "core/cards/Schede.h"
#include "core/cards/Windows1252.h"
#include "ui/editing/HintBar.h"
#include "core/output/Spreadsheet.h"
#include "core/platform/AtomicFile.h"
#include "core/platform/FileSystem.h"
#include "ui/platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSettings>
#include <QStandardPaths>
#include <QLabel>
#include <QShowEvent>
#include <QTableView>
#include <vector>

namespace {

constexpr ExportColumn kSetColumns[] = {
    {"colNum", "", 60, 0, false, "N."},
    {"colMunizioni", "NomeSet", 250, 280, false},
    {"colArma", "Tema", 250, 350, false},
    {"colAccessori", "MinifigureIncluse", 300, 400, false},
    {"colCalibro", "CodiceSet", 180, 200, false},
    {"colAnno", "AnnoUscita", 180, 200, false},
    {"colMatricola", "NumeroPezzi", 200, 250, false},
    {"colPeso", "PesoScatola", 200, 250, false},
    {"colComponenti", "PezziMancanti", 300, 400, true},
    {"colDimensioni", "DimensioniScatola", 250, 300, false},
    {"colLuogo", "LuogoConservazione", 250, 250, false},
    {"colProprietario", "StatoConservazione", 250, 280, true},
    {"colCodFisc", "EtaConsigliata", 200, 250, true},
    {"colRecapito", "DataAcquisto", 200, 250, true},
    {"colNote", "Note", 350, 400, true},
    {"colValore", "Valore", 150, 200, false},
    {"colVenduta", "InVendita", 120, 180, false},
};

constexpr ExportColumn kMocColumns[] = {
    {"colNum", "", 60, 0, false, "N."},
    {"colTitolo", "NomeProgetto", 280, 300, false},
    {"colTipologia", "CodiceID", 200, 250, true},
    {"colEditore", "Tema", 250, 300, false},
    {"colSerie", "Designer", 220, 250, false},
    {"colDescrizione", "DescrizioneMOC", 400, 450, false},
    {"colAnno", "Scala", 180, 200, false},
    {"colValore", "CostoTotale", 180, 250, true},
    {"colDimensioni", "NumeroPezzi", 200, 250, false},
    {"colCarta", "DocumentoIstruzioni", 250, 300, false},
    {"colRarita", "TecnicaPrincipale", 250, 300, true},
    {"colMittente", "ColoriPredominanti", 250, 300, false},
    {"colIndirizzoMit", "StrutturaSupporto", 250, 300, false},
    {"colDestinatario", "DimensioniOpera", 250, 350, true},
    {"colIndirizzoDes", "TempoMontaggio", 200, 350, true},
    {"colTesto", "SetUsati", 400, 450, true},
    {"colData", "LivelloDifficolta", 200, 250, true},
    {"colFrancobollo", "EtaConsigliata", 200, 250, true},
    {"colTimbro", "PesoComplessivo", 200, 250, true},
    {"colStato", "StatoProgetto", 200, 250, true},
    {"colLuogo", "LuogoConservazione", 300, 350, true},
    {"colNote", "Note", 350, 400, true},
    {"colInVendita", "InVendita", 120, 200, true},
};

const ExportConfig kExpArmi{"frmExpArmi", " Esporta catalogo BLOKKO in Excel", &Schede::TSchedaSet,
                            kSetColumns, "Catalogo BLOKKO", "Catalogo_BLOKKO.xls",
                            HelpTopics::setExport};
const ExportConfig kExpCartoline{"frmExpCartoline", " Esporta archivio MOC in Excel",
                                 &Schede::TSchedaMOC, kMocColumns, "Archivio MOC",
                                 "Archivio_MOC.xls", HelpTopics::mocExport};

Picture *pictureButton(const QString &name, const QString &resource, const QRect &geometry,
                       QWidget *parent)
{
    auto *p = new Picture(name, resource, geometry, parent);
    p->setClickable(true);
    return p;
}

} // namespace

ExportWindow::ExportWindow(const ExportConfig &config, CardHost *editor)
    : QDialog(editor->hostWindow()), config_(config), editor_(editor),
      model_(new ExportModel(*config.layout, config.columns, this))
{
    makeFixedModal(this, QString::fromLatin1(config.objectName), QString::fromUtf8(config.caption),
                   QSize(862, 560));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xEE, 0xED, 0xED));
    setPalette(palette);

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setGeometry(12, 13, 837, 533);
    auto *band = new Band(QStringLiteral("shpBanda"), QRect(8, 8, 821, 65), panel);
    imgLogo = new Picture(QStringLiteral("imgLogo"), QStringLiteral(":/images/esporta_banner.svg"),
                          QRect(8, 8, 560, 65), panel);
    icoHand = new Picture(QStringLiteral("icoHand"), QStringLiteral(":/images/mano.svg"),
                          QRect(600, 22, 40, 40), panel);
    cmdEsporta = pictureButton(QStringLiteral("cmdEsporta"), QStringLiteral(":/images/cmd_esporta.svg"),
                               QRect(656, 20, 44, 44), panel);
    cmdGuida = pictureButton(QStringLiteral("cmdGuida"), QStringLiteral(":/images/cmd_guida.svg"),
                             QRect(712, 20, 44, 44), panel);
    cmdEsci = pictureButton(QStringLiteral("cmdEsci"), QStringLiteral(":/images/cmd_esci.svg"),
                            QRect(768, 20, 44, 44), panel);

    grdRecords = new QTableView(panel);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setGeometry(8, 79, 821, 409);
    grdRecords->setModel(model_);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->verticalHeader()->setDefaultSectionSize(21);
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->hide();
    grdRecords->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < int(config.columns.size()); ++c)
        grdRecords->setColumnWidth(c, config.columns[c].gridWidth);
    grdRecords->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);

    auto *shpInfo = new Band(QStringLiteral("shpInfo"), QRect(8, 494, 821, 32), panel,
                             QColor(0x6A, 0x5A, 0xCD), QColor(0x6A, 0x5A, 0xCD));
    panInfo = makeLabel(QStringLiteral("panInfo"), QString(), QRect(18, 501, 10, 18), panel);
    QFont tahoma(QStringLiteral("Tahoma"), 12);
    tahoma.setStyleHint(QFont::SansSerif);
    panInfo->setFont(tahoma);
    panInfo->setStyleSheet(QStringLiteral("color: white;"));
    hintBar = new HintBar(this, panInfo);
    hintBar->setText(QStringLiteral("Esportazione archivio in Microsoft Excel."));
    cmdEsporta->setHint(QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    cmdGuida->setHint(QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    cmdEsci->setHint(QStringLiteral("Esci da questo ambiente di lavoro."));
    for (Picture *p : {cmdEsporta, cmdGuida, cmdEsci})
        hintBar->addHint(p, p->hint());
    for (QWidget *w : {static_cast<QWidget *>(panel), static_cast<QWidget *>(band),
                       static_cast<QWidget *>(shpInfo), static_cast<QWidget *>(grdRecords),
                       grdRecords->viewport()})
        hintBar->addBlank(w);

    connect(cmdEsporta, &Picture::clicked, this, &ExportWindow::cmdEsportaClick);
    connect(cmdEsci, &Picture::clicked, this, &ExportWindow::cmdEsciClick);
    connect(cmdGuida, &Picture::clicked, this, [this] { TfrmGuida::showTopic(this, config_.helpTopic()); });
    picturesAfterControls(this);
}

void ExportWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    try {
        model_->load(editor_->store());
    } catch (const CardStore::Failure &) {
        // Silent: the grid keeps whatever was loaded.
    }
}

QString ExportWindow::exportPath() const
{
    return ProgramFolder::file(QString::fromLatin1(config_.fileName));
}

namespace {

// The small settings file of the data folder that remembers the folder of the
// last spreadsheet saved.
QString foldersFile() { return ProgramFolder::file(QStringLiteral("Cartelle.ini")); }
const QString kLastFolderKey = QStringLiteral("Excel/UltimaCartella");

// Where the save dialog starts: the last folder used while it still exists,
// else the user's Documents folder, else the home folder.
QString startFolder()
{
    const QString last = QSettings(foldersFile(), QSettings::IniFormat).value(kLastFolderKey).toString();
    if (!last.isEmpty() && QDir::isAbsolutePath(last) && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

} // namespace

QString ExportWindow::chooseExportPath()
{
    // A portable program folder keeps its export beside the collection.
    if (ProgramFolder::layout() == ProgramFolder::Layout::Portable)
        return exportPath();
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Salva il foglio di Excel");
    request.filters = {QStringLiteral("Fogli di Excel (*.xls)")};
    request.proposedName = QDir(startFolder()).filePath(QString::fromLatin1(config_.fileName));
    request.defaultExtension = QStringLiteral("xls");
    request.overwritePrompt = true;
    const QString chosen = platform::services().saveFile(this, request);
    if (!chosen.isEmpty()) {
        QSettings settings(foldersFile(), QSettings::IniFormat);
        settings.setValue(kLastFolderKey, QFileInfo(chosen).absolutePath());
    }
    return chosen;
}

bool ExportWindow::writeFile(const QString &path) const
{
    // Written beside the old file, which is replaced only once the new one is
    // complete: a failure leaves the last good export whole.
    if (platform::isReadOnly(path))
        return false;
    platform::AtomicFile file(path);
    if (!file.open())
        return false;
    std::vector<Spreadsheet::Heading> headings;
    for (std::size_t c = 1; c < config_.columns.size(); ++c)
        headings.push_back({config_.columns[c].headingIn(*config_.layout), config_.columns[c].fileWidth});
    Spreadsheet::Writer writer(file.device());
    writer.head(QString::fromUtf8(config_.sheetName), headings);
    const int columns = int(config_.columns.size());
    QByteArray scratch;
    for (int row = 0; row < model_->rowCount(); ++row) {
        writer.beginRow();
        for (int c = 1; c < columns; ++c)
            writer.cell(model_->cellBytes(row, c, scratch));
        writer.endRow();
    }
    if (!writer.finish())
        return false;
    return file.commit();
}

void ExportWindow::cmdEsportaClick()
{
    if (!platform::confirm(this, Messages::exportQuestion()))
        return;
    const QString path = chooseExportPath();
    if (path.isEmpty())
        return;
    if (!writeFile(path)) {
        platform::showMessage(this, Messages::exportFailed());
        return;
    }
    if (platform::confirm(this, Messages::exportedOpenIt())
        && !platform::services().shellOpenChecked(QLatin1Char('"') + path + QLatin1Char('"')))
        platform::warning(this, noProgramMessage(path));
}

void ExportWindow::cmdEsciClick() { close(); }

QString ExportWindow::noProgramMessage(const QString &path)
{
    return Messages::savedButNotOpened(QDir::toNativeSeparators(path));
}

TfrmExpArmi::TfrmExpArmi(CardHost *editor) : ExportWindow(kExpArmi, editor) {}
TfrmExpCartoline::TfrmExpCartoline(CardHost *editor) : ExportWindow(kExpCartoline, editor) {}
