#pragma once
// Deleting cards without losing them. The cards taken out of a record file
// go, with their photos, into a folder of their own under "Cestino" in the
// program folder, from which they can be put back at the end of their file.
//
// Every deletion and every restore is journalled: the folder of the deleted
// cards holds a "giornale" naming the step reached, and recover(), run at
// start-up before anything reads the files, completes a step that a killed
// run left half done, or undoes it when the record file was not yet
// replaced. The record file itself is only ever replaced whole.

#include "core/collection/CardFile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

namespace Cestino {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A deletion kept in the bin.
struct Entry {
    QString id;          // the folder's name under "Cestino"
    QString fileName;    // the record file the cards came from
    QString name;        // "Catalogo BLOKKO" or the archive's name
    QDateTime when;
    QList<qint64> positions; // the cards' 1-based positions before deletion
    QStringList titles;      // each card's first field
};

// The folder of the bin, with a trailing separator.
QString folder();

// Takes the cards at `indices` (0-based) out of `file` and out of the photo
// folder, and keeps them in a new entry of the bin; the cards after them move
// up, their photos renamed to their new positions. Returns the entry's id.
// Throws Failure (with the access message, or the full-disk one) when the file cannot be read or
// replaced; the collection is then as before.
QString remove(const CardFile &file, std::vector<qint64> indices);

// The entries of the bin, oldest first.
QList<Entry> entries();

// Puts the cards of an entry back at the end of their file, with their
// photos, and empties the entry. Throws Failure as remove() does.
void restore(const QString &id);

// Removes an entry from the bin for good, its cards and photos with it: they
// can no longer be put back. An id that names no entry of the bin does
// nothing. Throws Failure when the entry's folder cannot be removed.
void purge(const QString &id);

// Completes or undoes whatever a killed run left half done. An entry whose
// journal names no record file of the program folder is damaged (or made
// elsewhere) and is left as it is.
void recover();

// Whether a journal or an index of an entry, as stored, names only files of
// the program folder. entries() leaves out, and restore() refuses, an entry
// whose index does not; a backup holding such a note is damaged.
bool isSoundNote(const QByteArray &bytes);

// The refusal of an entry whose index fails isSoundNote().
QString damagedEntryMessage();

} // namespace Cestino
