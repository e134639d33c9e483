// Builds the user manual "Guida.pdf" from the program's own help topics, with
// pictures of its windows drawn by the program itself.
//   make_guida <output.pdf>
#include "ui/base/Application.h"
#include "core/app/HelpTopics.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/app/TfrmPassword.h"
#include "ui/archives/TfrmApriCatalogo.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"

#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

namespace {

QImage picture(QWidget &window, QSize size)
{
    window.resize(size);
    window.show();
    QCoreApplication::processEvents();
    const QImage image = window.grab().toImage();
    window.hide();
    return image;
}

QString section(const HelpTopics::Topic &topic, const QString &image)
{
    QString html = QStringLiteral("<h2>") + topic.title.toHtmlEscaped() + QStringLiteral("</h2>");
    if (!image.isEmpty())
        html += QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"520\"></p>").arg(image);
    for (const QString &p : topic.paragraphs)
        html += QStringLiteral("<p>") + p.toHtmlEscaped() + QStringLiteral("</p>");
    return html;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_guida <output.pdf>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VetrinoraApplication::prepareProcess();
    VetrinoraApplication app(argc, argv);
    app.prepare();

    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    document.setDefaultStyleSheet(QStringLiteral(
        "h1 { color: #1F3A5F; } h2 { color: crimson; margin-top: 18px; } p { margin-bottom: 8px; }"));
    {
        TfrmPassword login;
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("accesso.png")),
                             picture(login, login.size()));
        TfrmAvvio start;
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("avvio.png")),
                             picture(start, QSize(1011, 708)));
        TfrmArmi sets;
        sets.field("txtMunizioni")->setText(QStringLiteral("Galeone dei pirati"));
        sets.field("txtArma")->setText(QStringLiteral("Pirati"));
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("set.png")),
                             picture(sets, QSize(1012, 708)));
        TfrmCartoline mocs;
        mocs.lblNome->setText(QStringLiteral("Castelli medievali"));
        mocs.field("txtTitolo")->setText(QStringLiteral("Torre di guardia"));
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("moc.png")),
                             picture(mocs, QSize(1011, 708)));
        TfrmApriCatalogo archives;
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("archivi.png")),
                             picture(archives, QSize(1011, 708)));
    }

    QString html = QStringLiteral(
        "<h1 align=\"center\">Vetrinora</h1><p align=\"center\"><b>Guida all'utilizzo del "
        "software</b></p><p align=\"center\"><img src=\"accesso.png\" width=\"260\"></p>");
    html += section(HelpTopics::startScreen(), QString()).replace(
        QStringLiteral("</h2>"), QStringLiteral("</h2><p align=\"center\"><img src=\"avvio.png\" "
                                                "width=\"520\"></p>"));
    html += section(HelpTopics::setEditor(), QStringLiteral("set.png"));
    html += section(HelpTopics::archives(), QStringLiteral("archivi.png"));
    html += section(HelpTopics::mocEditor(), QStringLiteral("moc.png"));
    html += section(HelpTopics::setExport(), QString());
    html += section(HelpTopics::mocExport(), QString());
    document.setHtml(html);

    QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
    pdf.setTitle(QStringLiteral("Vetrinora - Guida all'utilizzo del software"));
    pdf.setCreator(QStringLiteral("Vetrinora"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    document.print(&pdf);
    return 0;
}
