#include "ui/cards/EditorConfig.h"

#include "core/cards/PhotoNames.h"
#include "core/cards/Schede.h"

namespace {

// ---- set card editor --------------------------------------------------

constexpr FieldPlace kSetFields[] = {
    {"txtMunizioni", 620, 164, 344},
    {"txtArma", 620, 212, 344},
    {"txtAccessori", 620, 260, 344},
    {"txtCalibro", 620, 308, 168},
    {"txtAnno", 796, 308, 168},
    {"txtMatricola", 620, 356, 168},
    {"txtPeso", 796, 356, 168},
    {"txtComponenti", 620, 404, 344},
    {"txtDimensioni", 620, 452, 344},
    {"txtLuogo", 620, 500, 344},
    {"txtProprietario", 620, 548, 344},
    {"txtCodFisc", 620, 596, 168},
    {"txtRecapito", 796, 596, 168},
    {"txtNote", 30, 596, 583},
    {"chkSegnala", 508, 561, 0},
    {"txtPrezzo", 464, 512, 141, LabelPlace::Left},
};

constexpr MandatoryField kSetMandatory[] = {
    {"txtMunizioni", "Attenzione: per salvare la scheda è necessario indicare il nome del set BLOKKO."},
    {"txtArma", "Attenzione: per salvare la scheda è necessario indicare il tema del set BLOKKO."},
    {"txtCalibro", "Attenzione: per salvare la scheda è necessario indicare il codice del set BLOKKO."},
    {"txtAnno", "Attenzione: per salvare la scheda è necessario indicare l'anno di uscita del set BLOKKO."},
    {"txtPrezzo", "Attenzione: per salvare la scheda è necessario indicare il valore del set BLOKKO."},
};

constexpr std::string_view kSetBands[] = {"shpNuovo", "shpAnteprima", "shpStampa", "shpRecord",
                                          "shpRiepiloghi", "shpEsci", "shpCollezione"};

constexpr ToolItem kSetTools[] = {
    {0, "cmdNuovo", ":/images/cmd_nuovo.svg", "Prepara la schermata per l'inserimento di una nuova scheda.", 40, "Ctrl+N"},
    {0, "cmdDuplica", ":/images/cmd_duplica.svg", "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.", 40, "Ctrl+D"},
    {0, "cmdSalva", ":/images/cmd_salva.svg", "Salva la scheda in archivio.", 40, "Ctrl+S"},
    {0, "cmdTrova", ":/images/cmd_trova.svg", "Trova una scheda in archivio.", 40, "Ctrl+F"},
    {1, "cmdFile", ":/images/cmd_file.svg", "Allega file alla scheda.", 100},
    {2, "cmdStampa", ":/images/cmd_stampa.svg", "Stampa la scheda.", 100, "Ctrl+P"},
    {3, "cmdPrimo", ":/images/cmd_primo.svg", "Visualizza la prima scheda in archivio.", 40, "Alt+Home"},
    {3, "cmdIndietro", ":/images/cmd_indietro.svg", "Visualizza la scheda precedente in archivio.", 40, "Alt+Left; PgUp"},
    {3, "lblPosizione", nullptr, "", 74},
    {3, "cmdAvanti", ":/images/cmd_avanti.svg", "Visualizza la scheda successiva in archivio.", 40, "Alt+Right; PgDown"},
    {3, "cmdUltimo", ":/images/cmd_ultimo.svg", "Visualizza l'ultima scheda in archivio.", 40, "Alt+End"},
    {4, "cmdEsporta", ":/images/cmd_esporta.svg", "Esporta le schede in archivio in un file di Excel.", 40, "Ctrl+E"},
    {4, "cmdSegnalati", ":/images/cmd_vendita.svg", "Visualizza il riepilogo dei set BLOKKO in vendita.", 40},
    {5, "cmdGuida", ":/images/cmd_guida.svg", "Visualizza la pagina della guida sensibile al contesto.", 40, "F1"},
    {5, "cmdEsci", ":/images/cmd_esci.svg", "Esci da questa schermata di lavoro.", 40},
    {6, "cmdCollezione", ":/images/cmd_collezione.svg", "Visualizza tutte le schede della collezione in una tabella.", 40, "Ctrl+L"},
};

constexpr PhotoSlot kSetPhotos[] = {
    {"imgFoto", "imgBianco", QRect(38, 102, 567, 378), "btnCaricaFoto", "", "btnSalvaFoto",
     "btnCancFoto", "btnZoomFoto", true},
};

static_assert(std::size(kSetPhotos) == PhotoNames::kSetSlots);

constexpr std::string_view kSetBlankers[] = {
    "panContainer", "shpContainer", "shpNuovo", "shpStampa", "shpAnteprima", "shpRecord",
    "shpRiepiloghi", "shpEsci", "shpSezione01", "shpSfondo", "shpFoto", "imgFoto",
    "bkgPulsantiFoto", "bkgPrezzo", "icoTitolo", "bkgSegnala", "icoSegnala"};

const Decoration kSetDecorations[] = {
    {"shpSfondo", QRect(8, 68, 980, 616), nullptr},
    {"shpFoto", QRect(30, 94, 583, 394), nullptr, QColor(0xEE, 0xF4, 0xFA)},
    {"bkgPulsantiFoto", QRect(30, 488, 184, 48), nullptr, QColor(0xEE, 0xF4, 0xFA)},
    {"bkgPrezzo", QRect(352, 504, 261, 38), nullptr, QColor(0xEE, 0xF4, 0xFA)},
    {"bkgSegnala", QRect(464, 552, 149, 38), nullptr, QColor(0xEE, 0xF4, 0xFA)},
    {"icoSegnala", QRect(472, 557, 28, 28), ":/images/vendita.svg"},
    {"shpSezione01", QRect(612, 78, 368, 548), nullptr, QColor(0xF7, 0xFA, 0xFD)},
    {"icoTitolo", QRect(620, 86, 40, 40), ":/images/titolo_set.svg"},
};

// ---- MOC card editor --------------------------------------------------

constexpr FieldPlace kMocFields[] = {
    {"txtTitolo", 462, 148, 300},
    {"txtTipologia", 770, 148, 192},
    {"txtEditore", 462, 194, 300},
    {"txtSerie", 770, 194, 192},
    {"txtDescrizione", 462, 240, 500},
    {"txtAnno", 462, 286, 124},
    {"txtValore", 594, 286, 168},
    {"txtDimensioni", 770, 286, 192},
    {"txtCarta", 462, 332, 300},
    {"txtRarita", 770, 332, 192},
    {"txtMittente", 462, 378, 246},
    {"txtIndirizzoMit", 716, 378, 246},
    {"txtDestinatario", 462, 424, 246},
    {"txtIndirizzoDes", 716, 424, 246},
    {"txtTesto", 462, 470, 500},
    {"txtData", 462, 516, 144},
    {"txtFrancobollo", 614, 516, 148},
    {"txtTimbro", 770, 516, 192},
    {"txtStato", 462, 562, 212},
    {"txtLuogo", 682, 562, 280},
    {"txtNote", 506, 598, 290, LabelPlace::Left},
    {"chkInVendita", 858, 596, 0},
};

constexpr MandatoryField kMocMandatory[] = {
    {"txtTitolo", "Attenzione: per salvare la scheda è necessario indicare il nome del progetto."},
    {"txtTipologia", "Attenzione: per salvare la scheda è necessario indicare il codice ID del progetto."},
    {"txtEditore", "Attenzione: per salvare la scheda è necessario indicare il tema della MOC."},
    {"txtSerie", "Attenzione: per salvare la scheda è necessario indicare il designer della MOC."},
    {"txtDimensioni", "Attenzione: per salvare la scheda è necessario indicare il numero totale di pezzi utilizzati."},
};

constexpr std::string_view kMocBands[] = {"shpPulsanti01", "shpPulsanti02", "shpPulsanti03",
                                          "shpPulsanti04", "shpPulsanti05", "shpPulsanti06",
                                          "shpPulsanti07"};

constexpr ToolItem kMocTools[] = {
    {0, "cmdNuovo", ":/images/cmd_nuovo.svg", "Prepara la schermata per l'inserimento di una nuova scheda.", 40, "Ctrl+N"},
    {0, "cmdSalva", ":/images/cmd_salva.svg", "Salva la scheda in archivio.", 40, "Ctrl+S"},
    {0, "cmdTrova", ":/images/cmd_trova.svg", "Trova schede in archivio.", 40, "Ctrl+F"},
    {0, "cmdCercaDisponibili", ":/images/cmd_vendita.svg", "Visualizza il riepilogo delle MOC in vendita.", 40},
    {1, "cmdFile", ":/images/cmd_file.svg", "Allega file alla scheda corrente.", 100},
    {2, "cmdAnteprima", ":/images/cmd_anteprima.svg", "Visualizza l'anteprima di stampa della scheda corrente.", 40},
    {2, "cmdStampa", ":/images/cmd_stampa.svg", "Stampa la scheda corrente.", 100, "Ctrl+P"},
    {3, "cmdPrimo", ":/images/cmd_primo.svg", "Visualizza la prima scheda in archivio.", 40, "Alt+Home"},
    {3, "cmdIndietro", ":/images/cmd_indietro.svg", "Visualizza la scheda precedente in archivio.", 40, "Alt+Left; PgUp"},
    {3, "lblPosizione", nullptr, "", 45},
    {3, "cmdAvanti", ":/images/cmd_avanti.svg", "Visualizza la scheda successiva in archivio.", 40, "Alt+Right; PgDown"},
    {3, "cmdUltimo", ":/images/cmd_ultimo.svg", "Visualizza l'ultima scheda in archivio.", 40, "Alt+End"},
    {4, "cmdEsporta", ":/images/cmd_esporta.svg", "Esporta l'archivio in un file di Excel.", 40, "Ctrl+E"},
    {4, "cmdSlideShow", ":/images/cmd_slideshow.svg", "Esegui lo slide show delle MOC in archivio.", 40},
    {5, "cmdGuida", ":/images/cmd_guida.svg", "Visualizza la pagina della guida sensibile al contesto.", 40, "F1"},
    {5, "cmdEsci", ":/images/cmd_esci.svg", "Esci da questa schermata.", 40},
    {6, "cmdCollezione", ":/images/cmd_collezione.svg", "Visualizza tutte le schede della collezione in una tabella.", 40, "Ctrl+L"},
};

constexpr PhotoSlot kMocPhotos[] = {
    {"imgFoto", "imgBianco", QRect(74, 90, 366, 260), "btnCaricaFoto", "btnAcquisisciFoto",
     "btnSalvaFoto", "btnCancFoto", "btnZoomFoto", false},
    {"imgFoto02", "imgBianco02", QRect(74, 364, 366, 260), "btnCaricaFoto02",
     "btnAcquisisciFoto02", "btnSalvaFoto02", "btnCancFoto02", "btnZoomFoto02", false},
};

static_assert(std::size(kMocPhotos) == PhotoNames::kMocSlots);

constexpr std::string_view kMocBlankers[] = {
    "panContainer", "shpContainer", "shpPulsanti01", "shpPulsanti02", "shpPulsanti03",
    "shpPulsanti04", "shpPulsanti05", "shpPulsanti06", "shpSezione01", "shpInfo", "shpSfondo",
    "imgFoto", "imgFoto02", "lblNome"};

const Decoration kMocDecorations[] = {
    {"shpSfondo", QRect(8, 68, 979, 616), nullptr},
    {"shpSezione01", QRect(454, 82, 516, 546), nullptr, QColor(0xF7, 0xFA, 0xFD)},
};

} // namespace

namespace EditorTables {

const EditorConfig &sets()
{
    static const EditorConfig config{
        .layout = &Schede::TSchedaSet,
        .callerWord = "armi",
        .objectName = "frmArmi",
        .caption = " Vetrinora - Catalogo BLOKKO",
        .gradientTop = QColor(0x42, 0x7A, 0xA8),
        .panelSize = QSize(996, 692),
        .fields = kSetFields,
        .mandatory = kSetMandatory,
        .tools = kSetTools,
        .toolBands = kSetBands,
        .photos = kSetPhotos,
        .blankers = kSetBlankers,
        .decorations = kSetDecorations,
        .photoFolder = PhotoNames::kSetFolder,
        .placeholder = ":/images/segnaposto_set.svg",
        .trimmedBySink = "txtArma",
        .moneyFontSize = 14,
        .moneyResting = QColor(0xFF, 0xFF, 0xFF),
        .checkHint = "Spunta questa casella per annotare che il set BLOKKO è in vendita.",
        .infoStrip = QRect(17, 644, 962, 32),
        .helpTopic = HelpTopics::setEditor,
    };
    return config;
}

const EditorConfig &mocs()
{
    static const EditorConfig config{
        .layout = &Schede::TSchedaMOC,
        .callerWord = "cartoline",
        .objectName = "frmCartoline",
        .caption = " Vetrinora - Archivio MOC",
        .gradientTop = QColor(0x46, 0x82, 0xB4),
        .panelSize = QSize(995, 692),
        .fields = kMocFields,
        .mandatory = kMocMandatory,
        .tools = kMocTools,
        .toolBands = kMocBands,
        .photos = kMocPhotos,
        .blankers = kMocBlankers,
        .decorations = kMocDecorations,
        .photoFolder = PhotoNames::kMocFolder,
        .placeholder = ":/images/segnaposto_moc.svg",
        .trimmedBySink = "txtTitolo",
        .moneyFontSize = 12,
        .moneyResting = QColor(0xF0, 0xF8, 0xFF),
        .checkHint = "Spunta questa casella per annotare che la MOC è in vendita.",
        .infoStrip = QRect(17, 644, 962, 32),
        .helpTopic = HelpTopics::mocEditor,
    };
    return config;
}

} // namespace EditorTables
