#include "ui/transfer/TfrmImporta.h"

#include "ui/base/Widgets.h"

#include "core/transfer/Transfer.h"
#include "ui/platform/Platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmImporta::TfrmImporta(const RecordLayout &layout, const Transfer::Preview &preview,
                         const QString &target, QWidget *parent,
                         const Transfer::PresentCards *present,
                         std::function<Transfer::Preview(int sheet)> reload)
    : QDialog(parent), layout_(layout), target_(target), preview_(preview), present_(present),
      reload_(std::move(reload))
{
    setObjectName(QStringLiteral("frmImporta"));
    setWindowTitle(QStringLiteral(" Vetrinora - Importazione schede da CSV"));
    resize(900, 560);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);

    cmbFoglio = new QComboBox(this);
    cmbFoglio->setObjectName(QStringLiteral("cmbFoglio"));
    cmbFoglio->addItems(preview.sheets);
    cmbFoglio->setCurrentIndex(preview.sheet);
    cmbFoglio->setVisible(preview.sheets.size() > 1);
    connect(cmbFoglio, &QComboBox::activated, this, [this](int sheet) {
        if (!reload_ || sheet == preview_.sheet)
            return;
        try {
            preview_ = reload_(sheet);
            fill();
        } catch (const Transfer::Error &e) {
            platform::warning(this, e.message());
            cmbFoglio->setCurrentIndex(preview_.sheet);
        }
    });

    grdAnteprima = new QTableWidget(this);
    grdAnteprima->setObjectName(QStringLiteral("grdAnteprima"));
    grdAnteprima->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                  | QAbstractItemView::AnyKeyPressed);
    selectTheCurrentEntry(grdAnteprima);
    grdAnteprima->horizontalHeader()->setDefaultSectionSize(160);
    connect(grdAnteprima, &QTableWidget::itemChanged, this, &TfrmImporta::mark);

    lblLegenda = new QLabel(QStringLiteral("In rosso le celle che saranno troncate alla lunghezza del "
                                           "campo, in giallo i valori che non si possono leggere "
                                           "(si possono correggere qui), in azzurro le schede già "
                                           "presenti nel catalogo."),
                            this);
    lblLegenda->setObjectName(QStringLiteral("lblLegenda"));
    lblLegenda->setWordWrap(true);

    chkSaltaPresenti = new QCheckBox(QStringLiteral("Salta le schede già presenti"), this);
    chkSaltaPresenti->setObjectName(QStringLiteral("chkSaltaPresenti"));
    chkSaltaPresenti->setChecked(true);

    btnImporta = new QPushButton(QStringLiteral("Importa"), this);
    btnImporta->setObjectName(QStringLiteral("btnImporta"));
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    connect(btnImporta, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(lblInfo, 1);
    top->addWidget(cmbFoglio);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblLegenda, 1);
    buttons->addWidget(chkSaltaPresenti);
    buttons->addWidget(btnImporta);
    buttons->addWidget(btnAnnulla);
    auto *layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(top);
    layoutBox->addWidget(grdAnteprima, 1);
    layoutBox->addLayout(buttons);
    fill();
}

QString TfrmImporta::info() const
{
    const Transfer::Preview &p = preview_;
    const QString more = p.moreRows ? QStringLiteral(" (ne seguono altre)") : QString();
    if (!p.sheets.isEmpty())
        return QStringLiteral("Destinazione: %1 — foglio di calcolo %2, foglio \"%3\". Prime %4 righe del foglio%5.")
            .arg(QFileInfo(target_).fileName(), p.encoding, p.sheets.value(p.sheet))
            .arg(p.rows.size())
            .arg(more);
    const QString separator = p.separator.isNull() ? QStringLiteral("foglio di Vetrinora")
                              : p.separator == QLatin1Char('\t') ? QStringLiteral("tabulazione")
                                                                  : QString(p.separator);
    return QStringLiteral("Destinazione: %1 — codifica %2, separatore %3. Prime %4 righe del file%5.")
        .arg(QFileInfo(target_).fileName(), p.encoding, separator)
        .arg(p.rows.size())
        .arg(more);
}

// The grid of the preview shown: row 0 holds the field boxes.
void TfrmImporta::fill()
{
    const QSignalBlocker blocker(grdAnteprima);
    lblInfo->setText(info());
    grdAnteprima->clear();
    grdAnteprima->setRowCount(int(preview_.rows.size()) + 1);
    grdAnteprima->setColumnCount(int(preview_.headings.size()));
    grdAnteprima->setHorizontalHeaderLabels(preview_.headings);
    QStringList rowLabels{QStringLiteral("Campo")};
    for (int row = 0; row < preview_.rows.size(); ++row)
        rowLabels.append(QString::number(preview_.rowNumbers.value(row, row + 2)));
    grdAnteprima->setVerticalHeaderLabels(rowLabels);
    boxes_.clear();
    const Transfer::Mapping proposed = Transfer::proposeMapping(layout_, preview_.headings);
    for (int col = 0; col < preview_.headings.size(); ++col) {
        auto *box = new QComboBox(grdAnteprima);
        box->setObjectName(QStringLiteral("cmbCampo%1").arg(col));
        box->addItem(QStringLiteral("(non importare)"), -1);
        for (int f = 0; f < int(layout_.fields.size()); ++f)
            box->addItem(Transfer::heading(layout_.fields[size_t(f)]), f);
        box->setCurrentIndex(box->findData(proposed.value(col, -1)));
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmImporta::mark);
        grdAnteprima->setCellWidget(0, col, box);
        boxes_.append(box);
        for (int row = 0; row < preview_.rows.size(); ++row)
            grdAnteprima->setItem(row + 1, col, new QTableWidgetItem(preview_.rows[row].value(col)));
    }
    mark();
}

QComboBox *TfrmImporta::fieldBox(int column) const { return boxes_.value(column); }

Transfer::Mapping TfrmImporta::mapping() const
{
    Transfer::Mapping m;
    for (const QComboBox *box : boxes_)
        m.append(box->currentData().toInt());
    return m;
}

Transfer::ImportOptions TfrmImporta::options() const
{
    Transfer::ImportOptions o;
    o.sheet = preview_.sheet;
    o.skipPresent = chkSaltaPresenti->isChecked();
    for (int row = 0; row < preview_.rows.size(); ++row) {
        for (int col = 0; col < preview_.headings.size(); ++col) {
            const QTableWidgetItem *item = grdAnteprima->item(row + 1, col);
            if (item && item->text() != preview_.rows[row].value(col))
                o.corrections[preview_.rowNumbers.value(row)][col] = item->text();
        }
    }
    return o;
}

bool TfrmImporta::rowPresent(int row) const { return presentRows_.value(row); }

QColor TfrmImporta::cutColour() { return QColor(0xFF, 0xC8, 0xC8); }
QColor TfrmImporta::unreadableColour() { return QColor(0xFF, 0xF0, 0xA0); }
QColor TfrmImporta::presentColour() { return QColor(0xD0, 0xE8, 0xFF); }

void TfrmImporta::mark()
{
    const QSignalBlocker blocker(grdAnteprima);
    const Transfer::Mapping m = mapping();
    bool any = false;
    for (const int f : m)
        any = any || f >= 0;
    presentRows_.clear();
    for (int row = 0; row < preview_.rows.size(); ++row) {
        QStringList cells;
        for (int col = 0; col < m.size(); ++col)
            cells.append(grdAnteprima->item(row + 1, col)->text());
        const bool present = present_ && any
                             && present_->contains(Transfer::cardFromRow(layout_, m, cells));
        presentRows_.append(present);
        if (QTableWidgetItem *header = grdAnteprima->verticalHeaderItem(row + 1))
            header->setToolTip(present ? QStringLiteral("Scheda già presente nel catalogo") : QString());
        for (int col = 0; col < m.size(); ++col) {
            QTableWidgetItem *item = grdAnteprima->item(row + 1, col);
            item->setBackground(present ? QBrush(presentColour()) : QBrush());
            item->setToolTip(present ? QStringLiteral("Scheda già presente nel catalogo") : QString());
            if (m[col] < 0)
                continue;
            const FieldDef &field = layout_.fields[size_t(m[col])];
            const Transfer::Converted c = Transfer::convert(field, item->text());
            if (c.cut) {
                item->setBackground(cutColour());
                item->setToolTip(QStringLiteral("Sarà troncato a %1 caratteri: %2").arg(field.capacity).arg(c.text));
            } else if (c.unreadable) {
                item->setBackground(unreadableColour());
                item->setToolTip(QStringLiteral("Non si può leggere: sarà registrato %1. Correggere "
                                                "il valore qui.").arg(c.text));
            } else if (!c.replaced.isEmpty()) {
                item->setToolTip(QStringLiteral("Caratteri che saranno sostituiti: %1").arg(c.replaced));
            }
        }
    }
    btnImporta->setEnabled(any);
}
