#include "ui/base/HelpWindows.h"

#include "core/app/Maker.h"
#include "ui/base/OpenURL.h"
#include "core/app/InstalledFiles.h"
#include "ui/base/Widgets.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>

namespace {
const QColor kLink(0x00, 0x00, 0x8B);  // dark blue
const QColor kPressed(0xFF, 0xA5, 0x00); // orange

QPushButton *closeButton(QDialog *window, const QRect &geometry)
{
    auto *b = makeButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), geometry, window);
    QObject::connect(b, &QPushButton::clicked, window, &QDialog::close);
    return b;
}

void whiteFixedModal(QDialog *window, const QString &objectName, const QString &caption, QSize size)
{
    makeFixedModal(window, objectName, caption, size);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
}
} // namespace

LinkLabel::LinkLabel(const QString &objectName, const QString &text, const QRect &geometry,
                     QWidget *parent)
    : QLabel(text, parent)
{
    setObjectName(objectName);
    setGeometry(geometry);
    QFont font(QStringLiteral("Tahoma"), 14);
    font.setStyleHint(QFont::SansSerif);
    font.setUnderline(true);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setPressed(false);
}

void LinkLabel::addIcon(Picture *icon)
{
    icon->setClickable(true);
    icon->setAccessibleName(text());
    icon->installEventFilter(this);
    // The mouse is handled below; keys and assistive technology press the
    // icon through clicked().
    connect(icon, &Picture::clicked, this, &LinkLabel::activated);
}

void LinkLabel::setPressed(bool pressed)
{
    pressed_ = pressed;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, pressed ? kPressed : kLink);
    setPalette(p);
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setPressed(true);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    setPressed(false);
    if (inside)
        emit activated();
}

bool LinkLabel::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress)
        setPressed(true);
    else if (event->type() == QEvent::MouseButtonRelease) {
        setPressed(false);
        emit activated();
        return true; // not clicked() as well
    }
    return false;
}

TfrmGuida::TfrmGuida(QWidget *parent) : QDialog(parent)
{
    whiteFixedModal(this, QStringLiteral("frmGuida"), QStringLiteral(" Guida all'utilizzo del software"),
                   QSize(670, 572));
    imgLogo = new Picture(QStringLiteral("imgLogo"), QStringLiteral(":/images/guida_intestazione.svg"),
                          QRect(12, 10, 646, 70), this);
    lblTitolo = makeLabel(QStringLiteral("lblTitolo"), QStringLiteral("Argomento della guida"),
                          QRect(16, 90, 638, 30), this);
    QFont arial(QStringLiteral("Arial"), 16, QFont::Bold);
    arial.setStyleHint(QFont::SansSerif);
    lblTitolo->setFont(arial);
    lblTitolo->setStyleSheet(QStringLiteral("color: crimson;"));
    txtGuida = new QTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setGeometry(16, 126, 638, 360);
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QTextEdit::WidgetWidth);
    txtGuida->setAcceptRichText(false);
    txtGuida->setFont(verdana(12));
    imgPDF = new Picture(QStringLiteral("imgPDF"), QStringLiteral(":/images/pdf.svg"),
                         QRect(16, 500, 32, 32), this);
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), QStringLiteral("Visualizza guida in formato PDF"),
                           QRect(56, 504, 360, 26), this);
    lnkWeb->addIcon(imgPDF);
    connect(lnkWeb, &LinkLabel::activated, this, [] {
        TMisc::Open(QLatin1Char('"') + InstalledFiles::manual() + QLatin1Char('"'));
    });
    btnChiudi = closeButton(this, QRect(534, 526, 120, 34));
    picturesAfterControls(this);
}

void TfrmGuida::setTopic(const HelpTopics::Topic &topic)
{
    lblTitolo->setText(topic.title);
    txtGuida->setPlainText(topic.text());
}

void TfrmGuida::showTopic(QWidget *caller, const HelpTopics::Topic &topic)
{
    TfrmGuida window(caller);
    window.setTopic(topic);
    window.exec();
}

TfrmInfo::TfrmInfo(QWidget *parent) : QDialog(parent)
{
    whiteFixedModal(this, QStringLiteral("frmInfo"), QStringLiteral(" Informazioni su Vetrinora"),
                   QSize(520, 340));
    imgLogo = new Picture(QStringLiteral("imgLogo"), QStringLiteral(":/images/info_intestazione.svg"),
                          QRect(12, 10, 496, 80), this);
    QLabel *text = makeLabel(QStringLiteral("lblInfo"),
                             QStringLiteral("Vetrinora 1.0\n\nIl catalogo dei set BLOKKO e gli archivi "
                                            "delle MOC del collezionista.\n%1.\n\nPer domande e "
                                            "suggerimenti scrivi a:")
                                 .arg(Maker::name()),
                             QRect(24, 100, 472, 130), this);
    text->setWordWrap(true);
    imgEmail = new Picture(QStringLiteral("imgEmail"), QStringLiteral(":/images/email.svg"),
                           QRect(24, 238, 32, 24), this);
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), Maker::email(), QRect(64, 236, 400, 28), this);
    lnkWeb->addIcon(imgEmail);
    connect(lnkWeb, &LinkLabel::activated, this, [] {
        TMisc::Open(QStringLiteral("\"mailto:") + Maker::email() + QLatin1Char('"'));
    });
    btnChiudi = closeButton(this, QRect(388, 294, 120, 34));
    picturesAfterControls(this);
}

TfrmSplash::TfrmSplash(QWidget *parent) : QDialog(parent)
{
    whiteFixedModal(this, QStringLiteral("frmSplash"), QStringLiteral(" Vetrinora - ") + Maker::creditLine(),
                   QSize(661, 467));
    imgLogo = new Picture(QStringLiteral("imgLogo"), QStringLiteral(":/images/autore.svg"),
                          QRect(18, 10, 625, 380), this);
    imgWeb = new Picture(QStringLiteral("imgWeb"), QStringLiteral(":/images/globo.svg"),
                         QRect(18, 410, 30, 30), this);
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), Maker::siteWithoutScheme(),
                           QRect(56, 412, 360, 26), this);
    lnkWeb->addIcon(imgWeb);
    connect(lnkWeb, &LinkLabel::activated, this, [] { TMisc::Open(Maker::site()); });
    btnChiudi = closeButton(this, QRect(523, 410, 120, 34));
    picturesAfterControls(this);
}
