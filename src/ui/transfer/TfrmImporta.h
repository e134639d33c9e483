#pragma once
// The preview of a CSV import: the first rows of the file under their
// headings, a field chosen for each column (proposed from the headings,
// changeable), the cells that will be cut or cannot be read marked.

#include "core/cards/RecordLayout.h"
#include "core/transfer/CsvImport.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class TfrmImporta : public QDialog {
    Q_OBJECT
public:
    // `present`: the catalogue's cards, whose rows are marked; `reload` reads
    // the preview of another sheet of a spreadsheet.
    TfrmImporta(const RecordLayout &layout, const Transfer::Preview &preview, const QString &target,
                QWidget *parent = nullptr, const Transfer::PresentCards *present = nullptr,
                std::function<Transfer::Preview(int sheet)> reload = {});

    QLabel *lblInfo;
    QTableWidget *grdAnteprima; // row 0: a field box per column; then the rows
    QPushButton *btnImporta;
    QPushButton *btnAnnulla;
    QLabel *lblLegenda;
    QCheckBox *chkSaltaPresenti; // "Salta le schede già presenti", on
    QComboBox *cmbFoglio;        // the sheet of a spreadsheet (shown with more than one)

    // The field box of a column (objectName "cmbCampo" + column number).
    QComboBox *fieldBox(int column) const;
    Transfer::Mapping mapping() const;
    // What the import is to do: the sheet, the skipping of present cards and
    // the cells corrected in the grid.
    Transfer::ImportOptions options() const;
    // Whether preview row `row` (0 the first row of the file after the
    // headings) is a card already in the catalogue.
    bool rowPresent(int row) const;

    // The marks of a preview cell: what will be stored, and why it is marked.
    static QColor cutColour();
    static QColor unreadableColour();
    static QColor presentColour();

private slots:
    void mark();

private:
    void fill();
    QString info() const;

    const RecordLayout &layout_;
    QString target_;
    Transfer::Preview preview_;
    const Transfer::PresentCards *present_;
    std::function<Transfer::Preview(int sheet)> reload_;
    QList<QComboBox *> boxes_;
    QList<bool> presentRows_;
};
