#include "ui/editing/CardHost.h"
#include "ui/search/SearchWindows.h"

#include "core/cards/Schede.h"

namespace {

constexpr FilterPlace kSetFilters[] = {
    {"txtMunizioni", "effCampo01"},    {"txtArma", "effCampo02"},  {"txtAccessori", "effCampo09"},
    {"txtCalibro", "effCampo10"},      {"txtAnno", "effCampo05"},  {"txtMatricola", "effCampo06"},
    {"txtProprietario", "effCampo07"}, {"txtCodFisc", "effCampo08"}, {"txtLuogo", "effCampo03"},
    {"txtNote", "effCampo04"},
};

constexpr FilterPlace kMocFilters[] = {
    {"txtTitolo", "effCampo01"},   {"txtTipologia", "effCampo02"}, {"txtEditore", "effCampo09"},
    {"txtSerie", "effCampo10"},    {"txtDescrizione", "effCampo05"}, {"txtAnno", "effCampo06"},
    {"txtMittente", "effCampo07"}, {"txtStato", "effCampo08"},     {"txtTesto", "effCampo03"},
    {"txtNote", "effCampo04"},
};

QString forSale(const char *record, const RecordLayout &layout)
{
    return Record::textAt(record, layout.forSale());
}

// Sets qualify only with "Sì"; MOCs with anything but "No", an empty flag too.
bool setForSale(const char *record, const RecordLayout &layout)
{
    return forSale(record, layout) == yesText();
}

bool mocForSale(const char *record, const RecordLayout &layout)
{
    return forSale(record, layout) != noText();
}

const ListWindowConfig kTrovaArmi{
    "frmTrovaArmi", " Trova set BLOKKO in catalogo", &Schede::TSchedaSet,
    ResultLines::setColumns(), kSetFilters, "armi", nullptr,
    "Riepilogo set BLOKKO in catalogo",
    "Fare doppio clic sulla voce in elenco per richiamare la scheda"};

const ListWindowConfig kTrovaCartoline{
    "frmTrovaCartoline", " Trova MOC in archivio", &Schede::TSchedaMOC,
    ResultLines::mocColumns(), kMocFilters, "cartoline", nullptr,
    "Riepilogo MOC in archivio",
    "Fare doppio clic sulla voce in elenco per richiamare la scheda"};

const ListWindowConfig kArmiDisponibili{
    "frmArmi_Disponibili", " Riepilogo set BLOKKO in vendita", &Schede::TSchedaSet,
    ResultLines::setColumns(), {}, nullptr, setForSale,
    "Riepilogo set BLOKKO in vendita",
    "Fare doppio clic su una voce in elenco per richiamare la scheda"};

const ListWindowConfig kInVendita{
    "frmInVendita", " Riepilogo MOC in vendita", &Schede::TSchedaMOC,
    ResultLines::mocColumns(), {}, nullptr, mocForSale,
    "Riepilogo MOC in vendita",
    "Fare doppio clic sulla voce in elenco per richiamare la scheda"};

} // namespace

TfrmTrovaArmi::TfrmTrovaArmi(CardHost *editor) : ListWindow(kTrovaArmi, editor) {}
TfrmTrovaCartoline::TfrmTrovaCartoline(CardHost *editor) : ListWindow(kTrovaCartoline, editor) {}
TfrmArmi_Disponibili::TfrmArmi_Disponibili(CardHost *editor) : ListWindow(kArmiDisponibili, editor) {}
TfrmInVendita::TfrmInVendita(CardHost *editor) : ListWindow(kInVendita, editor) {}
