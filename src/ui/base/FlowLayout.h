#pragma once
// A row of controls that wraps onto as many lines as the width needs, so
// that a narrow window (a small screen, a large scale) never squeezes a
// button below the width of its text. Items keep their size hints; a
// stretch added with addStretch() pushes what follows it to the line's end.

#include <QLayout>
#include <QList>

class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget *parent = nullptr, int spacing = 6);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    // The items after the stretch stand at the right end of the last line.
    void addStretch();
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    int arrange(const QRect &rect, bool apply) const;
    QList<QLayoutItem *> items_;
    int stretchAt_ = -1;
};
