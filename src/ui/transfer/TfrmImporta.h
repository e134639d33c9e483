#pragma once
// The preview of a CSV import: the first rows of the file under their
// headings, a field chosen for each column (proposed from the headings,
// changeable), the cells that will be cut or cannot be read marked.

#include "core/cards/RecordLayout.h"
#include "core/transfer/CsvImport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class TfrmImporta : public QDialog {
    Q_OBJECT
public:
    TfrmImporta(const RecordLayout &layout, const Transfer::Preview &preview, const QString &target,
                QWidget *parent = nullptr);

    QLabel *lblInfo;
    QTableWidget *grdAnteprima; // row 0: a field box per column; then the rows
    QPushButton *btnImporta;
    QPushButton *btnAnnulla;
    QLabel *lblLegenda;

    // The field box of a column (objectName "cmbCampo" + column number).
    QComboBox *fieldBox(int column) const;
    Transfer::Mapping mapping() const;

    // The marks of a preview cell: what will be stored, and why it is marked.
    static QColor cutColour();
    static QColor unreadableColour();

private slots:
    void mark();

private:
    const RecordLayout &layout_;
    Transfer::Preview preview_;
    QList<QComboBox *> boxes_;
};
