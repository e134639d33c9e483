#pragma once
// The two export windows: the whole record file in a grid, written to a
// spreadsheet file in the program folder. One implementation; the column
// tables and the file names set the twins apart.

#include "core/app/HelpTopics.h"
#include "core/output/ExportModel.h"

#include <QDialog>

class CardHost;

class QLabel;
class QTableView;
class HintBar;
class Picture;

struct ExportConfig {
    const char *objectName;
    const char *caption;
    const RecordLayout *layout;
    std::span<const ExportColumn> columns;
    const char *sheetName;
    const char *fileName;
    HelpTopics::Topic (*helpTopic)();
};

class ExportWindow : public QDialog {
    Q_OBJECT
public:
    ExportWindow(const ExportConfig &config, CardHost *editor);

    Picture *imgLogo;
    Picture *icoHand;
    Picture *cmdEsporta;
    Picture *cmdGuida;
    Picture *cmdEsci;
    QTableView *grdRecords;
    QLabel *panInfo;
    HintBar *hintBar;

    ExportModel *model() const { return model_; }
    // The spreadsheet file in the data folder, where a portable program
    // folder keeps it.
    QString exportPath() const;
    // Where this export goes: exportPath() in a portable program folder; for an
    // installed program the file the user names in a save dialog, which starts
    // in the last folder used or in the Documents folder. Empty: cancelled.
    QString chooseExportPath();
    // Writes the grid to `path` (by default exportPath()); false on failure,
    // the old file then left whole.
    bool writeFile(const QString &path) const;
    bool writeFile() const { return writeFile(exportPath()); }
    // The warning when no program opens the saved file.
    static QString noProgramMessage(const QString &path);

public slots:
    void cmdEsportaClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    const ExportConfig &config_;
    CardHost *editor_;
    ExportModel *model_;
};


class TfrmExpArmi : public ExportWindow {
    Q_OBJECT
public:
    explicit TfrmExpArmi(CardHost *editor);
};

class TfrmExpCartoline : public ExportWindow {
    Q_OBJECT
public:
    explicit TfrmExpCartoline(CardHost *editor);
};
