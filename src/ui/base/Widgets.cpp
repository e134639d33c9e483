#include "ui/base/Widgets.h"

#include <QDialog>
#include <QGridLayout>
#include <QPushButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

Picture::Picture(const QString &objectName, const QString &resource, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setResource(resource);
}

Picture::Picture(const QString &objectName, const QString &resource, const QRect &geometry,
                 QWidget *parent)
    : Picture(objectName, resource, parent)
{
    setGeometry(geometry);
}

void Picture::setResource(const QString &resource)
{
    resource_ = resource;
    // Parsed at the first paint: windows that are never shown cost nothing.
    delete renderer_;
    renderer_ = nullptr;
    update();
}

void Picture::setClickable(bool clickable)
{
    clickable_ = clickable;
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void Picture::setHint(const QString &hint)
{
    hint_ = hint;
    setAccessibleName(hint);
}

void Picture::paintEvent(QPaintEvent *)
{
    if (!renderer_) {
        renderer_ = new QSvgRenderer(resource_, this);
        renderer_->setAspectRatioMode(Qt::KeepAspectRatio);
    }
    if (!renderer_->isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_->render(&painter, QRectF(rect()));
}

void Picture::mousePressEvent(QMouseEvent *event)
{
    if (clickable_ && event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Picture::mouseReleaseEvent(QMouseEvent *event)
{
    if (clickable_ && pressed_ && event->button() == Qt::LeftButton) {
        pressed_ = false;
        event->accept();
        if (rect().contains(event->position().toPoint()))
            emit clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

Band::Band(const QString &objectName, const QRect &geometry, QWidget *parent, QColor fill,
           QColor border)
    : QWidget(parent), fill_(fill), border_(border)
{
    setObjectName(objectName);
    setGeometry(geometry);
}

void Band::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    painter.setPen(border_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

Halo::Halo(const QString &objectName, QWidget *field) : QWidget(field->parentWidget())
{
    setObjectName(objectName);
    setGeometry(field->geometry().adjusted(-4, -4, 4, 4));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    stackUnder(field);
    hide();
}

void Halo::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient border(rect().topLeft(), rect().bottomRight());
    border.setColorAt(0, Colors::yellow());
    border.setColorAt(1, Qt::white);
    painter.setPen(QPen(QBrush(border), 2));
    painter.setBrush(Colors::yellow());
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

GradientWindow::GradientWindow(const QString &objectName, const QString &caption, QColor top,
                               QSize panelSize, QWidget *parent)
    : QWidget(parent), top_(top), panel_(new QWidget(this))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    panel_->setObjectName(QStringLiteral("panContainer"));
    panel_->setFixedSize(panelSize);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_, 0, 0, Qt::AlignCenter);
    setMinimumSize(panelSize);
}

void GradientWindow::paintEvent(QPaintEvent *) { paintVerticalGradient(this, top_); }

void paintVerticalGradient(QWidget *window, QColor top)
{
    QPainter painter(window);
    QLinearGradient gradient(0, 0, 0, window->height());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(window->rect(), gradient);
}

QPushButton *makeButton(const QString &objectName, const QString &text, const QRect &geometry,
                        QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

void makeFixedModal(QDialog *window, const QString &objectName, const QString &caption, QSize size)
{
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(size);
    window->setModal(true);
}

QFont verdana(int points, bool bold)
{
    QFont font(QStringLiteral("Verdana"), points, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QLabel *makeLabel(const QString &objectName, const QString &text, const QRect &geometry,
                  QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setGeometry(geometry);
    return label;
}
