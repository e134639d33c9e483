#pragma once
// The card editor shared by the set catalogue and the MOC archives: toolbar,
// fields, photos, position label and hint bar laid out from an EditorConfig;
// navigation, saving, clearing and the photo operations written once.

#include "ui/base/MainLevelWindow.h"
#include "ui/editing/CardHost.h"
#include "ui/cards/EditorConfig.h"
#include "core/cards/RecordLayout.h"

#include <QHash>
#include <QImage>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Band;
class HintBar;
class Picture;
class PhotoBox;
class CardStore;
class FieldBinding;

class CardEditor : public MainLevelWindow, public CardHost {
    Q_OBJECT
public:
    CardEditor(const EditorConfig &config, QWidget *parent = nullptr);
    ~CardEditor() override;

    const EditorConfig &config() const { return config_; }

    // Controls by their names.
    QWidget *hostWindow() override { return this; }
    QLineEdit *field(std::string_view control) const override;
    QLabel *attachmentLabel(std::string_view control) const override;
    Picture *command(std::string_view name) const;
    PhotoBox *photoBox(int slot) const override;
    PhotoBox *placeholderBox(int slot) const;

    QLabel *lblPosizione = nullptr;
    QCheckBox *forSaleBox = nullptr; // chkSegnala, chkInVendita
    QPushButton *btnFocus = nullptr;
    QLabel *panInfo = nullptr;
    Band *shpInfo = nullptr;
    HintBar *hintBar = nullptr;

    // The record file this editor works on.
    virtual QString recordFilePath() const = 0;
    // The cards of the file this editor shows.
    CardStore store() const override;
    // The photo file of a slot for the card whose position is in lblPosizione.
    QString photoFilePath(int slot) const;
    QString photoFileName(int slot, const QString &position) const override = 0;

    // Prepares a new card: empty fields, "0,00" in the money field, for-sale
    // box cleared, no attachments, placeholder photos, empty position label,
    // focus on the first field.
    void clearCard();
    // Puts a record just read into the controls as card `position` (1-based)
    // and loads its photos. Search and summary windows hand cards back here.
    void showCard(const Record &record, qint64 position) override;

    // Whether the card on screen differs from the card as it was shown, or
    // last saved: a field, an attachment, a photo or its position.
    bool hasUnsavedChanges() const;
    // Before the card on screen gives way (another card, a new card, the
    // collection window, closing the editor): with changes not yet saved,
    // asks "Salvare le modifiche alla scheda?"; Sì saves as Salva does, No
    // drops them, Annulla stays. True when the editor may move on.
    bool leaveCard() override;
    // Saves the card on screen as Salva does; true when it was saved.
    bool saveCard();

    // Writes the card's photos; the files that could not be written, none
    // when all went well.
    QStringList SalvaFotoScheda();
    void CaricaFotoScheda();

public slots:
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdEsciClick();
    void cmdFileClick();
    void cmdGuidaClick();
    void cmdCollezioneClick();
    void btnFocusClick();
    void loadPhoto(int slot);
    void savePhoto(int slot);
    void clearPhoto(int slot);
    void zoomPhoto(int slot);

protected:
    // Connects every toolbar command of the table to its handler; the
    // concrete editors call it last in their constructors.
    void wireToolbar();
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Fills the working record from the controls.
    void fillRecord();
    // Runs a record action; a failure shows the access message. Returns
    // false when the action failed.
    bool recordAction(const std::function<void(const CardStore &)> &action);
    Picture *addCommand(const ToolItem &item, QRect geometry);

    Record working_;
    // The card as read from (or last saved to) its file: a save overwrites
    // the card only while the file still holds exactly this.
    Record loaded_;

private:
    void buildDecorations();
    void buildToolbar();
    void buildFields();
    void buildPhotos();
    void buildHintBar();
    void navigate(const std::function<qint64(qint64)> &choose);
    // The card on screen as it would be saved, with its position and photos.
    struct Shown {
        QString position;
        QByteArray bytes;
        QList<qint64> photos;
        bool operator==(const Shown &) const = default;
    };
    Shown shownNow() const;
    void rememberShown() { shown_ = shownNow(); }
    Shown shown_;

    const EditorConfig &config_;
    struct Bound {
        const FieldDef *def;
        std::unique_ptr<FieldBinding> binding;
    };
    std::vector<Bound> bindings_;
    QHash<QString, QLineEdit *> fields_;
    QHash<QString, QLabel *> attachments_;
    QHash<QString, Picture *> commands_;
    QList<PhotoBox *> photos_;
    QList<PhotoBox *> twins_;
};

// The warning shown when a saved card's photo file could not be written.
QString photoNotSavedMessage(const QStringList &paths);

// The question asked before a card is saved with characters the record file
// cannot hold, given the list of replacements ("ő → o, ł → l, Ω → ?").
QString replacedCharactersMessage(const QString &replacements);
