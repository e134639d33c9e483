#pragma once
// The list windows of the editors: the two searches (filter page, then the
// result page) and the two for-sale summaries (the result page only). One
// implementation, configured by ListWindowConfig: the scan, the result lines,
// the sorted list, "Trova", the recall of a card and the printing of the list.

#include "core/cards/RecordLayout.h"
#include "core/search/ResultLines.h"

#include <QDialog>
#include <span>

class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class Picture;

#include "core/search/ResultModel.h"
#include <atomic>
#include <functional>
#include <optional>

class CardHost;

struct FilterPlace {
    std::string_view control; // the filter edit, named after the editor's field
    std::string_view halo;
};

struct ListWindowConfig {
    const char *objectName;
    const char *caption;
    const RecordLayout *layout;
    std::span<const LineColumn> columns;
    std::span<const FilterPlace> filters; // empty for a for-sale summary
    const char *marker;                   // the search's caller word; nullptr for summaries
    bool (*qualifies)(const char *record, const RecordLayout &layout); // summaries
    const char *printTitle;
    const char *recallCaption;
};

class ListWindow : public QDialog {
    Q_OBJECT
public:
    ListWindow(const ListWindowConfig &config, CardHost *editor);
    ~ListWindow() override;

    const ListWindowConfig &config() const { return config_; }
    QLineEdit *filter(std::string_view control) const;
    ResultModel *results() const { return model_; }
    int selectedRow() const;
    void selectRow(int row);

    // Filter page (searches only)
    QWidget *panAvvio = nullptr;
    QPushButton *btnAnnulla = nullptr;
    QPushButton *btnCerca = nullptr;
    QLabel *lblConta = nullptr;
    QLabel *lblAttendere = nullptr;
    QLabel *lblMemory = nullptr;

    // Result page
    QWidget *panContainer = nullptr;
    QLineEdit *txtTrova = nullptr;
    QPushButton *btnTrova = nullptr;
    QListView *lstRecords = nullptr;
    QLabel *lblRigo03 = nullptr;
    QLabel *lblTrovate = nullptr; // searches only
    QPushButton *btnChiudi = nullptr;
    QPushButton *btnStampa = nullptr;

    // Shown while a scan takes longer than a second: what is being done, how
    // far it got, and "Annulla" (or Esc), which stops it.
    QWidget *panLavoro = nullptr;
    QLabel *lblLavoro = nullptr;
    QProgressBar *prgLavoro = nullptr;
    QPushButton *btnInterrompi = nullptr;

public slots:
    void btnCercaClick();
    void btnTrovaClick();
    void lstRecordsDblClick();
    void btnStampaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool countPending_ = false; // a click on "Cerca" waits for its count to be painted
    bool isSearch() const { return !config_.filters.empty(); }
    void buildFilterPage();
    void buildResultPage();
    void buildSummary();
    QString &lastFind() const;
    void buildBusyPanel();
    // Reads the whole file, its two halves at once on threads of their own,
    // while the window's events go on, and sorts the lines of the records
    // that `listed` accepts. Nothing when the user cancelled; a failure of
    // the file throws CardStore::Failure.
    std::optional<LineList> scan(const std::function<bool(const char *)> &listed);

    const ListWindowConfig &config_;
    CardHost *editor_;
    ResultModel *model_;
    QList<QLineEdit *> filters_;
    std::atomic<bool> *cancel_ = nullptr; // while a scan runs
};

// Prints the lines of a list under a title, on landscape A4 pages.
void printList(QWidget *parent, const QString &title, const QStringList &lines);
