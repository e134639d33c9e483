#pragma once
#include <QAbstractListModel>
#include <QFont>
#include <QList>
#include <QSize>

// The lines of a search or for-sale list, each with the record it was built
// from, in the program's sorted order. The list is filled at once and sorted
// once, never line by line.
class ResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Entry {
        QString line;
        qint64 record; // 0-based
    };

    explicit ResultModel(QObject *parent = nullptr);

    void setEntries(QList<Entry> entries);
    void clear();
    const Entry &entry(int row) const { return entries_.at(row); }
    int count() const { return int(entries_.size()); }
    QStringList lines() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    static QFont lineFont();

private:
    QList<Entry> entries_;
    QFont font_;
    QSize itemSize_;
};
