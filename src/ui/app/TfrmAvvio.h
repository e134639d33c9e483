#pragma once
#include "ui/base/Widgets.h"

class Band;
class Picture;

// The start screen: three tiles lead to the set catalogue and the MOC
// archives; closing it ends the program.
class TfrmAvvio : public GradientWindow {
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget *parent = nullptr);

    Band *shpIntestazione;
    Picture *icoTitoloApp;
    Picture *imgSottotitolo;
    Band *bkgApp06;
    Band *bkgApp08;
    Band *bkgApp10;
    Picture *imgApp01;
    Picture *imgApp02;
    Picture *imgApp03;
    Picture *btnApp01;
    Picture *btnApp02;
    Picture *btnApp03;
    Picture *imgInfo;
    Picture *imgGuida;
    Band *shpCalce;
    Picture *imgSito;
    Picture *imgCopyright;
    Picture *imgEsci;
    Picture *imgCollezione;
    // The icon's caption, "Collezione": a click on it opens the window too.
    class LinkLabel *lblCollezione;

public slots:
    void btnApp01Click();
    void btnApp02Click();
    void btnApp03Click();
    void imgEsciClick();
    void imgInfoClick();
    void imgGuidaClick();
    void imgCopyrightClick();
    void imgSitoClick();
    void imgCollezioneClick();

protected:
    void closeEvent(QCloseEvent *event) override;
};
