#include "core/app/HelpTopics.h"

namespace HelpTopics {

// The topics of the collection window and its commands. The user manual
// prints the same paragraphs in its chapters, so that the two never differ.
Topic collection()
{
    return {QStringLiteral("La finestra Collezione"),
            {QStringLiteral(
                 "La finestra Collezione mostra in un'unica tabella tutte le schede del Catalogo "
                 "BLOKKO, di un archivio di MOC o dell'intera collezione, una riga per scheda, con "
                 "i totali sempre in vista. Si apre dalla voce Collezione in basso a destra nella "
                 "schermata di partenza, dal pulsante della tabella nella barra della scheda dei "
                 "set, oppure con i tasti Ctrl+L. La finestra si ingrandisce e si rimpicciolisce "
                 "come ogni finestra e ricorda dimensioni e posizione; Esc la chiude, F1 apre "
                 "questa guida e Tab passa dalla tabella ai pulsanti (dentro la tabella ci si "
                 "muove con le frecce). Il pulsante Chiudi riporta alla finestra da cui la si è "
                 "aperta."),
             QStringLiteral(
                 "Nella casella Catalogo si sceglie che cosa mostrare: «Catalogo BLOKKO», uno "
                 "degli archivi di MOC della cartella dei dati, oppure «Tutta la collezione», cioè "
                 "tutte le schede di tutti i file, con una prima colonna Archivio che dice a quale "
                 "catalogo o archivio appartiene ciascuna. Le colonne sono i campi della scheda; il "
                 "pulsante Colonne... apre l'elenco dei campi, in cui si tolgono o si rimettono le "
                 "colonne. La scelta è ricordata, separatamente per il catalogo dei set, per gli "
                 "archivi di MOC e per la collezione intera, nel file «Collezione.ini» della "
                 "cartella dei dati."),
             QStringLiteral(
                 "Un clic sull'intestazione di una colonna ordina le schede secondo quella "
                 "colonna; un secondo clic inverte l'ordine. Anno di uscita, numero dei pezzi, "
                 "valore e costo sono ordinati come numeri (2 prima di 10, 1008 prima di 10000); "
                 "le date, come la data di acquisto, in ordine di data (scritte come 31/12/2024, "
                 "1/3/24, 2024-12-31 o 12/2024); pesi, dimensioni, tempi ed età secondo il numero "
                 "con cui cominciano («1,2 kg» prima di «10 kg», «40x30» prima di «120x80»); gli "
                 "altri testi in ordine alfabetico italiano, con le lettere accentate al loro "
                 "posto e senza distinguere maiuscole e minuscole. Quello che non si legge come "
                 "data o come numero viene dopo, in qualunque verso si ordini. Le schede uguali "
                 "nella colonna scelta restano nell'ordine precedente, così che si può ordinare "
                 "prima per tema e poi per anno."),
             QStringLiteral(
                 "Nella casella accanto alla scelta del catalogo («Filtra: scrivi una parola di "
                 "qualsiasi campo») si scrive una parola: la tabella mostra, mentre si scrive, "
                 "soltanto le schede che la contengono in uno qualsiasi dei campi, senza "
                 "distinguere maiuscole, minuscole e lettere accentate («citta» trova anche "
                 "«Città»). A destra della casella il conteggio dice quante schede sono mostrate "
                 "su quante, ad esempio «2 schede su 3». La crocetta nella casella toglie il "
                 "filtro."),
             QStringLiteral(
                 "Sotto la tabella tre righe riportano il numero delle schede, il loro valore (la "
                 "somma del campo Valore dei set o del campo Costo totale delle MOC, scritta con "
                 "il punto delle migliaia, ad esempio 41.144,18 €) e quante sono in vendita, con "
                 "il loro valore: la prima riga per le schede selezionate, la seconda per le "
                 "schede filtrate, la terza per tutto il catalogo o l'archivio scelto, o per "
                 "tutta la collezione. In una collezione molto grande le righe della tabella "
                 "compaiono subito e i totali un istante dopo: nel frattempo le righe dei totali "
                 "dicono «calcolo dei valori in corso...»."),
             QStringLiteral(
                 "Un importo che il programma non riesce a leggere (ad esempio un testo, o un "
                 "numero scritto con il punto delle migliaia come «1.234,50» in una scheda "
                 "importata) non viene sommato come zero senza dirlo: la riga del totale aggiunge "
                 "«(1 importo illeggibile non sommato)» o «(N importi illeggibili non sommati)» e "
                 "una riga in rosso, che comincia con «Importi illeggibili:», nomina le schede e "
                 "il testo che contengono. Per correggerle si apre la scheda, si riscrive "
                 "l'importo e si salva.")}};
}

Topic bin()
{
    return {QStringLiteral("Il Cestino"),
            {QStringLiteral(
                 "Le schede dei set e delle MOC non si eliminano dalle finestre delle schede; "
                 "nella finestra Collezione invece si possono eliminare le schede di troppo (un "
                 "set venduto, una scheda inserita due volte): selezionate le schede, il pulsante "
                 "Elimina (o il tasto Canc) le sposta, dopo una conferma, con le loro foto nel "
                 "Cestino. Le schede che le seguivano salgono di posto e le loro foto cambiano "
                 "nome di conseguenza."),
             QStringLiteral(
                 "Il pulsante Cestino... elenca le eliminazioni, dalla più vecchia alla più "
                 "recente, con la data, il catalogo o l'archivio e il primo campo delle schede. Si "
                 "sceglie un'eliminazione e si preme Ripristina: le sue schede tornano, con le "
                 "loro foto, in fondo al catalogo o all'archivio da cui erano state tolte (quindi "
                 "con un numero nuovo)."),
             QStringLiteral(
                 "Elimina definitivamente toglie dal Cestino l'eliminazione scelta, Svuota "
                 "cestino le toglie tutte: prima il programma chiede conferma nominando le schede "
                 "che saranno perse. Da quel momento quelle schede e le loro foto non si possono "
                 "più ripristinare, se non da un backup."),
             QStringLiteral(
                 "Un'eliminazione o un ripristino interrotti a metà (il computer si spegne, il "
                 "programma viene chiuso a forza) vengono completati o annullati al successivo "
                 "avvio: ogni scheda si ritrova intera, nel suo archivio o nel Cestino, con la sua "
                 "foto.")}};
}

Topic backup()
{
    return {QStringLiteral("Copia di sicurezza e ripristino"),
            {QStringLiteral(
                 "Conviene fare con regolarità una copia di sicurezza della collezione e tenerla "
                 "su un disco diverso da quello del computer (un disco esterno o una chiavetta "
                 "USB). Vetrinora la fa in un solo passo, con il comando «Backup...» della "
                 "finestra Collezione (Alt+B), e la rimette al suo posto con il comando "
                 "«Ripristina backup...» (Alt+R)."),
             QStringLiteral(
                 "Il backup è un normale archivio zip con tutti i dati della cartella dei dati: "
                 "il catalogo dei set «Catalogo_BLOKKO.pro», gli archivi di MOC «*.moc», le "
                 "cartelle «Schedario», «Foto_MOC» e «Documenti_Allegati», il Cestino e il file "
                 "della password «unins000.dll». Non contiene i fogli di Excel esportati né le "
                 "impostazioni delle colonne della finestra Collezione. Il ripristino non cancella "
                 "nulla: i dati in uso vengono spostati, interi, in una cartella "
                 "«Prima-del-ripristino-...» della cartella dei dati.")}};
}

Topic spreadsheets()
{
    return {QStringLiteral("File CSV e fogli di calcolo"),
            {QStringLiteral(
                 "Un file CSV è un foglio di calcolo scritto come testo, una riga per scheda e una "
                 "colonna per campo: LibreOffice Calc, Excel e quasi tutti i programmi di "
                 "catalogazione lo aprono e lo scrivono. Con i comandi «Esporta CSV...» (Alt+E) e "
                 "«Importa CSV...» (Alt+I) della finestra Collezione le schede escono da "
                 "Vetrinora verso un foglio di calcolo ed entrano in Vetrinora da un foglio "
                 "preparato altrove."),
             QStringLiteral(
                 "L'esportazione prende il catalogo o l'archivio mostrato (soltanto le schede "
                 "filtrate, se c'è un filtro); l'importazione chiede il catalogo o l'archivio da "
                 "riempire, oppure un archivio nuovo, e mostra prima un'anteprima in cui si "
                 "sceglie a quale campo va ciascuna colonna e si vedono le celle che saranno "
                 "tagliate o che non si leggono.")}};
}

QString separator() { return QStringLiteral("\r\n\r\n"); }

QString Topic::text() const { return paragraphs.join(separator()); }

namespace {

QStringList setParagraphs()
{
    return {
        QStringLiteral(
            "L'app Catalogo BLOKKO permette di catalogare tutti i set BLOKKO presenti nella "
            "propria collezione creando dettagliate schede tecniche corredate di foto. Ogni scheda "
            "raccoglie il nome del set, il tema di appartenenza (ad esempio Fantasy, Sci-fi, "
            "Medievale, City o Space), le minifigure incluse, il codice del set, l'anno di uscita, "
            "il numero dei pezzi, il peso e le dimensioni della scatola, gli eventuali pezzi "
            "mancanti, il luogo e lo stato di conservazione, l'età consigliata, la data di "
            "acquisto e il valore del set."),
        QStringLiteral(
            "E' inoltre presente il campo \"Note\", nel quale è possibile annotare qualsiasi "
            "informazione aggiuntiva sul set. Utilizzato come filtro di ricerca, questo campo "
            "consente di elencare tutte le schede che contengono le parole cercate."),
        QStringLiteral(
            "Per inserire una scheda in archivio, bisogna fare clic sul pulsante Nuovo, compilare "
            "i campi di testo che interessano e premere il pulsante Salva. Il nome del set, il "
            "tema, il codice del set e l'anno di uscita sono dati obbligatori. Per modificare una "
            "scheda già salvata è sufficiente visualizzarla con le frecce di scorrimento oppure "
            "con la funzione di ricerca, apportare le modifiche desiderate e premere di nuovo il "
            "pulsante Salva."),
        QStringLiteral(
            "Il pulsante Duplica è utile se si ha bisogno di registrare due o più schede con dati "
            "molto simili perché riferite, ad esempio, a set BLOKKO affini per tema o per "
            "tipologia di costruzione. Basta visualizzare la scheda di partenza, premere il "
            "pulsante Duplica, inserire i nuovi dati e premere il pulsante Salva: la scheda "
            "originale resta invariata."),
        QStringLiteral(
            "Per trovare un set BLOKKO in archivio bisogna fare clic sull'apposito pulsante, "
            "inserire uno o più filtri di ricerca nei campi prescelti e, infine, premere il "
            "pulsante Cerca. La ricerca funziona anche con chiave parziale, cioè indicando una o "
            "più parole consecutive contenute nel campo; con un doppio clic su una voce "
            "dell'elenco dei risultati si apre la scheda corrispondente."),
        QStringLiteral(
            "Il pulsante Carica foto permette di inserire l'immagine del set BLOKKO in formato "
            "Jpeg o Bitmap nella scheda tecnica descrittiva, ad esempio la foto della scatola del "
            "set BLOKKO, chiusa o aperta, con i pezzi visibili al suo interno. La foto viene "
            "ridotta in scala per adattarsi al riquadro di anteprima, può essere visualizzata a "
            "tutto schermo con l'icona della lente, salvata su disco oppure cancellata."),
        QStringLiteral(
            "Con il pulsante Allega file è possibile allegare documenti di qualsiasi genere alla "
            "scheda di ciascun set BLOKKO (ad esempio, documenti contenenti istruzioni per il "
            "montaggio)."),
        QStringLiteral(
            "La casella \"In vendita\" serve a contrassegnare i set che il collezionista è "
            "disposto a vendere: il pulsante con la mano e la moneta elenca tutti i set in "
            "vendita. Quando un set viene venduto, la sua scheda può essere sovrascritta con i "
            "dati di un altro set."),
        QStringLiteral(
            "La scheda tecnica descrittiva completa di foto di ciascun set BLOKKO può essere "
            "stampata su carta, mentre l'intero catalogo dei set può essere esportato in un file "
            "di Excel."),
    };
}

QStringList archiveParagraphs()
{
    return {
        QStringLiteral(
            "Per la gestione delle MOC, la schermata di partenza del software dà accesso a due "
            "ambienti di lavoro: il primo permette di creare una nuova collezione di MOC, mentre "
            "il secondo va usato per aprire e compilare una collezione esistente. Il primo passo "
            "consiste quindi nel premere il pulsante dell'ambiente desiderato."),
        QStringLiteral(
            "Il fatto che tutti i file degli archivi sono posizionati nella cartella di "
            "installazione del programma rende molto semplice realizzare una copia di sicurezza "
            "delle raccolte di MOC. Basta copiare l'intera cartella del programma su un disco "
            "esterno o su una chiavetta USB; per ripristinare i dati è sufficiente sovrascrivere "
            "la cartella di installazione con la copia."),
        QStringLiteral(
            "Per generare un nuovo archivio di MOC bisogna fare clic sul pulsante Crea archivio "
            "MOC, indicarne il nome per esteso nell'apposito campo di testo presente nella "
            "schermata che appare e confermare l'operazione servendosi del pulsante in calce."),
        QStringLiteral(
            "Quando si crea una nuova collezione di MOC si genera un file di archivio nella "
            "cartella del programma caratterizzato dall'estensione MOC. Ogni archivio può "
            "contenere un numero illimitato di schede, ciascuna con due foto. Conviene dare agli "
            "archivi nomi descrittivi, che richiamino ad esempio l'ambientazione, la tecnica "
            "costruttiva (SNOT, studs up, mosaico) o lo scopo della raccolta."),
        QStringLiteral(
            "Una volta indicato il nome della collezione di MOC nell'apposita casella di testo, "
            "l'utente dovrà confermare l'operazione premendo il pulsante Applica e chiudi. "
            "Tornati alla schermata di partenza, il pulsante Apri archivio MOC mostra l'elenco "
            "degli archivi esistenti: basta fare clic sul nome desiderato e premere il pulsante "
            "Apri archivio."),
        QStringLiteral(
            "L'icona del cestino consente di eliminare la collezione di MOC selezionata. Va usata "
            "con cautela, perché un archivio eliminato non può più essere recuperato."),
    };
}

QStringList mocParagraphs()
{
    return {
        QStringLiteral(
            "L'app Archivio MOC consente di organizzare e gestire in modo completo e strutturato "
            "le proprie creazioni originali realizzate utilizzando mattoncini BLOKKO. Ogni "
            "archivio può contenere un numero illimitato di schede, alle quali è possibile "
            "allegare file; le MOC possono essere segnate come in vendita, ricercate con filtri "
            "multipli, visualizzate in anteprima e stampate, mostrate in uno slide show di tutte "
            "le foto ed esportate con l'intero archivio in un file di Excel."),
        QStringLiteral(
            "Ogni scheda può essere corredata di due immagini (normalmente, due foto della "
            "stessa MOC da angolazioni diverse) e da informazioni riguardanti il nome del "
            "progetto, il codice ID, il tema di appartenenza (ad esempio Castelli, Spazio, Città "
            "o Treni), il designer, la descrizione, il livello di difficoltà, l'età consigliata, "
            "la scala, le dimensioni e il peso dell'opera, il costo totale, il numero dei pezzi "
            "utilizzati, il tempo totale di montaggio, il documento con le istruzioni, la tecnica "
            "principale, i colori predominanti, la struttura di supporto, i set BLOKKO usati, lo "
            "stato del progetto e il luogo di conservazione."),
        QStringLiteral(
            "Il campo \"Note\" accoglie ogni informazione aggiuntiva, come aneddoti sulla "
            "costruzione o il riutilizzo dei pezzi di altri set, e funziona anche come filtro di "
            "ricerca."),
        QStringLiteral(
            "Per inserire una scheda in archivio, bisogna fare clic sul pulsante Nuovo, compilare "
            "i campi di testo che interessano e premere il pulsante Salva. Il nome del progetto, "
            "il codice ID, il tema, il designer e il numero totale dei pezzi sono dati "
            "obbligatori. Per modificare una scheda basta visualizzarla, apportare le modifiche e "
            "premere di nuovo il pulsante Salva."),
        QStringLiteral(
            "Spuntando la casella \"In vendita\" la MOC entra nell'elenco delle opere in "
            "vendita, che il pulsante con la mano e la moneta mostra in qualsiasi momento."),
        QStringLiteral(
            "Per allegare le due foto della MOC, basta acquisirle e salvarle in formato Jpeg e "
            "importarle una alla volta all'interno della scheda utilizzando il pulsante Sfoglia. "
            "Le foto possono anche essere scattate con la webcam: si preme Accendi webcam, poi "
            "Cattura foto e infine Importa foto in scheda; la foto entra a far parte della scheda "
            "quando si preme il pulsante Salva."),
        QStringLiteral(
            "Le due foto della MOC abbinate alla scheda vengono ridotte in scala automaticamente "
            "per adeguarsi alle dimensioni dei riquadri di anteprima. L'icona della lente le "
            "mostra a tutto schermo; una foto può anche essere salvata su disco, ritoccata con un "
            "altro programma e caricata di nuovo con il pulsante Sfoglia."),
        QStringLiteral(
            "Il pulsante Slide Show mostra in sequenza ad intervalli di qualche secondo e a "
            "schermo intero tutte le prime foto di ciascuna scheda delle MOC presenti "
            "nell'archivio corrente. Dopo l'ultima foto la sequenza ricomincia dall'inizio; un "
            "clic in un punto qualsiasi dello schermo la interrompe."),
        QStringLiteral(
            "Utilizzando il pulsante con l'icona della graffetta, è possibile allegare file di "
            "qualsiasi genere alla scheda di ciascuna MOC, ad esempio il documento con le "
            "istruzioni per il montaggio o una foto del designer."),
        QStringLiteral(
            "Dopo aver salvato le schede, il software consente di effettuare ricerche avanzate "
            "in archivio funzionanti anche con chiave parziale, ossia indicando una o più parole "
            "consecutive contenute in un qualsiasi campo. È possibile compilare più filtri "
            "contemporaneamente, ad esempio per trovare tutte le MOC di un certo tema, di un "
            "designer o costruite con un determinato set."),
        QStringLiteral(
            "E' inoltre possibile esportare i dati testuali di ciascun archivio in un foglio di "
            "Excel per poterli condividere con chi non possiede Vetrinora. Le singole schede, "
            "complete di foto, possono essere stampate o visualizzate in anteprima di stampa."),
    };
}

QStringList exportParagraphs(const QString &what)
{
    return {
        QStringLiteral("Il pulsante Esporta archivio consente di esportare ") + what
            + QStringLiteral(" in un foglio di lavoro di Microsoft Excel, che potrà essere aperto "
                             "con qualsiasi software in grado di gestire i file in formato XLS "
                             "(ad esempio, con Open Office, Libre Office o Microsoft Office)."),
        QStringLiteral(
            "Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic "
            "sull'icona di Excel. Il programma crea subito un file in formato XLS con tutte le "
            "schede, che può essere aperto rispondendo sì alla domanda che compare al termine "
            "dell'esportazione."),
        QStringLiteral(
            "A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli "
            "un nome qualsiasi."),
    };
}

} // namespace

Topic setEditor() { return {QStringLiteral("App Catalogo BLOKKO"), setParagraphs()}; }

Topic mocEditor() { return {QStringLiteral("App Archivio MOC"), mocParagraphs()}; }

Topic archives()
{
    return {QStringLiteral("Creazione e apertura archivi MOC"), archiveParagraphs()};
}

Topic setExport()
{
    return {QStringLiteral("Esportazione catalogo BLOKKO in Excel"),
            exportParagraphs(QStringLiteral("il catalogo dei set BLOKKO"))};
}

Topic mocExport()
{
    return {QStringLiteral("Esportazione archivio MOC in Excel"),
            exportParagraphs(QStringLiteral("i dati testuali presenti nell'archivio delle MOC"))};
}

Topic statistics()
{
    return {QStringLiteral("Statistiche della collezione"),
            {QStringLiteral(
                 "Il pulsante Statistiche (Alt+S) della finestra Collezione apre le statistiche delle "
                 "schede mostrate: il catalogo dei set, un archivio MOC oppure tutta la collezione, "
                 "come scelto nella casella Catalogo. Se nella finestra Collezione è scritto un filtro, "
                 "le statistiche contano soltanto le schede che il filtro lascia nella tabella."),
             QStringLiteral(
                 "Ogni scheda della finestra Statistiche mostra un grafico e, accanto, una tabella con "
                 "gli stessi numeri: il valore e il numero delle schede per tema (dal tema di maggior "
                 "valore), per anno di uscita e per anno di acquisto dei set, la parte del valore in "
                 "vendita, le dieci schede di maggior valore, le MOC per designer e per stato del "
                 "progetto. In alto si leggono il numero delle schede, il valore totale, la parte in "
                 "vendita e il numero totale dei pezzi."),
             QStringLiteral(
                 "L'anno di acquisto si ricava dal campo Data acquisto quando contiene una data, "
                 "scritta ad esempio 25/12/2019, 5/3/19, 2019-12-25 oppure 12/2019; i set senza una "
                 "data leggibile sono contati a parte. Gli importi che non si leggono come cifre in "
                 "euro non vengono sommati: il riepilogo dice quante sono le schede che li contengono."),
             QStringLiteral(
                 "Il pulsante Copia copia negli appunti le celle scelte della tabella (oppure tutta la "
                 "tabella, se non è scelta nessuna cella), separate da tabulazioni, pronte per un "
                 "foglio di calcolo. Il pulsante Stampa stampa un grafico per pagina in formato A4 "
                 "con la sua tabella; il pulsante Salva come immagine o PDF salva tutti i grafici in "
                 "un'immagine PNG oppure in un documento PDF, a seconda del tipo di file scelto. Il "
                 "tasto F1 apre questa guida, il tasto Esc chiude la finestra; la finestra ricorda la "
                 "sua posizione e le sue dimensioni."),
            }};
}

Topic startScreen()
{
    QStringList p;
    p << QStringLiteral(
        "Vetrinora è un software pensato per organizzare, catalogare e valorizzare ogni singolo "
        "mattoncino della propria collezione, dai set ufficiali BLOKKO alle MOC più complesse e "
        "originali.");
    p << QStringLiteral(
        "Come è noto, Il termine MOC è l'acronimo di My Own Creation (letteralmente \"La mia "
        "creazione\") e indica un modello progettato e costruito da zero, senza seguire le "
        "istruzioni del produttore, utilizzando pezzi sfusi provenienti da set diversi.");
    p << QStringLiteral(
        "Gestire una collezione BLOKKO, soprattutto quando si passa dai set commerciali alle MOC, "
        "può diventare rapidamente complesso: set multipli, migliaia di mattoncini sfusi suddivisi "
        "per forma e colore, istruzioni cartacee o digitali da conservare, e la costante necessità "
        "di non perdere traccia dell'inventario. Vetrinora nasce proprio per questo: un unico "
        "strumento per catalogare i set ufficiali e per tenere in ordine le raccolte delle proprie "
        "MOC.");
    p << setParagraphs() << archiveParagraphs() << mocParagraphs();
    p << QStringLiteral(
        "Tutti gli archivi di Vetrinora possono essere esportati in un file di Microsoft Excel "
        "utilizzando una semplice funzione accessibile con pochi clic del mouse. Il foglio "
        "ottenuto si apre con qualsiasi programma in grado di leggere i file XLS, come Open "
        "Office, Libre Office o Microsoft Office.");
    p << QStringLiteral(
        "Vetrinora può essere utilizzato anche in una rete locale se si ha necessità di "
        "condividere gli archivi fra più postazioni di lavoro.");
    p << QStringLiteral(
        "Conformemente alla normativa sulla privacy, l'accesso al software è protetto da una "
        "password che deve essere costituita da almeno otto caratteri e che può essere cambiata "
        "dall'utente autorizzato tutte le volte che desidera. Per il primo accesso, e dopo ogni "
        "installazione, si deve utilizzare la password \"pergamenaverde\" (scritta senza le "
        "virgolette).");
    p << QStringLiteral(
        "Vetrinora funziona anche su chiavetta USB. Basta copiare la cartella del programma su "
        "una pen drive e avviare il programma da lì; copiare la cartella è anche il modo più "
        "rapido per fare una copia di sicurezza di tutti i dati.");
    p << QStringLiteral(
        "Vetrinora è quindi il software ideale per gli appassionati di BLOKKO e per i creatori di "
        "MOC che desiderano descrivere, fotografare e conservare in modo ordinato tutte le "
        "proprie creazioni realizzate con mattoncini e minifigure, oltre a catalogare in maniera "
        "precisa i set BLOKKO della propria collezione. Il suo utilizzo non richiede "
        "praticamente alcun tempo di apprendimento.");
    return {QStringLiteral("Uno sguardo a Vetrinora"), p};
}

} // namespace HelpTopics
