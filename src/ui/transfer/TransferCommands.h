#pragma once
// The commands that move a collection in and out of the program: backup and
// restore of the whole data folder, CSV export and import of one catalogue
// or archive. The collection window calls them; each asks for its file
// through the platform layer, shows a progress bar for anything longer than
// a moment and ends with a message.

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

class TransferCommands : public QObject {
    Q_OBJECT
public:
    explicit TransferCommands(QObject *parent = nullptr);

    // Each returns true when it changed or wrote something.
    bool backup(QWidget *parent);
    // After a restore the data on screen is stale: the caller reloads it.
    bool restore(QWidget *parent);
    // `file` is the record file (the catalogue or a ".moc" archive); with
    // `rows`, only those cards (0-based), as filtered in the caller's list.
    bool exportCsv(QWidget *parent, const QString &file,
                   const std::optional<QList<qint64>> &rows = std::nullopt);
    // The same cards into a real spreadsheet (.xlsx).
    bool exportXlsx(QWidget *parent, const QString &file,
                    const std::optional<QList<qint64>> &rows = std::nullopt);
    // Appends the cards of a CSV file, an .ods or .xlsx sheet (or of the program's spreadsheet) to
    // `file`, created when missing, after a preview with the column mapping.
    bool importCsv(QWidget *parent, const QString &file);

    // The clock that dates backups and restores; tests set their own.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};
