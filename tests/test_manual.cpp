// The printed manual: built by make_guida into a temporary folder and read
// back with poppler's pdftotext, pdfinfo and pdftohtml.
#include "TestSupport.h"

#include "core/app/HelpTopics.h"
#include "core/app/Messages.h"
#include "ui/cards/EditorConfig.h"
#include "core/app/ProgramFolder.h"
#include "guida/GuidaText.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &arguments, QString *errors = nullptr)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(240000) || p.exitStatus() != QProcess::NormalExit
        || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return {};
    }
    if (errors)
        *errors = QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString flat(QString text) { return text.simplified(); }

int occurrences(const QString &haystack, const QString &needle)
{
    int n = 0;
    for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1))
        ++n;
    return n;
}

// A text as the program's source spells it inside a string literal.
QString asLiteral(const QString &text)
{
    QString s = text;
    s.replace(u"\\"_s, u"\\\\"_s).replace(u"\""_s, u"\\\""_s);
    s.replace(u"\r"_s, u"\\r"_s).replace(u"\n"_s, u"\\n"_s);
    return s;
}

// The pieces of a message the manual prints: its lines, cut where the
// program puts a name or a number.
QStringList printedPieces(const QString &message)
{
    QStringList pieces;
    for (const QString &part :
         message.split(QRegularExpression(u"\r\n|\n\r|\n|%[1-9]"_s), Qt::SkipEmptyParts))
        if (!flat(part).isEmpty())
            pieces << flat(part);
    return pieces;
}

// The longest piece of a message between its line breaks and the places the
// program fills.
QString longestPiece(const QString &message)
{
    QString longest;
    for (const QString &piece : message.split(QRegularExpression(u"\r\n|\n\r|\n|%[1-9]"_s)))
        if (piece.size() > longest.size())
            longest = piece;
    return longest;
}

// The string literals of a C++ source, as spelled between their quotes,
// adjacent ones joined; comments and character literals are left out.
QStringList literalsOf(const QString &code)
{
    QStringList literals;
    QString current;
    bool open = false; // a literal ended and only blanks have followed it
    const auto isName = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    qsizetype i = 0;
    const qsizetype n = code.size();
    const auto close = [&] {
        if (open)
            literals << current;
        current.clear();
        open = false;
    };
    while (i < n) {
        const QChar c = code.at(i);
        if (c == u'/' && i + 1 < n && code.at(i + 1) == u'/') {
            i = code.indexOf(u'\n', i);
            if (i < 0)
                break;
        } else if (c == u'/' && i + 1 < n && code.at(i + 1) == u'*') {
            i = code.indexOf(u"*/"_s, i + 2);
            if (i < 0)
                break;
            i += 2;
        } else if (c == u'\'') {
            close();
            for (++i; i < n && code.at(i) != u'\''; ++i)
                if (code.at(i) == u'\\')
                    ++i;
            ++i;
        } else if (c == u'"') {
            const bool raw = i > 0 && code.at(i - 1) == u'R'
                             && (i < 2 || !isName(code.at(i - 2)) || QStringLiteral("uUL8").contains(code.at(i - 2)));
            if (raw) {
                const qsizetype paren = code.indexOf(u'(', i);
                const QString end = u")"_s + code.mid(i + 1, paren - i - 1) + u'"';
                const qsizetype stop = code.indexOf(end, paren);
                QString text = code.mid(paren + 1, stop - paren - 1);
                current += asLiteral(text);
                i = stop + end.size();
            } else {
                qsizetype j = i + 1;
                while (j < n && code.at(j) != u'"') {
                    if (code.at(j) == u'\\')
                        ++j;
                    ++j;
                }
                current += code.mid(i + 1, j - i - 1);
                i = j + 1;
            }
            open = true;
        } else {
            if (!c.isSpace() && open && !(isName(c) && i > 0 && (code.at(i - 1) == u'"' || isName(code.at(i - 1)))))
                close();
            ++i;
        }
    }
    close();
    return literals;
}

QStringList literalsUnder(const QString &folder)
{
    QStringList all;
    QDirIterator it(folder, {u"*.cpp"_s, u"*.h"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            all += literalsOf(QString::fromUtf8(f.readAll()));
    }
    return all;
}

int occurrencesIn(const QStringList &literals, const QString &needle)
{
    int n = 0;
    for (const QString &literal : literals)
        n += occurrences(literal, needle);
    return n;
}

} // namespace

class TestManual : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString pdf_;
    int pageCount_ = 0;
    QStringList pages_; // each page's text, whitespace folded, page number removed
    QString whole_;

    // Each page's text, whitespace folded, read within the given area.
    QStringList pageTexts(const QStringList &area) const
    {
        QStringList pages =
            run(u"pdftotext"_s, area + QStringList{u"-enc"_s, u"UTF-8"_s, pdf_, u"-"_s})
                .split(u'\f');
        if (!pages.isEmpty() && flat(pages.last()).isEmpty())
            pages.removeLast();
        for (QString &page : pages)
            page = flat(page);
        return pages;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        pdf_ = folder_.filePath(u"Guida.pdf"_s);
        QProcess make;
        make.start(QStringLiteral(VETRINORA_MAKE_GUIDA), {pdf_});
        QVERIFY(make.waitForFinished(240000));
        QCOMPARE(make.exitCode(), 0);

        QString errors;
        const QString info = run(u"pdfinfo"_s, {pdf_}, &errors);
        QVERIFY2(errors.isEmpty(), qPrintable(errors)); // poppler finds nothing to repair
        const auto pages = QRegularExpression(u"^Pages:\\s+(\\d+)$"_s,
                                              QRegularExpression::MultilineOption)
                               .match(info);
        QVERIFY(pages.hasMatch());
        pageCount_ = pages.captured(1).toInt();
        QVERIFY(info.contains(u"Title:           Vetrinora - Guida all'utilizzo del software"_s));

        // The page number sits in a strip under the text (A4 is 842 points
        // tall; the text ends above 781 points, the number lies below 791).
        const QStringList crop = {u"-x"_s, u"0"_s, u"-W"_s, u"595"_s, u"-y"_s};
        const QStringList body = pageTexts(crop + QStringList{u"0"_s, u"-H"_s, u"786"_s});
        const QStringList footers = pageTexts(crop + QStringList{u"786"_s, u"-H"_s, u"40"_s});
        QCOMPARE(body.size(), pageCount_);
        QCOMPARE(footers.size(), pageCount_);
        for (int i = 0; i < pageCount_; ++i) {
            QCOMPARE(footers[i], i == 0 ? QString() : QString::number(i + 1));
            pages_ << body[i];
        }
        whole_ = pages_.join(u' ');
    }

    void lengthAndTitlePage()
    {
        QVERIFY2(pageCount_ >= 24, qPrintable(QString::number(pageCount_)));
        QVERIFY(pages_[0].startsWith(u"Vetrinora Guida all'utilizzo del software"_s));
        QVERIFY(pages_[1].startsWith(u"Indice"_s));
    }

    void tableOfContents_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("title");
        const QList<Guida::Chapter> chapters = Guida::chapters();
        for (int i = 0; i < chapters.size(); ++i)
            QTest::newRow(qPrintable(chapters[i].title)) << i + 1 << chapters[i].title;
    }

    void tableOfContents()
    {
        QFETCH(int, number);
        QFETCH(QString, title);
        const QString contents =
            run(u"pdftotext"_s, {u"-layout"_s, u"-enc"_s, u"UTF-8"_s, u"-f"_s, u"2"_s, u"-l"_s,
                                 u"2"_s, pdf_, u"-"_s});
        const QString heading = QString::number(number) + u". "_s + title;
        const auto entry = QRegularExpression(u"^\\s*"_s + QRegularExpression::escape(heading)
                                                  + u"\\s+(\\d+)\\s*$"_s,
                                              QRegularExpression::MultilineOption)
                               .match(contents);
        QVERIFY2(entry.hasMatch(), qPrintable(contents));
        const int page = entry.captured(1).toInt();
        QVERIFY(page > 2 && page <= pageCount_);
        // The chapter starts at the top of that page and nowhere else.
        QVERIFY2(pages_[page - 1].startsWith(heading), qPrintable(pages_[page - 1].left(80)));
        for (int other = 2; other < pageCount_; ++other)
            if (other != page - 1)
                QVERIFY2(!pages_[other].startsWith(heading), qPrintable(QString::number(other)));
    }

    void bookmarks()
    {
        const QString xml = run(u"pdftohtml"_s, {u"-xml"_s, u"-i"_s, u"-stdout"_s, u"-q"_s,
                                                 u"-enc"_s, u"UTF-8"_s, pdf_});
        const qsizetype outline = xml.indexOf(u"<outline>"_s);
        QVERIFY2(outline >= 0, "the PDF has no bookmarks");
        const QString contents =
            run(u"pdftotext"_s, {u"-layout"_s, u"-enc"_s, u"UTF-8"_s, u"-f"_s, u"2"_s, u"-l"_s,
                                 u"2"_s, pdf_, u"-"_s});
        const QList<Guida::Chapter> chapters = Guida::chapters();
        QRegularExpression item(u"<item page=\"(\\d+)\">([^<]*)</item>"_s);
        auto it = item.globalMatch(xml, outline);
        QVERIFY(it.hasNext());
        auto m = it.next();
        QCOMPARE(m.captured(2), u"Indice"_s);
        QCOMPARE(m.captured(1), u"2"_s);
        for (int i = 0; i < chapters.size(); ++i) {
            QVERIFY(it.hasNext());
            m = it.next();
            QString title = m.captured(2);
            title.replace(u"&#39;"_s, u"'"_s).replace(u"&quot;"_s, u"\""_s);
            const QString heading = QString::number(i + 1) + u". "_s + chapters[i].title;
            QCOMPARE(title, heading);
            QVERIFY(pages_[m.captured(1).toInt() - 1].startsWith(heading));
        }
    }

    void helpTopicParagraphsOnce_data()
    {
        QTest::addColumn<QStringList>("paragraphs");
        for (const HelpTopics::Topic &t :
             {HelpTopics::startScreen(), HelpTopics::setEditor(), HelpTopics::archives(),
              HelpTopics::mocEditor(), HelpTopics::setExport(), HelpTopics::mocExport(),
              HelpTopics::collection(), HelpTopics::bin(), HelpTopics::backup(), HelpTopics::spreadsheets(),
              HelpTopics::statistics()})
            QTest::newRow(qPrintable(t.title)) << t.paragraphs;
    }

    void helpTopicParagraphsOnce()
    {
        QFETCH(QStringList, paragraphs);
        for (const QString &p : paragraphs)
            QVERIFY2(occurrences(whole_, flat(p)) == 1,
                     qPrintable(QString::number(occurrences(whole_, flat(p))) + u"x "_s + p));
    }

    // Every message of the program's catalogue is in the manual, as the
    // program shows it (cut where the program puts a name or a number).
    void everyCatalogueMessageIsInTheManual_data()
    {
        QTest::addColumn<QString>("text");
        for (const QString &text : Messages::all())
            QTest::newRow(qPrintable(flat(text).left(70))) << text;
    }

    void everyCatalogueMessageIsInTheManual()
    {
        QFETCH(QString, text);
        for (const QString &piece : printedPieces(text))
            QVERIFY2(whole_.contains(piece), qPrintable(piece));
    }

    // The manual's table takes each message from the catalogue (or, for a
    // field that must not be empty, from the editor's own table): a message
    // of the catalogue as it is, or, for an example of the import report,
    // catalogue messages one a line with their places numbered on.
    void theManualTakesItsMessagesFromTheCatalogue_data()
    {
        QTest::addColumn<QString>("text");
        for (const Guida::Message &m : Guida::messages())
            QTest::newRow(qPrintable(flat(m.text).left(70))) << m.text;
    }

    void theManualTakesItsMessagesFromTheCatalogue()
    {
        QFETCH(QString, text);
        QStringList catalogue = Messages::all();
        for (const EditorConfig *config : {&EditorTables::sets(), &EditorTables::mocs()})
            for (const MandatoryField &m : config->mandatory)
                catalogue << QString::fromUtf8(m.message);
        if (!catalogue.contains(text)) {
            static const QRegularExpression place(u"%[1-9]"_s);
            QSet<QString> lines;
            for (const QString &message : std::as_const(catalogue))
                for (const QString &line : message.split(u"\r\n"_s))
                    lines << QString(line).replace(place, u"%"_s);
            for (const QString &line : text.split(u"\r\n"_s, Qt::SkipEmptyParts))
                QVERIFY2(lines.contains(QString(line).replace(place, u"%"_s)),
                         qPrintable(u"not a message of the catalogue: "_s + line));
        }
        for (const QString &piece : printedPieces(text))
            QVERIFY2(whole_.contains(piece), qPrintable(piece));
    }

    // The manual's sources never type a message again: neither a whole
    // message of the catalogue nor its longest piece is one of their texts.
    void noMessageRetypedForTheManual_data()
    {
        QTest::addColumn<QString>("text");
        for (const QString &text : Messages::all())
            QTest::newRow(qPrintable(flat(text).left(70))) << text;
    }

    void noMessageRetypedForTheManual()
    {
        QFETCH(QString, text);
        static const QStringList tools = literalsUnder(QStringLiteral(VETRINORA_SOURCE_DIR "/tools"));
        QCOMPARE(occurrencesIn(tools, asLiteral(text)), 0);
        const QString longest = longestPiece(text);
        if (longest.size() >= 20)
            QVERIFY2(occurrencesIn(tools, asLiteral(longest)) == 0, qPrintable(longest));
    }

    // Each message the program shows is written once, in the catalogue:
    // found among the program's texts whole, as its two paragraphs (a
    // failure and the advice that follows it) or a piece at a time (where
    // the program puts it together line by line), its longest part is
    // exactly one of them, so no window types it again.
    void theProgramShowsTheCatalogue_data() { everyCatalogueMessageIsInTheManual_data(); }

    void theProgramShowsTheCatalogue()
    {
        QFETCH(QString, text);
        static const QStringList source = literalsUnder(QStringLiteral(VETRINORA_SOURCE_DIR "/src"));
        const auto found = [](const QString &part) { return occurrencesIn(source, asLiteral(part)); };
        QString longest;
        if (found(text) > 0)
            longest = text;
        const QRegularExpression separator(u"\r\n\r\n|\n\r\n\r"_s);
        for (auto it = separator.globalMatch(text); longest.isEmpty() && it.hasNext();) {
            const qsizetype at = it.next().capturedStart();
            if (found(text.left(at)) > 0 && found(text.mid(at)) > 0)
                longest = at >= text.size() - at ? text.left(at) : text.mid(at);
        }
        if (longest.isEmpty()) {
            for (const QString &piece :
                 text.split(QRegularExpression(u"\r\n|\n\r|\n|%[1-9]"_s), Qt::SkipEmptyParts))
                if (piece.contains(QRegularExpression(u"\\w"_s)))
                    QVERIFY2(found(piece) > 0, qPrintable(u"the program does not show: "_s + piece));
            longest = longestPiece(text);
        }
        QVERIFY2(found(longest) == 1,
                 qPrintable(QString::number(found(longest)) + u" texts of the program hold: "_s + longest));
    }

    // The folder the manual names is the one the program keeps the
    // collection in: for an installed program the user's data folder, for
    // a program folder holding the credential file that folder itself.
    void dataFolderAsTheProgramFindsIt_data()
    {
        QTest::addColumn<bool>("portable");
        QTest::addColumn<bool>("dataHomeSet");
        QTest::newRow("installed") << false << false;
        QTest::newRow("installed, XDG_DATA_HOME set") << false << true;
        QTest::newRow("portable") << true << false;
    }

    void dataFolderAsTheProgramFindsIt()
    {
        QFETCH(bool, portable);
        QFETCH(bool, dataHomeSet);
        const Guida::DataFolder data = Guida::dataFolder();
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString home = root.filePath(u"home"_s);
        const QString program = root.filePath(u"programma"_s);
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(program));
        if (portable) {
            QFile credentials(program + u'/' + data.credentialFile);
            QVERIFY(credentials.open(QIODevice::WriteOnly));
        }
        const QByteArray savedHome = qgetenv("HOME");
        const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(home));
        if (dataHomeSet)
            qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(u"dati"_s)));
        else
            qunsetenv("XDG_DATA_HOME");
        ProgramFolder::setExecutableFolderForTests(program);
        const QString found = QDir::cleanPath(ProgramFolder::path());
        const bool installed = ProgramFolder::layout() == ProgramFolder::Layout::Installed;
        ProgramFolder::setExecutableFolderForTests(QString());
        qputenv("HOME", savedHome);
        if (savedDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedDataHome);

        QCOMPARE(installed, !portable);
        QString expected = portable ? program : QString(data.installedFolder).replace(u"~"_s, home);
        if (dataHomeSet)
            expected = root.filePath(u"dati/Vetrinora"_s); // "$XDG_DATA_HOME/Vetrinora"
        QCOMPARE(found, QDir::cleanPath(expected));
        if (dataHomeSet)
            QVERIFY(whole_.contains(u"$XDG_DATA_HOME/Vetrinora"_s));
    }

    void collectionFolder_data()
    {
        const Guida::DataFolder data = Guida::dataFolder();
        QTest::addColumn<QString>("chapter");
        QTest::addColumn<QStringList>("facts");
        QTest::newRow("where") << u"Dove si trova la collezione su Linux"_s
                               << QStringList{data.installedFolder, data.credentialFile,
                                              data.initialPassword, u"cmake --install"_s};
        QTest::newRow("where, new folders")
            << u"Dove si trova la collezione su Linux"_s
            << QStringList{u"Cestino"_s, u"Collezione.ini"_s, u"Cartelle.ini"_s,
                           u"Prima-del-ripristino-"_s, u"$XDG_DATA_HOME/Vetrinora"_s};
        QTest::newRow("backup") << u"Copia di sicurezza e ripristino"_s
                                << QStringList{u"cp -a "_s + data.installedFolder,
                                               u"«Backup...»"_s, u"«Ripristina backup...»"_s,
                                               u"«Vetrinora-backup-2026-12-10-183012.zip»"_s,
                                               u"«Prima-del-ripristino-"_s, data.credentialFile};
        QTest::newRow("moving") << u"Trasferire la collezione su un altro computer"_s
                                << QStringList{data.installedFolder, u"«Backup...»"_s,
                                               u"«Ripristina backup...»"_s};
        QTest::newRow("collection window")
            << u"La finestra Collezione"_s
            << QStringList{u"Ctrl+L"_s, u"«Tutta la collezione»"_s, u"Colonne..."_s,
                           u"Apri scheda"_s, u"Copia (Ctrl+C)"_s, u"Stampa (Ctrl+P)"_s,
                           u"Elimina"_s, u"Cestino..."_s, u"Ripristina"_s, u"«Cestino»"_s,
                           u"(1 importo illeggibile non sommato)"_s, u"«Importi illeggibili:»"_s,
                           u"«Esporta CSV...»"_s, u"«Importa CSV...»"_s};
        QTest::newRow("csv") << u"Esportare e importare file CSV"_s
                             << QStringList{u"UTF-8"_s, u"Windows-1252"_s, u"punto e virgola"_s,
                                            u"tabulazione"_s, u"(non importare)"_s,
                                            u"«Catalogo_BLOKKO.csv»"_s, u"Descrizione allegato 1"_s,
                                            u"NomeProgetto"_s, u"rosso"_s, u"giallo"_s};
        QTest::newRow("password") << u"Primo avvio e password"_s
                                  << QStringList{u"«"_s + data.initialPassword + u"»"_s};
    }

    void collectionFolder()
    {
        QFETCH(QString, chapter);
        QFETCH(QStringList, facts);
        const QList<Guida::Chapter> chapters = Guida::chapters();
        int index = -1;
        for (int i = 0; i < chapters.size(); ++i)
            if (chapters[i].title == chapter)
                index = i;
        QVERIFY(index >= 0);
        const QString heading = QString::number(index + 1) + u". "_s + chapter;
        const QString next = QString::number(index + 2) + u". "_s;
        int start = 2;
        while (start < pageCount_ && !pages_[start].startsWith(heading))
            ++start;
        QVERIFY(start < pageCount_);
        QString body = pages_[start];
        for (int p = start + 1; p < pageCount_ && !pages_[p].startsWith(next); ++p)
            body += u' ' + pages_[p];
        for (const QString &fact : facts)
            QVERIFY2(body.contains(fact), qPrintable(fact));
    }
};

VETRINORA_TEST_MAIN(TestManual)
#include "test_manual.moc"
