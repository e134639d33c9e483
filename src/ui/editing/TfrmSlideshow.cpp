#include "ui/editing/CardHost.h"
#include "core/app/Messages.h"
#include "core/platform/FileSystem.h"
#include "ui/editing/TfrmSlideshow.h"

#include "core/app/ProgramFolder.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "core/cards/CardStore.h"
#include "core/cards/PhotoNames.h"
#include "core/cards/Schede.h"
#include "ui/editing/PhotoBox.h"
#include "ui/platform/Platform.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

TfrmSlideshow_Euro_01::TfrmSlideshow_Euro_01(CardHost *editor) : QDialog(editor->hostWindow()), editor_(editor)
{
    setObjectName(QStringLiteral("frmSlideshow_Euro_01"));
    setWindowTitle(QStringLiteral(" Slide Show MOC"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->installEventFilter(this);
    imgFoto = new PhotoBox(QStringLiteral("imgFoto"), QRect(), panContainer);
    imgBianco = new PhotoBox(QStringLiteral("imgBianco"), QRect(0, 0, 677, 184), this);
    imgBianco->setImage(Photos::placeholder(QStringLiteral(":/images/slideshow_avvio.svg"), QSize(677, 184)));
    imgBianco->hide();
    lblPosizione = makeLabel(QStringLiteral("lblPosizione"), QString(), QRect(), this);
    lblPosizione->hide();
    cmdAvanti = new Picture(QStringLiteral("cmdAvanti"), QStringLiteral(":/images/cmd_avanti.svg"), this);
    cmdAvanti->hide();
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(6000);
    connect(Timer, &QTimer::timeout, this, &TfrmSlideshow_Euro_01::cmdAvantiClick);
    connect(cmdAvanti, &Picture::clicked, this, &TfrmSlideshow_Euro_01::cmdAvantiClick);
    connect(imgFoto, &PhotoBox::clicked, this, &QWidget::close);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

void TfrmSlideshow_Euro_01::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->size() - QSize(60, 90) : QSize(800, 600);
    panContainer->setGeometry(QRect(QPoint((width() - area.width()) / 2, (height() - area.height()) / 2), area));
    imgFoto->setGeometry(QRect(QPoint(0, 0), area));
    imgFoto->setImage(imgBianco->image());
    Timer->start();
}

void TfrmSlideshow_Euro_01::cmdAvantiClick()
{
    const QString noCards = Messages::emptyArchive();
    try {
        qint64 p = 0;
        const CardStore::Chosen chosen =
            editor_->store().readChosen([&](qint64 n) -> std::optional<qint64> {
                if (Text::trim(lblPosizione->text()).isEmpty())
                    lblPosizione->setText(QStringLiteral("0"));
                p = Text::trim(lblPosizione->text()).toLongLong();
                return n > 0 && p < n ? std::optional<qint64>(p) : std::nullopt;
            });
        if (chosen.count == 0) {
            lblPosizione->clear();
            Timer->stop();
            platform::information(this, noCards);
            close();
            return;
        }
        if (chosen.card) {
            lblPosizione->setText(QString::number(chosen.index + 1));
            subApriFoto();
        } else {
            // The last photo stays one more tick, then the show starts again.
            lblPosizione->setText(QStringLiteral("0"));
        }
    } catch (const CardStore::Failure &) {
        // The timer goes on, so the next tick tries again; no tick falls
        // while the message is open.
        const bool running = Timer->isActive();
        Timer->stop();
        platform::error(this, CardStore::accessMessage());
        if (running)
            Timer->start();
    }
}

void TfrmSlideshow_Euro_01::subApriFoto()
{
    const QString folder = ProgramFolder::file(QString::fromLatin1(PhotoNames::kMocFolder));
    QImage photo;
    if (platform::makeFolder(folder))
        photo = Photos::load(folder + QDir::separator()
                             + editor_->photoFileName(0, Text::trim(lblPosizione->text())));
    imgFoto->setImage(photo.isNull() ? imgBianco->image() : photo);
}

void TfrmSlideshow_Euro_01::paintEvent(QPaintEvent *) { paintVerticalGradient(this, Colors::steelBlue()); }

bool TfrmSlideshow_Euro_01::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panContainer && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
