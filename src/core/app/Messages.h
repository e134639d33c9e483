#pragma once
// The catalogue of the program's messages: every text a window shows in a
// message box, and that the manual's table of messages lists, comes from one
// function here, which the windows and the manual both call. A few messages
// are made where they are raised (the record files, the bin, the backup, the
// CSV and spreadsheet transfers): all() lists those too.
//
// What the program puts into a message (a name, a number, a list) is passed
// as text, already written out; each function fills all its places at once,
// so all() can give the messages with "%1", "%2" ... where those go.
#include <QString>
#include <QStringList>

namespace Messages {

// ---- the password ---------------------------------------------------------
QString wrongPassword();
QString passwordReadFailed();
QString wrongOldPassword();
QString passwordNotConfirmed();
QString passwordTooLong();
QString passwordCharacter(const QString &character);
QString passwordChangeFailed();
QString passwordChanged();

// ---- the card editors -----------------------------------------------------
QString cardInserted();
QString cardUpdated();
QString saveChanges();
QString replacedCharacters(const QString &replacements);
// `files` are the file names already quoted and joined.
QString photoNotSaved(const QString &file);
QString photosNotSaved(const QString &files);
QString emptyArchive();
QString duplicateUnsaved();
QString duplicated();

// ---- attachments ----------------------------------------------------------
QString attachmentNameTooLong();
QString attachmentNameCharacters(const QString &characters);
QString attachmentExists();
QString attachmentMissing();

// ---- settings files ---------------------------------------------------------
QString fileNotRead(const QString &file);
QString fileNotWritten(const QString &file);
QString fileReadOnly(const QString &file);

// ---- printing -------------------------------------------------------------
// Also raised by the print module, which links no more than Qt: written here.
inline QString printNotStarted() { return QStringLiteral("Impossibile avviare la stampa."); }
inline QString printPageNotStarted() { return QStringLiteral("Impossibile avviare una nuova pagina di stampa."); }

// ---- searches -------------------------------------------------------------
QString nothingToFind();

// ---- the MOC archives -----------------------------------------------------
QString archiveNameMissing();
QString archiveNameCharacters();
QString archiveNameTooLong();
QString archiveNameUsed();
QString archiveCreated();
QString noArchiveToOpen();
QString selectArchiveToOpen();
QString noArchiveToDelete();
QString selectArchiveToDelete();
QString confirmArchiveDeletion();
QString archiveDeleted();
QString archiveNotDeleted();
QString archiveFileNotCreated(const QString &file);
// Importing into a new archive whose name is already used.
QString importArchiveNameUsed();

// ---- the data folder in use -----------------------------------------------
// `where` is " sul computer \"nome\"" or " da un altro utente ...", `since`
// " dal giorno alle ore" or empty.
QString folderInUse(const QString &folder, const QString &where, const QString &since,
                    const QString &lockFile);
QString folderNotAnswering(const QString &folder, const QString &since);

// ---- printing and the spreadsheet export of the editors --------------------
QString printFailed();
QString previewFailed();
QString exportQuestion();
QString exportFailed();
QString exportedOpenIt();
QString savedButNotOpened(const QString &path);

// ---- the collection window ------------------------------------------------
// `what` is "la scheda" or "le N schede", `titles` one card a line.
QString deleteCards(const QString &what, const QString &titles);
QString backupSaved(const QString &path);
QString backupCancelled();
// The archives as pairs of name and number of cards, all written out.
QString restoreQuestion(const QString &date, const QString &time, const QString &setCards,
                        const QList<QPair<QString, QString>> &archives, const QString &photos,
                        const QString &attachments);
QString restoreDone(const QString &aside);
QString restoreCancelled();
QString oneCardExportedToCsv();
QString cardsExportedToCsv(const QString &count);
QString csvExportCancelled();
QString oneCardExportedToExcel();
QString cardsExportedToExcel(const QString &count);
QString excelExportCancelled();
QString raggedRow(const QString &row, const QString &cells, const QString &headings);
QString badCsv(const QString &row);
QString longCell(const QString &row);
// The import report: its first line, then its sections, each a title and
// one line for each cell it names.
QString oneCardImported();
QString cardsImported(const QString &count);
QString skippedCards(const QString &count);
QString cutCells(const QString &count);
QString unreadableValues(const QString &count);
QString replacedInImport(const QString &count);
QString reportCell(const QString &row, const QString &column, const QString &text);
QString importCancelled();

// Every message of the catalogue, those made elsewhere included, with "%1",
// "%2" ... in the places the program fills.
QStringList all();

} // namespace Messages
