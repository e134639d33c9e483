#include "ui/transfer/TfrmImporta.h"

#include "core/transfer/Transfer.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmImporta::TfrmImporta(const RecordLayout &layout, const Transfer::Preview &preview,
                         const QString &target, QWidget *parent)
    : QDialog(parent), layout_(layout), preview_(preview)
{
    setObjectName(QStringLiteral("frmImporta"));
    setWindowTitle(QStringLiteral(" Vetrinora - Importazione schede da CSV"));
    resize(900, 560);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    const QString separator = preview.separator.isNull() ? QStringLiteral("foglio di Vetrinora")
                              : preview.separator == QLatin1Char('\t') ? QStringLiteral("tabulazione")
                                                                        : QString(preview.separator);
    lblInfo->setText(QStringLiteral("Destinazione: %1 — codifica %2, separatore %3. Prime %4 righe del file%5.")
                         .arg(QFileInfo(target).fileName(), preview.encoding, separator)
                         .arg(preview.rows.size())
                         .arg(preview.moreRows ? QStringLiteral(" (ne seguono altre)") : QString()));
    lblInfo->setWordWrap(true);

    grdAnteprima = new QTableWidget(int(preview.rows.size()) + 1, int(preview.headings.size()), this);
    grdAnteprima->setObjectName(QStringLiteral("grdAnteprima"));
    grdAnteprima->setHorizontalHeaderLabels(preview.headings);
    grdAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAnteprima->horizontalHeader()->setDefaultSectionSize(160);

    const Transfer::Mapping proposed = Transfer::proposeMapping(layout, preview.headings);
    for (int col = 0; col < preview.headings.size(); ++col) {
        auto *box = new QComboBox(grdAnteprima);
        box->setObjectName(QStringLiteral("cmbCampo%1").arg(col));
        box->addItem(QStringLiteral("(non importare)"), -1);
        for (int f = 0; f < int(layout.fields.size()); ++f)
            box->addItem(Transfer::heading(layout.fields[size_t(f)]), f);
        box->setCurrentIndex(box->findData(proposed.value(col, -1)));
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmImporta::mark);
        grdAnteprima->setCellWidget(0, col, box);
        boxes_.append(box);
        for (int row = 0; row < preview.rows.size(); ++row)
            grdAnteprima->setItem(row + 1, col, new QTableWidgetItem(preview.rows[row].value(col)));
    }

    lblLegenda = new QLabel(QStringLiteral("In rosso le celle che saranno troncate alla lunghezza del "
                                           "campo, in giallo i valori che non si possono leggere."),
                            this);
    lblLegenda->setObjectName(QStringLiteral("lblLegenda"));

    btnImporta = new QPushButton(QStringLiteral("Importa"), this);
    btnImporta->setObjectName(QStringLiteral("btnImporta"));
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    connect(btnImporta, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblLegenda, 1);
    buttons->addWidget(btnImporta);
    buttons->addWidget(btnAnnulla);
    auto *layoutBox = new QVBoxLayout(this);
    layoutBox->addWidget(lblInfo);
    layoutBox->addWidget(grdAnteprima, 1);
    layoutBox->addLayout(buttons);
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

QColor TfrmImporta::cutColour() { return QColor(0xFF, 0xC8, 0xC8); }
QColor TfrmImporta::unreadableColour() { return QColor(0xFF, 0xF0, 0xA0); }

void TfrmImporta::mark()
{
    const Transfer::Mapping m = mapping();
    bool any = false;
    for (int col = 0; col < m.size(); ++col) {
        any = any || m[col] >= 0;
        for (int row = 0; row < preview_.rows.size(); ++row) {
            QTableWidgetItem *item = grdAnteprima->item(row + 1, col);
            item->setBackground(QBrush());
            item->setToolTip(QString());
            if (m[col] < 0)
                continue;
            const FieldDef &field = layout_.fields[size_t(m[col])];
            const Transfer::Converted c = Transfer::convert(field, item->text());
            if (c.cut) {
                item->setBackground(cutColour());
                item->setToolTip(QStringLiteral("Sarà troncato a %1 caratteri: %2").arg(field.capacity).arg(c.text));
            } else if (c.unreadable) {
                item->setBackground(unreadableColour());
                item->setToolTip(QStringLiteral("Non si può leggere: sarà registrato %1").arg(c.text));
            } else if (!c.replaced.isEmpty()) {
                item->setToolTip(QStringLiteral("Caratteri che saranno sostituiti: %1").arg(c.replaced));
            }
        }
    }
    btnImporta->setEnabled(any);
}
