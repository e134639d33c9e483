#pragma once
// A record file of the collection as the collection window and the waste bin
// see it: where it lies, its layout, the name it goes by and how the photos
// of its cards are named ("BLOKKO_12.jpg", "Castelli_Foto_B_12.jpg").

#include "core/cards/CardStore.h"
#include "core/cards/RecordLayout.h"

#include <QList>
#include <QString>
#include <QStringList>

struct CardFile {
    QString path;                // full path of the record file
    const RecordLayout *layout = nullptr;
    QString name;                // "Catalogo BLOKKO" or the archive's name
    bool archive = false;        // a MOC archive
    QString photoFolder;         // full path, with a trailing separator
    QStringList photoPrefixes;   // one per photo of a card; + n + ".jpg"

    CardStore store() const { return CardStore(path, *layout); }
    // The file name of the record file in the program folder.
    QString fileName() const;
    // The photo file of slot `slot` of card `position` (1-based).
    QString photoPath(int slot, qint64 position) const;
    // The card position a photo file name stands for in slot `slot`, or -1.
    qint64 photoPosition(int slot, const QString &fileName) const;

    // The set catalogue of the program folder.
    static CardFile catalogue();
    // The MOC archive of that name in the program folder.
    static CardFile archiveNamed(const QString &name);
    // Whether a name read from a file can stand for a record file of the
    // program folder: the catalogue's, or a bare storable name ending in
    // ".moc" (never one with a folder part, a drive or "..").
    static bool isRecordFileName(const QString &fileName);
    // The file of a record file name of the program folder
    // ("Catalogo_BLOKKO.pro", "Castelli.moc"). Throws std::invalid_argument
    // for a name that isRecordFileName() refuses: such a name is never
    // followed.
    static CardFile fromFileName(const QString &fileName);
    // The catalogue followed by every archive, in the archive list's order.
    static QList<CardFile> everything();
};
