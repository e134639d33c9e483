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
class QPushButton;
class Picture;

#include "core/search/ResultModel.h"
#include <functional>

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

public slots:
    void btnCercaClick();
    void btnTrovaClick();
    void lstRecordsDblClick();
    void btnStampaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isSearch() const { return !config_.filters.empty(); }
    void buildFilterPage();
    void buildResultPage();
    void buildSummary();
    QString &lastFind() const;
    // Reads the whole file, block by block, adding the line of every record
    // that `listed` accepts.
    void scan(const std::function<bool(const char *)> &listed,
              QList<ResultModel::Entry> &entries, const std::function<void()> &opened = {}) const;

    const ListWindowConfig &config_;
    CardHost *editor_;
    ResultModel *model_;
    QList<QLineEdit *> filters_;
};

// Prints the lines of a list under a title, on landscape A4 pages.
void printList(QWidget *parent, const QString &title, const QStringList &lines);
