#include "GuidaText.h"

#include "core/app/HelpTopics.h"
#include "core/app/Messages.h"
#include "core/cards/CardStore.h"
#include "core/cards/RecordFile.h"
#include "core/collection/Cestino.h"
#include "core/cards/Schede.h"
#include "core/transfer/Backup.h"
#include "core/transfer/CsvExport.h"
#include "core/transfer/CsvImport.h"
#include "core/transfer/FileFormats.h"
#include "core/transfer/Rows.h"
#include "core/transfer/SheetRows.h"
#include "core/transfer/XlsxExport.h"
#include "ui/cards/EditorConfig.h"

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
    // One paragraph of a topic, where a chapter sets it among its own.
    QString paragraph(const HelpTopics::Topic &topic, int index)
    {
        const QString &p = topic.paragraphs.at(index);
        if (printed_.contains(p))
            return QString();
        printed_.insert(p);
        return u"<p class=\"guida\">"_s + esc(p) + u"</p>"_s;
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
        "le operazioni più comuni, la finestra Collezione, che mostra tutte le schede in una "
        "tabella, l'esportazione e l'importazione di file CSV, le indicazioni su dove il "
        "programma conserva i dati, su come farne una copia di sicurezza e su come trasferirli, "
        "e la spiegazione di ogni messaggio che il programma può mostrare."_s);
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
        "partenza, altrimenti compare il messaggio «"_s
        + Messages::wrongPassword()
        + u"» e la casella si svuota per un nuovo tentativo. Il pulsante Esci chiude il "
          "programma."_s);
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
                  u"Premere OK: compare il messaggio «"_s + Messages::passwordChanged()
                      + u"» e la finestra si chiude. Da quel momento si accede con la nuova "
                        "password."_s},
                 true);
    html += picture(u"cambia_password.png"_s, 260, u"La finestra Cambia password"_s);
    html += para(u"La password è conservata, in forma non leggibile, nel file «"_s
                 + esc(data.credentialFile)
                 + u"» della cartella dei dati (capitolo «Dove si trova la collezione su "
                   "Linux»). Chi dimentica la password può rimettere al suo posto una copia di "
                   "quel file fatta quando la password era nota (capitolo «Copia di "
                   "sicurezza e ripristino»); nel programma installato può anche "
                   "cancellarlo, e al successivo avvio vale di nuovo la password iniziale."_s);
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
                  "spiega il campo o il pulsante sotto il mouse. Su un pulsante raggiunto con "
                  "Tab, Invio o la barra spaziatrice lo premono, in ogni finestra."_s,
                  u"Facoltativo: caricare la foto con il pulsante Carica foto e segnare la "
                  "casella «In vendita»."_s,
                  u"Premere Salva (Ctrl+S): compare il messaggio «"_s + Messages::cardInserted()
                      + u"» e il numero della scheda appare nella barra."_s},
                 true);
    html += para(u"Per salvare una scheda occorre indicare:"_s) + mandatory(EditorTables::sets());
    html += sub(u"Modifiche non salvate e importi"_s);
    html += para(
        u"Se la scheda a video ha modifiche non ancora salvate (un campo, un allegato, una "
        "foto) e si passa a un'altra scheda, si preme Nuovo, si apre la finestra Collezione o "
        "si chiude la scheda, il programma chiede «"_s
        + Messages::saveChanges()
        + u"»: Sì le salva come il pulsante Salva (con i suoi controlli), No le lascia perdere, Annulla "
        "resta sulla scheda. Una scheda non toccata, o riportata com'era, cambia senza "
        "domande."_s);
    html += para(
        u"Entrando nel campo del valore (con un clic, Tab, Invio) tutto il suo testo viene "
        "selezionato: quello che si scrive lo sostituisce. Nel campo funzionano anche Inizio, "
        "Fine, Maiusc con le frecce e Ctrl+A; all'uscita l'importo viene scritto con due "
        "decimali (ad esempio 12,5 diventa 12,50)."_s);
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
        "verticale. Per le MOC il pulsante Anteprima mostra prima la pagina intera in una "
        "finestra grande quanto lo schermo, da dove si può anche stampare: la barra in alto "
        "adatta, ingrandisce o riduce la pagina, Schermo intero (F11) nasconde il resto dello "
        "schermo e Chiudi torna alla scheda."_s);
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
        u"In una cartella del programma portatile il programma scrive il file "
        "«Catalogo_BLOKKO.xls» (catalogo dei set) o «Archivio_MOC.xls» (archivio di MOC) nella "
        "cartella dei dati, sostituendo quello dell'esportazione precedente; per conservarlo "
        "lo si salva con un altro nome dal programma di fogli di calcolo. Il programma "
        "installato chiede invece dove salvare il file, partendo dalla cartella usata "
        "l'ultima volta o, la prima volta, dalla cartella Documenti. Su Linux il file si apre "
        "con LibreOffice Calc; se nessun programma lo apre, un messaggio dice dove è stato "
        "salvato. Se il file è già aperto in un altro programma, l'esportazione non riesce: "
        "chiuderlo e riprovare. Un vero foglio di Excel (.xlsx), con gli importi come numeri, "
        "si ottiene dalla finestra Collezione (capitolo «Esportare e importare file CSV»)."_s);
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
        "oppure scrivendone il percorso nella barra degli indirizzi. Chi ha impostato la "
        "variabile d'ambiente XDG_DATA_HOME trova la cartella dei dati in "_s
        + code(u"$XDG_DATA_HOME/Vetrinora"_s) + u"."_s);
    html += para(u"Se il file della password «"_s + esc(data.credentialFile)
                 + u"» manca dalla cartella dei dati del programma installato, al "
                   "successivo avvio il programma lo ricrea con la password iniziale: è il "
                   "modo di rientrare quando la password è stata dimenticata (le schede non "
                   "cambiano)."_s);
    html += sub(u"Programma portatile"_s);
    html += para(u"Se la cartella del programma, quella che contiene il file eseguibile, "
                 "contiene anche il file della password «"_s
                 + esc(data.credentialFile)
                 + u"», il programma è portatile: la cartella dei dati è la cartella del "
                   "programma stessa. È il caso di una cartella del programma copiata su una "
                   "chiavetta USB, che funziona su qualsiasi computer su cui la si avvii."_s);
    html += sub(u"Un solo programma per cartella"_s);
    html += para(
        u"Una cartella dei dati è aperta da un solo Vetrinora alla volta. Avviare il programma "
        "una seconda volta (ad esempio con un doppio clic di troppo sull'icona) porta in primo "
        "piano la finestra già aperta, senza aprirne un'altra. Se la cartella dei dati è "
        "condivisa in rete o sincronizzata fra più computer, oppure è usata da un altro utente "
        "dello stesso computer, il programma avviato altrove si chiude con un messaggio che "
        "dice su quale computer la collezione è già aperta e da quando: due programmi che "
        "scrivono gli stessi file perderebbero schede. Chiuso il programma sull'altro computer, "
        "la cartella torna libera. Se un programma si è chiuso di colpo (un'interruzione di "
        "corrente, un blocco), il successivo avvio sullo stesso computer riprende la cartella "
        "da solo."_s);
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
        {u"Cestino"_s, u"le schede eliminate dalla finestra Collezione, con le loro foto"_s},
        {u"Collezione.ini"_s, u"le colonne e la vista scelte nella finestra Collezione"_s},
        {u"Cartelle.ini"_s, u"l'ultima cartella in cui è stato salvato un foglio di Excel"_s},
        {u"Prima-del-ripristino-…"_s,
         u"i dati che c'erano prima di ogni ripristino di un backup, con la data"_s},
        {u"Vetrinora.lock"_s,
         u"presente mentre il programma è aperto: dice quale computer sta usando la cartella"_s},
    };
    for (const auto &[name, what] : rows)
        html += u"<tr><td>"_s + code(name) + u"</td><td>"_s + esc(what) + u"</td></tr>"_s;
    html += u"</table>"_s;
    html += para(
        u"Quando la guida in linea parla della cartella del programma o della cartella di "
        "installazione come del luogo in cui si trovano gli archivi, intende questa cartella "
        "dei dati: nel programma portatile le due cartelle coincidono; nel programma "
        "installato i file del programma (l'eseguibile, questo manuale, i moduli della "
        "webcam e della stampa) restano nella cartella di installazione e i dati stanno nella cartella "
        "personale dell'utente."_s);
    return html;
}

// The captions of the collection window's commands, as its buttons show them.
const QString kBackup = u"Backup..."_s;
const QString kRestore = u"Ripristina backup..."_s;
const QString kExportCsv = u"Esporta CSV..."_s;
const QString kImportCsv = u"Importa CSV..."_s;

QString collectionChapter(HelpText &help)
{
    const HelpTopics::Topic topic = HelpTopics::collection();
    QString html = help.paragraph(topic, 0);
    html += picture(u"collezione.png"_s, 560, u"La finestra Collezione"_s);
    html += sub(u"Che cosa mostra"_s);
    html += help.paragraph(topic, 1);
    html += sub(u"Ordinare"_s);
    html += help.paragraph(topic, 2);
    html += sub(u"Filtrare"_s);
    html += help.paragraph(topic, 3);
    html += sub(u"I totali"_s);
    html += help.paragraph(topic, 4);
    html += help.paragraph(topic, 5);
    html += sub(u"La galleria"_s);
    html += para(
        u"Il pulsante Galleria (Alt+G) mostra al posto della tabella la galleria: le stesse "
        "schede, nello stesso ordine e con lo stesso filtro, ciascuna con la sua prima foto, "
        "il nome e, quando i totali sono pronti, il valore. La selezione è la stessa della "
        "tabella, e così i totali della selezione; un doppio clic o il tasto Invio apre la "
        "scheda come dalla tabella. Un secondo clic su Galleria torna alla tabella; la finestra "
        "si riapre con la vista usata per ultima. Le foto compaiono in piccolo man mano che "
        "sono pronte, prima quelle in vista: una scheda senza foto, o con una foto che non si "
        "riesce a leggere, mostra il disegno segnaposto. Le miniature sono conservate nella "
        "cartella comune delle miniature del desktop (di solito «~/.cache/thumbnails»), la "
        "stessa che usa il gestore dei file: la seconda volta la galleria si apre subito, e "
        "una foto cambiata viene rimpicciolita di nuovo."_s);
    html += picture(u"galleria.png"_s, 560, u"La galleria della finestra Collezione"_s);
    html += sub(u"Aprire, copiare e stampare"_s);
    html += list({u"Un doppio clic su una riga, il tasto Invio o il pulsante Apri scheda apre la "
                  "scheda nella sua finestra, al suo posto nel catalogo o nell'archivio: da lì "
                  "le frecce della barra passano alle schede vicine come sempre."_s,
                  u"Si selezionano più righe con un clic tenendo premuto Ctrl (righe sparse) o "
                  "Maiusc (righe consecutive)."_s,
                  u"Copia (Ctrl+C) copia negli appunti le righe selezionate, con le colonne "
                  "mostrate e la riga delle intestazioni, separate da tabulazioni: incollate in "
                  "un foglio di calcolo occupano una cella ciascuna."_s,
                  u"Stampa (Ctrl+P) stampa su fogli A4 orizzontali le righe mostrate, "
                  "nell'ordine e con le colonne della tabella, sotto il nome del catalogo e il "
                  "totale delle schede filtrate."_s},
                 false);
    html += sub(u"Eliminare schede e il Cestino"_s);
    const HelpTopics::Topic bin = HelpTopics::bin();
    html += help.paragraph(bin, 0);
    html += list({u"Selezionare le schede da eliminare e premere Elimina (o il tasto Canc)."_s,
                  u"Il programma chiede conferma dicendo quante e quali schede sta per eliminare "
                  "(il numero e il primo campo di ciascuna, fino a dieci). Rispondere Sì."_s,
                  u"Le schede eliminate e le loro foto vanno nella cartella «Cestino» della "
                  "cartella dei dati (ad esempio «BLOKKO_5.jpg» della scheda che sale dal quinto "
                  "al quarto posto diventa «BLOKKO_4.jpg»). I file allegati restano dove sono, "
                  "nella cartella «Documenti_Allegati»."_s},
                 true);
    html += help.paragraph(bin, 1);
    html += help.paragraph(bin, 2);
    html += help.paragraph(bin, 3);
    html += sub(u"Le statistiche"_s);
    const HelpTopics::Topic statistics = HelpTopics::statistics();
    html += help.paragraph(statistics, 0);
    html += picture(u"statistiche.png"_s, 560, u"La finestra Statistiche"_s);
    for (int i = 1; i < statistics.paragraphs.size(); ++i)
        html += help.paragraph(statistics, i);
    html += sub(u"Backup e file CSV"_s);
    html += para(u"Nella stessa fila di pulsanti si trovano i comandi «"_s + esc(kBackup)
                 + u"» e «"_s + esc(kRestore)
                 + u"», descritti nel capitolo «Copia di sicurezza e ripristino», e «"_s
                 + esc(kExportCsv) + u"» e «"_s + esc(kImportCsv)
                 + u"», descritti nel capitolo «Esportare e importare file CSV»."_s);
    return html;
}

// The columns of a CSV file for a layout: heading and the longest text the
// field keeps.
QString csvColumns(const RecordLayout &layout, const QString &title)
{
    QString html = u"<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\" border=\"1\" "
                   "style=\"border-color: #D8E5EF; border-style: solid;\">"_s
                   u"<tr><th align=\"left\">"_s
                   + esc(title)
                   + u"</th><th align=\"left\">Nome del campo</th>"
                     "<th align=\"right\" width=\"110\">Caratteri al massimo</th></tr>"_s;
    for (const FieldDef &f : layout.fields) {
        QString size = QString::number(f.capacity);
        if (f.role == FieldRole::ForSale)
            size = u"Sì / No"_s;
        html += u"<tr><td>"_s + esc(Transfer::heading(f)) + u"</td><td>"_s + esc(f.fieldName())
                + u"</td><td align=\"right\">"_s + esc(size) + u"</td></tr>"_s;
    }
    return html + u"</table>"_s;
}

QString csvChapter(HelpText &help)
{
    const HelpTopics::Topic topic = HelpTopics::spreadsheets();
    QString html = help.paragraph(topic, 0);
    html += help.paragraph(topic, 1);
    html += sub(u"Esportare in CSV"_s);
    html += list({u"Aprire la finestra Collezione (Ctrl+L) e scegliere nella casella Catalogo il "
                  "catalogo o l'archivio da esportare; per esportarne soltanto una parte, "
                  "scrivere una parola nel filtro."_s,
                  u"Premere «"_s + esc(kExportCsv)
                      + u"» e scegliere dove salvare il file; il nome proposto è quello del "
                        "catalogo o dell'archivio, ad esempio «Catalogo_BLOKKO.csv»."_s,
                  u"Al termine il programma dice quante schede ha esportato."_s},
                 true);
    html += para(
        u"Il file è scritto in UTF-8 con il segno iniziale che lo dichiara, così che "
        "LibreOffice ed Excel lo aprono con le lettere accentate intatte; le celle sono "
        "separate da virgole e racchiuse tra virgolette quando contengono virgole, virgolette "
        "o a capo. La prima riga contiene le intestazioni: le etichette dei campi della scheda "
        "senza i due punti e senza il simbolo dell'euro («Nome set», «Valore»), poi «Allegato "
        "1», «Allegato 2», «Allegato 3» e «Descrizione allegato 1» e seguenti per i file "
        "allegati. Il file contiene i testi delle schede, non le foto né i file allegati: per "
        "portare con sé anche quelli si usa il backup (capitolo «Copia di sicurezza e "
        "ripristino»)."_s);
    html += sub(u"Esportare in Excel (.xlsx)"_s);
    html += para(
        u"Il pulsante «Esporta Excel...» della finestra Collezione (Alt+X) esporta le stesse "
        "schede di «"_s
        + esc(kExportCsv)
        + u"» in una vera cartella di lavoro di Excel (.xlsx), che LibreOffice Calc ed Excel "
          "aprono così com'è: gli importi sono numeri in euro, che il foglio può sommare; "
          "l'anno di uscita e il numero dei pezzi sono numeri; la data d'acquisto è una data "
          "quando è scritta come data (ad esempio 01/03/2023); tutto il resto è testo, come "
          "nella scheda. La riga delle intestazioni resta ferma scorrendo e ha i pulsanti del "
          "filtro; le colonne sono larghe quanto serve."_s);
    html += sub(u"Importare da CSV"_s);
    html += list({u"Scegliere nella casella Catalogo della finestra Collezione il catalogo o "
                  "l'archivio che riceverà le schede. Per importare in un archivio nuovo, "
                  "crearlo prima con Crea archivio MOC (capitolo «Gli archivi di MOC»)."_s,
                  u"Premere «"_s + esc(kImportCsv)
                      + u"» e scegliere il file: un file CSV (.csv o .txt), un foglio di "
                        "calcolo di LibreOffice (.ods) o di Excel (.xlsx), oppure un foglio "
                        "esportato da Vetrinora stesso (.xls)."_s,
                  u"Si apre la finestra dell'anteprima, descritta qui sotto: controllare a "
                  "quale campo va ciascuna colonna e premere Importa."_s,
                  u"Le schede vengono aggiunte in fondo al catalogo o all'archivio, tutte "
                  "insieme; al termine un messaggio riassume l'importazione."_s},
                 true);
    html += picture(u"importa.png"_s, 560, u"L'anteprima dell'importazione da CSV"_s);
    html += sub(u"Codifica e separatore"_s);
    html += para(
        u"Il programma riconosce da sé come è scritto il file: la codifica UTF-8, con o senza "
        "il segno iniziale, altrimenti Windows-1252 (quella dei file salvati da un Excel "
        "italiano); e il separatore delle celle, la virgola, il punto e virgola (anche questo "
        "tipico di Excel in italiano) o la tabulazione. La prima riga dell'anteprima dice che "
        "cosa ha riconosciuto, insieme al catalogo di destinazione e al numero di righe "
        "mostrate. Se le lettere accentate compaiono storpiate, salvare il file dal foglio di "
        "calcolo come «CSV UTF-8» e importarlo di nuovo."_s);
    html += para(
        u"Da un foglio .ods o .xlsx il programma legge i valori delle celle, non come sono "
        "mostrati: un importo in euro, un numero con il punto delle migliaia o una data "
        "arrivano interi. Si legge il primo foglio; se il file ne ha più d'uno, una casella "
        "in alto nell'anteprima permette di sceglierne un altro."_s);
    html += sub(u"Le colonne e i campi"_s);
    html += para(
        u"L'anteprima mostra le prime righe del file sotto le loro intestazioni. Sopra ogni "
        "colonna una casella indica il campo della scheda che la colonna riempirà: il "
        "programma lo propone dall'intestazione, riconoscendo l'etichetta del campo o il suo "
        "nome senza badare a maiuscole, accenti e spazi («Età consigliata», «ETA CONSIGLIATA» "
        "ed «EtaConsigliata» vanno tutte nel campo Età consigliata). La proposta si cambia "
        "scegliendo un altro campo nella casella; «(non importare)» lascia fuori la colonna. "
        "Un campo è riempito dalla prima colonna che lo nomina. Il pulsante Importa è attivo "
        "quando almeno una colonna va in un campo; Annulla chiude l'anteprima senza "
        "importare nulla."_s);
    html += sub(u"Che cosa viene tagliato"_s);
    html += para(
        u"Ogni cella è registrata come la registrerebbe la scheda se la si scrivesse a mano: "
        "senza spazi all'inizio e alla fine, con gli a capo trasformati in spazi, tagliata "
        "alla lunghezza del campo. Gli importi sono scritti come nel campo del valore, con la "
        "virgola e due decimali («85» diventa «85,00»). Gli importi si leggono come li "
        "scrive la gente: «€ 1.234,50», «1.234,50 €», «EUR 12», «12,5», «1234.50» e "
        "«1,234.50» danno tutti un importo giusto; un punto o una virgola seguiti da tre "
        "cifre e poi dall'altro segno separano le migliaia, un punto da solo con una o due "
        "cifre dopo è il separatore dei decimali; un importo negativo si scrive con il meno "
        "o tra parentesi («(12,00)»). Un importo che non si può leggere (ad esempio «circa "
        "12») è registrato come «0,00». La "
        "casella «In vendita» è segnata da «Sì», «si», «yes», «true», «1» o «x», non segnata da "
        "«No», «no», «false», «0» o da una cella vuota; ogni altro testo vale «No»."_s);
    html += para(
        u"Nell'anteprima le celle che saranno tagliate sono in rosso e quelle che non si "
        "possono leggere in giallo; passando il mouse sulla cella si vede che cosa verrà "
        "registrato. Una cella dell'anteprima si corregge facendovi doppio clic e "
        "scrivendo il testo giusto: il programma la controlla di nuovo e importa il testo "
        "corretto. Le righe del tutto vuote sono saltate."_s);
    html += para(
        u"Le righe che corrispondono a schede già presenti nel catalogo (stesso codice del "
        "set e stesso nome; per le MOC stesso codice ID e stesso nome del progetto, senza "
        "badare a maiuscole e accenti) sono in azzurro. Con la casella «Salta le schede già "
        "presenti», segnata all'inizio, queste righe non vengono importate, così importare "
        "due volte lo stesso file non raddoppia il catalogo; togliendo il segno si importano "
        "tutte. Le lunghezze dei campi sono queste:"_s);
    html += csvColumns(Schede::TSchedaSet, u"Colonna (Catalogo BLOKKO)"_s);
    html += csvColumns(Schede::TSchedaMOC, u"Colonna (archivio di MOC)"_s);
    html += sub(u"Il resoconto"_s);
    html += para(
        u"Al termine un messaggio dice quante schede sono state importate e, se ce ne sono, "
        "elenca le celle tagliate e i valori non riconosciuti, ciascuno con la riga del file "
        "(la riga delle intestazioni è la 1), l'intestazione della colonna e il testo letto; "
        "dopo duecento voci dice quante altre ce ne sono. Le schede si correggono poi una per "
        "una, aprendole dalla finestra Collezione."_s);
    html += para(
        u"L'importazione è tutta o niente: se il file contiene un errore (una riga con un "
        "numero di colonne diverso dall'intestazione, virgolette non chiuse), se il disco si "
        "riempie o se si preme Annulla sulla barra di avanzamento, il catalogo resta "
        "esattamente com'era e non viene aggiunta nessuna scheda. Un file molto grande è "
        "letto a blocchi, con la barra di avanzamento. Esportare un catalogo in CSV e "
        "importarlo in un archivio vuoto dà schede identiche a quelle di partenza."_s);
    return html;
}

QString backupChapter(HelpText &help)
{
    const DataFolder data = dataFolder();
    const HelpTopics::Topic topic = HelpTopics::backup();
    QString html = help.paragraph(topic, 0);
    html += sub(u"Fare il backup"_s);
    html += list({u"Aprire la finestra Collezione (Ctrl+L) e premere «"_s + esc(kBackup)
                      + u"»."_s,
                  u"Scegliere la cartella in cui salvare il backup, ad esempio quella della "
                  "chiavetta. Il nome proposto contiene la data e l'ora, ad esempio «"_s
                      + esc(u"Vetrinora-backup-2026-12-10-183012.zip"_s)
                      + u"». Un file già presente nella cartella non viene mai sostituito: un "
                        "secondo backup nello stesso secondo riceve «-2» in fondo al nome."_s,
                  u"Il programma scrive il file, lo rilegge per intero controllando ogni file "
                  "che contiene, e soltanto allora gli dà il suo nome; al termine dice dove si "
                  "trova. Per una collezione grande compare una barra di avanzamento: Annulla "
                  "interrompe il backup senza lasciare file a metà."_s},
                 true);
    html += help.paragraph(topic, 1);
    html += sub(u"Ripristinare un backup"_s);
    html += list({u"Aprire la finestra Collezione e premere «"_s + esc(kRestore) + u"»."_s,
                  u"Scegliere il file del backup."_s,
                  u"Il programma legge il backup e dice quando è stato creato e che cosa "
                  "contiene: le schede del Catalogo BLOKKO e di ciascun archivio di MOC, il "
                  "numero delle foto e degli allegati. Rispondere Sì per ripristinarlo."_s,
                  u"Il backup viene prima controllato per intero; poi i dati attuali sono "
                  "spostati in una cartella «Prima-del-ripristino-» seguita dalla data e "
                  "dall'ora (ad esempio «Prima-del-ripristino-2026-12-10-183012»), dentro la "
                  "cartella dei dati, e i dati del backup prendono il loro posto."_s},
                 true);
    html += para(
        u"Il ripristino riporta tutta la collezione allo stato del backup: schede, archivi, "
        "foto e allegati aggiunti dopo non ci sono più nella collezione, ma restano nella "
        "cartella «Prima-del-ripristino-…», da cui si possono recuperare a mano. Anche la "
        "password torna quella in vigore quando il backup è stato fatto: è quella da usare "
        "al prossimo avvio."_s);
    html += para(
        u"Un file che non è un backup di Vetrinora, un backup danneggiato o incompleto, o che "
        "contiene file con nomi non ammessi o di dimensioni assurde, viene rifiutato con un "
        "messaggio (capitolo «Messaggi del programma») e i dati attuali restano come sono. Lo "
        "stesso se si preme Annulla durante il ripristino."_s);
    html += sub(u"A mano, copiando la cartella dei dati"_s);
    html += para(
        u"Il backup si può fare anche senza il programma, copiando l'intera cartella dei dati "
        "(capitolo «Dove si trova la collezione su Linux»)."_s);
    html += list({u"Chiudere Vetrinora, così che nessun archivio sia in uso durante la "
                  "copia."_s,
                  u"Copiare l'intera cartella dei dati sul disco esterno, con il gestore dei "
                  "file oppure con un comando come: "_s
                      + code(u"cp -a "_s + data.installedFolder
                             + u" /media/mario/CHIAVETTA/Vetrinora-copia"_s)
                      + u" (il percorso della chiavetta dipende dal sistema). Per il programma "
                        "portatile basta copiare l'intera cartella del programma, come dice la "
                        "guida in linea."_s,
                  u"Per ripristinare la copia: chiudere Vetrinora, rinominare la cartella dei "
                  "dati in uso (ad esempio in Vetrinora-vecchia) e copiare al suo posto la "
                  "cartella della copia, con lo stesso nome: "_s
                      + code(u"cp -a /media/mario/CHIAVETTA/Vetrinora-copia "_s
                             + data.installedFolder)
                      + u". Al prossimo avvio si accede con la password in vigore quando la "
                        "copia è stata fatta."_s},
                 true);
    return html;
}

QString moveChapter()
{
    const DataFolder data = dataFolder();
    QString html = para(u"Il modo più semplice per portare la collezione su un altro computer "
                         "passa per il backup."_s);
    html += list({u"Sul vecchio computer, nella finestra Collezione, premere «"_s + esc(kBackup)
                      + u"» e salvare il backup su una chiavetta USB o un disco esterno."_s,
                  u"Sul nuovo computer installare Vetrinora, avviarlo e accedere con la password "
                  "iniziale «"_s
                      + esc(data.initialPassword) + u"»."_s,
                  u"Aprire la finestra Collezione, premere «"_s + esc(kRestore)
                      + u"» e scegliere il backup sulla chiavetta. La collezione vuota del "
                        "nuovo computer finisce nella cartella «Prima-del-ripristino-…», il "
                        "resto prende il posto dei dati."_s,
                  u"Dal prossimo avvio si accede con la password usata sul vecchio "
                  "computer."_s},
                 true);
    html += sub(u"A mano, copiando la cartella dei dati"_s);
    html += list({u"Sul vecchio computer chiudere Vetrinora e copiare la cartella dei dati su "
                  "una chiavetta USB o un disco esterno."_s,
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
        "portatile a quello installato si usa il backup come sopra, oppure si copiano nella "
        "cartella dei dati i file e le cartelle elencati nel capitolo «Dove si trova la "
        "collezione su Linux» (non l'eseguibile né gli altri file del programma)."_s);
    html += para(
        u"Per portare in Vetrinora un catalogo tenuto in un foglio di calcolo o in un altro "
        "programma si usa invece l'importazione da CSV (capitolo «Esportare e importare file "
        "CSV»)."_s);
    return html;
}

QString messagesChapter()
{
    QString html = para(
        u"Ecco tutti i messaggi che Vetrinora può mostrare, nell'ordine in cui si incontrano "
        "lavorando, con la loro causa e che cosa fare. Dove il messaggio riporta un nome o un numero "
        "(di un file, di un carattere, di una riga) qui compare, tra parentesi angolari, che "
        "cosa il programma mette in quel punto."_s);
    for (const Message &m : messages()) {
        QString text = esc(m.text);
        text.replace(QRegularExpression(u"(\r\n\r\n|\n\r\n\r)"_s), u"<br>"_s);
        text.replace(QRegularExpression(u"(\r\n|\n\r|\n)"_s), u"<br>"_s);
        for (int n = 9; n >= 1; --n) {
            const QString fill = n <= m.fills.size() ? m.fills.at(n - 1) : u"nome"_s;
            text.replace(u"%"_s + QString::number(n), u"&lt;"_s + esc(fill) + u"&gt;"_s);
        }
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
        {Messages::wrongPassword(), u"finestra di accesso"_s,
         u"La password scritta non è quella in uso."_s,
         u"Riscriverla (maiuscole e minuscole si equivalgono). Al primo avvio la password "
         "è quella iniziale indicata nel capitolo «Primo avvio e password»."_s},
        {Messages::passwordReadFailed(),
         u"finestra di accesso"_s,
         u"Il file della password nella cartella dei dati manca, non si può leggere o è "
         "danneggiato."_s,
         u"Rimettere il file da una copia di sicurezza; in mancanza, reinstallare il "
         "programma (la password torna quella iniziale)."_s},
        {Messages::wrongOldPassword(), u"finestra Cambia password"_s,
         u"La password scritta nella prima casella non è quella in uso."_s,
         u"Riscrivere la password in uso."_s},
        {Messages::passwordNotConfirmed(),
         u"finestra Cambia password"_s,
         u"La seconda e la terza casella non contengono la stessa password."_s,
         u"Scrivere di nuovo la nuova password in entrambe le caselle."_s},
        {Messages::passwordTooLong(),
         u"finestra Cambia password"_s, u"La nuova password è troppo lunga."_s,
         u"Sceglierne una più breve."_s},
        {Messages::passwordCharacter(u"%1"_s),
         u"finestra Cambia password"_s,
         u"La nuova password contiene un carattere (ad esempio una lettera greca o un "
         "simbolo grafico) che il file della password non può conservare."_s,
         u"Sceglierne una con lettere, cifre e simboli dell'alfabeto latino."_s},
        {Messages::passwordChangeFailed(),
         u"finestra Cambia password"_s,
         u"Il file della password non si può leggere o scrivere, ad esempio perché il disco "
         "è pieno o la cartella dei dati non è scrivibile."_s,
         u"Liberare spazio sul disco e controllare i permessi della cartella dei dati; la "
         "password in uso resta quella di prima."_s},
        {Messages::passwordChanged(), u"finestra Cambia password"_s,
         u"La nuova password è stata salvata."_s,
         u"Nulla: da ora si accede con la nuova password."_s},
    };
    for (const EditorConfig *config : {&EditorTables::sets(), &EditorTables::mocs()})
        for (const MandatoryField &m : config->mandatory)
            list << Message{QString::fromUtf8(m.message), editors,
                            u"Il campo indicato è obbligatorio ed è vuoto."_s,
                            u"Compilarlo (il programma vi porta il cursore) e premere di nuovo "
                            "Salva."_s};
    list << Message{Messages::cardInserted(), editors,
                    u"La nuova scheda è stata salvata."_s,
                    u"Nulla: la scheda ha ora un numero nella barra."_s}
         << Message{Messages::cardUpdated(),
                    editors, u"La scheda modificata è stata salvata al suo posto."_s,
                    u"Nulla."_s}
         << Message{Messages::saveChanges(), editors,
                    u"La scheda a video ha modifiche non ancora salvate e si sta passando a "
                    "un'altra scheda, a una scheda nuova, alla finestra Collezione, oppure si "
                    "chiude la scheda."_s,
                    u"Sì salva la scheda come il pulsante Salva; No lascia perdere le "
                    "modifiche; Annulla resta sulla scheda."_s}
         << Message{CardStore::changedCardMessage(),
                    editors,
                    u"Mentre la scheda era aperta, Vetrinora su un altro computer (una cartella "
                    "dei dati condivisa in rete) ha cambiato o spostato le schede del file, ad "
                    "esempio eliminandone una."_s,
                    u"Le modifiche restano scritte nella scheda a video: annotarle, riaprire la "
                    "scheda con i pulsanti di scorrimento o con la ricerca e ripeterle."_s}
         << Message{CardStore::changedFileMessage(u"%1"_s),
                    u"finestra Collezione: eliminazione, Cestino, importazione"_s,
                    u"Un altro programma ha scritto nel file mentre Vetrinora lo stava "
                    "riscrivendo per intero."_s,
                    u"Nulla è andato perso: chiudere Vetrinora sugli altri computer che usano la "
                    "stessa cartella e ripetere l'operazione."_s,
                    {u"file"_s}}
         << Message{Messages::folderInUse(u"%1"_s, u"%2"_s, u"%3"_s, u"%4"_s),
                    u"avvio del programma"_s,
                    u"La cartella dei dati è in uso da Vetrinora su un altro computer (una "
                    "cartella condivisa in rete o sincronizzata) o da un altro utente di questo "
                    "computer; il messaggio dice quale computer e da quando."_s,
                    u"Chiudere Vetrinora su quel computer. Se quel computer si è spento o bloccato "
                    "senza chiudere il programma, eliminare il file Vetrinora.lock dalla "
                    "cartella dei dati."_s,
                    {u"cartella"_s, u"sul computer \"nome\""_s, u" dal giorno alle ore"_s,
                     u"Vetrinora.lock"_s}}
         << Message{Messages::folderNotAnswering(u"%1"_s, u"%2"_s),
                    u"avvio del programma"_s,
                    u"Vetrinora è già aperto su questo computer ma è occupato e non ha "
                    "risposto alla richiesta di portarsi in primo piano."_s,
                    u"Attendere la fine dell'operazione in corso, oppure chiudere il programma "
                    "aperto, e avviare di nuovo Vetrinora. Aprire il programma due volte porta "
                    "in primo piano la finestra già aperta."_s,
                    {u"cartella"_s, u" dal giorno alle ore"_s}}
         << Message{Messages::replacedCharacters(u"%1"_s),
                    editors,
                    u"Un campo contiene caratteri che le schede non possono contenere (lettere "
                    "di altri alfabeti, lettere con accenti rari, simboli, emoji): una lettera "
                    "accentata diventa la stessa lettera senza accento (ő diventa o, ł diventa "
                    "l), ogni altro carattere un punto interrogativo."_s,
                    u"Sì salva la scheda con le sostituzioni elencate, che si vedono subito nei "
                    "campi; No riporta alla scheda per scrivere il testo in un altro modo."_s,
                    {u"elenco delle sostituzioni"_s}}
         << Message{Messages::photoNotSaved(u"%1"_s),
                    editors,
                    u"La scheda è stata salvata, ma la foto non si è potuta scrivere nella "
                    "cartella delle foto."_s,
                    u"Liberare spazio sul disco o correggere i permessi della cartella delle "
                    "foto, poi premere di nuovo Salva."_s}
         << Message{Messages::photosNotSaved(u"%1"_s),
                    u"scheda delle MOC"_s,
                    u"Come sopra, per entrambe le foto della scheda."_s,
                    u"Come sopra."_s}
         << Message{CardStore::accessMessage(),
                    u"schede, ricerche, riepiloghi, Slide Show, finestra Collezione (Apri "
                    "scheda, Elimina, Cestino...)"_s,
                    u"Il file dell'archivio non si può aprire, leggere o scrivere: la cartella "
                    "dei dati non è scrivibile dall'utente, il disco è pieno o la chiavetta è "
                    "stata tolta."_s,
                    u"Controllare che la cartella dei dati (capitolo «Dove si trova la "
                    "collezione su Linux») appartenga all'utente che usa il programma e sia "
                    "scrivibile, e che il disco abbia spazio libero. Un'eliminazione o un "
                    "ripristino dal Cestino non riusciti lasciano la collezione com'era."_s}
         << Message{recordDiskFullMessage(),
                    u"finestra Collezione (Elimina, Cestino..., Importa CSV...)"_s,
                    u"Il disco della cartella dei dati si è riempito mentre l'archivio veniva "
                    "riscritto per intero; la riscrittura è stata abbandonata e l'archivio è "
                    "rimasto com'era."_s,
                    u"Liberare spazio sul disco (l'operazione richiede almeno lo spazio "
                    "dell'archivio) e ripeterla."_s}
         << Message{Cestino::damagedEntryMessage(), u"finestra Cestino, pulsante Ripristina"_s,
                    u"L'indice di questa eliminazione nel Cestino è rovinato, oppure viene da un "
                    "backup alterato e nomina un file fuori dalla cartella dei dati: non viene "
                    "seguito."_s,
                    u"Nulla; le schede attuali non sono state toccate. L'eliminazione rovinata "
                    "non compare più nell'elenco del Cestino."_s}
         << Message{Messages::emptyArchive(),
                    u"frecce di scorrimento, Slide Show"_s,
                    u"Il catalogo o l'archivio aperto è ancora vuoto."_s,
                    u"Inserire almeno una scheda con Nuovo e Salva."_s}
         << Message{Messages::duplicateUnsaved(),
                    u"scheda dei set, pulsante Duplica"_s,
                    u"La scheda visualizzata è nuova e non è ancora stata salvata."_s,
                    u"Salvarla prima, oppure visualizzare una scheda già in archivio."_s}
         << Message{Messages::duplicated(),
                    u"scheda dei set, pulsante Duplica"_s,
                    u"La scheda è stata duplicata: la copia è una scheda nuova, non ancora "
                    "salvata."_s,
                    u"Cambiare i dati che differiscono e premere Salva."_s}
         << Message{Messages::attachmentNameTooLong(),
                    u"finestra Allega file"_s,
                    u"La scheda conserva il nome di ogni allegato in uno spazio limitato."_s,
                    u"Rinominare il file con un nome più breve e allegarlo di nuovo."_s}
         << Message{Messages::attachmentNameCharacters(u"%1"_s),
                    u"finestra Allega file"_s,
                    u"Il nome del file contiene caratteri fuori dall'alfabeto latino, che la "
                    "scheda non può conservare; il messaggio li elenca."_s,
                    u"Rinominare il file senza quei caratteri e allegarlo di nuovo."_s}
         << Message{Messages::attachmentExists(),
                    u"finestra Allega file"_s,
                    u"Un file con lo stesso nome è già allegato, a questa o a un'altra "
                    "scheda."_s,
                    u"Rispondere No e rinominare il file se l'altro allegato va conservato; "
                    "Sì lo sostituisce per tutte le schede che lo usano."_s}
         << Message{Messages::attachmentMissing(),
                    u"finestra Allega file, pulsante Apri"_s,
                    u"Il file è stato tolto o rinominato nella cartella «Documenti_Allegati»."_s,
                    u"Allegarlo di nuovo con il pulsante Sfoglia..."_s}
         << Message{Messages::nothingToFind(),
                    u"ricerche e riepiloghi, pulsante Trova"_s,
                    u"Si è cercato un testo in un elenco vuoto."_s,
                    u"Eseguire prima la ricerca con Cerca."_s}
         << Message{Messages::archiveNameMissing(),
                    u"finestra Crea archivio MOC"_s, u"La casella del nome è vuota."_s,
                    u"Scrivere il nome dell'archivio."_s}
         << Message{Messages::archiveNameCharacters(),
                    u"finestra Crea archivio MOC"_s,
                    u"Il nome non può diventare il nome di un file."_s,
                    u"Scegliere un nome senza quei caratteri."_s}
         << Message{Messages::archiveNameTooLong(),
                    u"finestra Crea archivio MOC"_s, u"Il nome è troppo lungo."_s,
                    u"Scegliere un nome più breve."_s}
         << Message{Messages::archiveNameUsed(),
                    u"finestra Crea archivio MOC"_s,
                    u"Esiste già un archivio con quel nome."_s,
                    u"Scegliere un altro nome, oppure aprire l'archivio esistente."_s}
         << Message{Messages::archiveCreated(),
                    u"finestra Crea archivio MOC"_s, u"L'archivio è stato creato."_s,
                    u"Aprirlo dalla finestra Apri archivio MOC."_s}
         << Message{Messages::archiveFileNotCreated(u"%1"_s),
                    u"finestra Crea archivio MOC"_s,
                    u"Il file del nuovo archivio non si può scrivere nella cartella dei dati."_s,
                    u"Controllare i permessi e lo spazio libero della cartella dei dati."_s}
         << Message{Messages::importArchiveNameUsed(),
                    u"finestra Collezione, importazione in un nuovo archivio"_s,
                    u"Esiste già un archivio con quel nome."_s,
                    u"Scegliere un altro nome, oppure scegliere l'archivio esistente nell'elenco."_s}
         << Message{Messages::noArchiveToOpen(),
                    u"finestra Apri archivio MOC, pulsante Apri archivio"_s,
                    u"Non esiste ancora nessun archivio di MOC."_s,
                    u"Crearne uno con Crea archivio MOC."_s}
         << Message{Messages::selectArchiveToOpen(),
                    u"finestra Apri archivio MOC"_s, u"Nessun archivio è selezionato."_s,
                    u"Fare clic sul nome dell'archivio, poi premere Apri archivio."_s}
         << Message{Messages::noArchiveToDelete(),
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Non c'è nessun archivio da eliminare."_s, u"Nulla."_s}
         << Message{Messages::selectArchiveToDelete(),
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Nessun archivio è selezionato."_s,
                    u"Fare clic sul nome dell'archivio da eliminare, poi sul cestino."_s}
         << Message{Messages::confirmArchiveDeletion(),
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Domanda di conferma prima di eliminare l'archivio."_s,
                    u"Rispondere Sì soltanto se l'archivio non serve più (o se ne ha una copia "
                    "di sicurezza); No lo lascia com'è."_s}
         << Message{Messages::archiveDeleted(),
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"L'archivio è stato eliminato."_s, u"Nulla."_s}
         << Message{Messages::archiveNotDeleted(),
                    u"finestra Apri archivio MOC, cestino"_s,
                    u"Il file dell'archivio non si può cancellare: la cartella dei dati non è "
                    "scrivibile dall'utente."_s,
                    u"Controllare i permessi della cartella dei dati."_s}
         << Message{Messages::printFailed(),
                    u"finestra di stampa della scheda"_s,
                    u"La pagina non si è potuta preparare o inviare alla stampante, di solito "
                    "per una foto molto grande."_s,
                    u"Caricare nella scheda una versione più piccola della foto e "
                    "riprovare; controllare anche che la stampante sia pronta."_s}
         << Message{Messages::previewFailed(),
                    u"scheda delle MOC, anteprima"_s, u"Come sopra, per l'anteprima."_s,
                    u"Come sopra."_s}
         << Message{Messages::printNotStarted(),
                    u"ogni stampa e anteprima"_s,
                    u"La stampa non può cominciare: manca il modulo di stampa del programma, "
                    "o la stampante scelta non risponde."_s,
                    u"Controllare la stampante; se il messaggio torna, reinstallare il programma."_s}
         << Message{Messages::printPageNotStarted(),
                    u"ogni stampa di più pagine"_s,
                    u"La stampante ha smesso di accettare pagine a metà stampa."_s,
                    u"Controllare la stampante e ripetere la stampa."_s}
         << Message{Messages::fileNotRead(u"%1"_s),
                    u"all'avvio e nelle finestre che ricordano le scelte"_s,
                    u"Un file di impostazioni (.ini) della cartella dei dati non si può leggere."_s,
                    u"Controllare i permessi del file indicato."_s}
         << Message{Messages::fileNotWritten(u"%1"_s),
                    u"quando il programma ricorda una scelta"_s,
                    u"Un file di impostazioni non si può scrivere: disco pieno o cartella non "
                    "scrivibile. Il file resta com'era."_s,
                    u"Liberare spazio o controllare i permessi della cartella dei dati."_s}
         << Message{Messages::fileReadOnly(u"%1"_s),
                    u"quando il programma ricorda una scelta"_s,
                    u"Il file di impostazioni indicato è di sola lettura."_s,
                    u"Togliere l'attributo di sola lettura dal file."_s}
         << Message{Messages::exportQuestion(),
                    u"finestra di esportazione"_s,
                    u"Domanda prima di scrivere il file di Excel."_s,
                    u"Sì esporta; No torna alla finestra."_s}
         << Message{Messages::exportFailed(),
                    u"finestra di esportazione"_s,
                    u"Il file di Excel non si può scrivere: è aperto in un altro programma, il "
                    "disco è pieno o la cartella dei dati non è scrivibile."_s,
                    u"Chiudere il file nel programma di fogli di calcolo, controllare spazio e "
                    "permessi, riprovare."_s}
         << Message{Messages::exportedOpenIt(),
                    u"finestra di esportazione"_s, u"Il file di Excel è pronto."_s,
                    u"Sì lo apre con il programma di fogli di calcolo del sistema."_s}
         << Message{Messages::savedButNotOpened(u"%1"_s),
                    u"finestra di esportazione"_s,
                    u"Alla domanda «Si vuole aprire il file di Excel?» si è risposto Sì, ma il "
                    "sistema non ha nessun programma che apra i fogli di calcolo."_s,
                    u"Installare LibreOffice Calc (o un altro programma per i fogli di "
                    "calcolo) e aprire il file dalla cartella indicata."_s,
                    {u"percorso del file"_s}};
        // The collection window.
    const QString collection = u"finestra Collezione"_s;
    list << Message{Messages::deleteCards(u"%1"_s, u"%2"_s),
                    collection + u", pulsante Elimina"_s,
                    u"Domanda di conferma prima di eliminare le schede selezionate; il messaggio "
                    "dice quante sono e ne elenca numero e primo campo (fino a dieci, poi «... e "
                    "altre N schede»)."_s,
                    u"Rispondere Sì se sono proprio quelle da eliminare: finiscono nel Cestino, "
                    "da cui il pulsante Cestino... le ripristina. No le lascia dove sono."_s,
                    {u"la scheda, oppure le N schede"_s, u"le schede, una per riga"_s}};

    // Backup and restore.
    const QString backup = collection + u", pulsante "_s + kBackup;
    const QString restore = collection + u", pulsante "_s + kRestore;
    list << Message{Messages::backupSaved(u"%1"_s),
                    backup,
                    u"Il backup è stato scritto e riletto per intero senza errori."_s,
                    u"Nulla; conservare il file in un posto sicuro, lontano dal computer."_s,
                    {u"percorso del file"_s}}
         << Message{Transfer::backupWriteMessage(), backup,
                    u"Il file non si può scrivere nella cartella scelta: la cartella non è "
                    "scrivibile, il disco o la chiavetta sono pieni o sono stati tolti, oppure "
                    "il file scritto non ha superato la rilettura."_s,
                    u"Scegliere un'altra cartella, liberare spazio o ricollegare la chiavetta e "
                    "riprovare."_s}
         << Message{Messages::backupCancelled(), backup,
                    u"È stato premuto Annulla sulla barra di avanzamento."_s,
                    u"Nulla; il backup si può rifare in qualsiasi momento."_s}
         << Message{Messages::restoreQuestion(u"%1"_s, u"%2"_s, u"%3"_s, {{u"%4"_s, u"%5"_s}},
                                             u"%6"_s, u"%7"_s),
                    restore,
                    u"Domanda di conferma prima del ripristino, con ciò che il backup contiene "
                    "(una riga per ogni archivio di MOC)."_s,
                    u"Controllare data e contenuto: Sì ripristina il backup, No lascia tutto "
                    "com'è."_s,
                    {u"data"_s, u"ora"_s, u"numero"_s, u"archivio"_s, u"numero"_s, u"numero"_s,
                     u"numero"_s}}
         << Message{Messages::restoreDone(u"%1"_s),
                    restore,
                    u"La collezione è ora quella del backup."_s,
                    u"Nulla. Quando si è sicuri di non averne bisogno, la cartella indicata si "
                    "può eliminare dal gestore dei file. Al prossimo avvio vale la password del "
                    "backup."_s,
                    {u"percorso della cartella"_s}}
         << Message{Messages::restoreCancelled(),
                    restore, u"È stato premuto Annulla sulla barra di avanzamento."_s,
                    u"Nulla."_s}
         << Message{Transfer::notZipMessage(), restore,
                    u"Il file scelto non è un archivio zip, oppure è incompleto (una copia "
                    "interrotta) o danneggiato."_s,
                    u"Scegliere il file giusto, o una copia integra del backup."_s}
         << Message{Transfer::notBackupMessage(), restore,
                    u"Il file è un archivio zip, ma non è stato creato dal comando "_s + kBackup
                        + u" di Vetrinora."_s,
                    u"Scegliere un file «Vetrinora-backup-….zip». Una copia fatta a mano della "
                    "cartella dei dati si rimette a posto copiandola (capitolo «Copia di "
                    "sicurezza e ripristino»)."_s}
         << Message{Transfer::badNameMessage(u"%1"_s), restore,
                    u"Il backup contiene un file il cui nome porterebbe fuori dalla cartella dei "
                    "dati (ad esempio con «..» o un percorso assoluto): il file è stato alterato "
                    "e non viene aperto."_s,
                    u"Usare un altro backup."_s}
         << Message{Transfer::tooLargeMessage(u"%1"_s), restore,
                    u"Il backup dichiara o contiene un file più grande di quanto una collezione "
                    "possa avere: il file è stato alterato."_s,
                    u"Usare un altro backup."_s}
         << Message{Transfer::damagedMessage(QString()), restore,
                    u"Il backup non si legge per intero: è troncato o rovinato."_s,
                    u"Usare un'altra copia del backup."_s}
         << Message{Transfer::damagedMessage(u"%1"_s), restore,
                    u"Il file indicato del backup non supera il controllo: i suoi dati non sono "
                    "quelli scritti al momento del backup."_s,
                    u"Usare un'altra copia del backup."_s}
         << Message{Transfer::partialCardsMessage(u"%1"_s), restore,
                    u"Il file di schede indicato del backup non ha la lunghezza di un numero "
                    "intero di schede: è stato troncato o alterato, e l'ultima scheda andrebbe "
                    "persa o letta male."_s,
                    u"Usare un'altra copia del backup."_s, {u"nome del file"_s}}
         << Message{Transfer::restoreDiskFullMessage(), restore,
                    u"Il disco della cartella dei dati si è riempito mentre il backup veniva "
                    "scompattato; ciò che era già stato scompattato è stato tolto."_s,
                    u"Liberare spazio (il ripristino richiede almeno lo spazio del backup "
                    "scompattato) e riprovare."_s}
         << Message{Transfer::restoreMoveMessage(), restore,
                    u"I dati attuali non si possono spostare nella cartella "
                    "«Prima-del-ripristino-…», o il backup non si può scompattare, di solito "
                    "per mancanza di permessi sulla cartella dei dati."_s,
                    u"Controllare i permessi della cartella dei dati e riprovare."_s};

    // CSV export and import.
    const QString exporting = collection + u", pulsante "_s + kExportCsv;
    const QString importing = collection + u", pulsante "_s + kImportCsv;
    list << Message{Messages::cardsExportedToCsv(u"%1"_s), exporting,
                    u"Il file CSV è stato scritto (con una sola scheda il messaggio dice «"_s
                        + Messages::oneCardExportedToCsv() + u"»)."_s,
                    u"Nulla; il file si apre con LibreOffice Calc o Excel."_s, {u"numero"_s}}
         << Message{Transfer::exportFailedMessage(), exporting,
                    u"Il file CSV non si può scrivere: è aperto in un altro programma, il disco "
                    "è pieno o la cartella non è scrivibile."_s,
                    u"Chiudere il file nel foglio di calcolo, controllare spazio e permessi, "
                    "riprovare."_s}
         << Message{Messages::csvExportCancelled(),
                    exporting, u"È stato premuto Annulla sulla barra di avanzamento."_s,
                    u"Nulla."_s}
         << Message{Transfer::unreadableFileMessage(), importing,
                    u"Il file scelto non si può aprire o leggere (permessi, chiavetta tolta)."_s,
                    u"Controllare il file e riprovare."_s}
         << Message{Transfer::emptyFileMessage(), importing, u"Il file scelto non contiene "
                    "nulla."_s,
                    u"Scegliere il file giusto."_s}
         << Message{Transfer::notTextMessage(), importing,
                    u"Il file non è testo (ad esempio un foglio salvato nel formato proprio di "
                    "Excel o di LibreOffice, un'immagine, un archivio)."_s,
                    u"Salvare il foglio dal programma di fogli di calcolo come CSV e importare "
                    "quel file."_s}
         << Message{Transfer::headingOnlyMessage(), importing,
                    u"Il file ha la riga delle intestazioni ma nessuna riga di dati (o soltanto "
                    "righe vuote)."_s,
                    u"Controllare di aver salvato il foglio giusto."_s}
         << Message{Messages::raggedRow(u"%1"_s, u"%2"_s, u"%3"_s),
                    importing,
                    u"Una riga ha più o meno celle dell'intestazione, di solito per un "
                    "separatore in più o in meno scritto a mano."_s,
                    u"Correggere la riga indicata nel foglio di calcolo o in un editor di testo "
                    "e importare di nuovo."_s,
                    {u"numero della riga"_s, u"numero"_s, u"numero"_s}}
         << Message{Messages::badCsv(u"%1"_s), importing,
                    u"Una cella comincia con le virgolette e non le chiude, o ha virgolette in "
                    "mezzo al testo non raddoppiate."_s,
                    u"Correggere le virgolette della riga indicata (dentro una cella "
                    "racchiusa tra virgolette, le virgolette si scrivono doppie) e importare "
                    "di nuovo."_s,
                    {u"numero della riga"_s}}
         << Message{Messages::longCell(u"%1"_s), importing,
                    u"Una cella del file è più lunga di 1 MB: nessun campo di una scheda la può "
                    "contenere, e di solito è un file di altro tipo o un foglio rovinato."_s,
                    u"Accorciare la cella nel foglio di calcolo e importare di nuovo."_s,
                    {u"numero della riga"_s}}
         << Message{Transfer::nothingMappedMessage(), importing,
                    u"Nell'anteprima tutte le colonne sono su «(non importare)»."_s,
                    u"Scegliere il campo di almeno una colonna."_s}
         << Message{Messages::cardsImported(u"%1"_s) + u"\r\n\r\n"_s + Messages::cutCells(u"%2"_s)
                        + u"\r\n"_s + Messages::reportCell(u"%3"_s, u"%4"_s, u"%5"_s) + u"\r\n\r\n"_s
                        + Messages::unreadableValues(u"%6"_s) + u"\r\n"_s
                        + Messages::reportCell(u"%7"_s, u"%8"_s, u"%9"_s),
                    importing,
                    u"Il resoconto dell'importazione: le schede aggiunte e, se ce ne sono, le "
                    "celle tagliate e i valori non letti (con una sola scheda la prima riga "
                    "dice «"_s + Messages::oneCardImported() + u"»)."_s,
                    u"Aprire dalla finestra Collezione le schede delle righe elencate e "
                    "completarle a mano."_s,
                    {u"numero"_s, u"numero"_s, u"riga"_s, u"colonna"_s, u"testo"_s, u"numero"_s,
                     u"riga"_s, u"colonna"_s, u"testo"_s}}
         << Message{Messages::replacedInImport(u"%1"_s) + u"\r\n"_s
                        + Messages::reportCell(u"%2"_s, u"%3"_s, u"%4"_s),
                    importing,
                    u"Una parte del resoconto: celle con caratteri che le schede non possono "
                    "contenere, ciascuna con le sostituzioni fatte (una lettera accentata diventa "
                    "la stessa lettera senza accento, ogni altro carattere un punto "
                    "interrogativo)."_s,
                    u"Aprire dalla finestra Collezione le schede delle righe elencate e "
                    "correggerle a mano, se serve."_s,
                    {u"numero"_s, u"riga"_s, u"colonna"_s, u"sostituzioni"_s}}
         << Message{Transfer::readAsWindows1252Message(), importing,
                    u"Una parte del resoconto: il file sembrava scritto in UTF-8, ma più avanti "
                    "contiene caratteri che in UTF-8 non sono validi; è stato quindi letto tutto "
                    "come testo Windows-1252, la codifica dei file CSV salvati da Excel."_s,
                    u"Se le lettere accentate delle schede importate non sono giuste, salvare "
                    "di nuovo il file come CSV UTF-8 dal foglio di calcolo, eliminare le schede "
                    "importate e importarlo di nuovo."_s}
         << Message{Messages::importCancelled(),
                    importing, u"È stato premuto Annulla sulla barra di avanzamento."_s,
                    u"Nulla: il catalogo è com'era."_s}
         << Message{Messages::skippedCards(u"%1"_s), importing,
                    u"Una riga del resoconto: con «Salta le schede già presenti» segnata, le "
                    "righe del file che corrispondono a schede già nel catalogo non sono state "
                    "importate."_s,
                    u"Nulla; per importarle comunque, togliere il segno nell'anteprima e "
                    "importare di nuovo."_s,
                    {u"numero"_s}}
         << Message{Transfer::notSheetMessage(), importing,
                    u"Il file è un file zip ma non un foglio .ods o .xlsx leggibile: è "
                    "danneggiato, incompleto o di un altro tipo."_s,
                    u"Aprire il file nel programma di fogli di calcolo e salvarlo di nuovo come "
                    ".ods, .xlsx o CSV, poi importare quel file."_s};
    const QString exportingXlsx = collection + u", pulsante Esporta Excel..."_s;
    list << Message{Messages::cardsExportedToExcel(u"%1"_s), exportingXlsx,
                    u"Il file .xlsx è stato scritto (con una sola scheda il messaggio dice «"_s
                        + Messages::oneCardExportedToExcel() + u"»)."_s,
                    u"Nulla; il file si apre con LibreOffice Calc o Excel."_s, {u"numero"_s}}
         << Message{Transfer::xlsxFailedMessage(), exportingXlsx,
                    u"Il file .xlsx non si può scrivere: è aperto in un altro programma, il "
                    "disco è pieno o la cartella non è scrivibile."_s,
                    u"Chiudere il file nel foglio di calcolo, controllare spazio e permessi, "
                    "riprovare."_s}
         << Message{Messages::excelExportCancelled(),
                    exportingXlsx, u"È stato premuto Annulla sulla barra di avanzamento."_s,
                    u"Nulla."_s}
         << Message{Transfer::moduleMissingMessage(),
                    collection + u", pulsanti "_s + kBackup + u", "_s + kRestore + u", "_s
                        + kImportCsv + u" (fogli .ods e .xlsx) ed Esporta Excel..."_s,
                    u"Il file vetrinora_formats, che il programma apre per scrivere e leggere i "
                    "backup e i fogli di calcolo, manca dall'installazione o non si può caricare; "
                    "il motivo è scritto nel registro del programma."_s,
                    u"Reinstallare Vetrinora; le schede e le foto non ne sono toccate."_s};
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
    list << Chapter{u"La finestra Collezione"_s, collectionChapter(help)};
    list << Chapter{u"Esportare e importare file CSV"_s, csvChapter(help)};
    list << Chapter{u"Dove si trova la collezione su Linux"_s, dataFolderChapter()};
    list << Chapter{u"Copia di sicurezza e ripristino"_s, backupChapter(help)};
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
            u"in_vendita.png"_s,   u"stampa.png"_s,       u"esporta.png"_s,
            u"collezione.png"_s,   u"galleria.png"_s,     u"importa.png"_s,
            u"statistiche.png"_s};
}

} // namespace Guida
