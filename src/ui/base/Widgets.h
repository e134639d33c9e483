#pragma once
// The building blocks of the program's fixed layouts: pictures (SVG artwork
// drawn for their size, clickable where they act as buttons), white bands,
// focus halos and the gradient windows with their centred content panel.

#include <QColor>
#include <QFrame>
#include <QKeySequence>
#include <QList>
#include <QPushButton>
#include <QWidget>

class QSvgRenderer;

// A picture scaled to fit its box. Clickable pictures are buttons: they show
// the hand cursor, emit clicked(), carry their hint as accessible name, are
// announced as push buttons that can be pressed, take the focus from Tab
// (never from the mouse, so a click leaves the field being edited alone),
// draw a rounded ring while the keyboard has put the focus on them, and
// Space or Enter presses them. Other pictures are decoration: no focus, and
// announced as graphics.
class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(const QString &objectName, const QString &resource, QWidget *parent);
    Picture(const QString &objectName, const QString &resource, const QRect &geometry,
            QWidget *parent);

    void setResource(const QString &resource);
    QString resource() const { return resource_; }
    void setClickable(bool clickable);
    bool isClickable() const { return clickable_; }
    void setHint(const QString &hint);
    QString hint() const { return hint_; }
    // Shows the keys that press the picture in its tooltip, after the hint:
    // "Salva la scheda in archivio. (Ctrl+S)", the keys named as on the keycaps.
    void showShortcut(const QKeySequence &keys);
    // True while the focus ring is drawn.
    bool showsFocusRing() const { return clickable_ && ring_ && hasFocus(); }

public slots:
    // Presses the picture as a click of the mouse does.
    void click();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString resource_;
    QString hint_;
    QSvgRenderer *renderer_ = nullptr;
    bool clickable_ = false;
    bool pressed_ = false;
    bool ring_ = false; // the focus came from the keyboard
};

// Binds keys to a picture button in its window (Qt::WindowShortcut): each
// one presses it; the first is shown in its tooltip.
void addShortcuts(Picture *picture, const QList<QKeySequence> &keys, QWidget *window);

// Puts the clickable pictures of a window at the end of its Tab chain, after
// the fields and buttons, in the given order or else in the order they were
// made. A window with nothing else to focus keeps the focus itself, so that
// its first Tab lands on the first picture rather than the focus resting
// unseen on one.
void picturesAfterControls(QWidget *window, const QList<Picture *> &order = {});

// A push button that only ever receives the focus from the program's own
// code: not a Tab stop, and hidden from assistive technology.
class FocusSink : public QPushButton {
    Q_OBJECT
public:
    explicit FocusSink(QWidget *parent);
};

// Makes a caption the label of its field: its buddy, and the field's
// accessible name, the caption without its colon and currency sign
// ("Valore: €" names the field "Valore").
class QLabel;
void nameField(QLabel *caption, QWidget *field);
QString fieldName(const QString &caption);

// A plain rectangle with a fill and a one-unit border.
class Band : public QWidget {
    Q_OBJECT
public:
    Band(const QString &objectName, const QRect &geometry, QWidget *parent,
         QColor fill = Qt::white, QColor border = QColor(0xD8, 0xE5, 0xEF));

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor fill_;
    QColor border_;
};

// The yellow frame shown behind a field while it has the focus: 4 units
// larger than the field on every side, hidden until the field is entered.
class Halo : public QWidget {
    Q_OBJECT
public:
    Halo(const QString &objectName, QWidget *field);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A window filled with a vertical gradient (top colour to white) holding a
// fixed-size content panel in its centre, where controls take their places.
class QScrollArea;

class GradientWindow : public QWidget {
    Q_OBJECT
public:
    GradientWindow(const QString &objectName, const QString &caption, QColor top,
                   QSize panelSize, QWidget *parent = nullptr);
    QWidget *panel() const { return panel_; }
    // What scrolls the panel into view on a screen smaller than it.
    QScrollArea *scroller() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor top_;
    QWidget *panel_;
};

namespace Colors {
inline QColor steelBlue() { return QColor(0x46, 0x82, 0xB4); }
inline QColor bandBorder() { return QColor(0xD8, 0xE5, 0xEF); }
inline QColor yellow() { return QColor(0xFF, 0xFF, 0x00); }
} // namespace Colors

// A label at a fixed place in a panel.
class QLabel;
QLabel *makeLabel(const QString &objectName, const QString &text, const QRect &geometry,
                  QWidget *parent);

// A push button at a fixed place, with the hand cursor. It is never a
// default button: Return in a field never presses it.
class QPushButton;
QPushButton *makeButton(const QString &objectName, const QString &text, const QRect &geometry,
                        QWidget *parent);

// A fixed-size modal window without buttons in its title bar.
class QDialog;
void makeFixedModal(QDialog *window, const QString &objectName, const QString &caption, QSize size);

// Keeps a list's highlight honest: the entry the keyboard stands on (the
// current entry, which the style frames) is always the selected one, so
// what looks selected is selected. Entering the list selects the entry it
// lands on; taking the selection away (Ctrl+click, Ctrl+Space) leaves
// nothing framed. Makes the view single-selection; call it once the view
// has its model.
class QAbstractItemView;
void selectTheCurrentEntry(QAbstractItemView *view);

// Return and the keypad's Enter press the focused push button, as Space
// does; picture buttons do the same by themselves. A button whose window
// gives Return another meaning opts out with keepReturnForWindow().
void installEnterPressesButtons();
void keepReturnForWindow(QPushButton *button);

// Fills a window with a vertical gradient from `top` to white.
void paintVerticalGradient(QWidget *window, QColor top);

QFont verdana(int points, bool bold = true);
