#pragma once
#include <QHash>
#include <QObject>
#include <QSet>

class QLabel;
class QWidget;

// The hint bar at the foot of a window: moving the pointer over a command
// shows the command's hint; over the window or one of the background
// controls it empties the bar; anything else (fields, labels) leaves it.
class HintBar : public QObject {
    Q_OBJECT
public:
    HintBar(QWidget *window, QLabel *panInfo);

    void addHint(QWidget *control, const QString &hint);
    void addBlank(QWidget *control);
    void setText(const QString &text);
    // What moving the pointer onto this widget does to the bar.
    void pointerOver(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool holdsThePanel(const QWidget *widget) const;

    QWidget *window_;
    QLabel *panInfo_;
    QHash<QWidget *, QString> hints_;
    QSet<QWidget *> blanks_;
};
