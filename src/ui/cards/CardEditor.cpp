#include "ui/cards/CardEditor.h"
#include "core/app/Messages.h"
#include "core/platform/FileSystem.h"

#include "ui/cards/FieldBinding.h"

#include "ui/base/HelpWindows.h"
#include "ui/base/Navigation.h"
#include "core/app/ProgramFolder.h"
#include "core/app/Text.h"
#include "ui/base/Widgets.h"
#include "core/cards/CardStore.h"
#include "core/cards/Windows1252.h"
#include "ui/editing/FieldBehaviours.h"
#include "ui/editing/FieldEvents.h"
#include "ui/editing/HintBar.h"
#include "core/editing/Money.h"
#include "ui/editing/PhotoBox.h"
#include "ui/editing/TfrmAllegaCartella.h"
#include "ui/editing/TfrmWebCam.h"
#include "ui/editing/TfrmZoom.h"
#include "ui/platform/Platform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <stdexcept>
#include <QMetaMethod>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

QString name(std::string_view view) { return QString::fromLatin1(view.data(), view.size()); }

constexpr qint64 kNothing = -1; // stay where we are, no message
constexpr qint64 kEmpty = -2;   // the file holds no cards

} // namespace

CardEditor::CardEditor(const EditorConfig &config, QWidget *parent)
    : MainLevelWindow(QString::fromLatin1(config.objectName), QString::fromUtf8(config.caption),
                      config.gradientTop, config.panelSize, parent),
      working_(*config.layout), loaded_(*config.layout), config_(config)
{
    buildDecorations();
    buildToolbar();
    buildPhotos();
    buildFields();
    // Every field of the record is bound once to the control of its name.
    for (const FieldDef &def : config_.layout->fields) {
        auto *control = panel()->findChild<QWidget *>(def.controlName());
        if (!control)
            throw std::logic_error("field " + std::string(def.name) + " has no control "
                                   + std::string(def.control));
        bindings_.push_back({&def, FieldBinding::make(def, control)});
    }
    buildHintBar();
}

CardEditor::~CardEditor() { FieldEvents::detachAll(this); }

void CardEditor::buildDecorations()
{
    new Band(QStringLiteral("shpContainer"), QRect(QPoint(0, 0), config_.panelSize), panel(),
             QColor(255, 255, 255, 40), Colors::bandBorder());
    for (const Decoration &d : config_.decorations) {
        if (d.resource)
            new Picture(name(d.name), QString::fromLatin1(d.resource), d.geometry, panel());
        else
            new Band(name(d.name), d.geometry, panel(), d.fill, Colors::bandBorder());
    }
}

Picture *CardEditor::addCommand(const ToolItem &item, QRect geometry)
{
    auto *picture = new Picture(name(item.name), QString::fromLatin1(item.resource), geometry,
                                panel());
    picture->setClickable(true);
    picture->setHint(QString::fromUtf8(item.hint));
    commands_.insert(picture->objectName(), picture);
    return picture;
}

void CardEditor::buildToolbar()
{
    constexpr int kPadding = 6, kSpacing = 4, kGap = 8, kTop = 8, kHeight = 52;
    int x = 8;
    for (int group = 0; group < int(config_.toolBands.size()); ++group) {
        const int start = x;
        int itemX = start + kPadding;
        QList<QWidget *> items;
        for (const ToolItem &item : config_.tools) {
            if (item.group != group)
                continue;
            const QRect geometry(itemX, kTop + kPadding, item.width, 40);
            if (!item.resource) {
                lblPosizione = makeLabel(name(item.name), QString(), geometry, panel());
                lblPosizione->setAlignment(Qt::AlignCenter);
                lblPosizione->setFont(verdana(14, true));
                items << lblPosizione;
            } else {
                items << addCommand(item, geometry);
            }
            itemX += item.width + kSpacing;
        }
        const int end = itemX - kSpacing + kPadding;
        auto *band = new Band(name(config_.toolBands[group]), QRect(start, kTop, end - start, kHeight),
                              panel());
        band->lower();
        for (QWidget *w : items)
            w->raise();
        x = end + kGap;
    }
}

void CardEditor::wireToolbar()
{
    // Each command of the table runs the handler of its name: cmdSalva runs
    // cmdSalvaClick. Called once the concrete editor is complete, so that its
    // own handlers are found too; a command without a handler is a fault of
    // the tables, reported by name.
    const QMetaMethod clicked = QMetaMethod::fromSignal(&Picture::clicked);
    for (const ToolItem &tool : config_.tools) {
        if (!tool.resource)
            continue; // the position label
        const QByteArray handler = QByteArray(tool.name.data(), qsizetype(tool.name.size()))
                                   + "Click()";
        const int index = metaObject()->indexOfSlot(handler.constData());
        if (index < 0)
            throw std::logic_error("toolbar command " + std::string(tool.name)
                                   + " has no handler " + handler.toStdString());
        Picture *picture = command(tool.name);
        connect(picture, clicked, this, metaObject()->method(index));
        if (tool.shortcut)
            addShortcuts(picture,
                         QKeySequence::listFromString(QString::fromLatin1(tool.shortcut),
                                                      QKeySequence::PortableText),
                         this);
    }
    // The commands follow the fields in the Tab order; the focus sink,
    // never a Tab stop, stays last.
    picturesAfterControls(this);
    setTabOrder(previousInFocusChain(), btnFocus);
    // The editor as made is a new card that nobody has touched.
    rememberShown();
}

void CardEditor::cmdCollezioneClick()
{
    if (leaveCard())
        navigation().showCollection(this);
}

void CardEditor::cmdGuidaClick() { TfrmGuida::showTopic(this, config_.helpTopic()); }

void CardEditor::buildFields()
{
    const RecordLayout &layout = *config_.layout;
    QFont labelFont = font();
    labelFont.setBold(true);
    labelFont.setPointSize(9);
    QList<QWidget *> cycle;
    QList<QWidget *> tabOrder;
    for (const FieldPlace &place : config_.fields) {
        const FieldDef *def = layout.fieldForControl(place.control);
        Q_ASSERT(def);
        if (def->role == FieldRole::ForSale) {
            forSaleBox = new QCheckBox(def->captionText(), panel());
            forSaleBox->setObjectName(name(place.control));
            forSaleBox->move(place.x, place.y);
            forSaleBox->setFont(labelFont);
            forSaleBox->adjustSize();
            tabOrder << forSaleBox;
            continue;
        }
        auto *edit = new QLineEdit(panel());
        edit->setObjectName(name(place.control));
        edit->setGeometry(place.x, place.y, place.width, 22);
        const bool money = def->role == FieldRole::Money;
        // The money field limits typing only: its normalised amount may be
        // longer ("999999999999999,00") and stays whole.
        if (!money)
            edit->setMaxLength(def->capacity);
        fields_.insert(edit->objectName(), edit);
        const QString labelName = QStringLiteral("lbl") + edit->objectName().mid(3);
        if (place.label == LabelPlace::Above) {
            QLabel *label = makeLabel(labelName, def->captionText(),
                                      QRect(place.x, place.y - 18, place.width, 16), panel());
            label->setFont(labelFont);
            nameField(label, edit);
        } else {
            const bool big = def->role == FieldRole::Money;
            QLabel *label = makeLabel(labelName, def->captionText(),
                                      big ? QRect(place.x - 112, place.y - 4, 106, 30)
                                          : QRect(place.x - 60, place.y, 54, 22),
                                      panel());
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setFont(big ? verdana(14, true) : labelFont);
            nameField(label, edit);
        }
        FieldBehaviours::paintField(edit, money ? config_.moneyResting : FieldBehaviours::aliceBlue());
        if (money) {
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->setFont(verdana(config_.moneyFontSize, true));
            edit->setText(Money::zero());
            auto *events = FieldEvents::of(edit);
            // Only typed digits and commas meet the limit: Backspace and
            // Delete carry a character too ("\b", DEL) but must always work.
            const int limit = def->capacity;
            events->onKeyDown([edit, limit](QKeyEvent *key) {
                if (isReturnKey(key))
                    return false;
                if (!Money::keyAllowed(key))
                    return true;
                return Money::typesCharacter(key)
                       && edit->text().size() - edit->selectedText().size() >= limit;
            });
            events->onExit([edit] { edit->setText(Money::normalise(edit->text())); });
            FieldBehaviours::selectAllOnFocus(edit);
        }
        cycle << edit;
        tabOrder << edit;
    }
    FieldBehaviours::returnCycle(cycle);

    for (const FieldDef &def : layout.fields) {
        if (def.role != FieldRole::Attachment)
            continue;
        QLabel *label = makeLabel(def.controlName(), QString(), QRect(), panel());
        label->hide();
        attachments_.insert(label->objectName(), label);
    }

    btnFocus = new FocusSink(panel());
    btnFocus->setObjectName(QStringLiteral("btnFocus"));
    btnFocus->setGeometry(0, 0, 25, 20);
    btnFocus->setFlat(true);
    btnFocus->setStyleSheet(QStringLiteral("background: transparent; border: none;"));
    btnFocus->lower(); // under the card: it only ever receives the focus
    connect(btnFocus, &QPushButton::clicked, this, &CardEditor::btnFocusClick);
    tabOrder << btnFocus;
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void CardEditor::buildPhotos()
{
    const char *hints[] = {"Carica una foto esistente.", "Acquisisci la foto da WebCam.",
                           "Salva la foto su disco.", "Cancella la foto.",
                           "Visualizza la foto nelle sue dimensioni reali."};
    for (int slot = 0; slot < int(config_.photos.size()); ++slot) {
        const PhotoSlot &p = config_.photos[slot];
        auto *twin = new PhotoBox(name(p.twin), p.geometry, panel());
        twin->hide();
        // Drawn when first needed: the editor is first shown after start-up.
        auto *box = new PhotoBox(name(p.box), p.geometry, panel());
        twins_ << twin;
        photos_ << box;

        const std::string_view buttons[] = {p.load, p.webcam, p.save, p.clear, p.zoom};
        int index = 0;
        for (int b = 0; b < 5; ++b) {
            if (buttons[b].empty())
                continue;
            const QRect geometry = p.buttonsInRow
                                       ? QRect(p.geometry.x() + index * 44, p.geometry.bottom() + 15, 36, 36)
                                       : QRect(p.geometry.x() - 44, p.geometry.y() + index * 46, 36, 36);
            static const char *resources[] = {":/images/foto_carica.svg", ":/images/foto_webcam.svg",
                                              ":/images/foto_salva.svg", ":/images/foto_cancella.svg",
                                              ":/images/foto_zoom.svg"};
            Picture *button = addCommand({0, buttons[b], resources[b], hints[b], 36}, geometry);
            switch (b) {
            case 0: connect(button, &Picture::clicked, this, [this, slot] { loadPhoto(slot); }); break;
            case 2: connect(button, &Picture::clicked, this, [this, slot] { savePhoto(slot); }); break;
            case 3: connect(button, &Picture::clicked, this, [this, slot] { clearPhoto(slot); }); break;
            case 4: connect(button, &Picture::clicked, this, [this, slot] { zoomPhoto(slot); }); break;
            case 1:
                connect(button, &Picture::clicked, this, [this, slot] {
                    TfrmWebCam webcam(this);
                    webcam.lblMemory->setText(slot == 0 ? QStringLiteral("foto01") : QStringLiteral("foto02"));
                    webcam.exec();
                });
                break;
            default: break;
            }
            ++index;
        }
    }
}

void CardEditor::buildHintBar()
{
    shpInfo = new Band(QStringLiteral("shpInfo"), config_.infoStrip, panel(),
                       QColor(0x30, 0x30, 0xDD), QColor(0x30, 0x30, 0xDD));
    panInfo = makeLabel(QStringLiteral("panInfo"), QString(),
                        QRect(config_.infoStrip.x() + 10, config_.infoStrip.y() + 7, 10, 18), panel());
    QFont tahoma(QStringLiteral("Tahoma"), 12);
    tahoma.setStyleHint(QFont::SansSerif);
    panInfo->setFont(tahoma);
    panInfo->setWordWrap(false);
    panInfo->setStyleSheet(QStringLiteral("color: white;"));
    panInfo->raise();
    hintBar = new HintBar(this, panInfo);
    hintBar->setText(QStringLiteral("Pronto per archiviare una nuova scheda..."));
    for (Picture *c : std::as_const(commands_))
        hintBar->addHint(c, c->hint());
    hintBar->addHint(forSaleBox, QString::fromUtf8(config_.checkHint));
    for (std::string_view blank : config_.blankers) {
        const QString n = name(blank);
        QWidget *w = n == QLatin1String("panContainer") ? panel() : panel()->findChild<QWidget *>(n);
        if (w)
            hintBar->addBlank(w);
    }
}

QLineEdit *CardEditor::field(std::string_view control) const { return fields_.value(name(control)); }
QLabel *CardEditor::attachmentLabel(std::string_view control) const
{
    return attachments_.value(name(control));
}
Picture *CardEditor::command(std::string_view n) const { return commands_.value(name(n)); }
PhotoBox *CardEditor::photoBox(int slot) const { return photos_.value(slot); }
PhotoBox *CardEditor::placeholderBox(int slot) const
{
    PhotoBox *twin = twins_.value(slot);
    if (twin && twin->image().isNull())
        twin->setImage(Photos::placeholder(QString::fromLatin1(config_.placeholder),
                                           config_.photos[slot].geometry.size()));
    return twin;
}

// ---- clearing and showing ---------------------------------------------

void CardEditor::clearCard()
{
    for (const Bound &b : bindings_)
        b.binding->clear();
    for (int slot = 0; slot < photos_.size(); ++slot)
        clearPhoto(slot);
    lblPosizione->clear();
    Focus::moveTo(field(config_.fields.front().control));
    rememberShown();
}

void CardEditor::showCard(const Record &record, qint64 position)
{
    if (&record != &working_)
        working_ = record;
    loaded_ = record;
    for (const Bound &b : bindings_)
        b.binding->show(record.text(*b.def));
    lblPosizione->setText(QString::number(position));
    CaricaFotoScheda();
    rememberShown();
}

CardEditor::Shown CardEditor::shownNow() const
{
    Shown now;
    now.position = Text::trim(lblPosizione->text());
    Record card = working_;
    for (const Bound &b : bindings_)
        card.setText(*b.def, b.binding->value());
    now.bytes = card.bytes();
    for (const PhotoBox *box : photos_)
        now.photos << box->image().cacheKey();
    return now;
}

bool CardEditor::hasUnsavedChanges() const { return !(shownNow() == shown_); }

bool CardEditor::leaveCard()
{
    if (!hasUnsavedChanges())
        return true;
    switch (platform::services().message(this, platform::MessageKind::Confirmation,
                                         Messages::saveChanges(),
                                         {platform::Button::Yes, platform::Button::No,
                                          platform::Button::Cancel})) {
    case platform::Button::Yes: return saveCard();
    case platform::Button::No: return true;
    default: return false;
    }
}

void CardEditor::closeEvent(QCloseEvent *event)
{
    if (!leaveCard()) {
        event->ignore();
        return;
    }
    MainLevelWindow::closeEvent(event);
}

void CardEditor::fillRecord()
{
    for (const Bound &b : bindings_)
        working_.setText(*b.def, b.binding->value());
}

void CardEditor::showEvent(QShowEvent *event)
{
    MainLevelWindow::showEvent(event);
    if (!event->spontaneous())
        clearCard();
}

// ---- record actions -----------------------------------------------------

CardStore CardEditor::store() const { return CardStore(recordFilePath(), *config_.layout); }

bool CardEditor::recordAction(const std::function<void(const CardStore &)> &action)
{
    try {
        action(store());
        return true;
    } catch (const CardStore::Changed &e) {
        platform::error(this, QString::fromUtf8(e.what()));
        return false;
    } catch (const CardStore::Failure &) {
        platform::error(this, CardStore::accessMessage());
        return false;
    }
}

namespace {
// The card position in the label: 0 for a new card.
qint64 labelPosition(const QLabel *label)
{
    return Text::trim(label->text()).toLongLong();
}
} // namespace

void CardEditor::navigate(const std::function<qint64(qint64)> &choose)
{
    Record read(*config_.layout);
    qint64 outcome = kNothing;
    const bool done = recordAction([&](const CardStore &cards) {
        const CardStore::Chosen chosen = cards.readChosen([&](qint64 n) -> std::optional<qint64> {
            outcome = choose(n);
            return outcome >= 0 ? std::optional<qint64>(outcome) : std::nullopt;
        });
        if (chosen.card) {
            read = *chosen.card;
            outcome = chosen.index + 1;
        }
    });
    if (!done)
        return;
    if (outcome > 0 && hasUnsavedChanges()) {
        // Asked only for a move that happens; once saved, the move is made
        // anew, from the file as it now is.
        if (!leaveCard())
            return;
        if (!hasUnsavedChanges()) {
            navigate(choose);
            return;
        }
    }
    if (outcome == kEmpty) {
        platform::information(this, Messages::emptyArchive());
    } else if (outcome > 0) {
        showCard(read, outcome);
    }
}

void CardEditor::cmdPrimoClick()
{
    navigate([](qint64 n) { return n == 0 ? kEmpty : 0; });
}

void CardEditor::cmdIndietroClick()
{
    const QString label = Text::trim(lblPosizione->text());
    const qint64 p = labelPosition(lblPosizione);
    navigate([&](qint64 n) -> qint64 {
        if (label == QLatin1String("1"))
            return kNothing;
        if (n == 0)
            return kEmpty;
        return label.isEmpty() ? 0 : p - 2;
    });
}

void CardEditor::cmdAvantiClick()
{
    // A new card counts as position 0.
    const qint64 p = labelPosition(lblPosizione);
    navigate([&](qint64 n) -> qint64 {
        if (n == 0)
            return kEmpty;
        return p < n ? p : kNothing;
    });
}

void CardEditor::cmdUltimoClick()
{
    navigate([](qint64 n) { return n == 0 ? kEmpty : n - 1; });
}

void CardEditor::cmdNuovoClick()
{
    if (leaveCard())
        clearCard();
}

QString replacedCharactersMessage(const QString &replacements)
{
    return Messages::replacedCharacters(replacements);
}

void CardEditor::cmdSalvaClick() { saveCard(); }

bool CardEditor::saveCard()
{
    Focus::moveTo(btnFocus);
    for (const MandatoryField &m : config_.mandatory) {
        QLineEdit *f = field(m.control);
        if (Text::trim(f->text()).isEmpty()) {
            platform::warning(this, QString::fromUtf8(m.message));
            Focus::moveTo(f);
            return false;
        }
    }
    // Characters the record file cannot hold are stored as their nearest
    // letter or "?": the user sees which before anything is written.
    QList<Windows1252::Replacement> replaced;
    for (const Bound &b : bindings_)
        for (const Windows1252::Replacement &r : Windows1252::replacements(b.binding->value()))
            if (std::none_of(replaced.cbegin(), replaced.cend(),
                             [&](const Windows1252::Replacement &o) { return o.from == r.from; }))
                replaced.append(r);
    if (!replaced.isEmpty() && !platform::confirm(this, replacedCharactersMessage(Windows1252::describe(replaced))))
        return false;
    const QString label = Text::trim(lblPosizione->text());
    const bool update = !label.isEmpty();
    qint64 position = 0;
    const bool written = recordAction([&](const CardStore &cards) {
        fillRecord();
        position = update ? cards.update(label.toLongLong() - 1, working_, loaded_)
                          : cards.append(working_);
    });
    if (!written)
        return false;
    loaded_ = working_;
    // The fields show what was stored, not what was typed.
    if (!replaced.isEmpty())
        for (const Bound &b : bindings_)
            b.binding->show(working_.text(*b.def));
    // The card's number is known only now; its photos are named after it.
    lblPosizione->setText(QString::number(position));
    const QStringList unsaved = SalvaFotoScheda();
    if (!unsaved.isEmpty())
        platform::warning(this, photoNotSavedMessage(unsaved));
    platform::information(this, update ? Messages::cardUpdated() : Messages::cardInserted());
    rememberShown();
    return true;
}

void CardEditor::cmdEsciClick() { close(); }

void CardEditor::cmdFileClick()
{
    TfrmAllegaCartella attachments(this);
    attachments.lblMemory->setText(QString::fromLatin1(config_.callerWord));
    attachments.readFrom(this);
    attachments.exec();
}

void CardEditor::btnFocusClick()
{
    QLineEdit *f = field(config_.trimmedBySink);
    f->setText(Text::trim(f->text()));
}

// ---- photos ---------------------------------------------------------------

QString photoNotSavedMessage(const QStringList &paths)
{
    QStringList quoted;
    for (const QString &path : paths)
        quoted << QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
    if (quoted.size() == 1)
        return Messages::photoNotSaved(quoted.first());
    return Messages::photosNotSaved(quoted.join(QStringLiteral(" e ")));
}

QString CardEditor::photoFilePath(int slot) const
{
    return ProgramFolder::file(QString::fromLatin1(config_.photoFolder)) + QDir::separator()
           + photoFileName(slot, Text::trim(lblPosizione->text()));
}

QStringList CardEditor::SalvaFotoScheda()
{
    // Every photo is tried, so that one failing never costs the other.
    const QString folder = ProgramFolder::file(QString::fromLatin1(config_.photoFolder));
    const bool folderMade = platform::makeFolder(folder);
    QStringList unsaved;
    for (int slot = 0; slot < photos_.size(); ++slot)
        if (!folderMade || !Photos::saveBox(*photos_[slot], photoFilePath(slot)))
            unsaved << photoFilePath(slot);
    return unsaved;
}

void CardEditor::CaricaFotoScheda()
{
    const QString folder = ProgramFolder::file(QString::fromLatin1(config_.photoFolder));
    QList<Photos::Loaded> images;
    if (platform::makeFolder(folder)) {
        for (int slot = 0; slot < photos_.size(); ++slot) {
            Photos::Loaded photo = Photos::loadKeepingFile(photoFilePath(slot));
            if (photo.image.isNull())
                break;
            images << photo;
        }
    }
    // One photo missing: every box shows its placeholder.
    for (int slot = 0; slot < photos_.size(); ++slot) {
        if (images.size() == photos_.size())
            photos_[slot]->setPhoto(images[slot].image, images[slot].jpeg);
        else
            photos_[slot]->setImage(placeholderBox(slot)->image());
    }
}

void CardEditor::loadPhoto(int slot)
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
    request.filters = {QStringLiteral("Immagine JPEG (*.jpg *.jpeg)"),
                       QStringLiteral("Immagine Bitmap (*.bmp)")};
    const QString path = platform::services().openFile(this, request);
    if (path.isEmpty())
        return;
    // A JPEG file keeps its own bytes, so the card stores the very file chosen.
    const Photos::Loaded photo = Photos::loadKeepingFile(path);
    if (photo.image.isNull())
        photos_[slot]->setImage(placeholderBox(slot)->image());
    else
        photos_[slot]->setPhoto(photo.image, photo.jpeg);
}

void CardEditor::savePhoto(int slot)
{
    // A failure is not reported.
    Photos::saveAs(this, photos_[slot]->image());
}

void CardEditor::clearPhoto(int slot) { photos_[slot]->setImage(placeholderBox(slot)->image()); }

void CardEditor::zoomPhoto(int slot)
{
    TfrmZoom zoom(this);
    zoom.imgFoto->setImage(photos_[slot]->image());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        zoom.setGeometry(screen->availableGeometry());
    zoom.setWindowState(Qt::WindowMaximized);
    zoom.exec();
}
