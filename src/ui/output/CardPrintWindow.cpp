#include "ui/editing/CardHost.h"
#include "core/app/Messages.h"
#include "ui/output/CardPrintWindow.h"

#include "core/app/Formats.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "ui/editing/PhotoBox.h"
#include "ui/platform/Platform.h"

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

namespace {

const CardPrintConfig kStampaArma{
    "frmStampaArma", " Stampa documento", ":/reports/scheda_set.json", "Stampa", false, true, false,
    &Messages::printFailed};
const CardPrintConfig kStampaCartolina{
    "frmStampaCartolina", " Stampa documento", ":/reports/scheda_moc.json", "Stampa", false, false,
    true, &Messages::printFailed};
const CardPrintConfig kAnteprimaCartolina{
    "frmAnteprimaCartolina", " Anteprima di stampa", ":/reports/scheda_moc.json",
    "Mostra anteprima", true, false, true,
    &Messages::previewFailed};

QPushButton *verdanaButton(const QString &objectName, const QString &text, const QRect &geometry,
                           QWidget *parent)
{
    QPushButton *b = makeButton(objectName, text, geometry, parent);
    b->setFont(verdana(10));
    return b;
}

} // namespace

CardPrintWindow::CardPrintWindow(const CardPrintConfig &config, CardHost *editor)
    : QDialog(editor->hostWindow()), config_(config), editor_(editor)
{
    makeFixedModal(this, QString::fromLatin1(config.objectName), QString::fromUtf8(config.caption),
                   QSize(364, 287));
    auto *panel = new Band(QStringLiteral("panContainer"), QRect(19, 18, 326, 215), this);
    new Picture(QStringLiteral("imgIllustrazione"), QStringLiteral(":/images/stampa_illustrazione.svg"),
                QRect(0, 0, 326, 215), panel);
    btnAnnulla = verdanaButton(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"),
                               QRect(19, 243, 150, 34), this);
    btnStampa = verdanaButton(QStringLiteral("btnStampa"), QString::fromUtf8(config.buttonText),
                              QRect(195, 243, 150, 34), this);
    imgLogo = new PhotoBox(QStringLiteral("imgLogo"), QRect(), this);
    imgLogo->hide();
    imgTemp = new PhotoBox(QStringLiteral("imgTemp"), QRect(), this);
    imgTemp->setImage(Photos::placeholder(QStringLiteral(":/images/segnaposto_moc.svg"), QSize(366, 260)));
    imgTemp->hide();
    connect(btnAnnulla, &QPushButton::clicked, this, &CardPrintWindow::btnAnnullaClick);
    connect(btnStampa, &QPushButton::clicked, this, &CardPrintWindow::btnStampaClick);
}

void CardPrintWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QImage photo = editor_->photoBox(0)->image();
    imgLogo->setImage(photo.isNull() ? imgTemp->image() : photo);
}

void CardPrintWindow::paintEvent(QPaintEvent *)
{
    paintVerticalGradient(this, QColor(0x42, 0x7A, 0xA8));
}

report::Prepared CardPrintWindow::preparePage() const
{
    report::Template page = report::Template::load(QString::fromLatin1(config_.reportTemplate));
    page.orientation = QPageLayout::Portrait;
    page.setPicture(QStringLiteral("imgLogo"), imgLogo->image());
    // Every value memo bears the name of the editor field it prints.
    for (report::Object &o : page.pageObjects) {
        if (o.kind != report::ObjectKind::Memo)
            continue;
        if (QLineEdit *field = editor_->field(o.name.toStdString()))
            o.lines = QStringList{Text::trim(field->text())};
    }
    if (config_.archiveName)
        page.setText(QStringLiteral("txtNome"),
                     editor_->archiveName());
    if (config_.dateLine) {
        const QDateTime now = QDateTime::currentDateTime();
        page.setText(QStringLiteral("txtCalce"),
                     QStringLiteral("Stampa eseguita in data ") + Formats::date(now.date())
                         + QStringLiteral(" alle ore ") + Formats::time(now.time()));
    }
    return report::prepare(page);
}

void CardPrintWindow::btnStampaClick()
{
    try {
        const platform::PrintJob job = report::printJob(preparePage());
        if (config_.preview)
            platform::services().preview(this, job);
        else
            platform::services().print(this, job);
    } catch (const std::exception &) {
        platform::warning(this, config_.failure());
    }
    close();
}

void CardPrintWindow::btnAnnullaClick() { close(); }

TfrmStampaArma::TfrmStampaArma(CardHost *editor) : CardPrintWindow(kStampaArma, editor) {}
TfrmStampaCartolina::TfrmStampaCartolina(CardHost *editor)
    : CardPrintWindow(kStampaCartolina, editor)
{
}
TfrmAnteprimaCartolina::TfrmAnteprimaCartolina(CardHost *editor)
    : CardPrintWindow(kAnteprimaCartolina, editor)
{
}
