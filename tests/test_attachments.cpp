// Files attached to a card: copied into "Documenti_Allegati", named in the
// card's hidden labels, stored in the record when the card is saved.

#include "TestSupport.h"

#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/base/Widgets.h"
#include "core/cards/Schede.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "core/editing/AttachmentNames.h"
#include "ui/editing/TfrmAllegaCartella.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {
const QString kOverwrite = QStringLiteral(
    "Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome."
    "\r\n\r\nSi vuole sovrascrivere il file esistente?");
const QString kOutside = QStringLiteral(
    "Attenzione: il file allegato non si trova nella cartella dei documenti allegati e non può "
    "essere aperto.\r\n\r\nAllegare di nuovo il file con il pulsante Sfoglia...");
const QString kTooLong = QStringLiteral(
    "Attenzione: il nome del file scelto è troppo lungo per essere allegato alla scheda.\r\n\r\n"
    "Rinominare il file con un nome più breve e allegarlo di nuovo.");
QString notStorable(const QString &characters)
{
    return QStringLiteral("Attenzione: il nome del file scelto contiene caratteri che la scheda "
                          "non può memorizzare (%1).\r\n\r\nRinominare il file senza questi "
                          "caratteri e allegarlo di nuovo.")
        .arg(characters);
}
} // namespace

class TestAttachments : public ProgramTest {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> elsewhere;

    QString document(const QString &name, const QByteArray &content)
    {
        const QString path = elsewhere->filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }

    QString attached(const QString &name) const
    {
        return folder->file(QStringLiteral("Documenti_Allegati")) + QDir::separator() + name;
    }

    QByteArray contentOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        ProgramTest::init();
        elsewhere = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        elsewhere.reset();
        ProgramTest::cleanup();
    }

    void attachAFile()
    {
        TfrmAllegaCartella w(roster->frmArmi());
        QCOMPARE(w.windowTitle(), QStringLiteral(" Allega file"));
        QCOMPARE(w.size(), QSize(634, 534));
        QVERIFY(!w.btnApri[0]->isEnabled());
        QVERIFY(w.txtFile[0]->isReadOnly());
        services->chosenFiles.enqueue(document(QStringLiteral("istruzioni.pdf"), "PDF-1"));
        QTest::mouseClick(w.btnSfoglia[0], Qt::LeftButton);
        const auto &request = services->fileDialogs.first().request;
        QCOMPARE(request.title, QStringLiteral("Selezionare il file da allegare:"));
        QCOMPARE(request.filters, QStringList{"Tutti i file (*)"});
        QCOMPARE(w.txtFile[0]->text(), QStringLiteral("istruzioni.pdf"));
        QVERIFY(w.btnApri[0]->isEnabled());
        QCOMPARE(contentOf(attached("istruzioni.pdf")), QByteArray("PDF-1"));
        QTest::mouseClick(w.btnApri[0], Qt::LeftButton);
        QCOMPARE(services->opened,
                 QStringList{QLatin1Char('"') + attached("istruzioni.pdf") + QLatin1Char('"')});
        QCOMPARE(services->texts(), QStringList());
    }

    void cancelledDialogChangesNothing()
    {
        TfrmAllegaCartella w(roster->frmArmi());
        w.txtFile[1]->setText(QStringLiteral("vecchio.pdf"));
        QTest::mouseClick(w.btnSfoglia[1], Qt::LeftButton);
        QCOMPARE(services->fileDialogs.size(), 1);
        QCOMPARE(w.txtFile[1]->text(), QStringLiteral("vecchio.pdf"));
        QVERIFY(!QFileInfo::exists(folder->file(QStringLiteral("Documenti_Allegati"))));
    }

    void overwriteQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes replaces") << true;
        QTest::newRow("no keeps") << false;
    }
    void overwriteQuestion()
    {
        QFETCH(bool, yes);
        QDir(folder->path()).mkpath(QStringLiteral("Documenti_Allegati"));
        folder->write(QStringLiteral("Documenti_Allegati/foto.jpg"), "vecchio");
        TfrmAllegaCartella w(roster->frmCartoline());
        services->chosenFiles.enqueue(document(QStringLiteral("foto.jpg"), "nuovo"));
        services->answers.enqueue(yes ? platform::Button::Yes : platform::Button::No);
        QTest::mouseClick(w.btnSfoglia[2], Qt::LeftButton);
        QCOMPARE(services->texts(), QStringList{kOverwrite});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Confirmation);
        QCOMPARE(w.txtFile[2]->text(), QStringLiteral("foto.jpg"));
        QCOMPARE(contentOf(attached("foto.jpg")), yes ? QByteArray("nuovo") : QByteArray("vecchio"));
        QCOMPARE(QDir(folder->file("Documenti_Allegati")).entryList(QDir::Files), QStringList{"foto.jpg"});
    }

    // ---- stored names ---------------------------------------------------------

    void bareNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bare");
        QTest::newRow("plain") << "istruzioni.pdf" << true;
        QTest::newRow("blank inside") << "foto del set.jpg" << true;
        QTest::newRow("two dots inside") << "istruzioni..pdf" << true;
        QTest::newRow("starting with two dots") << "..pdf" << true;
        QTest::newRow("colon further on") << "ab:c.pdf" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("two dots") << ".." << false;
        QTest::newRow("up and out") << "../../../../../../../../etc/passwd" << false;
        QTest::newRow("credential file") << "../unins000.dll" << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("subfolder") << "sotto/a.pdf" << false;
        QTest::newRow("backslash up") << "..\\unins000.dll" << false;
        QTest::newRow("backslash inside") << "sotto\\a.pdf" << false;
        QTest::newRow("drive and folder") << "C:\\Windows\\win.ini" << false;
        QTest::newRow("drive alone") << "c:win.ini" << false;
        QTest::newRow("network share") << "\\\\server\\a.pdf" << false;
    }
    void bareNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, bare);
        QCOMPARE(AttachmentNames::isBareName(name), bare);
    }

    // How a stored name resolves against the folder's real files: links are
    // followed and must stay inside.
    void namesResolveInsideTheFolder_data()
    {
        QTest::addColumn<QString>("linkTarget"); // "" a plain file, "-" nothing there
        QTest::addColumn<bool>("inside");
        QTest::newRow("plain file") << "" << true;
        QTest::newRow("missing file") << "-" << true;
        QTest::newRow("link to a file of the folder") << "altro.pdf" << true;
        QTest::newRow("link to the credential file") << "../unins000.dll" << false;
        QTest::newRow("link to a system file") << "/etc/passwd" << false;
        QTest::newRow("link to the folder above") << ".." << false;
        QTest::newRow("link leading nowhere") << "../manca.pdf" << false;
    }
    void namesResolveInsideTheFolder()
    {
        QFETCH(QString, linkTarget);
        QFETCH(bool, inside);
        folder->installShippedCredentials();
        const QString attachments = folder->file(QStringLiteral("Documenti_Allegati"));
        QVERIFY(QDir().mkpath(attachments));
        folder->write(QStringLiteral("Documenti_Allegati/altro.pdf"), "altro");
        const QString path = attached(QStringLiteral("doc.pdf"));
        if (linkTarget.isEmpty())
            folder->write(QStringLiteral("Documenti_Allegati/doc.pdf"), "doc");
        else if (linkTarget != QLatin1String("-"))
            QVERIFY(QFile::link(linkTarget, path));
        QCOMPARE(AttachmentNames::pathInFolder(attachments, QStringLiteral("doc.pdf")),
                 inside ? path : QString());
    }

    void apriOpensOnlyFilesOfTheFolder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("linkTarget"); // the stored name is a link to it
        QTest::newRow("system file") << "../../../../../../../../etc/passwd" << "";
        QTest::newRow("credential file") << "../unins000.dll" << "";
        QTest::newRow("absolute path") << "/etc/passwd" << "";
        QTest::newRow("backslashes") << "..\\unins000.dll" << "";
        QTest::newRow("drive") << "C:\\Windows\\win.ini" << "";
        QTest::newRow("two dots") << ".." << "";
        QTest::newRow("link out of the folder") << "istruzioni.pdf" << "../unins000.dll";
    }
    void apriOpensOnlyFilesOfTheFolder()
    {
        QFETCH(QString, stored);
        QFETCH(QString, linkTarget);
        folder->installShippedCredentials();
        QVERIFY(QDir().mkpath(folder->file(QStringLiteral("Documenti_Allegati"))));
        if (!linkTarget.isEmpty())
            QVERIFY(QFile::link(linkTarget, attached(stored)));
        TfrmArmi *editor = roster->frmArmi();
        editor->attachmentLabel("lblFile02")->setText(stored);
        TfrmAllegaCartella w(editor);
        w.readFrom(editor);
        QVERIFY(w.btnApri[1]->isEnabled());
        QTest::mouseClick(w.btnApri[1], Qt::LeftButton);
        QCOMPARE(services->opened, QStringList());
        QCOMPARE(services->texts(), QStringList{kOutside});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Warning);
        QCOMPARE(w.txtFile[1]->text(), stored);
    }

    // Names the card's record cannot give back are refused before copying:
    // the slot keeps its old name and nothing reaches the folder.
    void attachRefusesNamesTheCardCannotHold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("warning"); // empty: attached
        QTest::newRow("250 bytes, what the card holds") << QString(246, QLatin1Char('a')) + ".pdf" << "";
        QTest::newRow("251 bytes") << QString(247, QLatin1Char('a')) + ".pdf" << kTooLong;
        QTest::newRow("255 bytes") << QString(251, QLatin1Char('a')) + ".pdf" << kTooLong;
        QTest::newRow("accented letters, 255 bytes on disk")
            << QString(125, QChar(0xE8)) + ".pdf" << "";
        QTest::newRow("accented letters past 255 bytes on disk")
            << QString(126, QChar(0xE8)) + ".pdf" << kTooLong;
        QTest::newRow("accented letters and euro sign")
            << QString::fromUtf8("perché costa 5€.pdf") << "";
        QTest::newRow("cyrillic") << QString::fromUtf8("приказ.pdf")
                                  << notStorable(QString::fromUtf8("п р и к а з"));
        QTest::newRow("letters repeated, one shown once")
            << QString::fromUtf8("Łódź Łask.pdf") << notStorable(QString::fromUtf8("Ł ź"));
        QTest::newRow("outside the basic plane")
            << QString::fromUtf8("set 🧱.pdf") << notStorable(QString::fromUtf8("🧱"));
    }
    void attachRefusesNamesTheCardCannotHold()
    {
        QFETCH(QString, name);
        QFETCH(QString, warning);
        TfrmAllegaCartella w(roster->frmCartoline());
        w.txtFile[0]->setText(QStringLiteral("vecchio.pdf"));
        services->chosenFiles.enqueue(document(name, "contenuto"));
        QTest::mouseClick(w.btnSfoglia[0], Qt::LeftButton);
        if (warning.isEmpty()) {
            QCOMPARE(services->texts(), QStringList());
            QCOMPARE(w.txtFile[0]->text(), name);
            QCOMPARE(contentOf(attached(name)), QByteArray("contenuto"));
            return;
        }
        QCOMPARE(services->texts(), QStringList{warning});
        QCOMPARE(services->messages.first().kind, platform::MessageKind::Warning);
        QCOMPARE(w.txtFile[0]->text(), QStringLiteral("vecchio.pdf"));
        QCOMPARE(QDir(folder->file(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files),
                 QStringList());
    }

    void eraserKeepsTheDescriptionAndTheFile()
    {
        TfrmAllegaCartella w(roster->frmArmi());
        services->chosenFiles.enqueue(document(QStringLiteral("a.txt"), "a"));
        QTest::mouseClick(w.btnSfoglia[0], Qt::LeftButton);
        w.txtDesc[0]->setText(QStringLiteral("Istruzioni"));
        QTest::mouseClick(w.imgCancella[0], Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(w.txtFile[0]->text(), QString());
        QVERIFY(!w.btnApri[0]->isEnabled());
        QCOMPARE(w.txtDesc[0]->text(), QStringLiteral("Istruzioni"));
        QVERIFY(QFile::exists(attached("a.txt")));
    }

    void annullaLeavesTheEditorButKeepsTheCopy()
    {
        TfrmArmi *editor = roster->frmArmi();
        editor->attachmentLabel("lblFile01")->setText(QStringLiteral("prima.pdf"));
        TfrmAllegaCartella w(editor);
        w.lblMemory->setText(QStringLiteral("armi"));
        services->chosenFiles.enqueue(document(QStringLiteral("dopo.pdf"), "x"));
        QTest::mouseClick(w.btnSfoglia[0], Qt::LeftButton);
        QTest::mouseClick(w.btnAnnulla, Qt::LeftButton);
        QCOMPARE(editor->attachmentLabel("lblFile01")->text(), QStringLiteral("prima.pdf"));
        QVERIFY(QFile::exists(attached("dopo.pdf")));
    }

    void applyWritesIntoTheCallingEditor_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("sets") << "armi";
        QTest::newRow("mocs") << "cartoline";
        QTest::newRow("unknown word") << "altro";
    }
    void applyWritesIntoTheCallingEditor()
    {
        QFETCH(QString, word);
        TfrmAllegaCartella w(roster->frmArmi());
        w.show();
        w.lblMemory->setText(QStringLiteral(" ") + word + QStringLiteral(" "));
        w.txtFile[1]->setText(QStringLiteral("b.pdf"));
        w.txtDesc[1]->setText(QStringLiteral("   Schema   "));
        QTest::mouseClick(w.btnApplica, Qt::LeftButton);
        CardEditor *target = word == QLatin1String("armi") ? static_cast<CardEditor *>(roster->frmArmi())
                             : word == QLatin1String("cartoline") ? roster->frmCartoline()
                                                                  : nullptr;
        if (!target) {
            QVERIFY(w.isVisible());
            QCOMPARE(roster->frmArmi()->attachmentLabel("lblFile02")->text(), QString());
            QCOMPARE(roster->frmCartoline()->attachmentLabel("lblFile02")->text(), QString());
            return;
        }
        QVERIFY(!w.isVisible());
        QCOMPARE(target->attachmentLabel("lblFile02")->text(), QStringLiteral("b.pdf"));
        QCOMPARE(target->attachmentLabel("lblDesc02")->text(), QStringLiteral("Schema"));
        QCOMPARE(target->attachmentLabel("lblFile01")->text(), QString());
    }

    void theEditorOpensTheWindowAndSavesTheAttachments()
    {
        TfrmArmi *editor = roster->frmArmi();
        roster->handOver(roster->frmAvvio(), editor);
        editor->attachmentLabel("lblFile03")->setText(QStringLiteral(" c.pdf "));
        for (const char *f : {"txtMunizioni", "txtArma", "txtCalibro", "txtAnno"})
            editor->field(f)->setText(QStringLiteral("x"));
        const QString longText = QString(300, QLatin1Char('d'));
        Picture *p = editor->command("cmdFile");
        QVERIFY(p);
        const auto describeAndApply = [&](QWidget *modal) {
            auto *w = qobject_cast<TfrmAllegaCartella *>(modal);
            QVERIFY(w);
            QCOMPARE(w->lblMemory->text(), QStringLiteral("armi"));
            QCOMPARE(w->txtFile[2]->text(), QStringLiteral("c.pdf"));
            w->txtDesc[0]->setText(longText);
            QTest::mouseClick(w->btnApplica, Qt::LeftButton);
            QVERIFY(!w->isVisible());
        };
        QVERIFY(withModal([&] { QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center()); },
                          describeAndApply));
        QCOMPARE(editor->attachmentLabel("lblDesc01")->text(), longText);
        editor->cmdSalvaClick();
        Record stored(Schede::TSchedaSet);
        stored.bytes() = folder->read(QStringLiteral("Catalogo_BLOKKO.pro"));
        QCOMPARE(stored.text("Desc01"), longText.left(250));
        QCOMPARE(stored.text("File03"), QStringLiteral("c.pdf"));
    }
};

VETRINORA_TEST_MAIN(TestAttachments)
#include "test_attachments.moc"
