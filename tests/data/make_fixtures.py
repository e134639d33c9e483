#!/usr/bin/env python3
"""Writes the card fixtures of this folder byte by byte, without the program.

Each record is a packed run of fields: a length byte, then `capacity` bytes of
Windows-1252 text, zero after the text. The offsets and capacities below are
the two card layouts, written out here on their own. fixtures.json lists, for
every file, the texts a reader must get back and the file a writer of the
same texts must produce.

Run from anywhere: python3 tests/data/make_fixtures.py
"""

import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# (field, offset of the length byte, capacity)
SET_LAYOUT = [
    ("NomeSet", 0, 50), ("Tema", 51, 50), ("MinifigureIncluse", 102, 250),
    ("CodiceSet", 353, 50), ("AnnoUscita", 404, 50), ("NumeroPezzi", 455, 50),
    ("PesoScatola", 506, 50), ("PezziMancanti", 557, 250), ("DimensioniScatola", 808, 250),
    ("LuogoConservazione", 1059, 250), ("StatoConservazione", 1310, 250),
    ("EtaConsigliata", 1561, 50), ("DataAcquisto", 1612, 30), ("Note", 1643, 250),
    ("Valore", 1894, 15), ("InVendita", 1910, 2), ("File01", 1913, 250),
    ("File02", 2164, 250), ("File03", 2415, 250), ("Desc01", 2666, 250),
    ("Desc02", 2917, 250), ("Desc03", 3168, 250),
]
SET_SIZE = 3419

MOC_LAYOUT = [
    ("NomeProgetto", 0, 120), ("CodiceID", 121, 50), ("Tema", 172, 50), ("Designer", 223, 50),
    ("DescrizioneMOC", 274, 250), ("Scala", 525, 10), ("CostoTotale", 536, 12),
    ("NumeroPezzi", 549, 50), ("DocumentoIstruzioni", 600, 120), ("TecnicaPrincipale", 721, 50),
    ("ColoriPredominanti", 772, 50), ("StrutturaSupporto", 823, 120), ("DimensioniOpera", 944, 50),
    ("TempoMontaggio", 995, 120), ("SetUsati", 1116, 250), ("LivelloDifficolta", 1367, 50),
    ("EtaConsigliata", 1418, 50), ("PesoComplessivo", 1469, 50), ("StatoProgetto", 1520, 50),
    ("LuogoConservazione", 1571, 50), ("Note", 1622, 250), ("InVendita", 1873, 2),
    ("File01", 1876, 250), ("File02", 2127, 250), ("File03", 2378, 250), ("Desc01", 2629, 250),
    ("Desc02", 2880, 250), ("Desc03", 3131, 250),
]
MOC_SIZE = 3382

LAYOUTS = {"TSchedaSet": (SET_LAYOUT, SET_SIZE), "TSchedaMOC": (MOC_LAYOUT, MOC_SIZE)}


def check_packed(layout, size):
    offset = 0
    for name, at, capacity in layout:
        assert at == offset, name
        offset += capacity + 1
    assert offset == size


def filled(phrase, length):
    """`phrase` repeated to exactly `length` characters, no blank at either end."""
    text = (phrase * (length // len(phrase) + 1))[:length]
    assert len(text) == length and text == text.strip()
    return text


def record(layout_name, texts, length_bytes=None):
    """One record; `length_bytes` overrides the length byte of some fields."""
    layout, size = LAYOUTS[layout_name]
    out = bytearray(size)
    for name, offset, capacity in layout:
        data = texts.get(name, "").encode("cp1252")
        assert len(data) <= capacity, name
        out[offset] = len(data)
        out[offset + 1:offset + 1 + len(data)] = data
        if length_bytes and name in length_bytes:
            out[offset] = length_bytes[name]
    assert len(out) == size
    return bytes(out)


SET_CARD = {
    "NomeSet": "Città del porto",
    "Tema": "Età dei pirati",
    "MinifigureIncluse": "Capitano, pappagallo, tre marinai",
    "CodiceSet": "6285",
    "AnnoUscita": "1989",
    "NumeroPezzi": "744",
    "PesoScatola": "1,2 kg",
    "PezziMancanti": "Un cannone (però c'è il ricambio)",
    "DimensioniScatola": "48 × 38 × 10 cm",
    "LuogoConservazione": "Soffitta, scaffale più alto",
    "StatoConservazione": "Scatola integra, istruzioni sgualcite",
    "EtaConsigliata": "Età 9-14",
    "DataAcquisto": "12/03/1990",
    "Note": filled("Nota è più lunga: «città», perché sì. ", 250),
    "Valore": "1.249,90",
    "InVendita": "Sì",
    "File01": "istruzioni_6285_è.pdf",
    "Desc01": "Libretto d'istruzioni (più pagine)",
}

MOC_CARD = {
    "NomeProgetto": filled("Torre dell'orologio di città ", 120),
    "CodiceID": "TOR-01",
    "Tema": "Città medievale",
    "Designer": "Niccolò Rossi",
    "DescrizioneMOC": "Torre con orologio funzionante; già esposta a Modena",
    "Scala": "1:40 circa",
    "CostoTotale": "1.234,50",
    "NumeroPezzi": "3.200",
    "DocumentoIstruzioni": "torre_città.pdf",
    "TecnicaPrincipale": "SNOT",
    "ColoriPredominanti": "Grigio e blu",
    "StrutturaSupporto": "Base 48×48 rinforzata",
    "DimensioniOpera": "38 × 38 × 60 cm",
    "TempoMontaggio": "14 ore",
    "SetUsati": "10305, 10280, 6285",
    "LivelloDifficolta": "Difficoltà alta",
    "EtaConsigliata": "Età 16+",
    "PesoComplessivo": "2,4 kg",
    "StatoProgetto": "Completato",
    "LuogoConservazione": "Vetrina del soggiorno",
    "Note": filled("Orologio a molla; lancette già sostituite. ", 250),
    "InVendita": "No",
    "File02": "schema_torre.ldr",
    "Desc02": "Modello digitale",
}

# Two length bytes above their field's capacity: Tema (50) says 200 and Note
# (250) says 255. The field's own bytes are full; a reader stops at the
# capacity and a writer of the texts read stores the capacity as the length.
DAMAGED_TEXTS = {
    "NomeSet": "Faro",
    "Tema": filled("Età dell'oro ", 50),
    "Note": filled("Però è così ", 250),
    "InVendita": "No",
}
DAMAGED_LENGTHS = {"Tema": 200, "Note": 255}


def main():
    for layout, size in LAYOUTS.values():
        check_packed(layout, size)
    files = {
        "set_card.pro": record("TSchedaSet", SET_CARD),
        "moc_card.moc": record("TSchedaMOC", MOC_CARD),
        "set_damaged_lengths.pro": record("TSchedaSet", DAMAGED_TEXTS, DAMAGED_LENGTHS),
        "set_damaged_lengths_rewritten.pro": record("TSchedaSet", DAMAGED_TEXTS),
    }
    for name, data in files.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
    index = {
        "set_card.pro": {"layout": "TSchedaSet", "texts": SET_CARD, "rewritten": "set_card.pro"},
        "moc_card.moc": {"layout": "TSchedaMOC", "texts": MOC_CARD, "rewritten": "moc_card.moc"},
        "set_damaged_lengths.pro": {"layout": "TSchedaSet", "texts": DAMAGED_TEXTS,
                                    "rewritten": "set_damaged_lengths_rewritten.pro"},
    }
    with open(os.path.join(HERE, "fixtures.json"), "w", encoding="utf-8") as f:
        json.dump(index, f, ensure_ascii=False, indent=1, sort_keys=True)
        f.write("\n")


if __name__ == "__main__":
    main()
