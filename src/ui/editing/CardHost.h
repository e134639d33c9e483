#pragma once
// The card editor as the windows that serve it see it (attachments, webcam,
// slideshow, searches, summaries, exports, printing): its fields, photos and
// cards, and the way back to showing a card. The editors implement it; the
// windows that serve them need nothing else of them.

#include <QString>
#include <string_view>

class CardStore;
class PhotoBox;
class QLabel;
class QLineEdit;
class QWidget;
class Record;

class CardHost {
public:
    virtual ~CardHost() = default;
    // The editor's window, the parent of the windows it opens.
    virtual QWidget *hostWindow() = 0;
    virtual QLineEdit *field(std::string_view control) const = 0;
    virtual QLabel *attachmentLabel(std::string_view control) const = 0;
    virtual PhotoBox *photoBox(int slot) const = 0;
    // The file name of a card's photo in its photo folder.
    virtual QString photoFileName(int slot, const QString &position) const = 0;
    // The name of the open archive; empty for the set catalogue.
    virtual QString archiveName() const = 0;
    // The cards of the file the editor shows.
    virtual CardStore store() const = 0;
    // Shows a card read from the file at its 1-based position, as the
    // navigation buttons do.
    virtual void showCard(const Record &record, qint64 position) = 0;
    // Before a card is handed back: asks about changes of the card on screen
    // not yet saved; false when the user chose to stay on it.
    virtual bool leaveCard() = 0;
};
