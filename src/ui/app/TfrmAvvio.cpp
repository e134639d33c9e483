#include "ui/app/TfrmAvvio.h"

#include "ui/base/HelpWindows.h"
#include "core/app/Maker.h"
#include "ui/base/OpenURL.h"
#include "ui/base/Navigation.h"

#include <QCloseEvent>
#include <algorithm>

TfrmAvvio::TfrmAvvio(QWidget *parent)
    : GradientWindow(QStringLiteral("frmAvvio"), QStringLiteral(" Vetrinora"),
                     Colors::steelBlue(), QSize(995, 692), parent)
{
    QWidget *p = panel();
    auto picture = [p](const char *name, const char *file, QRect geometry) {
        return new Picture(QString::fromLatin1(name),
                           QStringLiteral(":/images/") + QString::fromLatin1(file), geometry, p);
    };
    auto clickable = [](Picture *button, const QString &hint) {
        button->setClickable(true);
        button->setHint(hint);
        return button;
    };

    shpIntestazione = new Band(QStringLiteral("shpIntestazione"), QRect(8, 8, 978, 114), p);
    icoTitoloApp = picture("icoTitoloApp", "titolo.svg", QRect(96, 23, 805, 64));
    imgSottotitolo = picture("imgSottotitolo", "sottotitolo.svg", QRect(17, 90, 961, 22));

    bkgApp06 = new Band(QStringLiteral("bkgApp06"), QRect(8, 128, 320, 480), p);
    bkgApp08 = new Band(QStringLiteral("bkgApp08"), QRect(337, 128, 320, 480), p);
    bkgApp10 = new Band(QStringLiteral("bkgApp10"), QRect(666, 128, 320, 480), p);

    imgApp01 = clickable(picture("imgApp01", "tile_catalogo.svg", QRect(19, 150, 298, 388)),
                         QStringLiteral("Catalogo BLOKKO"));
    imgApp02 = clickable(picture("imgApp02", "tile_crea.svg", QRect(348, 150, 298, 388)),
                         QStringLiteral("Crea archivio MOC"));
    imgApp03 = clickable(picture("imgApp03", "tile_apri.svg", QRect(677, 150, 298, 388)),
                         QStringLiteral("Apri archivio MOC"));
    btnApp01 = clickable(picture("btnApp01", "btn_catalogo.svg", QRect(40, 544, 258, 45)),
                         QStringLiteral("CATALOGO BLOKKO"));
    btnApp02 = clickable(picture("btnApp02", "btn_crea.svg", QRect(369, 544, 258, 45)),
                         QStringLiteral("CREA ARCHIVIO MOC"));
    btnApp03 = clickable(picture("btnApp03", "btn_apri.svg", QRect(698, 544, 258, 45)),
                         QStringLiteral("APRI ARCHIVIO MOC"));

    imgInfo = clickable(picture("imgInfo", "info.svg", QRect(16, 16, 30, 30)),
                        QStringLiteral("Informazioni su Vetrinora"));
    imgGuida = clickable(picture("imgGuida", "guida.svg", QRect(950, 16, 29, 28)),
                         QStringLiteral("Uno sguardo a Vetrinora"));

    shpCalce = new Band(QStringLiteral("shpCalce"), QRect(8, 616, 978, 70), p);
    imgSito = clickable(picture("imgSito", "sito.svg", QRect(17, 626, 961, 22)),
                        QStringLiteral("Sito web di Vetrinora"));
    imgCopyright = clickable(picture("imgCopyright", "copyright.svg", QRect(16, 658, 23, 22)),
                             QStringLiteral("Autori di Vetrinora"));
    imgEsci = clickable(picture("imgEsci", "esci.svg", QRect(958, 662, 17, 18)),
                        QStringLiteral("Esci da Vetrinora"));
    imgCollezione = clickable(picture("imgCollezione", "collezione.svg", QRect(926, 660, 22, 22)),
                              QStringLiteral("Tutta la collezione in una tabella"));

    connect(imgApp01, &Picture::clicked, this, &TfrmAvvio::btnApp01Click);
    connect(btnApp01, &Picture::clicked, this, &TfrmAvvio::btnApp01Click);
    connect(imgApp02, &Picture::clicked, this, &TfrmAvvio::btnApp02Click);
    connect(btnApp02, &Picture::clicked, this, &TfrmAvvio::btnApp02Click);
    connect(imgApp03, &Picture::clicked, this, &TfrmAvvio::btnApp03Click);
    connect(btnApp03, &Picture::clicked, this, &TfrmAvvio::btnApp03Click);
    connect(imgEsci, &Picture::clicked, this, &TfrmAvvio::imgEsciClick);
    connect(imgInfo, &Picture::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(imgGuida, &Picture::clicked, this, &TfrmAvvio::imgGuidaClick);
    connect(imgCopyright, &Picture::clicked, this, &TfrmAvvio::imgCopyrightClick);
    connect(imgSito, &Picture::clicked, this, &TfrmAvvio::imgSitoClick);
    connect(imgCollezione, &Picture::clicked, this, &TfrmAvvio::imgCollezioneClick);

    // Tab goes through the tiles, each followed by its button, then the
    // icons; Alt+1, Alt+2 and Alt+3 open the three tiles.
    picturesAfterControls(this, {imgApp01, btnApp01, imgApp02, btnApp02, imgApp03, btnApp03,
                                 imgInfo, imgGuida, imgSito, imgCopyright, imgCollezione, imgEsci});
    addShortcuts(imgCollezione, {QKeySequence(Qt::CTRL | Qt::Key_L)}, this);
    const QList<QPair<Picture *, Picture *>> tiles = {
        {imgApp01, btnApp01}, {imgApp02, btnApp02}, {imgApp03, btnApp03}};
    for (int i = 0; i < int(tiles.size()); ++i) {
        const QKeySequence keys(Qt::ALT | Qt::Key(Qt::Key_1 + i));
        addShortcuts(tiles[i].first, {keys}, this);
        tiles[i].second->showShortcut(keys);
    }
    // Made after the Tab order is set: the caption takes no part in it.
    lblCollezione = new LinkLabel(QStringLiteral("lblCollezione"), QStringLiteral("Collezione"),
                                  QRect(826, 658, 96, 26), p);
    lblCollezione->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Right against the icon, as wide as its text needs.
    const int captionWidth = std::max(96, lblCollezione->sizeHint().width());
    lblCollezione->setGeometry(QRect(922 - captionWidth, 658, captionWidth, 26));
    lblCollezione->setToolTip(imgCollezione->toolTip());
    // The keyboard reaches the window through the icon, as before.
    lblCollezione->setFocusPolicy(Qt::NoFocus);
    connect(lblCollezione, &LinkLabel::activated, this, &TfrmAvvio::imgCollezioneClick);
}

void TfrmAvvio::btnApp01Click() { navigation().handOver(this, Place::Sets); }

void TfrmAvvio::btnApp02Click()
{
    navigation().handOver(this, Place::CreateArchive);
}

void TfrmAvvio::btnApp03Click()
{
    navigation().handOver(this, Place::OpenArchive);
}

void TfrmAvvio::imgEsciClick() { navigation().endProgram(); }

void TfrmAvvio::imgInfoClick()
{
    TfrmInfo window(this);
    window.exec();
}

void TfrmAvvio::imgGuidaClick() { TfrmGuida::showTopic(this, HelpTopics::startScreen()); }

void TfrmAvvio::imgCopyrightClick()
{
    TfrmSplash window(this);
    window.exec();
}

void TfrmAvvio::imgCollezioneClick() { navigation().showCollection(this); }

void TfrmAvvio::imgSitoClick() { TMisc::Open(Maker::site()); }

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    event->accept();
    navigation().endProgram();
}
