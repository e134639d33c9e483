#pragma once
// The grid of an export window: every card of a record file, one row each,
// kept as the fields' stored bytes in a few large blocks (a catalogue of 100,000
// cards opens at once), with the cells the user edits kept beside them.

#include "core/cards/RecordLayout.h"
#include "core/platform/BigMemory.h"

#include <QAbstractTableModel>
#include <QHash>
#include <span>
#include <vector>

class CardStore;

// A column of an export: the grid column and the spreadsheet column of one
// field. Both are headed by the field's caption without its colon ("Nome
// set:" heads "Nome set", "Valore: €" heads "Valore"), unless the column says
// otherwise.
struct ExportColumn {
    std::string_view name;  // colMunizioni
    std::string_view field; // NomeSet; empty for the row number
    int gridWidth;
    int fileWidth;
    bool editable;
    const char *heading = nullptr; // UTF-8; only where no caption heads the column

    QString headingIn(const RecordLayout &layout) const;
};

class ExportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kDesignRows = 10;

    ExportModel(const RecordLayout &layout, std::span<const ExportColumn> columns,
                QObject *parent = nullptr);

    // Loads every record of the file; a failure keeps the rows read so far.
    // Returns false when the file could not be read to its end.
    bool load(const CardStore &cards);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // A card cell (column 1 onwards) as Windows-1252 bytes, edited text
    // included; `scratch` holds an edited cell's bytes.
    QByteArrayView cellBytes(int row, int column, QByteArray &scratch) const;
    QString cellText(int row, int column) const;
    // The grid column of a named column ("colNote"), or -1.
    int columnNamed(std::string_view name) const;

private:
    QByteArrayView stored(int row, int column) const;

    const RecordLayout &layout_;
    std::span<const ExportColumn> columns_;
    std::vector<const FieldDef *> fields_;
    int rows_ = kDesignRows;
    bool loaded_ = false;
    // The loaded rows in runs read at once by threads of their own: each run
    // holds its cells end to end, and where each cell starts (one more at
    // the end).
    struct Run {
        int firstRow = 0;
        platform::BigArray<char> bytes;
        platform::BigArray<quint32> offsets;
    };
    std::vector<Run> runs_;
    QHash<qint64, QString> edits_;   // row * columns + column -> edited text
};
