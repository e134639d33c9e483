// The printed manual: built by make_guida into a temporary folder and read
// back with poppler's pdftotext, pdfinfo and pdftohtml.
#include "TestSupport.h"

#include "core/app/HelpTopics.h"
#include "guida/GuidaText.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
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

// The pieces of a message the manual prints: its paragraphs, cut where the
// program puts a name.
QStringList printedPieces(const QString &message)
{
    QStringList pieces;
    for (const QString &part :
         message.split(QRegularExpression(u"\r\n\r\n|\n\r\n\r|%1"_s), Qt::SkipEmptyParts))
        if (!flat(part).isEmpty())
            pieces << flat(part);
    return pieces;
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
              HelpTopics::mocEditor(), HelpTopics::setExport(), HelpTopics::mocExport()})
            QTest::newRow(qPrintable(t.title)) << t.paragraphs;
    }

    void helpTopicParagraphsOnce()
    {
        QFETCH(QStringList, paragraphs);
        for (const QString &p : paragraphs)
            QVERIFY2(occurrences(whole_, flat(p)) == 1,
                     qPrintable(QString::number(occurrences(whole_, flat(p))) + u"x "_s + p));
    }

    void messagesAsTheProgramShowsThem_data()
    {
        QTest::addColumn<QString>("text");
        for (const Guida::Message &m : Guida::messages())
            QTest::newRow(qPrintable(flat(m.text).left(70))) << m.text;
    }

    void messagesAsTheProgramShowsThem()
    {
        QFETCH(QString, text);
        static const QString source = [] {
            QString all;
            QDirIterator it(QStringLiteral(VETRINORA_SOURCE_DIR "/src"), {u"*.cpp"_s, u"*.h"_s},
                            QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile f(it.next());
                if (f.open(QIODevice::ReadOnly))
                    all += QString::fromUtf8(f.readAll());
            }
            // Adjacent string literals are one text.
            return all.replace(QRegularExpression(u"\"[ \\t]*\\r?\\n[ \\t]*\""_s), QString());
        }();
        // The text is one literal, or two joined where its paragraphs meet
        // (a failure and the advice that follows it).
        bool found = source.contains(asLiteral(text));
        const QRegularExpression separator(u"\r\n\r\n|\n\r\n\r"_s);
        for (auto it = separator.globalMatch(text); !found && it.hasNext();) {
            const qsizetype at = it.next().capturedStart();
            found = source.contains(asLiteral(text.left(at)))
                    && source.contains(asLiteral(text.mid(at)));
        }
        QVERIFY2(found, "the program does not show this text");
        for (const QString &piece : printedPieces(text))
            QVERIFY2(whole_.contains(piece), qPrintable(piece));
    }

    void collectionFolder_data()
    {
        const Guida::DataFolder data = Guida::dataFolder();
        QTest::addColumn<QString>("chapter");
        QTest::addColumn<QStringList>("facts");
        QTest::newRow("where") << u"Dove si trova la collezione su Linux"_s
                               << QStringList{data.installedFolder, data.credentialFile,
                                              data.initialPassword, u"cmake --install"_s};
        QTest::newRow("backup") << u"Copia di sicurezza e ripristino"_s
                                << QStringList{u"cp -a "_s + data.installedFolder};
        QTest::newRow("moving") << u"Trasferire la collezione su un altro computer"_s
                                << QStringList{data.installedFolder};
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
