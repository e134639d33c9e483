#pragma once
// The two card layouts: TSchedaSet (one boxed set of the catalogue
// "Catalogo_BLOKKO.pro") and TSchedaMOC (one creation of a MOC archive).

#include "core/cards/RecordLayout.h"

namespace Schede {

using enum FieldRole;

inline constexpr FieldDef kSetFields[] = {
    {"NomeSet", 0, 50, "txtMunizioni", "Nome set:", Text},
    {"Tema", 51, 50, "txtArma", "Tema:", Text},
    {"MinifigureIncluse", 102, 250, "txtAccessori", "Minifigure incluse:", Text},
    {"CodiceSet", 353, 50, "txtCalibro", "Codice set:", Text},
    {"AnnoUscita", 404, 50, "txtAnno", "Anno uscita:", Text},
    {"NumeroPezzi", 455, 50, "txtMatricola", "Numero pezzi:", Text},
    {"PesoScatola", 506, 50, "txtPeso", "Peso scatola:", Text},
    {"PezziMancanti", 557, 250, "txtComponenti", "Pezzi mancanti:", Text},
    {"DimensioniScatola", 808, 250, "txtDimensioni", "Dimensioni scatola:", Text},
    {"LuogoConservazione", 1059, 250, "txtLuogo", "Luogo conservazione:", Text},
    {"StatoConservazione", 1310, 250, "txtProprietario", "Stato conservazione:", Text},
    {"EtaConsigliata", 1561, 50, "txtCodFisc", "Età consigliata:", Text},
    {"DataAcquisto", 1612, 30, "txtRecapito", "Data acquisto:", Text},
    {"Note", 1643, 250, "txtNote", "Note:", Text},
    {"Valore", 1894, 15, "txtPrezzo", "Valore: €", Money},
    {"InVendita", 1910, 2, "chkSegnala", "In vendita", ForSale},
    {"File01", 1913, 250, "lblFile01", "", Attachment},
    {"File02", 2164, 250, "lblFile02", "", Attachment},
    {"File03", 2415, 250, "lblFile03", "", Attachment},
    {"Desc01", 2666, 250, "lblDesc01", "", Attachment},
    {"Desc02", 2917, 250, "lblDesc02", "", Attachment},
    {"Desc03", 3168, 250, "lblDesc03", "", Attachment},
};

inline constexpr FieldDef kMocFields[] = {
    {"NomeProgetto", 0, 120, "txtTitolo", "Nome progetto:", Text},
    {"CodiceID", 121, 50, "txtTipologia", "Codice ID:", Text},
    {"Tema", 172, 50, "txtEditore", "Tema:", Text},
    {"Designer", 223, 50, "txtSerie", "Designer:", Text},
    {"DescrizioneMOC", 274, 250, "txtDescrizione", "Descrizione MOC:", Text},
    {"Scala", 525, 10, "txtAnno", "Scala:", Text},
    {"CostoTotale", 536, 12, "txtValore", "Costo totale: €", Money},
    {"NumeroPezzi", 549, 50, "txtDimensioni", "Numero pezzi:", Text},
    {"DocumentoIstruzioni", 600, 120, "txtCarta", "Documento istruzioni:", Text},
    {"TecnicaPrincipale", 721, 50, "txtRarita", "Tecnica principale:", Text},
    {"ColoriPredominanti", 772, 50, "txtMittente", "Colori predominanti:", Text},
    {"StrutturaSupporto", 823, 120, "txtIndirizzoMit", "Struttura di supporto:", Text},
    {"DimensioniOpera", 944, 50, "txtDestinatario", "Dimensioni opera:", Text},
    {"TempoMontaggio", 995, 120, "txtIndirizzoDes", "Tempo totale montaggio:", Text},
    {"SetUsati", 1116, 250, "txtTesto", "Set BLOKKO usati:", Text},
    {"LivelloDifficolta", 1367, 50, "txtData", "Livello difficoltà:", Text},
    {"EtaConsigliata", 1418, 50, "txtFrancobollo", "Età consigliata:", Text},
    {"PesoComplessivo", 1469, 50, "txtTimbro", "Peso complessivo:", Text},
    {"StatoProgetto", 1520, 50, "txtStato", "Stato progetto:", Text},
    {"LuogoConservazione", 1571, 50, "txtLuogo", "Luogo conservazione:", Text},
    {"Note", 1622, 250, "txtNote", "Note:", Text},
    {"InVendita", 1873, 2, "chkInVendita", "In vendita", ForSale},
    {"File01", 1876, 250, "lblFile01", "", Attachment},
    {"File02", 2127, 250, "lblFile02", "", Attachment},
    {"File03", 2378, 250, "lblFile03", "", Attachment},
    {"Desc01", 2629, 250, "lblDesc01", "", Attachment},
    {"Desc02", 2880, 250, "lblDesc02", "", Attachment},
    {"Desc03", 3131, 250, "lblDesc03", "", Attachment},
};

inline constexpr RecordLayout TSchedaSet{"TSchedaSet", 3419, kSetFields};
inline constexpr RecordLayout TSchedaMOC{"TSchedaMOC", 3382, kMocFields};

static_assert(isPacked(kSetFields, 3419), "TSchedaSet must be 3419 bytes, packed");
static_assert(isPacked(kMocFields, 3382), "TSchedaMOC must be 3382 bytes, packed");

// The set catalogue, in the program folder.
inline constexpr const char *kCatalogueFile = "Catalogo_BLOKKO.pro";

} // namespace Schede
