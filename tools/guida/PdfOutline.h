#pragma once
// Adds bookmarks (the document outline) to a PDF file written by QPdfWriter,
// which has no way to make them itself: an incremental update appended to
// the file adds the outline items and a catalogue that points at them.
#include <QList>
#include <QString>

namespace PdfOutline {

struct Entry {
    QString title;
    int page; // from 1
};

// Returns an empty text on success, or what went wrong.
QString add(const QString &pdfPath, const QList<Entry> &entries);

} // namespace PdfOutline
