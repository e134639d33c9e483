#pragma once
// The collection window: every card of the set catalogue, of one MOC archive
// or of the whole collection in one table, sorted by any column, filtered as
// the user types, with totals always in view; cards open in their editor,
// print, copy, and go into the waste bin and back.

#include "ui/base/MainLevelWindow.h"
#include "ui/base/OwnGeometry.h"

#include "core/app/HelpTopics.h"
#include "core/collection/Cestino.h"
#include "core/collection/CollectionModel.h"

class FlowLayout;
class GalleryView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TransferCommands;

class TfrmCollezione : public MainLevelWindow, public OwnGeometry {
    Q_OBJECT
public:
    explicit TfrmCollezione(QWidget *parent = nullptr);

    // Where closing the window returns: the window it was opened from.
    void setReturnTo(QWidget *window) { returnTo_ = window; }

    QComboBox *cmbCatalogo;
    QLineEdit *txtFiltro;
    QLabel *lblConteggio;
    QTableView *grdSchede;
    QLabel *lblTotaleSelezione;
    QLabel *lblTotaleFiltro;
    QLabel *lblTotaleCollezione;
    QLabel *lblIllegibili;
    // The row of commands, wrapping onto more lines in a narrow window;
    // room is left in it for more.
    FlowLayout *panComandi;
    QPushButton *btnApri;
    QPushButton *btnColonne;
    QPushButton *btnCopia;
    QPushButton *btnStampa;
    QPushButton *btnElimina;
    QPushButton *btnCestino;
    QPushButton *cmdBackup;
    QPushButton *cmdRipristinaBackup;
    QPushButton *cmdEsportaCsv;
    QPushButton *cmdEsportaXlsx;
    QPushButton *cmdImportaCsv;
    QPushButton *cmdStatistiche;
    QPushButton *btnEsci;
    // The gallery of the cards' photos, in the table's place when
    // chkGalleria is down.
    QPushButton *chkGalleria;
    GalleryView *lstGalleria;

    CollectionModel *model() const { return model_; }
    // Shown as the user last left it (size, place, maximised), or maximised
    // the first time; remembered in the window's settings file.
    void showWithOwnGeometry() override;
    // The help topic for where the focus is: the bin's commands, backup and
    // restore, CSV files, or the window itself.
    HelpTopics::Topic helpTopic() const;
    // The backup, restore and CSV commands the window runs.
    TransferCommands *transfer() const { return transfer_; }
    // The texts of the totals bar for a set of totals.
    static QString totalsText(const QString &what, const CollectionModel::Totals &totals);
    // The confirmation asked before deleting.
    static QString deleteQuestion(const QStringList &titles);
    // The entry of the destination box that names a new MOC archive.
    static QString newArchiveChoice();
    // The confirmations asked before cards leave the bin for good.
    static QString purgeQuestion(const Cestino::Entry &entry);
    static QString emptyBinQuestion(const QList<Cestino::Entry> &entries);

public slots:
    void cmbCatalogoChange();
    void txtFiltroChange();
    void grdSchedeDblClick();
    void btnApriClick();
    void btnColonneClick();
    void btnCopiaClick();
    void btnStampaClick();
    void btnEliminaClick();
    void btnCestinoClick();
    void cmdBackupClick();
    void cmdRipristinaBackupClick();
    void cmdEsportaCsvClick();
    void cmdEsportaXlsxClick();
    void cmdImportaCsvClick();
    void cmdStatisticheClick();
    void btnEsciClick();
    void chkGalleriaClick();

protected:
    QWidget *closeTarget() override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Every column as wide as its heading and its text need (sampled), up
    // to a limit; a heading is never cut.
    void fitColumns();
    // Exports the catalogue shown (or the file the user names), as CSV or .xlsx.
    void exportCards(bool csv);
    // The gallery beside the table, the view last shown shown again.
    void setupGallery();
    void fillChoices();
    void reload();
    // Reads the amounts that a large collection's first showing left out.
    void finishLoad();
    void updateTotals();
    void applyHiddenColumns();
    QString columnsKey() const;
    QList<int> selectedRows() const;
    QList<int> visibleColumns() const;
    // Asks which record file an export reads or an import fills (for an
    // import also offering a new archive, its name checked); the full path,
    // or an empty text when the user cancelled.
    QString askFile(bool forImport);
    // Fills the catalogue box again and shows the file of that path.
    void reloadShowing(const QString &path);

    CollectionModel *model_;
    TransferCommands *transfer_;
    QWidget *returnTo_ = nullptr;
};
