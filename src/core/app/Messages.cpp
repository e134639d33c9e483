#include "core/app/Messages.h"

#include "core/cards/CardStore.h"
#include "core/cards/RecordFile.h"
#include "core/collection/Cestino.h"
#include "core/transfer/Backup.h"
#include "core/transfer/CsvExport.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/FileFormats.h"
#include "core/transfer/Rows.h"
#include "core/transfer/SheetRows.h"
#include "core/transfer/XlsxExport.h"

namespace Messages {

// ---- the password ---------------------------------------------------------

QString wrongPassword() { return QStringLiteral("Attenzione: password errata."); }

QString passwordReadFailed()
{
    return QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                          "lettura della password. Si consiglia di reinstallare il software.");
}

QString wrongOldPassword() { return QStringLiteral("Attenzione: vecchia password errata."); }

QString passwordNotConfirmed()
{
    return QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                          "E' necessario reinserire entrambi i valori.");
}

QString passwordTooLong()
{
    return QStringLiteral("Attenzione: la nuova password non può superare i 255 caratteri. "
                          "Inserire una password più breve.");
}

QString passwordCharacter(const QString &character)
{
    return QStringLiteral("Attenzione: la nuova password contiene il carattere \"%1\", "
                          "che non può essere memorizzato. Usare soltanto lettere, cifre "
                          "e simboli dell'alfabeto latino.")
        .arg(character);
}

QString passwordChangeFailed()
{
    return QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                          "modifica della password. Si consiglia di reinstallare il software.");
}

QString passwordChanged() { return QStringLiteral("Modifica della password completata con successo."); }

// ---- the card editors -----------------------------------------------------

QString cardInserted() { return QStringLiteral("La scheda corrente è stata inserita in archivio."); }

QString cardUpdated()
{
    return QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in "
                          "archivio.");
}

QString saveChanges() { return QStringLiteral("Salvare le modifiche alla scheda?"); }

QString replacedCharacters(const QString &replacements)
{
    return QStringLiteral("Attenzione: alcuni caratteri della scheda non possono essere "
                          "memorizzati e saranno sostituiti così: %1.\r\n\r\nSi vuole salvare "
                          "la scheda con queste sostituzioni? Scegliere No per tornare alla "
                          "scheda e correggerla.")
        .arg(replacements);
}

QString photoNotSaved(const QString &file)
{
    return QStringLiteral("Attenzione: non è stato possibile salvare la foto della scheda nel "
                          "file %1.\r\n\r\nLa scheda è stata salvata in archivio; la foto "
                          "che il file conteneva prima è rimasta invariata. Controllare lo "
                          "spazio libero sul disco e i permessi della cartella.")
        .arg(file);
}

QString photosNotSaved(const QString &files)
{
    return QStringLiteral("Attenzione: non è stato possibile salvare le foto della scheda nei "
                          "file %1.\r\n\r\nLa scheda è stata salvata in archivio; le foto "
                          "che i file contenevano prima sono rimaste invariate. Controllare lo "
                          "spazio libero sul disco e i permessi della cartella.")
        .arg(files);
}

QString emptyArchive() { return QStringLiteral("L'archivio non contiene nessuna scheda."); }

QString duplicateUnsaved()
{
    return QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto dopo "
                          "che questa è stata inserita in archivio.");
}

QString duplicated()
{
    return QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda "
                          "corrente.\n\r\n\rAl termine premere Salva per inserire la scheda in "
                          "archivio.");
}

// ---- attachments ----------------------------------------------------------

QString attachmentNameTooLong()
{
    return QStringLiteral("Attenzione: il nome del file scelto è troppo lungo per essere "
                          "allegato alla scheda.\r\n\r\nRinominare il file con un nome più "
                          "breve e allegarlo di nuovo.");
}

QString attachmentNameCharacters(const QString &characters)
{
    return QStringLiteral("Attenzione: il nome del file scelto contiene caratteri che la scheda "
                          "non può memorizzare (%1).\r\n\r\nRinominare il file senza questi "
                          "caratteri e allegarlo di nuovo.")
        .arg(characters);
}

QString attachmentExists()
{
    return QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file "
                          "con lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");
}

QString attachmentMissing()
{
    return QStringLiteral("Attenzione: il file allegato non si trova nella cartella dei "
                          "documenti allegati e non può essere aperto.\r\n\r\nAllegare di nuovo "
                          "il file con il pulsante Sfoglia...");
}

// ---- searches -------------------------------------------------------------

QString nothingToFind()
{
    return QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");
}

// ---- the MOC archives -----------------------------------------------------

QString archiveNameMissing()
{
    return QStringLiteral("Attenzione: per creare l'archivio di MOC è necessario indicarne il "
                          "nome.");
}

QString archiveNameCharacters()
{
    return QStringLiteral("Attenzione: il nome dell'archivio di MOC indicato contiene caratteri "
                          "non ammessi.\r\n\r\nNon è possibile utilizzare i caratteri \" * / : "
                          "< > ? \\ ° Ç Ñ ç ñ né caratteri di controllo, né indicare come nome "
                          "soltanto \".\" o \"..\".");
}

QString archiveNameTooLong()
{
    return QStringLiteral("Attenzione: il nome dell'archivio di MOC indicato è troppo lungo."
                          "\r\n\r\nI nomi dei file delle foto delle schede comprendono il nome "
                          "dell'archivio e non potrebbero essere salvati: inserire un nome più "
                          "breve.");
}

QString archiveNameUsed()
{
    return QStringLiteral("Attenzione: il nome dell'archivio di MOC indicato è già stato "
                          "utilizzato in precedenza.\r\n\r\nInserire un nome diverso oppure, se "
                          "si desidera aprire un archivio di MOC già creato, premere il pulsante "
                          "Apri archivio MOC.");
}

QString archiveCreated()
{
    return QStringLiteral("Il file relativo al nuovo archivio di MOC è stato creato con "
                          "successo.\r\n\r\nE' ora possibile visualizzarlo nell'elenco degli "
                          "archivi MOC esistenti.");
}

QString noArchiveToOpen() { return QStringLiteral("Attenzione: l'elenco non contiene nessun archivio."); }

QString selectArchiveToOpen()
{
    return QStringLiteral("Attenzione: selezionare l'archivio di MOC dall'elenco prima di premere "
                          "il pulsante Apri archivio.");
}

QString noArchiveToDelete()
{
    return QStringLiteral("Attenzione: l'elenco non contiene nessun archivio di MOC.");
}

QString selectArchiveToDelete()
{
    return QStringLiteral("Attenzione: selezionare dall'elenco l'archivio da eliminare prima di "
                          "premere il pulsante del cestino.");
}

QString confirmArchiveDeletion()
{
    return QStringLiteral("Si sta per eliminare l'archivio di MOC selezionato. Si ricorda che il "
                          "file eliminato non potrà essere recuperato.\r\n\r\nSi conferma "
                          "l'eliminazione dell'archivio?");
}

QString archiveDeleted() { return QStringLiteral("L'archivio di MOC è stato eliminato con successo."); }

QString archiveNotDeleted()
{
    return QStringLiteral("Attenzione: non è stato possibile eliminare l'archivio di MOC "
                          "selezionato.\r\n\r\nAccertarsi di possedere i privilegi di scrittura "
                          "nella cartella di installazione del programma.");
}

// ---- the data folder in use -----------------------------------------------

QString folderInUse(const QString &folder, const QString &where, const QString &since,
                    const QString &lockFile)
{
    return QStringLiteral("Attenzione: la collezione della cartella \"%1\" è già aperta in "
                          "Vetrinora %2%3. Due programmi che scrivono la stessa collezione "
                          "perderebbero schede, perciò questa copia del programma si chiude."
                          "\r\n\r\nChiudere Vetrinora dove è aperto e avviarlo di nuovo. Se quel "
                          "computer si è spento senza chiudere il programma, eliminare il file "
                          "\"%4\" dalla cartella e avviare di nuovo Vetrinora.")
        .arg(folder, where, since, lockFile);
}

QString folderNotAnswering(const QString &folder, const QString &since)
{
    return QStringLiteral("Attenzione: la collezione della cartella \"%1\" è già aperta in "
                          "Vetrinora su questo computer%2, ma il programma non risponde. "
                          "Questa copia del programma si chiude per non scrivere la stessa "
                          "collezione due volte.\r\n\r\nAttendere che Vetrinora termini "
                          "l'operazione in corso, oppure chiuderlo, e avviarlo di nuovo.")
        .arg(folder, since);
}

// ---- printing and the spreadsheet export of the editors --------------------

namespace {
const QString kSmallerPhoto = QStringLiteral("\n\r\n\rSi consiglia di ridurre le dimensioni della foto.");
}

QString printFailed() { return QStringLiteral("Attenzione: la stampa non è andata a buon fine.") + kSmallerPhoto; }

QString previewFailed()
{
    return QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata a "
                          "buon fine.")
           + kSmallerPhoto;
}

QString exportQuestion()
{
    return QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a "
                          "seconda del numero di schede presenti in archivio.\r\n\r\nSi vuole "
                          "esportare i dati adesso?");
}

QString exportFailed()
{
    return QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                          "Accertarsi che il file di Excel non sia già aperto.");
}

QString exportedOpenIt()
{
    return QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\nSi "
                          "vuole aprire il file di Excel?");
}

QString savedButNotOpened(const QString &path)
{
    return QStringLiteral("Il file è stato salvato, ma nessun programma lo ha aperto:\r\n\r\n%1"
                          "\r\n\r\nInstallare un programma per i fogli di calcolo (ad esempio "
                          "LibreOffice Calc) e aprire il file da lì.")
        .arg(path);
}

// ---- the collection window ------------------------------------------------

QString deleteCards(const QString &what, const QString &titles)
{
    return QStringLiteral("Eliminare %1?\r\n\r\n%2\r\n\r\nLe schede eliminate e le loro foto "
                          "vanno nel Cestino, da cui si possono ripristinare.")
        .arg(what, titles);
}

QString backupSaved(const QString &path)
{
    return QStringLiteral("Il backup è stato salvato e controllato con successo nel file:"
                          "\r\n\r\n%1")
        .arg(path);
}

QString backupCancelled()
{
    return QStringLiteral("Il backup è stato annullato: nessun file è stato creato.");
}

QString restoreQuestion(const QString &date, const QString &time, const QString &setCards,
                        const QList<QPair<QString, QString>> &archives, const QString &photos,
                        const QString &attachments)
{
    QString text = QStringLiteral("Il backup scelto è stato creato il %1 alle %2 e contiene:")
                       .arg(date, time);
    text += QStringLiteral("\r\n- Catalogo BLOKKO: %1 schede").arg(setCards);
    for (const auto &a : archives)
        text += QStringLiteral("\r\n- archivio MOC %1: %2 schede").arg(a.first, a.second);
    text += QStringLiteral("\r\n- %1 foto e %2 allegati").arg(photos, attachments);
    text += QStringLiteral("\r\n\r\nI dati attuali saranno spostati in una cartella "
                           "\"Prima-del-ripristino\" con la data di oggi e sostituiti da quelli del "
                           "backup. Si conferma il ripristino?");
    return text;
}

QString restoreDone(const QString &aside)
{
    return QStringLiteral("Il ripristino è stato completato con successo.\r\n\r\nI dati presenti "
                          "prima del ripristino sono stati conservati nella cartella:\r\n%1")
        .arg(aside);
}

QString restoreCancelled()
{
    return QStringLiteral("Il ripristino è stato annullato: i dati attuali non sono stati "
                          "modificati.");
}

QString oneCardExportedToCsv() { return QStringLiteral("È stata esportata 1 scheda nel file CSV."); }

QString cardsExportedToCsv(const QString &count)
{
    return QStringLiteral("Sono state esportate %1 schede nel file CSV.").arg(count);
}

QString csvExportCancelled()
{
    return QStringLiteral("L'esportazione è stata annullata: il file CSV non è stato scritto.");
}

QString oneCardExportedToExcel() { return QStringLiteral("È stata esportata 1 scheda nel file Excel."); }

QString cardsExportedToExcel(const QString &count)
{
    return QStringLiteral("Sono state esportate %1 schede nel file Excel.").arg(count);
}

QString excelExportCancelled()
{
    return QStringLiteral("L'esportazione è stata annullata: il file Excel non è stato scritto.");
}

QString raggedRow(const QString &row, const QString &cells, const QString &headings)
{
    return QStringLiteral("Attenzione: la riga %1 del file ha %2 colonne, mentre l'intestazione ne "
                          "ha %3. Non è stata importata nessuna scheda.")
        .arg(row, cells, headings);
}

QString badCsv(const QString &row)
{
    return QStringLiteral("Attenzione: il file CSV non è scritto correttamente (virgolette non "
                          "chiuse o fuori posto alla riga %1). Non è stata importata nessuna scheda.")
        .arg(row);
}

QString longCell(const QString &row)
{
    return QStringLiteral("Attenzione: il file CSV contiene alla riga %1 una cella troppo lunga "
                          "(oltre 1 MB di testo), che nessun campo di una scheda può "
                          "contenere. Non è stata importata nessuna scheda.\r\n\r\nAprire il "
                          "file con un foglio di calcolo, accorciare la cella e importarlo di nuovo.")
        .arg(row);
}

QString oneCardImported() { return QStringLiteral("È stata importata 1 scheda."); }

QString cardsImported(const QString &count)
{
    return QStringLiteral("Sono state importate %1 schede.").arg(count);
}

QString skippedCards(const QString &count)
{
    return QStringLiteral("Schede già presenti nel catalogo, non importate: %1.").arg(count);
}

QString cutCells(const QString &count)
{
    return QStringLiteral("Celle troncate alla lunghezza massima del campo: %1.").arg(count);
}

QString unreadableValues(const QString &count)
{
    return QStringLiteral("Valori non riconosciuti (registrati come \"0,00\" o \"No\"): %1.")
        .arg(count);
}

QString replacedInImport(const QString &count)
{
    return QStringLiteral("Caratteri che il catalogo non può contenere, registrati come "
                          "indicato: %1.")
        .arg(count);
}

QString reportCell(const QString &row, const QString &column, const QString &text)
{
    return QStringLiteral("- riga %1, %2: %3").arg(row, column, text);
}

QString importCancelled()
{
    return QStringLiteral("L'importazione è stata annullata: non è stata aggiunta nessuna "
                          "scheda.");
}

QString fileNotRead(const QString &file) { return QStringLiteral("Impossibile leggere il file %1.").arg(file); }

QString fileNotWritten(const QString &file) { return QStringLiteral("Impossibile scrivere il file %1.").arg(file); }

QString fileReadOnly(const QString &file) { return QStringLiteral("Il file %1 è di sola lettura.").arg(file); }

QString archiveFileNotCreated(const QString &file)
{
    return QStringLiteral("Impossibile creare il file \"%1\".").arg(file);
}

QString importArchiveNameUsed()
{
    return QStringLiteral("Attenzione: il nome dell'archivio di MOC indicato è già stato utilizzato "
                          "in precedenza.\r\n\r\nInserire un nome diverso oppure, per importare le "
                          "schede in quell'archivio, sceglierlo nell'elenco.");
}

QStringList all()
{
    const QString p1 = QStringLiteral("%1"), p2 = QStringLiteral("%2"), p3 = QStringLiteral("%3"),
                  p4 = QStringLiteral("%4");
    return {
        wrongPassword(), passwordReadFailed(), wrongOldPassword(), passwordNotConfirmed(),
        passwordTooLong(), passwordCharacter(p1), passwordChangeFailed(), passwordChanged(),

        cardInserted(), cardUpdated(), saveChanges(), CardStore::changedCardMessage(),
        CardStore::changedFileMessage(p1), folderInUse(p1, p2, p3, p4),
        folderNotAnswering(p1, p2), replacedCharacters(p1), photoNotSaved(p1),
        photosNotSaved(p1), CardStore::accessMessage(), recordDiskFullMessage(),
        Cestino::damagedEntryMessage(), emptyArchive(), duplicateUnsaved(), duplicated(),

        attachmentNameTooLong(), attachmentNameCharacters(p1), attachmentExists(),
        attachmentMissing(), nothingToFind(),

        archiveNameMissing(), archiveNameCharacters(), archiveNameTooLong(), archiveNameUsed(),
        archiveCreated(), noArchiveToOpen(), selectArchiveToOpen(), noArchiveToDelete(),
        selectArchiveToDelete(), confirmArchiveDeletion(), archiveDeleted(), archiveNotDeleted(),
        archiveFileNotCreated(p1), importArchiveNameUsed(), printNotStarted(), printPageNotStarted(),
        fileNotRead(p1), fileNotWritten(p1), fileReadOnly(p1),

        printFailed(), previewFailed(), exportQuestion(), exportFailed(), exportedOpenIt(),
        savedButNotOpened(p1),

        deleteCards(p1, p2), backupSaved(p1), Transfer::backupWriteMessage(),
        backupCancelled(),
        restoreQuestion(p1, p2, p3, {{p4, QStringLiteral("%5")}}, QStringLiteral("%6"),
                        QStringLiteral("%7")),
        restoreDone(p1), restoreCancelled(), Transfer::notZipMessage(),
        Transfer::notBackupMessage(), Transfer::badNameMessage(p1), Transfer::tooLargeMessage(p1),
        Transfer::damagedMessage(QString()), Transfer::damagedMessage(p1),
        Transfer::partialCardsMessage(p1), Transfer::restoreDiskFullMessage(),
        Transfer::restoreMoveMessage(),

        oneCardExportedToCsv(), cardsExportedToCsv(p1), Transfer::exportFailedMessage(),
        csvExportCancelled(), Transfer::unreadableFileMessage(), Transfer::emptyFileMessage(),
        Transfer::notTextMessage(), Transfer::headingOnlyMessage(), raggedRow(p1, p2, p3),
        badCsv(p1), longCell(p1), Transfer::nothingMappedMessage(), oneCardImported(),
        cardsImported(p1), cutCells(p1), unreadableValues(p1), replacedInImport(p1),
        reportCell(p1, p2, p3), Transfer::readAsWindows1252Message(), importCancelled(),
        skippedCards(p1), Transfer::notSheetMessage(),
        oneCardExportedToExcel(), cardsExportedToExcel(p1), Transfer::xlsxFailedMessage(),
        excelExportCancelled(), Transfer::moduleMissingMessage(),
    };
}

} // namespace Messages
