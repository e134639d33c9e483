#pragma once
// The collection window's gallery: the cards of the collection model as
// their first photos, each with its name and, once the totals are read, its
// value. It shows the same rows as the table, in the same order and through
// the same filter, and is given the table's selection. Thumbnails are made
// on worker threads, those on screen first; until one arrives its card shows
// the placeholder picture.

#include "core/collection/Thumbnails.h"

#include <QHash>
#include <QImage>
#include <QListView>

class CollectionModel;

class GalleryView : public QListView {
    Q_OBJECT
public:
    explicit GalleryView(CollectionModel *model, QWidget *parent = nullptr);

    CollectionModel *collection() const { return model_; }
    ThumbnailQueue *thumbnails() const { return queue_; }
    // The photo a shown row stands for: the first photo of its card.
    QString photoOf(int row) const;
    // The rows on screen now, in reading order.
    QList<int> visibleRows() const;
    // The side of a picture, in the window's pixels.
    static constexpr int kPicture = 128;
    // The placeholder drawn for a card without a thumbnail.
    QImage placeholder(bool archive) const;

signals:
    // Enter or a double click on a card.
    void openRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Asks for the thumbnails on screen and the next screen's, in that order.
    void requestVisible();
    void scheduleRequest();
    void followColumns();
    QList<int> rowsWithin(int from, int to) const;

    CollectionModel *model_;
    ThumbnailQueue *queue_;
    QHash<QString, int> onScreen_; // photo to row, as last asked
    bool requestPending_ = false;
};
