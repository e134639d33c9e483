#include "ui/archives/ArchiveWindow.h"

#include "ui/base/HelpWindows.h"

ArchiveWindow::ArchiveWindow(const QString &objectName, const QString &caption,
                             const QString &header, QWidget *parent)
    : MainLevelWindow(objectName, caption, Colors::steelBlue(), QSize(995, 692), parent)
{
    new Band(QStringLiteral("shpSfondo"), QRect(8, 8, 979, 676), panel());
    new Picture(QStringLiteral("imgIntestazione"), header, QRect(8, 8, 979, 100), panel());
    imgGuida = imageButton(QStringLiteral("imgGuida"), QStringLiteral(":/images/guida.svg"),
                           QRect(945, 20, 29, 28),
                           QStringLiteral("Creazione e apertura archivi MOC"));
    connect(imgGuida, &Picture::clicked, this,
            [this] { TfrmGuida::showTopic(this, HelpTopics::archives()); });
}

Picture *ArchiveWindow::imageButton(const QString &objectName, const QString &resource,
                                    const QRect &geometry, const QString &hint)
{
    auto *button = new Picture(objectName, resource, geometry, panel());
    button->setClickable(true);
    button->setHint(hint);
    return button;
}
