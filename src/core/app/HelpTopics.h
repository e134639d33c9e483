#pragma once
#include <QString>
#include <QStringList>

// The help topics of the program: a title and paragraphs of Italian text,
// joined by one empty line (CR LF CR LF).
namespace HelpTopics {

struct Topic {
    QString title;
    QStringList paragraphs;
    QString text() const; // the paragraphs joined by CR LF CR LF
};

Topic startScreen();   // "Uno sguardo a Vetrinora"
Topic setEditor();     // "App Catalogo BLOKKO"
Topic mocEditor();     // "App Archivio MOC"
Topic archives();      // "Creazione e apertura archivi MOC"
Topic setExport();     // "Esportazione catalogo BLOKKO in Excel"
Topic mocExport();     // "Esportazione archivio MOC in Excel"
Topic collection();    // "La finestra Collezione"
Topic bin();           // "Il Cestino"
Topic backup();        // "Copia di sicurezza e ripristino"
Topic spreadsheets();  // "File CSV e fogli di calcolo"
Topic statistics();    // "Statistiche della collezione"

QString separator();

} // namespace HelpTopics
