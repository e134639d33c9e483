// The collection window's gallery: switched on and off by its button and
// remembered, the table's rows, order, filter and selection, a card opened
// by Enter or a double click; the thumbnails it leaves in the shared cache,
// read back against the desktop's thumbnail rules (place, name, URI, time,
// size, PNG, permissions), made anew for a changed photo, and a failure
// entry for a photo that cannot be read.

#include "TestSupport.h"

#include "core/cards/Schede.h"
#include "core/collection/CardFile.h"
#include "core/collection/Thumbnails.h"
#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/collection/GalleryView.h"
#include "ui/collection/TfrmCollezione.h"

#include <QColor>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A photo as a camera leaves it, in a colour of its own.
void writePhoto(const QString &path, QSize size, QColor colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "JPG"));
}

int mode(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

// The URI the rules ask for, built by hand: "file://", then the absolute
// path with every byte but letters, digits, "-._~" and "/" percent-encoded.
QString expectedUri(const QString &path)
{
    return QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
}

QString expectedName(const QString &path)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(expectedUri(path).toUtf8(), QCryptographicHash::Md5).toHex())
           + QStringLiteral(".png");
}

} // namespace

class TestGallery : public ProgramTest {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> cache;

    TfrmCollezione *window() const { return roster->frmCollezione(); }
    GalleryView *gallery() const { return window()->lstGalleria; }

    void writeCatalogue()
    {
        folder->writeCards(QStringLiteral("Catalogo_BLOKKO.pro"), Schede::TSchedaSet,
                           {{{"NomeSet", "Faro"}, {"Valore", "30,00"}},
                            {{"NomeSet", "Castello"}, {"Valore", "abc"}},
                            {{"NomeSet", "Drago"}, {"Valore", "12,50"}}});
        folder->writeCards(QStringLiteral("Castelli.moc"), Schede::TSchedaMOC,
                           {{{"NomeProgetto", "Torre"}, {"CostoTotale", "5,00"}}});
        writePhoto(folder->file(QStringLiteral("Schedario/BLOKKO_1.jpg")), {1600, 1200}, Qt::red);
        writePhoto(folder->file(QStringLiteral("Schedario/BLOKKO_3.jpg")), {300, 900}, Qt::green);
        writePhoto(folder->file(QStringLiteral("Foto_MOC/Castelli_Foto_A_1.jpg")), {640, 480}, Qt::blue);
    }

    void openFromStart()
    {
        roster->showWindow(roster->frmAvvio());
        QTest::mouseClick(roster->frmAvvio()->imgCollezione, Qt::LeftButton);
        QVERIFY(window()->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }

    void showCatalogue(const QString &name)
    {
        window()->cmbCatalogo->setCurrentIndex(window()->cmbCatalogo->findText(name));
        emit window()->cmbCatalogo->activated(window()->cmbCatalogo->currentIndex());
    }

    QString shownName(int row) const
    {
        return gallery()->model()->index(row, gallery()->modelColumn()).data().toString().trimmed();
    }

    // Reads a thumbnail back and checks it against the rules.
    void checkThumbnail(const QString &photo, const QString &sizeFolder, int most, QSize expected)
    {
        const QString path = cache->path() + QStringLiteral("/thumbnails/") + sizeFolder + QLatin1Char('/')
                             + expectedName(photo);
        QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage image = reader.read();
        QCOMPARE(image.text(QStringLiteral("Thumb::URI")), expectedUri(photo));
        QCOMPARE(image.text(QStringLiteral("Thumb::MTime")),
                 QString::number(QFileInfo(photo).lastModified().toSecsSinceEpoch()));
        QCOMPARE(image.text(QStringLiteral("Thumb::Size")), QString::number(QFileInfo(photo).size()));
        QVERIFY(image.width() <= most && image.height() <= most);
        QCOMPARE(image.size(), expected);
        QCOMPARE(mode(path), 0600);
        QCOMPARE(mode(cache->path() + QStringLiteral("/thumbnails")), 0700);
        QCOMPARE(mode(QFileInfo(path).absolutePath()), 0700);
        // Nothing left behind but the thumbnails themselves.
        for (const QString &name : QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files))
            QVERIFY2(name.endsWith(QStringLiteral(".png")) && name.size() == 36, qPrintable(name));
    }

private slots:
    void init()
    {
        ProgramTest::init();
        // A cache of its own for every test.
        cache = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache->path()));
    }

    // The button switches between table and gallery, each time shown the
    // next time the window opens; a setting that names no view is the table.
    void switchAndRemember()
    {
        writeCatalogue();
        openFromStart();
        QCOMPARE(window()->chkGalleria->text(), QStringLiteral("&Galleria"));
        QVERIFY(window()->grdSchede->isVisible());
        QVERIFY(!gallery()->isVisible());
        QTest::mouseClick(window()->chkGalleria, Qt::LeftButton);
        QVERIFY(gallery()->isVisible());
        QVERIFY(!window()->grdSchede->isVisible());
        QCOMPARE(gallery()->viewMode(), QListView::IconMode);
        // Remembered as the window is left.
        QTest::mouseClick(window()->btnEsci, Qt::LeftButton);
        {
            TfrmCollezione again;
            QVERIFY(again.chkGalleria->isChecked());
            QVERIFY(!again.lstGalleria->isHidden());
            QVERIFY(again.grdSchede->isHidden());
        }
        // Alt+G, as its caption says.
        openFromStart();
        QVERIFY(gallery()->isVisible());
        window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        QTest::keyClick(window()->focusWidget() ? window()->focusWidget() : window(), Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(window()->grdSchede->isVisible());
        QVERIFY(!gallery()->isVisible());
        QTest::mouseClick(window()->btnEsci, Qt::LeftButton);
        {
            TfrmCollezione again;
            QVERIFY(!again.chkGalleria->isChecked());
            QVERIFY(again.lstGalleria->isHidden());
        }
        for (const char *value : {"galleria", "Galleria/../x", "", "\x01"}) {
            QSettings(folder->file(QStringLiteral("Collezione.ini")), QSettings::IniFormat)
                .setValue(QStringLiteral("Collezione/Vista"), QString::fromLatin1(value));
            TfrmCollezione again;
            QVERIFY2(!again.chkGalleria->isChecked(), value);
            QVERIFY(again.lstGalleria->isHidden());
        }
    }

    // The gallery shows the table's cards: the same order after a sort,
    // the same filter, names and values, and one selection for both.
    void sameRowsAndSelection()
    {
        writeCatalogue();
        openFromStart();
        QTest::mouseClick(window()->chkGalleria, Qt::LeftButton);
        window()->grdSchede->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
        QCOMPARE(gallery()->model(), window()->grdSchede->model());
        QCOMPARE(gallery()->selectionModel(), window()->grdSchede->selectionModel());
        QStringList names;
        for (int row : gallery()->visibleRows())
            names << shownName(row);
        QCOMPARE(names, (QStringList{"Castello", "Drago", "Faro"}));
        // In reading order on screen.
        const QRect first = gallery()->visualRect(gallery()->model()->index(0, gallery()->modelColumn()));
        const QRect second = gallery()->visualRect(gallery()->model()->index(1, gallery()->modelColumn()));
        QVERIFY(second.left() > first.left() && second.top() == first.top());
        QTest::keyClicks(window()->txtFiltro, "ar");
        names.clear();
        for (int row : gallery()->visibleRows())
            names << shownName(row);
        QCOMPARE(names, (QStringList{"Faro"}));
        window()->txtFiltro->clear();

        // A click in the gallery selects the card in the table too.
        const QRect drago = gallery()->visualRect(gallery()->model()->index(1, gallery()->modelColumn()));
        QTest::mouseClick(gallery()->viewport(), Qt::LeftButton, {}, drago.center());
        const QModelIndexList rows = window()->grdSchede->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.front().row(), 1);
        QCOMPARE(window()->lblTotaleSelezione->text(),
                 QStringLiteral("Selezione: 1 scheda, valore 12,50 €; in vendita 0 schede per 0,00 €"));
        // Marked on screen as selected, the others not.
        const QImage shot = gallery()->viewport()->grab().toImage();
        const QRect faro = gallery()->visualRect(gallery()->model()->index(2, gallery()->modelColumn()));
        const QColor highlight = gallery()->palette().color(
            gallery()->isActiveWindow() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
        QCOMPARE(shot.pixelColor(drago.topLeft() + QPoint(2, 2)), highlight);
        QVERIFY(shot.pixelColor(faro.topLeft() + QPoint(2, 2)) != highlight);
        // And back to the table with the same card selected.
        QTest::mouseClick(window()->chkGalleria, Qt::LeftButton);
        QCOMPARE(window()->grdSchede->currentIndex().row(), 1);
        QCOMPARE(window()->grdSchede->selectionModel()->selectedRows().size(), 1);
    }

    // Enter or a double click opens the card in its editor, as the table does.
    void openInEditor_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("position");
        QTest::newRow("set, double click") << "Catalogo BLOKKO" << false << "Drago" << "3";
        QTest::newRow("set, Enter") << "Catalogo BLOKKO" << true << "Drago" << "3";
        QTest::newRow("whole collection, Enter") << "Tutta la collezione" << true << "Torre" << "1";
        QTest::newRow("whole collection, double click") << "Tutta la collezione" << false << "Faro" << "1";
    }

    void openInEditor()
    {
        QFETCH(QString, catalogue);
        QFETCH(bool, enter);
        QFETCH(QString, name);
        QFETCH(QString, position);
        writeCatalogue();
        openFromStart();
        showCatalogue(catalogue);
        QTest::mouseClick(window()->chkGalleria, Qt::LeftButton);
        int row = -1;
        for (int r = 0; r < gallery()->model()->rowCount(); ++r)
            if (shownName(r) == name)
                row = r;
        QVERIFY(row >= 0);
        const QRect item = gallery()->visualRect(gallery()->model()->index(row, gallery()->modelColumn()));
        QTest::mouseClick(gallery()->viewport(), Qt::LeftButton, {}, item.center());
        if (enter) {
            QTest::keyClick(gallery(), Qt::Key_Return);
        } else {
            QTest::mouseDClick(gallery()->viewport(), Qt::LeftButton, {}, item.center());
        }
        CardEditor *editor = name == QStringLiteral("Torre") ? static_cast<CardEditor *>(roster->frmCartoline())
                                                             : static_cast<CardEditor *>(roster->frmArmi());
        QVERIFY(editor->isVisible());
        QVERIFY(!window()->isVisible());
        QCOMPARE(editor->lblPosizione->text(), position);
        QCOMPARE(editor->field(editor->config().layout->fields.front().control)->text(), name);
    }

    // The gallery leaves its thumbnails in the shared cache as the rules
    // say; its cards show them, and the placeholder where there is no photo.
    void thumbnailsOfTheGallery()
    {
        writeCatalogue();
        openFromStart();
        QTest::mouseClick(window()->chkGalleria, Qt::LeftButton);
        const QString faro = folder->file(QStringLiteral("Schedario/BLOKKO_1.jpg"));
        const QString drago = folder->file(QStringLiteral("Schedario/BLOKKO_3.jpg"));
        const QString castello = folder->file(QStringLiteral("Schedario/BLOKKO_2.jpg"));
        QCOMPARE(gallery()->photoOf(0), faro);
        QTRY_COMPARE(gallery()->thumbnails()->find(faro).state, ThumbnailQueue::State::Ready);
        QTRY_COMPARE(gallery()->thumbnails()->find(drago).state, ThumbnailQueue::State::Ready);
        QCOMPARE(gallery()->thumbnails()->find(castello).state, ThumbnailQueue::State::NoPhoto);
        QTRY_VERIFY(QFileInfo::exists(Thumbnails::cachePath(drago, Thumbnails::Size::Normal)));
        checkThumbnail(faro, QStringLiteral("normal"), 128, {128, 96});
        checkThumbnail(drago, QStringLiteral("normal"), 128, {42, 128});
        // What the card shows: the red photo, the placeholder without one.
        const QImage shot = gallery()->viewport()->grab().toImage();
        const QRect faroItem = gallery()->visualRect(gallery()->model()->index(0, gallery()->modelColumn()));
        const QColor middle = shot.pixelColor(faroItem.center().x(), faroItem.top() + 6 + 64);
        QVERIFY2(middle.red() > 200 && middle.green() < 60, qPrintable(middle.name()));
        const QRect castelloItem = gallery()->visualRect(gallery()->model()->index(1, gallery()->modelColumn()));
        const QImage placeholder = gallery()->placeholder(false);
        QCOMPARE(shot.pixelColor(castelloItem.center().x(), castelloItem.top() + 6 + 64),
                 placeholder.pixelColor(placeholder.width() / 2, placeholder.height() / 2));
    }

    // Both sizes through the core, with names that need percent-encoding;
    // an unchanged photo is read from the cache, a changed one made anew.
    void thumbnailRules_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("normal") << 128 << "Foto_MOC/Castelli_Foto_A_1.jpg" << QSize(1600, 1200) << QSize(128, 96);
        QTest::newRow("large") << 256 << "Foto_MOC/Castelli_Foto_A_1.jpg" << QSize(1600, 1200) << QSize(256, 192);
        QTest::newRow("small photo, never enlarged") << 256 << "Schedario/BLOKKO_4.jpg" << QSize(100, 60)
                                                     << QSize(100, 60);
        QTest::newRow("space, accent and #") << 128 << "Foto_MOC/Città vecchia #2_Foto_A_7.jpg"
                                              << QSize(800, 1200) << QSize(85, 128);
    }

    void thumbnailRules()
    {
        QFETCH(int, size);
        QFETCH(QString, where);
        QFETCH(QSize, photo);
        QFETCH(QSize, expected);
        const auto thumbSize = size == 256 ? Thumbnails::Size::Large : Thumbnails::Size::Normal;
        const QString path = folder->file(where);
        writePhoto(path, photo, Qt::darkCyan);
        QCOMPARE(Thumbnails::uri(path), expectedUri(path));
        QCOMPARE(Thumbnails::cachePath(path, thumbSize),
                 cache->path() + QStringLiteral("/thumbnails/") + (size == 256 ? "large/" : "normal/")
                     + expectedName(path));
        const Thumbnails::Result made = Thumbnails::thumbnail(path, thumbSize);
        QCOMPARE(made.state, Thumbnails::Result::Made);
        checkThumbnail(path, size == 256 ? QStringLiteral("large") : QStringLiteral("normal"), size, expected);
        QCOMPARE(Thumbnails::thumbnail(path, thumbSize).state, Thumbnails::Result::Cached);

        // The photo changes: its time no longer matches, a new one is made.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime later = QDateTime::currentDateTime().addSecs(3600);
        QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(Thumbnails::cached(path, thumbSize, later.toSecsSinceEpoch()), QImage());
        QCOMPARE(Thumbnails::thumbnail(path, thumbSize).state, Thumbnails::Result::Made);
        checkThumbnail(path, size == 256 ? QStringLiteral("large") : QStringLiteral("normal"), size, expected);
        QCOMPARE(Thumbnails::thumbnail(path, thumbSize).state, Thumbnails::Result::Cached);
    }

    // The gallery makes a changed photo's thumbnail anew.
    void changedPhotoInTheGallery()
    {
        writeCatalogue();
        openFromStart();
        QTest::mouseClick(window()->chkGalleria, Qt::LeftButton);
        const QString faro = folder->file(QStringLiteral("Schedario/BLOKKO_1.jpg"));
        QTRY_VERIFY(QFileInfo::exists(Thumbnails::cachePath(faro, Thumbnails::Size::Normal)));
        writePhoto(faro, {1200, 1600}, Qt::yellow);
        QFile file(faro);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime later = QDateTime::currentDateTime().addSecs(7200);
        QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(gallery()->thumbnails()->find(faro).state, ThumbnailQueue::State::Waiting);
        gallery()->viewport()->update();
        QTRY_COMPARE(gallery()->thumbnails()->find(faro).state, ThumbnailQueue::State::Ready);
        QCOMPARE(gallery()->thumbnails()->find(faro).image.size(), QSize(96, 128));
        QTRY_COMPARE(QImage(Thumbnails::cachePath(faro, Thumbnails::Size::Normal)).text(QStringLiteral("Thumb::MTime")),
                     QString::number(later.toSecsSinceEpoch()));
        checkThumbnail(faro, QStringLiteral("normal"), 128, {96, 128});
    }

    // A photo that cannot be read: the placeholder, a failure entry, no
    // thumbnail; tried again once it changes.
    void unreadablePhoto()
    {
        writeCatalogue();
        const QString castello = folder->file(QStringLiteral("Schedario/BLOKKO_2.jpg"));
        folder->write(QStringLiteral("Schedario/BLOKKO_2.jpg"), QByteArray("\xFF\xD8 not a photo", 14));
        openFromStart();
        QTest::mouseClick(window()->chkGalleria, Qt::LeftButton);
        QTRY_COMPARE(gallery()->thumbnails()->find(castello).state, ThumbnailQueue::State::Failed);
        const QString fail = cache->path() + QStringLiteral("/thumbnails/fail/vetrinora-1.0/")
                             + expectedName(castello);
        QTRY_VERIFY(QFileInfo::exists(fail));
        QCOMPARE(Thumbnails::failPath(castello), fail);
        const QImage entry(fail);
        QCOMPARE(entry.text(QStringLiteral("Thumb::URI")), expectedUri(castello));
        QCOMPARE(entry.text(QStringLiteral("Thumb::MTime")),
                 QString::number(QFileInfo(castello).lastModified().toSecsSinceEpoch()));
        QCOMPARE(mode(fail), 0600);
        QVERIFY(!QFileInfo::exists(Thumbnails::cachePath(castello, Thumbnails::Size::Normal)));
        // Its card shows the placeholder.
        const QImage shot = gallery()->viewport()->grab().toImage();
        const QRect item = gallery()->visualRect(gallery()->model()->index(1, gallery()->modelColumn()));
        const QImage placeholder = gallery()->placeholder(false);
        QCOMPARE(shot.pixelColor(item.center().x(), item.top() + 6 + 64),
                 placeholder.pixelColor(placeholder.width() / 2, placeholder.height() / 2));
        // Known to fail: not decoded again while it stays as it is.
        QCOMPARE(Thumbnails::thumbnail(castello, Thumbnails::Size::Normal).state, Thumbnails::Result::Failed);
        QVERIFY(Thumbnails::failedBefore(castello, QFileInfo(castello).lastModified().toSecsSinceEpoch()));
        // Replaced by a real photo, it gets its thumbnail.
        writePhoto(castello, {640, 480}, Qt::white);
        QFile file(castello);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(Thumbnails::thumbnail(castello, Thumbnails::Size::Normal).state, Thumbnails::Result::Made);
    }
};

VETRINORA_TEST_MAIN(TestGallery)
#include "test_gallery.moc"
