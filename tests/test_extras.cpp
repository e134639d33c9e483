// The webcam, the slideshow and the help, about and splash windows.

#include "TestSupport.h"

#include "ui/base/HelpWindows.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/app/TfrmPassword.h"
#include "core/app/HelpTopics.h"
#include "ui/base/Widgets.h"
#include "ui/archives/TfrmApriCatalogo.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "core/cards/RecordFile.h"
#include "core/cards/Schede.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/PhotoBox.h"
#include "ui/editing/TfrmSlideshow.h"
#include "ui/editing/TfrmWebCam.h"
#include "ui/output/ExportWindow.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QPushButton>
#include <QTextEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {
QImage filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

const QString kNoCards = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kAccess = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
} // namespace

class TestExtras : public ProgramTest {
    Q_OBJECT

    TfrmCartoline *mocs() const { return roster->frmCartoline(); }

    void writeMocs(int cards)
    {
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC, cards,
                           [](Record &r, int i) {
                               r.setText("NomeProgetto", QStringLiteral("Opera %1").arg(i));
                           });
    }

    void writePhotoA(int card, QColor colour)
    {
        QDir(folder->path()).mkpath(QStringLiteral("Foto_MOC"));
        QVERIFY(filled(QSize(40 + card, 30), colour)
                    .save(folder->file(QStringLiteral("Foto_MOC/Castelli_Foto_A_%1.jpg").arg(card))));
    }

    void click(Picture *p) { QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center()); }

    // The paragraphs a help window shows, in order.
    static QStringList shownParagraphs(TfrmGuida *help)
    {
        return help->txtGuida->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private slots:
    void init()
    {
        ProgramTest::init();
        mocs()->lblFile->setText(folder->file(QStringLiteral("Castelli.moc")));
        mocs()->lblNome->setText(QStringLiteral("Castelli"));
    }

    // ---- webcam ---------------------------------------------------------------

    void framesReachTheLivePicture()
    {
        TfrmWebCam w(mocs());
        QCOMPARE(w.windowTitle(), QStringLiteral(" Cattura foto con webcam"));
        QCOMPARE(w.size(), QSize(807, 405));
        QCOMPARE(w.imgCamera->size(), QSize(366, 274));
        const QImage placeholder = w.imgCamera->image();
        ScriptedVideoInput *camera = services->cameras.last();
        camera->pushFrame(filled(QSize(64, 48), Qt::red)); // off: nothing is converted
        QCOMPARE(w.imgCamera->image(), placeholder);
        QTest::mouseClick(w.btnAccendi, Qt::LeftButton);
        QVERIFY(camera->isActive());
        camera->pushFrame(filled(QSize(64, 48), Qt::red));
        QCOMPARE(w.imgCamera->image().size(), QSize(64, 48));
        QCOMPARE(w.imgCamera->image().pixelColor(10, 10), QColor(Qt::red));
        // Off, the last frame stays and a capture copies it.
        QTest::mouseClick(w.btnSpegni, Qt::LeftButton);
        QVERIFY(!camera->isActive());
        camera->pushFrame(filled(QSize(32, 32), Qt::blue));
        QCOMPARE(w.imgCamera->image().size(), QSize(64, 48));
        QTest::mouseClick(w.btnCattura, Qt::LeftButton);
        QCOMPARE(w.imgTarget->image().size(), QSize(64, 48));
    }

    void importIntoPhotoBLeavesPhotoA()
    {
        const QImage green = filled(QSize(20, 20), Qt::green);
        mocs()->photoBox(0)->setImage(green);
        TfrmWebCam w(mocs());
        w.lblMemory->setText(QStringLiteral("foto02"));
        w.show();
        QTest::mouseClick(w.btnAccendi, Qt::LeftButton);
        services->cameras.last()->pushFrame(filled(QSize(64, 48), Qt::red));
        QTest::mouseClick(w.btnCattura, Qt::LeftButton);
        QTest::mouseClick(w.btnImportaFoto, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(!services->cameras.last()->isActive());
        QCOMPARE(mocs()->photoBox(1)->image().size(), QSize(64, 48));
        QCOMPARE(mocs()->photoBox(0)->image(), green);
    }

    void importWithoutCaptureBringsThePlaceholder()
    {
        TfrmWebCam w(mocs());
        w.lblMemory->setText(QStringLiteral("foto01"));
        const QImage camera = w.imgTarget->image();
        QTest::mouseClick(w.btnImportaFoto, Qt::LeftButton);
        QCOMPARE(mocs()->photoBox(0)->image(), camera);
    }

    void annullaAfterACaptureLeavesTheCard()
    {
        const QImage before = mocs()->photoBox(0)->image();
        TfrmWebCam w(mocs());
        w.lblMemory->setText(QStringLiteral("foto01"));
        w.show();
        QTest::mouseClick(w.btnAccendi, Qt::LeftButton);
        services->cameras.last()->pushFrame(filled(QSize(64, 48), Qt::red));
        QTest::mouseClick(w.btnCattura, Qt::LeftButton);
        QTest::mouseClick(w.btnClose, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(!services->cameras.last()->isActive());
        QCOMPARE(mocs()->photoBox(0)->image(), before);
    }

    void saveTheStill_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("proposed name") << "Foto.jpg" << "Foto.jpg";
        QTest::newRow("without extension") << "scatto" << "scatto.jpg";
    }
    void saveTheStill()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        TfrmWebCam w(mocs());
        services->chosenFiles.enqueue(folder->file(typed));
        QTest::mouseClick(w.btnSalvaFotogramma, Qt::LeftButton);
        const auto &request = services->fileDialogs.last().request;
        QCOMPARE(request.title, QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
        QCOMPARE(request.filters, QStringList{"File Jpeg (*.jpg)"});
        QCOMPARE(request.proposedName, QStringLiteral("Foto.jpg"));
        QCOMPARE(request.defaultExtension, QStringLiteral("jpg"));
        QVERIFY(request.overwritePrompt);
        QCOMPARE(QImageReader(folder->file(written)).format(), QByteArray("jpeg"));
    }

    void noCameraDoesNothing()
    {
        services->cameraPresent = false;
        TfrmWebCam w(mocs());
        const QImage placeholder = w.imgCamera->image();
        QTest::mouseClick(w.btnAccendi, Qt::LeftButton);
        QVERIFY(!services->cameras.last()->isActive());
        QTest::mouseClick(w.btnCattura, Qt::LeftButton);
        QCOMPARE(w.imgTarget->image(), placeholder);
        QCOMPARE(services->texts(), QStringList());
    }

    void theEditorOpensTheWebcamForEachPhoto()
    {
        roster->handOver(roster->frmAvvio(), mocs());
        for (const auto &[button, word] : {std::pair{"btnAcquisisciFoto", "foto01"},
                                           std::pair{"btnAcquisisciFoto02", "foto02"}}) {
            const auto isTheWebcamFor = [&](QWidget *modal) {
                auto *w = qobject_cast<TfrmWebCam *>(modal);
                QVERIFY(w);
                QCOMPARE(w->lblMemory->text(), QString::fromLatin1(word));
            };
            QVERIFY(withModal([&] { click(mocs()->command(button)); }, isTheWebcamFor));
        }
    }

    // ---- slideshow ------------------------------------------------------------

    void oneCardSequence()
    {
        writeMocs(1);
        writePhotoA(1, Qt::red);
        TfrmSlideshow_Euro_01 w(mocs());
        QCOMPARE(w.windowTitle(), QStringLiteral(" Slide Show MOC"));
        w.Timer->setInterval(3600000); // the test takes the steps itself
        w.show();
        QCOMPARE(w.imgFoto->image(), w.imgBianco->image());
        QCOMPARE(w.imgBianco->image().size(), QSize(677, 184));
        QVERIFY(w.Timer->isActive());
        QStringList positions;
        QList<int> widths;
        for (int i = 0; i < 3; ++i) {
            w.cmdAvantiClick();
            positions << w.lblPosizione->text();
            widths << w.imgFoto->image().width();
        }
        QCOMPARE(positions, QStringList({"1", "0", "1"}));
        QCOMPARE(widths, QList<int>({41, 41, 41}));
    }

    void threeCardSequenceWithAMissingPhoto()
    {
        writeMocs(3);
        writePhotoA(1, Qt::red);
        writePhotoA(3, Qt::blue);
        TfrmSlideshow_Euro_01 w(mocs());
        w.Timer->setInterval(3600000);
        w.show();
        QStringList positions;
        QList<int> widths;
        for (int i = 0; i < 5; ++i) {
            w.cmdAvantiClick();
            positions << w.lblPosizione->text();
            widths << w.imgFoto->image().width();
        }
        QCOMPARE(positions, QStringList({"1", "2", "3", "0", "1"}));
        // Card 2 has no photo A: the start banner stands in for it.
        QCOMPARE(widths, QList<int>({41, 677, 43, 43, 41}));
        QCOMPARE(services->texts(), QStringList());
    }

    void theTimerDrivesTheShow()
    {
        writeMocs(2);
        TfrmSlideshow_Euro_01 w(mocs());
        QCOMPARE(w.Timer->interval(), 6000);
        w.Timer->setInterval(20);
        w.show();
        QTRY_COMPARE(w.lblPosizione->text(), QStringLiteral("2"));
        w.close();
        // Reopened, the show starts again at card 1.
        TfrmSlideshow_Euro_01 again(mocs());
        again.Timer->setInterval(3600000);
        again.show();
        QCOMPARE(again.lblPosizione->text(), QString());
        again.cmdAvantiClick();
        QCOMPARE(again.lblPosizione->text(), QStringLiteral("1"));
    }

    void anEmptyArchiveEndsTheShow()
    {
        TfrmSlideshow_Euro_01 w(mocs());
        w.Timer->setInterval(3600000);
        w.show();
        w.cmdAvantiClick();
        QCOMPARE(services->texts(), QStringList{kNoCards});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Information);
        QVERIFY(!w.isVisible());
        QVERIFY(!w.Timer->isActive());
        QVERIFY(QFile::exists(folder->file("Castelli.moc")));
    }

    void aReadErrorKeepsTheTimerGoing()
    {
        writeMocs(1);
        QFile::setPermissions(folder->file("Castelli.moc"), QFile::ReadOwner);
        TfrmSlideshow_Euro_01 w(mocs());
        w.Timer->setInterval(3600000);
        w.show();
        w.cmdAvantiClick();
        QCOMPARE(services->texts(), QStringList{kAccess});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Error);
        QVERIFY(w.Timer->isActive());
        QVERIFY(w.isVisible());
        QFile::setPermissions(folder->file("Castelli.moc"), QFile::ReadOwner | QFile::WriteOwner);
    }

    void aClickClosesTheShow()
    {
        writeMocs(1);
        TfrmSlideshow_Euro_01 w(mocs());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.imgFoto, Qt::LeftButton, {}, w.imgFoto->rect().center());
        QVERIFY(!w.isVisible());
    }

    // ---- help, about, splash ------------------------------------------------

    // F1 in a card editor opens the editor's topic, whole, from whichever
    // field has the focus.
    void f1OpensTheEditorsTopic_data()
    {
        QTest::addColumn<bool>("moc");
        QTest::addColumn<QString>("field");
        QTest::newRow("set editor, name") << false << "txtMunizioni";
        QTest::newRow("set editor, notes") << false << "txtNote";
        QTest::newRow("moc editor, name") << true << "txtTitolo";
        QTest::newRow("moc editor, notes") << true << "txtNote";
    }
    void f1OpensTheEditorsTopic()
    {
        QFETCH(bool, moc);
        QFETCH(QString, field);
        CardEditor *editor = moc ? static_cast<CardEditor *>(mocs()) : roster->frmArmi();
        roster->showWindow(editor);
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor));
        QLineEdit *f = editor->field(field.toLatin1().constData());
        QVERIFY(f);
        f->setFocus();
        QCOMPARE(QApplication::focusWidget(), f);
        const HelpTopics::Topic topic = moc ? HelpTopics::mocEditor() : HelpTopics::setEditor();
        QVERIFY(withModal([&] { QTest::keyClick(f, Qt::Key_F1); }, [&](QWidget *modal) {
            auto *help = qobject_cast<TfrmGuida *>(modal);
            QVERIFY(help);
            QCOMPARE(help->lblTitolo->text(), topic.title);
            QCOMPARE(shownParagraphs(help), topic.paragraphs);
        }));
        QVERIFY(editor->isVisible());
    }

    // The start screen's topic is the tour of the program: it holds the set,
    // archive and MOC topics word for word and in that order, as its help
    // window shows it, and the initial password it names opens the program
    // with the credential file that the program ships.
    void theStartTopicIsTheTour()
    {
        QStringList shown;
        QVERIFY(withModal([&] { click(roster->frmAvvio()->imgGuida); }, [&](QWidget *modal) {
            auto *help = qobject_cast<TfrmGuida *>(modal);
            QVERIFY(help);
            shown = shownParagraphs(help);
        }));
        qsizetype from = 0;
        for (const HelpTopics::Topic &t : {HelpTopics::setEditor(), HelpTopics::archives(), HelpTopics::mocEditor()}) {
            const qsizetype at = shown.indexOf(t.paragraphs.first(), from);
            QVERIFY2(at >= 0, qPrintable(t.title));
            QCOMPARE(shown.mid(at, t.paragraphs.size()), t.paragraphs);
            from = at + t.paragraphs.size();
        }

        const QRegularExpression named(QStringLiteral("\"([^\"]+)\" \\(scritta senza le virgolette\\)"));
        const QRegularExpressionMatch password = named.match(shown.join(QLatin1Char(' ')));
        QVERIFY2(password.hasMatch(), "the tour names no initial password");
        folder->installShippedCredentials();
        roster->start();
        QVERIFY(QTest::qWaitForWindowExposed(roster->frmPassword()));
        type(roster->frmPassword()->txtPassword, password.captured(1));
        QTest::mouseClick(roster->frmPassword()->cmdOK, Qt::LeftButton);
        QCOMPARE(services->texts(), QStringList());
        QTRY_VERIFY(roster->frmAvvio()->isVisible());
        QVERIFY(!roster->frmPassword()->isVisible());
    }

    void everyHelpButtonShowsItsTopic_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("title");
        QTest::newRow("start screen") << "start" << "Uno sguardo a Vetrinora";
        QTest::newRow("set editor") << "sets" << "App Catalogo BLOKKO";
        QTest::newRow("moc editor") << "mocs" << "App Archivio MOC";
        QTest::newRow("create archive") << "create" << "Creazione e apertura archivi MOC";
        QTest::newRow("open archive") << "open" << "Creazione e apertura archivi MOC";
        QTest::newRow("set export") << "setExport" << "Esportazione catalogo BLOKKO in Excel";
        QTest::newRow("moc export") << "mocExport" << "Esportazione archivio MOC in Excel";
    }
    void everyHelpButtonShowsItsTopic()
    {
        QFETCH(QString, where);
        QFETCH(QString, title);
        std::function<void()> press;
        std::unique_ptr<ExportWindow> exportWindow;
        if (where == QLatin1String("start"))
            press = [&] { click(roster->frmAvvio()->imgGuida); };
        else if (where == QLatin1String("sets"))
            press = [&] { click(roster->frmArmi()->command("cmdGuida")); };
        else if (where == QLatin1String("mocs"))
            press = [&] { click(mocs()->command("cmdGuida")); };
        else if (where == QLatin1String("create"))
            press = [&] { click(roster->frmCreaCatalogo()->imgGuida); };
        else if (where == QLatin1String("open"))
            press = [&] { click(roster->frmApriCatalogo()->imgGuida); };
        else {
            if (where == QLatin1String("setExport"))
                exportWindow = std::make_unique<TfrmExpArmi>(roster->frmArmi());
            else
                exportWindow = std::make_unique<TfrmExpCartoline>(mocs());
            press = [&] { click(exportWindow->cmdGuida); };
        }
        const auto isTheTopic = [&](QWidget *modal) {
            auto *help = qobject_cast<TfrmGuida *>(modal);
            QVERIFY(help);
            QCOMPARE(help->windowTitle(), QStringLiteral(" Guida all'utilizzo del software"));
            QCOMPARE(help->size(), QSize(670, 572));
            QCOMPARE(help->lblTitolo->text(), title);
            QVERIFY(help->txtGuida->isReadOnly());
            // The whole of the topic the title names, one paragraph a block.
            QStringList paragraphs;
            for (const HelpTopics::Topic &t :
                 {HelpTopics::startScreen(), HelpTopics::setEditor(), HelpTopics::mocEditor(),
                  HelpTopics::archives(), HelpTopics::setExport(), HelpTopics::mocExport()})
                if (t.title == title)
                    paragraphs = t.paragraphs;
            QVERIFY(!paragraphs.isEmpty());
            QCOMPARE(shownParagraphs(help), paragraphs);
        };
        QVERIFY(withModal(press, isTheTopic));
    }

    void linksOpenAndChangeColour()
    {
        TfrmGuida help(roster->frmAvvio());
        help.show();
        const QColor darkBlue(0x00, 0x00, 0x8B), orange(0xFF, 0xA5, 0x00);
        QCOMPARE(help.lnkWeb->palette().color(QPalette::WindowText), darkBlue);
        QTest::mousePress(help.lnkWeb, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(help.lnkWeb->palette().color(QPalette::WindowText), orange);
        QTest::mouseRelease(help.lnkWeb, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(help.lnkWeb->palette().color(QPalette::WindowText), darkBlue);
        QCOMPARE(help.lnkWeb->text(), QStringLiteral("Visualizza guida in formato PDF"));
        QTest::mousePress(help.imgPDF, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(help.lnkWeb->palette().color(QPalette::WindowText), orange);
        QTest::mouseRelease(help.imgPDF, Qt::LeftButton, {}, QPoint(5, 5));
        const QString pdf = QLatin1Char('"') + folder->file(QStringLiteral("Guida.pdf")) + QLatin1Char('"');
        QCOMPARE(services->opened, QStringList({pdf, pdf}));

        services->clear();
        TfrmInfo info(roster->frmAvvio());
        QCOMPARE(info.windowTitle(), QStringLiteral(" Informazioni su Vetrinora"));
        QTest::mouseClick(info.lnkWeb, Qt::LeftButton, {}, QPoint(5, 5));
        TfrmSplash splash(roster->frmAvvio());
        QVERIFY(splash.windowTitle().startsWith(QStringLiteral(" Vetrinora - ")));
        QCOMPARE(splash.size(), QSize(661, 467));
        QCOMPARE(splash.imgLogo->size(), QSize(625, 380));
        QTest::mouseClick(splash.lnkWeb, Qt::LeftButton, {}, QPoint(5, 5));
        click(roster->frmAvvio()->imgSito);
        QCOMPARE(services->opened, QStringList({"\"mailto:assistenza@vetrinora.it\"",
                                                "https://www.vetrinora.it", "https://www.vetrinora.it"}));
        QCOMPARE(splash.lnkWeb->text(), QStringLiteral("www.vetrinora.it"));
    }

    void startScreenIconsOpenFreshWindows()
    {
        for (int i = 0; i < 2; ++i) {
            QVERIFY(withModal([&] { click(roster->frmAvvio()->imgInfo); },
                              [](QWidget *modal) { QVERIFY(qobject_cast<TfrmInfo *>(modal)); }));
            QVERIFY(withModal([&] { click(roster->frmAvvio()->imgCopyright); },
                              [](QWidget *modal) { QVERIFY(qobject_cast<TfrmSplash *>(modal)); }));
        }
        QCOMPARE(roster->frmAvvio()->findChildren<QDialog *>().size(), 0);
    }
};

VETRINORA_TEST_MAIN(TestExtras)
#include "test_extras.moc"
