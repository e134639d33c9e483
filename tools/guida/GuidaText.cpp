#include "GuidaText.h"

#include "core/app/HelpTopics.h"
#include "core/cards/CardStore.h"
#include "core/cards/EditorConfig.h"

#include <QRegularExpression>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace Guida {

DataFolder dataFolder()
{
    return {u"unins000.dll"_s, u"~/.local/share/Vetrinora"_s, u"pergamenaverde"_s};
}

namespace {

QString esc(const QString &text) { return text.toHtmlEscaped(); }

QString para(const QString &html) { return u"<p>"_s + html + u"</p>"_s; }

QString code(const QString &text)
{
    return u"<span style=\"font-family: 'Liberation Mono', 'Courier New', monospace;\">"_s
           + esc(text) + u"</span>"_s;
}

QString sub(const QString &title) { return u"<h3>"_s + esc(title) + u"</h3>"_s; }

QString picture(const QString &name, int width, const QString &caption)
{
    return u"<p align=\"center\"><img src=\""_s + name + u"\" width=\""_s + QString::number(width)
           + u"\"><br><i>"_s + esc(caption) + u"</i></p>"_s;
}

QString list(const QStringList &items, bool numbered)
{
    QString html = numbered ? u"<ol>"_s : u"<ul>"_s;
    for (const QString &item : items)
        html += u"<li>"_s + item + u"</li>"_s;
    return html + (numbered ? u"</ol>"_s : u"</ul>"_s);
}

// The help topics' paragraphs, each printed once: a paragraph that an
// earlier chapter already printed (the start topic repeats the set, archive
// and MOC topics; the two export topics share their steps) is left out.
class HelpText {
public:
    QString topic(const HelpTopics::Topic &topic)
    {
        QString html;
        for (const QString &p : topic.paragraphs) {
            if (printed_.contains(p))
                continue;
            printed_.insert(p);
            html += u"<p class=\"guida\">"_s + esc(p) + u"</p>"_s;
        }
        return html;
    }
    void reserve(const HelpTopics::Topic &topic)
    {
        for (const QString &p : topic.paragraphs)
            reserved_.insert(p);
    }
    // The start topic without the paragraphs its own chapters print later.
    QString startTopic()
    {
        QString html;
        for (const QString &p : HelpTopics::startScreen().paragraphs) {
            if (reserved_.contains(p) || printed_.contains(p))
                continue;
            printed_.insert(p);
            html += u"<p class=\"guida\">"_s + esc(p) + u"</p>"_s;
        }
        return html;
    }

private:
    QSet<QString> printed_;
    QSet<QString> reserved_;
};

// The toolbar of an editor, from the editor's own table: icon, what the
// button does (its hint) and its key.
QString toolbar(const EditorConfig &config, const QString &prefix)
{
    QString html = u"<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\" border=\"1\" "
                   "style=\"border-color: #D8E5EF; border-style: solid;\">"_s
                   u"<tr><th width=\"40\"></th><th align=\"left\">Che cosa fa</th>"
                   u"<th align=\"left\" width=\"110\">Tasti</th></tr>"_s;
    for (const ToolItem &item : config.tools) {
        if (!item.resource)
            continue;
        QString keys = item.shortcut ? QString::fromLatin1(item.shortcut) : QString();
        keys.replace(u"; "_s, u" oppure "_s);
        keys.replace(u"Left"_s, u"Freccia sinistra"_s).replace(u"Right"_s, u"Freccia destra"_s);
        keys.replace(u"PgUp"_s, u"Pag Su"_s).replace(u"PgDown"_s, u"Pag Giù"_s);
        keys.replace(u"Home"_s, u"Inizio"_s).replace(u"End"_s, u"Fine"_s);
        html += u"<tr><td align=\"center\"><img src=\""_s + prefix
                + QString::fromLatin1(item.name.data(), qsizetype(item.name.size()))
                + u".png\" width=\"28\"></td><td>"_s + esc(QString::fromUtf8(item.hint))
                + u"</td><td>"_s + esc(keys) + u"</td></tr>"_s;
    }
    return html + u"</table>"_s;
}

QString mandatory(const EditorConfig &config)
{
    QStringList items;
    for (const MandatoryField &m : config.mandatory) {
        QString what = QString::fromUtf8(m.message);
        what.remove(u"Attenzione: per salvare la scheda è necessario indicare "_s);
        if (what.endsWith(u'.'))
            what.chop(1);
        items << esc(what);
    }
    return list(items, false);
}

QString introduction(HelpText &help)
{
    QString html = picture(u"avvio.png"_s, 560, u"La schermata di partenza"_s);
    html += help.startTopic();
    html += sub(u"Come usare questa guida"_s);
    html += para(
        u"Le finestre di lavoro di Vetrinora hanno un pulsante della guida (nelle schede anche "
        "il tasto F1) che apre la guida in linea sull'argomento della finestra. I testi della "
        "guida in linea sono riportati in questo manuale parola per parola, ciascuno una sola "
        "volta, nel capitolo dedicato alla finestra; il manuale aggiunge i passi da seguire per "
        "le operazioni più comuni, le indicazioni su dove il programma conserva i dati, su come "
        "farne una copia di sicurezza e su come trasferirli, e la spiegazione di ogni messaggio "
        "che il programma può mostrare."_s);
    html += para(
        u"Dalla finestra della guida in linea il collegamento «Visualizza guida in formato PDF» "
        "apre questo manuale."_s);
    html += picture(u"guida.png"_s, 380, u"La finestra della guida in linea"_s);
    return html;
}

QString firstStart()
{
    const DataFolder data = dataFolder();
    QString html = para(
        u"All'avvio Vetrinora mostra la finestra di accesso. Si scrive la password nella "
        "casella e si preme OK: se la password è giusta si apre la schermata di "
        "partenza, altrimenti compare il messaggio «Attenzione: password errata.» e la "
        "casella si svuota per un nuovo tentativo. Il pulsante Esci chiude il programma."_s);
    html += picture(u"accesso.png"_s, 260, u"La finestra di accesso"_s);
    html += sub(u"La password iniziale"_s);
    html += para(u"Al primo avvio, e dopo ogni nuova installazione, la password è «"_s
                 + esc(data.initialPassword)
                 + u"» (scritta senza le virgolette). Conviene sostituirla "
                   "subito con una password personale."_s);
    html += sub(u"Cambiare la password"_s);
    html += list({u"Nella finestra di accesso premere il pulsante Cambia password."_s,
                  u"Scrivere la password in uso nella prima casella."_s,
                  u"Scrivere la nuova password nella seconda casella e ripeterla nella terza. "
                  "Come raccomanda la guida in linea, la password dovrebbe essere di almeno otto "
                  "caratteri; si possono usare lettere, cifre e simboli dell'alfabeto latino, "
                  "fino a 255 caratteri."_s,
                  u"Premere OK: compare il messaggio «Modifica della password completata con "
                  "successo.» e la finestra si chiude. Da quel momento si accede con la nuova "
                  "password."_s},
                 true);
    html += picture(u"cambia_password.png"_s, 260, u"La finestra Cambia password"_s);
    html += para(u"La password è conservata, in forma non leggibile, nel file «"_s
                 + esc(data.credentialFile)
                 + u"» della cartella dei dati (capitolo «Dove si trova la collezione su "
                   "Linux»). Chi dimentica la password può rimettere al suo posto una copia di "
                   "quel file fatta quando la password era nota (capitolo «Copia di "
                   "sicurezza e ripristino»)."_s);
    return html;
}

QString setChapter(HelpText &help)
{
    QString html = picture(u"set.png"_s, 560, u"La scheda di un set nel Catalogo BLOKKO"_s);
    html += help.topic(HelpTopics::setEditor());
    html += sub(u"Passo per passo: inserire un set"_s);
    html += list({u"Nella schermata di partenza fare clic sul riquadro Catalogo BLOKKO."_s,
                  u"Premere il pulsante Nuovo (Ctrl+N): la scheda si svuota e il valore torna "
                  "a «0,00»."_s,
                  u"Compilare i campi; Invio passa al campo successivo e la barra in basso "
                  "spiega il campo o il pulsante sotto il mouse."_s,
                  u"Facoltativo: caricare la foto con il pulsante Carica foto e segnare la "
                  "casella «In vendita»."_s,
                  u"Premere Salva (Ctrl+S): compare il messaggio «La scheda corrente è stata "
                  "inserita in archivio.» e il numero della scheda appare nella barra."_s},
                 true);
    html += para(u"Per salvare una scheda occorre indicare:"_s) + mandatory(EditorTables::sets());
    html += sub(u"I pulsanti della barra"_s);
    html += toolbar(EditorTables::sets(), u"set_"_s);
    return html;
}

QString archiveChapter(HelpText &help)
{
    QString html = help.topic(HelpTopics::archives());
    html += picture(u"crea_archivio.png"_s, 420, u"La finestra Crea archivio MOC"_s);
    html += picture(u"apri_archivio.png"_s, 420, u"La finestra Apri archivio MOC"_s);
    html += sub(u"I nomi degli archivi"_s);
    html += para(
        u"Il nome dell'archivio diventa il nome del file (ad esempio «Castelli medievali» dà "
        "il file «Castelli medievali.moc») e compare nei nomi delle foto delle sue schede. "
        "Non può contenere i caratteri \" * / : &lt; &gt; ? \\ ° Ç Ñ ç ñ, non può essere "
        "soltanto «.» o «..», non può essere troppo lungo e non può ripetere il nome di un "
        "archivio esistente: in questi casi il programma lo dice con un messaggio (capitolo "
        "«Messaggi del programma»)."_s);
    return html;
}

QString mocChapter(HelpText &help)
{
    QString html = picture(u"moc.png"_s, 560, u"La scheda di una MOC"_s);
    html += help.topic(HelpTopics::mocEditor());
    html += para(u"Per salvare una scheda di MOC occorre indicare:"_s)
            + mandatory(EditorTables::mocs());
    html += sub(u"I pulsanti della barra"_s);
    html += toolbar(EditorTables::mocs(), u"moc_"_s);
    return html;
}

QString photoChapter()
{
    QString html = para(
        u"La scheda di un set ha una foto, quella di una MOC ne ha due. Sotto ogni riquadro "
        "della foto ci sono i pulsanti per caricarla da un file Jpeg o Bitmap, per salvarla su "
        "disco, per cancellarla e, con la lente, per vederla a tutto schermo (un clic chiude la "
        "vista). La foto entra a far parte della scheda quando si preme Salva: il programma la "
        "scrive in formato Jpeg nella cartella «Schedario» (set) o «Foto_MOC» (MOC) della "
        "cartella dei dati, con un nome che contiene il numero della scheda, ad esempio "
        "«BLOKKO_12.jpg» oppure «Castelli medievali_Foto_A_12.jpg»."_s);
    html += sub(u"Scattare una foto con la webcam"_s);
    html += list({u"Collegare la webcam; su Linux il programma usa la webcam predefinita del "
                  "sistema."_s,
                  u"Nella scheda della MOC premere il pulsante della webcam accanto alla foto "
                  "da riempire: si apre la finestra Cattura foto con webcam."_s,
                  u"Premere Accendi webcam e inquadrare la MOC."_s,
                  u"Premere Cattura foto: l'immagine si ferma nel riquadro. Si può catturare "
                  "di nuovo finché il risultato non soddisfa, oppure salvare lo scatto su disco "
                  "con Salva foto su disco."_s,
                  u"Premere Importa foto in scheda: la finestra si chiude e la foto compare "
                  "nella scheda."_s,
                  u"Premere Salva nella scheda."_s},
                 true);
    html += picture(u"webcam.png"_s, 480, u"La finestra Cattura foto con webcam"_s);
    html += para(
        u"Se non è collegata nessuna webcam il riquadro resta vuoto: si può sempre fotografare "
        "la MOC con una fotocamera e caricare il file con il pulsante Sfoglia."_s);
    html += sub(u"Lo Slide Show"_s);
    html += para(
        u"Il pulsante Slide Show della scheda MOC mostra a schermo intero, una dopo l'altra, le "
        "prime foto delle schede dell'archivio aperto; un clic interrompe la sequenza."_s);
    return html;
}

QString attachmentChapter()
{
    QString html = para(
        u"A ogni scheda, di set o di MOC, si possono allegare fino a tre file di qualsiasi tipo: "
        "istruzioni di montaggio, fatture, elenchi di pezzi, foto del designer. Il pulsante con "
        "la graffetta apre la finestra Allega file."_s);
    html += picture(u"allegati.png"_s, 480, u"La finestra Allega file"_s);
    html += list({u"Premere Sfoglia... accanto a uno dei tre posti e scegliere il file: il "
                  "programma lo copia nella cartella «Documenti_Allegati» della cartella dei "
                  "dati."_s,
                  u"Scrivere, se si vuole, una descrizione del file."_s,
                  u"Il pulsante Apri apre il file allegato con il programma che il sistema "
                  "associa al suo tipo; l'icona della gomma toglie il file dalla scheda."_s,
                  u"Premere Applica e chiudi, poi Salva nella scheda."_s},
                 true);
    html += para(
        u"La cartella «Documenti_Allegati» è comune a tutte le schede: due file con lo stesso "
        "nome non possono convivere, e il programma chiede conferma prima di sovrascrivere un "
        "file già presente. Conviene quindi dare agli allegati nomi che richiamino la scheda, "
        "ad esempio «Galeone dei pirati - istruzioni.pdf»."_s);
    return html;
}

QString searchChapter()
{
    QString html = para(
        u"Il pulsante Trova (Ctrl+F) dell'editor apre la finestra di ricerca: ha una casella per "
        "ciascuno dei campi su cui si può cercare, fino a dieci. Si scrivono una o più parole "
        "nei campi che interessano e si preme Cerca: il programma elenca le schede in cui "
        "ciascun campo compilato contiene il testo scritto, anche solo in parte e senza "
        "distinguere maiuscole e minuscole nelle lettere non accentate. Con più campi compilati una scheda deve soddisfarli "
        "tutti."_s);
    html += picture(u"trova_filtri.png"_s, 480,
                    u"La ricerca nel Catalogo BLOKKO: i set conservati in una vetrina"_s);
    html += picture(u"trova.png"_s, 480, u"L'elenco dei set trovati"_s);
    html += list({u"Un doppio clic su una riga dell'elenco riporta la scheda nell'editor."_s,
                  u"La casella in alto con il pulsante Trova cerca un testo tra le righe "
                  "dell'elenco già trovato."_s,
                  u"Il pulsante Stampa stampa l'elenco su fogli A4 orizzontali."_s},
                 false);
    html += sub(u"Gli elenchi dei pezzi in vendita"_s);
    html += para(
        u"Il pulsante con la mano e la moneta elenca subito tutte le schede con la casella «In "
        "vendita» spuntata: i set del catalogo oppure le MOC dell'archivio aperto. L'elenco "
        "dice quante schede contiene, si stampa con il pulsante Stampa e, con un doppio clic, "
        "riporta la scheda nell'editor."_s);
    html += picture(u"in_vendita.png"_s, 480, u"Il riepilogo dei set in vendita"_s);
    return html;
}

QString printChapter()
{
    QString html = para(
        u"Il pulsante Stampa (Ctrl+P) dell'editor apre la finestra di stampa della scheda "
        "visualizzata. Premendo Stampa compare la finestra di stampa del sistema, nella quale "
        "si sceglie la stampante; la scheda, con le sue foto, viene stampata su un foglio A4 "
        "verticale. Per le MOC il pulsante Anteprima mostra prima la pagina sullo schermo, da "
        "dove si può anche stampare."_s);
    html += picture(u"stampa.png"_s, 420, u"La finestra di stampa della scheda"_s);
    html += para(
        u"Su Linux la finestra di stampa elenca le stampanti configurate nel sistema e offre "
        "anche la stampa in un file PDF. Gli elenchi delle ricerche e dei pezzi in vendita si "
        "stampano dal pulsante Stampa della loro finestra, su fogli A4 orizzontali."_s);
    return html;
}

QString exportChapter(HelpText &help)
{
    QString html = sub(HelpTopics::setExport().title);
    html += help.topic(HelpTopics::setExport());
    html += sub(HelpTopics::mocExport().title);
    html += help.topic(HelpTopics::mocExport());
    html += para(u"Per il resto la procedura è la stessa descritta per il catalogo dei set."_s);
    html += picture(u"esporta.png"_s, 560, u"La finestra di esportazione del Catalogo BLOKKO"_s);
    html += para(
        u"Il programma scrive il file «Catalogo_BLOKKO.xls» (catalogo dei set) o "
        "«Archivio_MOC.xls» (archivio di MOC) nella cartella dei dati, sostituendo quello "
        "dell'esportazione precedente; per conservarlo lo si salva con un altro nome dal "
        "programma di fogli di calcolo. Su Linux il file si apre con LibreOffice Calc. Se il "
        "file è già aperto in un altro programma, l'esportazione non riesce: chiuderlo e "
        "riprovare."_s);
    return html;
}

QString dataFolderChapter()
{
    const DataFolder data = dataFolder();
    QString html = para(
        u"Tutta la collezione (il catalogo dei set, gli archivi di MOC, le foto, i documenti "
        "allegati, i fogli di Excel esportati e la password) sta in un'unica cartella, che in "
        "questo manuale si chiama cartella dei dati. Quale sia dipende da come Vetrinora è "
        "stato messo sul computer."_s);
    html += sub(u"Programma installato"_s);
    html += para(u"Se Vetrinora è stato installato con il pacchetto .deb oppure con "_s
                 + code(u"cmake --install"_s) + u", la cartella dei dati è "_s
                 + code(data.installedFolder)
                 + u", cioè la cartella .local/share/Vetrinora dentro la cartella personale "
                   "dell'utente (ad esempio /home/mario/.local/share/Vetrinora). Il programma "
                   "la crea al primo avvio, con la password iniziale «"_s
                 + esc(data.initialPassword)
                 + u"». Ogni utente del computer ha così la propria collezione e la propria "
                   "password; disinstallare il programma non cancella i dati."_s);
    html += para(
        u"La cartella .local è nascosta: nel gestore dei file la si vede premendo Ctrl+H, "
        "oppure scrivendone il percorso nella barra degli indirizzi."_s);
    html += sub(u"Programma portatile"_s);
    html += para(u"Se la cartella del programma, quella che contiene il file eseguibile, "
                 "contiene anche il file della password «"_s
                 + esc(data.credentialFile)
                 + u"», il programma è portatile: la cartella dei dati è la cartella del "
                   "programma stessa. È il caso di una cartella del programma copiata su una "
                   "chiavetta USB, che funziona su qualsiasi computer su cui la si avvii."_s);
    html += sub(u"Che cosa contiene la cartella dei dati"_s);
    html += u"<table cellspacing=\"0\" cellpadding=\"4\" border=\"1\" "
            "style=\"border-color: #D8E5EF; border-style: solid;\">"_s;
    const QList<QPair<QString, QString>> rows = {
        {u"Catalogo_BLOKKO.pro"_s, u"le schede dei set"_s},
        {u"*.moc"_s, u"un file per ogni archivio di MOC, con il nome dell'archivio"_s},
        {u"Schedario"_s, u"le foto dei set"_s},
        {u"Foto_MOC"_s, u"le foto delle MOC"_s},
        {u"Documenti_Allegati"_s, u"i file allegati alle schede"_s},
        {u"Catalogo_BLOKKO.xls, Archivio_MOC.xls"_s, u"gli ultimi fogli di Excel esportati"_s},
        {data.credentialFile, u"la password, in forma non leggibile"_s},
    };
    for (const auto &[name, what] : rows)
        html += u"<tr><td>"_s + code(name) + u"</td><td>"_s + esc(what) + u"</td></tr>"_s;
    html += u"</table>"_s;
    html += para(
        u"Quando la guida in linea parla della cartella del programma o della cartella di "
        "installazione come del luogo in cui si trovano gli archivi, intende questa cartella "
        "dei dati: nel programma portatile le due cartelle coincidono; nel programma "
        "installato i file del programma (l'eseguibile, questo manuale, il modulo della "
        "webcam) restano nella cartella di installazione e i dati stanno nella cartella "
        "personale dell'utente."_s);
    return html;
}

QString backupChapter()
{
    const DataFolder data = dataFolder();
    QString html = para(
        u"La copia di sicurezza di Vetrinora è la copia della cartella dei dati: non servono "
        "programmi particolari. Conviene farla con regolarità e tenerla su un disco diverso da "
        "quello del computer (un disco esterno o una chiavetta USB)."_s);
    html += sub(u"Fare la copia"_s);
    html += list({u"Chiudere Vetrinora, così che nessun archivio sia in uso durante la "
                  "copia."_s,
                  u"Copiare l'intera cartella dei dati sul disco esterno, con il gestore dei "
                  "file oppure con un comando come: "_s
                      + code(u"cp -a "_s + data.installedFolder
                             + u" /media/mario/CHIAVETTA/Vetrinora-copia"_s)
                      + u" (il percorso della chiavetta dipende dal sistema)."_s,
                  u"Per il programma portatile basta copiare l'intera cartella del programma, "
                  "come dice la guida in linea."_s},
                 true);
    html += sub(u"Ripristinare la copia"_s);
    html += list({u"Chiudere Vetrinora."_s,
                  u"Rinominare la cartella dei dati in uso (ad esempio in Vetrinora-vecchia), "
                  "così che nulla vada perso se la copia non fosse quella giusta."_s,
                  u"Copiare la cartella della copia di sicurezza al posto della cartella dei "
                  "dati, con lo stesso nome: "_s
                      + code(u"cp -a /media/mario/CHIAVETTA/Vetrinora-copia "_s
                             + data.installedFolder)
                      + u"."_s,
                  u"Avviare Vetrinora: si accede con la password in vigore quando la copia è "
                  "stata fatta."_s},
                 true);
    html += para(
        u"Il ripristino riporta tutta la collezione allo stato della copia: schede, archivi, "
        "foto e allegati aggiunti dopo la copia non ci sono più (restano nella cartella "
        "rinominata, da cui si possono recuperare a mano)."_s);
    return html;
}

QString moveChapter()
{
    const DataFolder data = dataFolder();
    QString html = para(
        u"Per portare la collezione su un altro computer si copia la cartella dei dati nello "
        "stesso posto sul nuovo computer."_s);
    html += list({u"Sul vecchio computer chiudere Vetrinora e copiare la cartella dei dati su "
                  "una chiavetta USB o un disco esterno (come per la copia di sicurezza)."_s,
                  u"Sul nuovo computer installare Vetrinora. Se lo si è già avviato, la "
                  "cartella "_s
                      + code(data.installedFolder)
                      + u" esiste già con una collezione vuota: chiudere il programma e "
                        "rinominarla."_s,
                  u"Copiare la cartella della chiavetta in "_s + code(data.installedFolder)
                      + u" dell'utente che userà il programma."_s,
                  u"Avviare Vetrinora e accedere con la password usata sul vecchio "
                  "computer."_s},
                 true);
    html += para(
        u"Con il programma portatile basta copiare l'intera cartella del programma sul nuovo "
        "computer, o avviarlo direttamente dalla chiavetta. Per passare dal programma "
        "portatile a quello installato si copiano nella cartella dei dati i file e le cartelle "
        "elencati nel capitolo «Dove si trova la collezione su Linux» (non l'eseguibile né gli "
        "altri file del programma)."_s);
    return html;
}

QString messagesChapter()
{
    QString html = para(
        u"Ecco tutti i messaggi che Vetrinora può mostrare, nell'ordine in cui si incontrano "
        "lavorando, con la loro causa e che cosa fare. Dove il messaggio riporta un nome (di un "
        "file o di un carattere) qui compare, tra parentesi angolari, che cosa il programma "
        "mette in quel punto."_s);
    for (const Message &m : messages()) {
        QString text = esc(m.text);
        text.replace(QRegularExpression(u"(\r\n\r\n|\n\r\n\r)"_s), u"<br>"_s);
        text.replace(u"%1"_s, u"&lt;nome&gt;"_s);
        // One paragraph, so a message never stands at a page foot without
        // its explanation.
        html += u"<p class=\"messaggio\"><b>"_s + text + u"</b><br><i>Dove:</i> "_s + esc(m.where)
                + u"<br><i>Causa:</i> "_s + esc(m.cause) + u"<br><i>Che cosa fare:</i> "_s
                + esc(m.remedy) + u"</p>"_s;
    }
    return html;
}

} // namespace

QList<Message> messages()
{
    const QString editors = u"scheda dei set o delle MOC"_s;
    QList<Message> list = {
        {u"Attenzione: password errata."_s, u"finestra di accesso"_s,
         u"La password scritta non è quella in uso."_s,
         u"Riscriverla (maiuscole e minuscole si equivalgono). Al primo avvio la password "
         "è quella iniziale indicata nel capitolo «Primo avvio e password»."_s},
        {u"Attenzione: si è verificato un errore durante la procedura di lettura della "
         "password. Si consiglia di reinstallare il software."_s,
         u"finestra di accesso"_s,
         u"Il file della password nella cartella dei dati manca, non si può leggere o è "
         "danneggiato."_s,
         u"Rimettere il file da una copia di sicurezza; in mancanza, reinstallare il "
         "programma (la password torna quella iniziale)."_s},
        {u"Attenzione: vecchia password errata."_s, u"finestra Cambia password"_s,
         u"La password scritta nella prima casella non è quella in uso."_s,
         u"Riscrivere la password in uso."_s},
        {u"Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
         "reinserire entrambi i valori."_s,
         u"finestra Cambia password"_s,
         u"La seconda e la terza casella non contengono la stessa password."_s,
         u"Scrivere di nuovo la nuova password in entrambe le caselle."_s},
        {u"Attenzione: la nuova password non può superare i 255 caratteri. Inserire una "
         "password più breve."_s,
         u"finestra Cambia password"_s, u"La nuova password è troppo lunga."_s,
         u"Sceglierne una più breve."_s},
        {u"Attenzione: la nuova password contiene il carattere \"%1\", che non può essere "
         "memorizzato. Usare soltanto lettere, cifre e simboli dell'alfabeto latino."_s,
         u"finestra Cambia password"_s,
         u"La nuova password contiene un carattere (ad esempio una lettera greca o un "
         "simbolo grafico) che il file della password non può conservare."_s,
         u"Sceglierne una con lettere, cifre e simboli dell'alfabeto latino."_s},
        {u"Attenzione: si è verificato un errore durante la procedura di modifica della "
         "password. Si consiglia di reinstallare il software."_s,
         u"finestra Cambia password"_s,
         u"Il file della password non si può leggere o scrivere, ad esempio perché il disco "
         "è pieno o la cartella dei dati non è scrivibile."_s,
         u"Liberare spazio sul disco e controllare i permessi della cartella dei dati; la "
         "password in uso resta quella di prima."_s},
        {u"Modifica della password completata con successo."_s, u"finestra Cambia password"_s,
         u"La nuova password è stata salvata."_s,
         u"Nulla: da ora si accede con la nuova password."_s},
    };
    for (const EditorConfig *config : {&EditorTables::sets(), &EditorTables::mocs()})
        for (const MandatoryField &m : config->mandatory)
            list << Message{QString::fromUtf8(m.message), editors,
                            u"Il campo indicato è obbligatorio ed è vuoto."_s,
                            u"Compilarlo (il programma vi porta il cursore) e premere di nuovo "
                            "Salva."_s};
    list << Message{u"La scheda corrente è stata inserita in archivio."_s, editors,
                    u"La nuova scheda è stata salvata."_s,
                    u"Nulla: la scheda ha ora un numero nella barra."_s}
         << Message{u"Le modifiche apportate alla scheda corrente sono state salvate in "
                    "archivio."_s,
                    editors, u"La scheda modificata è stata salvata al suo posto."_s,
                    u"Nulla."_s}
         << Message{u"Attenzione: non è stato possibile salvare la foto della scheda nel file "
                    "%1.\r\n\r\nLa scheda è stata salvata in archivio; la foto che il file "
                    "conteneva prima è rimasta invariata. Controllare lo spazio libero sul "
                    "disco e i permessi della cartella."_s,
                    editors,
                    u"La scheda è stata salvata, ma la foto non si è potuta scrivere nella "
                    "cartella delle foto."_s,
                    u"Liberare spazio sul disco o correggere i permessi della cartella delle "
                    "foto, poi premere di nuovo Salva."_s}
         << Message{u"Attenzione: non è stato possibile salvare le foto della scheda nei file "
                    "%1.\r\n\r\nLa scheda è stata salvata in archivio; le foto che i file "
                    "contenevano prima sono rimaste invariate. Controllare lo spazio libero "
                    "sul disco e i permessi della cartella."_s,
                    u"scheda delle MOC"_s,
                    u"Come sopra, per entrambe le foto della scheda."_s,
                    u"Come sopra."_s}
         << Message{CardStore::accessMessage(),
                    u"schede, ricerche, riepiloghi, Slide Show"_s,
                    u"Il file dell'archivio non si può aprire, leggere o scrivere: la cartella "
                    "dei dati non è scrivibile dall'utente, il disco è pieno o la chiavetta è "
                    "stata tolta."_s,
                    u"Controllare che la cartella dei dati (capitolo «Dove si trova la "
                    "collezione su Linux») appartenga all'utente che usa il programma e sia "
                    "scrivibile, e che il disco abbia spazio libero."_s}
         << Message{u"L'archivio non contiene nessuna scheda."_s,
                    u"frecce di scorrimento, Slide Show"_s,
                    u"Il catalogo o l'archivio aperto è ancora vuoto."_s,
                    u"Inserire almeno una scheda con Nuovo e Salva."_s}
         << Message{u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che "
                    "questa è stata inserita in archivio."_s,
                    u"scheda dei set, pulsante Duplica"_s,
                    u"La scheda visualizzata è nuova e non è ancora stata salvata."_s,
                    u"Salvarla prima, oppure visualizzare una scheda già in archivio."_s}
         << Message{u"E' ora possibile apportare le proprie modifiche alla scheda "
                    "corrente.\n\r\n\rAl termine premere Salva per inserire la scheda in "
                    "archivio."_s,
                    u"scheda dei set, pulsante Duplica"_s,
                    u"La scheda è stata duplicata: la copia è una scheda nuova, non ancora "
                    "salvata."_s,
                    u"Cambiare i dati che differiscono e premere Salva."_s}
         << Message{u"Attenzione: il nome del file scelto è troppo lungo per essere allegato "
                    "alla scheda.\r\n\r\nRinominare il file con un nome più breve e allegarlo "
                    "di nuovo."_s,
                    u"finestra Allega file"_s,
                    u"La scheda conserva il nome di ogni allegato in uno spazio limitato."_s,
                    u"Rinominare il file con un nome più breve e allegarlo di nuovo."_s}
         << Message{u"Attenzione: il nome del file scelto contiene caratteri che la scheda non "
                    "può memorizzare (%1).\r\n\r\nRinominare il file senza questi caratteri e "
                    "allegarlo di nuovo."_s,
                    u"finestra Allega file"_s,
                    u"Il nome del file contiene caratteri fuori dall'alfabeto latino, che la "
                    "scheda non può conservare; il messaggio li elenca."_s,
                    u"Rinominare il file senza quei caratteri e allegarlo di nuovo."_s}
         << Message{u"Attenzione: nella cartella dei documenti allegati è presente un file con "
                    "lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?"_s,
                    u"finestra Allega file"_s,
                    u"Un file con lo stesso nome è già allegato, a questa o a un'altra "
                    "scheda."_s,
                    u"Rispondere No e rinominare il file se l'altro allegato va conservato; "
                    "Sì lo sostituisce per tutte le schede che lo usano."_s}
         << Message{u"Attenzione: il file allegato non si trova nella cartella dei documenti "
                    "allegati e non può essere aperto.\r\n\r\nAllegare di nuovo il file con il "
                    "pulsante Sfoglia..."_s,
                    u"finestra Allega file, pulsante Apri"_s,
                    u"Il file è stato tolto o rinominato nella cartella «Documenti_Allegati»."_s,
                    u"Allegarlo di nuovo con il pulsante Sfoglia..."_s}
         << Message{u"Ricerca non applicabile: la lista non contiene nessuna voce."_s,
                    u"ricerche e riepiloghi, pulsante Trova"_s,
                    u"Si è cercato un testo in un elenco vuoto."_s,
                    u"Eseguire prima la ricerca con Cerca."_s}
         << Message{u"Attenzione: per creare l'archivio di MOC è necessario indicarne il "
                    "nome."_s,
                    u"finestra Crea archivio MOC"_s, u"La casella del nome è vuota."_s,
                    u"Scrivere il nome dell'archivio."_s}
         << Message{u"Attenzione: il nome dell'archivio di MOC indicato contiene caratteri non "
                    "ammessi.\r\n\r\nNon è possibile utilizzare i caratteri \" * / : < > ? \\ "
                    "° Ç Ñ ç ñ né caratteri di controllo, né indicare come nome soltanto \".\" "
                    "o \"..\"."_s,
                    u"finestra Crea archivio MOC"_s,
                    u"Il nome non può diventare il nome di un file."_s,
                    u"Scegliere un nome senza quei caratteri."_s}
         << Message{u"Attenzione: il nome dell'archivio di MOC indicato è troppo lungo.\r\n\r\n"
                    "I nomi dei file delle foto delle schede comprendono il nome dell'archivio "
                    "e non potrebbero essere salvati: inserire un nome più breve."_s,
                    u"finestra Crea archivio MOC"_s, u"Il nome è troppo lungo."_s,
                    u"Scegliere un nome più breve."_s}
         << Message{u"Attenzione: il nome dell'archivio di MOC indicato è già stato utilizzato "
                    "in precedenza.\r\n\r\nInserire un nome diverso oppure, se si desidera "
                    "aprire un archivio di MOC già creato, premere il pulsante Apri archivio "
                    "MOC."_s,
                    u"finestra Crea archivio MOC"_s,
                    u"Esiste già un archivio con quel nome."_s,
                    u"Scegliere un altro nome, oppure aprire l'archivio esistente."_s}
         << Message{u"Il file relativo al nuovo archivio di MOC è stato creato con successo."
                    "\r\n\r\nE' ora possibile visualizzarlo nell'elenco degli archivi MOC "
                    "esistenti."_s,
                    u"finestra Crea archivio MOC"_s, u"L'archivio è stato creato."_s,
                    u"Aprirlo dalla finestra Apri archivio MOC."_s}
         << Message{u"Attenzione: l'elenco non contiene nessun archivio."_s,
                    u"finestra Apri archivio MOC, pulsante Apri archivio"_s,
                    u"Non esiste ancora nessun archivio di MOC."_s,
                    u"Crearne uno con Crea archivio MOC."_s}
         << Message{u"Attenzione: selezionare l'archivio di MOC dall'elenco prima di premere il "
                    "pulsante Apri archivio."_s,
                    u"finestra Apri archivio MOC"_s, u"Nessun archivio è selezionato."_s,
                    u"Fare clic sul nome dell'archivio, poi premere Apri archivio."_s}
         << Message{u"Attenzione: l'elenco non contiene nessun archivio di MOC."_s,
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Non c'è nessun archivio da eliminare."_s, u"Nulla."_s}
         << Message{u"Attenzione: selezionare dall'elenco l'archivio da eliminare prima di "
                    "premere il pulsante del cestino."_s,
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Nessun archivio è selezionato."_s,
                    u"Fare clic sul nome dell'archivio da eliminare, poi sul cestino."_s}
         << Message{u"Si sta per eliminare l'archivio di MOC selezionato. Si ricorda che il "
                    "file eliminato non potrà essere recuperato.\r\n\r\nSi conferma "
                    "l'eliminazione dell'archivio?"_s,
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Domanda di conferma prima di eliminare l'archivio."_s,
                    u"Rispondere Sì soltanto se l'archivio non serve più (o se ne ha una copia "
                    "di sicurezza); No lo lascia com'è."_s}
         << Message{u"L'archivio di MOC è stato eliminato con successo."_s,
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"L'archivio è stato eliminato."_s, u"Nulla."_s}
         << Message{u"Attenzione: non è stato possibile eliminare l'archivio di MOC "
                    "selezionato.\r\n\r\nAccertarsi di possedere i privilegi di scrittura "
                    "nella cartella di installazione del programma."_s,
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Il file dell'archivio non si può cancellare: la cartella dei dati non è "
                    "scrivibile dall'utente."_s,
                    u"Controllare i permessi della cartella dei dati."_s}
         << Message{u"Attenzione: la stampa non è andata a buon fine.\n\r\n\rSi consiglia di "
                    "ridurre le dimensioni della foto."_s,
                    u"finestra di stampa della scheda"_s,
                    u"La pagina non si è potuta preparare o inviare alla stampante, di solito "
                    "per una foto molto grande."_s,
                    u"Caricare nella scheda una versione più piccola della foto e "
                    "riprovare; controllare anche che la stampante sia pronta."_s}
         << Message{u"Attenzione: la visualizzazione dell'anteprima di stampa non è andata a "
                    "buon fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto."_s,
                    u"scheda delle MOC, anteprima"_s, u"Come sopra, per l'anteprima."_s,
                    u"Come sopra."_s}
         << Message{u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda "
                    "del numero di schede presenti in archivio.\r\n\r\nSi vuole esportare i "
                    "dati adesso?"_s,
                    u"finestra di esportazione"_s,
                    u"Domanda prima di scrivere il file di Excel."_s,
                    u"Sì esporta; No torna alla finestra."_s}
         << Message{u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi "
                    "che il file di Excel non sia già aperto."_s,
                    u"finestra di esportazione"_s,
                    u"Il file di Excel non si può scrivere: è aperto in un altro programma, il "
                    "disco è pieno o la cartella dei dati non è scrivibile."_s,
                    u"Chiudere il file nel programma di fogli di calcolo, controllare spazio e "
                    "permessi, riprovare."_s}
         << Message{u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole "
                    "aprire il file di Excel?"_s,
                    u"finestra di esportazione"_s, u"Il file di Excel è pronto."_s,
                    u"Sì lo apre con il programma di fogli di calcolo del sistema."_s};
    return list;
}

QList<Chapter> chapters()
{
    HelpText help;
    // The start topic's chapter leaves out what the later chapters print.
    help.reserve(HelpTopics::setEditor());
    help.reserve(HelpTopics::archives());
    help.reserve(HelpTopics::mocEditor());
    QList<Chapter> list;
    list << Chapter{HelpTopics::startScreen().title, introduction(help)};
    list << Chapter{u"Primo avvio e password"_s, firstStart()};
    list << Chapter{u"Catalogare un set BLOKKO"_s, setChapter(help)};
    list << Chapter{u"Gli archivi di MOC"_s, archiveChapter(help)};
    list << Chapter{u"Le schede delle MOC"_s, mocChapter(help)};
    list << Chapter{u"Foto e webcam"_s, photoChapter()};
    list << Chapter{u"File allegati"_s, attachmentChapter()};
    list << Chapter{u"Ricerche ed elenchi dei pezzi in vendita"_s, searchChapter()};
    list << Chapter{u"Stampa"_s, printChapter()};
    list << Chapter{u"Esportazione in Excel"_s, exportChapter(help)};
    list << Chapter{u"Dove si trova la collezione su Linux"_s, dataFolderChapter()};
    list << Chapter{u"Copia di sicurezza e ripristino"_s, backupChapter()};
    list << Chapter{u"Trasferire la collezione su un altro computer"_s, moveChapter()};
    list << Chapter{u"Messaggi del programma"_s, messagesChapter()};
    return list;
}

QStringList pictureNames()
{
    return {u"accesso.png"_s,      u"avvio.png"_s,        u"guida.png"_s,
            u"cambia_password.png"_s, u"set.png"_s,       u"moc.png"_s,
            u"crea_archivio.png"_s, u"apri_archivio.png"_s, u"webcam.png"_s,
            u"allegati.png"_s,     u"trova_filtri.png"_s, u"trova.png"_s,
            u"in_vendita.png"_s,   u"stampa.png"_s,       u"esporta.png"_s};
}

} // namespace Guida
