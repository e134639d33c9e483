"""The set catalogue's records as the program stores them: each field a
length byte, its text in Windows-1252, then zeros up to its capacity."""

SET_FIELDS = [("NomeSet", 50), ("Tema", 50), ("MinifigureIncluse", 250), ("CodiceSet", 50),
              ("AnnoUscita", 50), ("NumeroPezzi", 50), ("PesoScatola", 50), ("PezziMancanti", 250),
              ("DimensioniScatola", 250), ("LuogoConservazione", 250), ("StatoConservazione", 250),
              ("EtaConsigliata", 50), ("DataAcquisto", 30), ("Note", 250), ("Valore", 15),
              ("InVendita", 2), ("File01", 250), ("File02", 250), ("File03", 250),
              ("Desc01", 250), ("Desc02", 250), ("Desc03", 250)]


def field(text, capacity):
    data = text.encode("cp1252")
    return bytes([len(data)]) + data + bytes(capacity - len(data))


def set_card(**texts):
    """One set card, its fields named as the program names them."""
    unknown = set(texts) - {name for name, _ in SET_FIELDS}
    assert not unknown, f"no such field: {unknown}"
    record = b"".join(field(texts.get(name, ""), capacity) for name, capacity in SET_FIELDS)
    assert len(record) == 3419
    return record
