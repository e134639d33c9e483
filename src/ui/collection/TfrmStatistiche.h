#pragma once
// The statistics of the collection window's cards (a catalogue, an archive
// or the whole collection, as filtered there): a chart and beside it a table
// of the same figures for each subject, printed on A4 and saved as a PNG
// picture or a PDF document. The charts are made by the charts module
// (ui/platform/Modules.h), opened when the window first opens.

#include "core/collection/Statistics.h"

#include <QList>
#include <QString>
#include <QWidget>

class CollectionModel;
class QLabel;
class QPainter;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace platform {
struct ChartMaker;
struct ChartSpec;
} // namespace platform

class TfrmStatistiche : public QWidget {
    Q_OBJECT
public:
    // The figures of `what` ("Catalogo BLOKKO", "Tutta la collezione"),
    // `filter` the text the cards were filtered by (empty: none).
    TfrmStatistiche(const Statistics::Figures &figures, const QString &what, const QString &filter,
                    QWidget *parent = nullptr);

    // Counts the cards the model shows (every card of its files when it
    // filters none) and opens the window over `parent`, replacing one opened
    // there before. Shows the access message and returns nullptr when a file
    // cannot be read.
    static TfrmStatistiche *showFor(QWidget *parent, const CollectionModel &model, const QString &what);

    QLabel *lblTitolo;
    QLabel *lblRiepilogo;
    QTabWidget *tabGrafici;
    // One table per subject, in the order of the tabs.
    QTableWidget *tblTema;
    QTableWidget *tblAnnoUscita;
    QTableWidget *tblAnnoAcquisto;
    QTableWidget *tblInVendita;
    QTableWidget *tblPiuPreziose;
    QTableWidget *tblDesigner;
    QTableWidget *tblStato;
    QPushButton *cmdCopia;
    QPushButton *cmdStampa;
    QPushButton *cmdSalva;
    QPushButton *cmdGuida;
    QPushButton *cmdChiudi;

    const Statistics::Figures &figures() const { return figures_; }
    // The tables, in the order of the tabs.
    QList<QTableWidget *> tables() const;
    // The selected cells of a table as tab-separated lines (the whole table
    // with its headings when nothing is selected).
    static QString tableText(const QTableWidget *table);
    // The pages as printed: one per subject.
    int pageCount() const;
    void paintPage(QPainter &painter, int page, const QSizeF &size) const;
    // What stands in for a chart (on screen, printed and saved) where the
    // charts module is missing; the tables show the figures all the same.
    static QString chartMissingText();
    // The file filters of the save dialog.
    static QStringList saveFilters();
    // Writes the picture (.png) or the document (.pdf, A4); false when the file
    // cannot be written.
    bool saveTo(const QString &path) const;

public slots:
    void cmdCopiaClick();
    void cmdStampaClick();
    void cmdSalvaClick();
    void cmdGuidaClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Kind { Bars, SideBars, Pie };
    struct Subject {
        QString tab;   // "Per tema"
        QString title; // the chart's title
        Kind kind = Kind::Bars;
        QString unit;  // what the bars measure: "€", "MOC"
        QStringList labels;
        QList<double> values;
        QString note;  // what the chart leaves out, or empty
        QTableWidget *table = nullptr;
    };
    platform::ChartSpec chartOf(int subject) const;
    // The charts module's maker, nullptr without the module.
    static platform::ChartMaker *chartMaker();
    // Draws the chart of a subject into `area` (1/96 inch units).
    void renderChart(QPainter &painter, int subject, const QRectF &area) const;
    QTableWidget *addSubject(Subject subject, const char *name, const QStringList &headings,
                             const QList<QStringList> &rows);

    Statistics::Figures figures_;
    QString what_;
    QString filter_;
    QList<Subject> subjects_;
    platform::ChartMaker *charts_; // nullptr without the charts module
};
