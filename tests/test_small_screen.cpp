// On a screen smaller than a window's fixed panel the window scrolls, so that
// every control of the panel can be brought into view; on a screen large
// enough the panel stands still, the window's gradient around it.
//
// The suite runs on the offscreen platform's screen of 800 x 600. Its main
// windows' cases also run on a real X server under a window manager
// (e2e/panel_screen.sh): 1920 x 1080 at a scale of 1.5 with a desktop panel
// reserved along the bottom edge, where the free area of the screen is what
// the panel and the window's title bar leave. VETRINORA_TEST_SCREEN and
// VETRINORA_TEST_FREE_AREA say which screen the run expects.

#include "TestSupport.h"

#include "ui/app/Roster.h"
#include "ui/app/TfrmAvvio.h"
#include "ui/archives/TfrmApriCatalogo.h"
#include "ui/archives/TfrmCreaCatalogo.h"
#include "ui/cards/TfrmArmi.h"
#include "ui/cards/TfrmCartoline.h"
#include "ui/editing/TfrmWebCam.h"
#include "ui/output/ExportWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <memory>
#include <utility>

class TestSmallScreen : public ProgramTest {
    Q_OBJECT

    GradientWindow *window(const QString &name) const
    {
        if (name == QLatin1String("frmArmi"))
            return roster->frmArmi();
        if (name == QLatin1String("frmCartoline"))
            return roster->frmCartoline();
        if (name == QLatin1String("frmAvvio"))
            return roster->frmAvvio();
        if (name == QLatin1String("frmCreaCatalogo"))
            return roster->frmCreaCatalogo();
        return roster->frmApriCatalogo();
    }

    // "1280x720", or "0,0,1280x688" with the top left corner.
    static QRect fromEnvironment(const char *name, const QRect &otherwise)
    {
        const QString text = qEnvironmentVariable(name);
        if (text.isEmpty())
            return otherwise;
        static const QRegularExpression form(QStringLiteral("^(?:(\\d+),(\\d+),)?(\\d+)x(\\d+)$"));
        const QRegularExpressionMatch m = form.match(text);
        if (!m.hasMatch())
            qFatal("%s is not of the form [X,Y,]WIDTHxHEIGHT: %s", name, qPrintable(text));
        return QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                     m.captured(4).toInt());
    }

    // Shows a main window as the program does (maximised, within the free
    // area of the screen) and waits for the window manager, where there is
    // one, to have placed it.
    static void showAsTheProgramDoes(Roster &roster, GradientWindow *w)
    {
        roster.showWindow(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_VERIFY2(free.contains(w->frameGeometry()),
                     qPrintable(QStringLiteral("the window with its frame (%1,%2 %3x%4) leaves the free "
                                               "area of the screen (%5,%6 %7x%8)")
                                    .arg(w->frameGeometry().x())
                                    .arg(w->frameGeometry().y())
                                    .arg(w->frameGeometry().width())
                                    .arg(w->frameGeometry().height())
                                    .arg(free.x())
                                    .arg(free.y())
                                    .arg(free.width())
                                    .arg(free.height())));
        // The window manager's last word on the size has reached the layout.
        QTRY_COMPARE(w->scroller()->size(), w->size());
    }

    // "800x600", with the free area when it differs ("0,0,1280x688").
    static QString describe(const QRect &screen, const QRect &free)
    {
        QString text = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
        if (free != screen)
            text += QStringLiteral(" (free area %1,%2 %3x%4)").arg(free.x()).arg(free.y()).arg(free.width()).arg(free.height());
        return text;
    }

private slots:
    // Every case needs the screen the run was set up with (the offscreen
    // platform's small screen, or the X server of e2e/panel_screen.sh), with
    // a free area smaller than the main windows' panels (995 x 692).
    void initTestCase()
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY2(screen, "no screen");
        const QRect size = fromEnvironment("VETRINORA_TEST_SCREEN", QRect(0, 0, 800, 600));
        const QRect free = fromEnvironment("VETRINORA_TEST_FREE_AREA", QRect(QPoint(0, 0), size.size()));
        const QRect shownFree = screen->availableGeometry();
        QVERIFY2(screen->size() == size.size() && shownFree == free,
                 qPrintable(QStringLiteral("the run expects a screen of %1 but has %2: start it with "
                                           "tests/support/offscreen_small.json or from "
                                           "e2e/panel_screen.sh")
                                .arg(describe(QRect(QPoint(0, 0), size.size()), free),
                                     describe(screen->geometry(), shownFree))));
        QVERIFY2(free.width() < 995 || free.height() < 692,
                 qPrintable(QStringLiteral("the free area %1 holds a whole panel: nothing would scroll")
                                .arg(describe(free, free))));
    }

    // On the small screen a main window fills the free area and no more, and
    // its scroll bars reach both ends of its panel: scrolled to the start the
    // panel's top left corner is in view, scrolled to the end its bottom
    // right corner.
    void theWindowsScrollToBothEndsOfTheirPanels_data() { everyControlCanBeScrolledIntoView_data(); }
    void theWindowsScrollToBothEndsOfTheirPanels()
    {
        QFETCH(QString, name);
        GradientWindow *w = window(name);
        showAsTheProgramDoes(*roster, w);
        if (QTest::currentTestFailed())
            return;
        QWidget *panel = w->panel();
        QScrollArea *scroller = w->scroller();
        QVERIFY(panel->width() > w->width() || panel->height() > w->height());
        QScrollBar *across = scroller->horizontalScrollBar();
        QScrollBar *down = scroller->verticalScrollBar();
        const QRect inView = scroller->viewport()->rect();
        const auto shown = [&](QPoint corner) { return inView.contains(panel->mapTo(scroller->viewport(), corner)); };
        across->setValue(across->minimum());
        down->setValue(down->minimum());
        QVERIFY2(shown(QPoint(0, 0)), "the panel's top left corner stays out of view");
        QVERIFY(!shown(QPoint(panel->width() - 1, panel->height() - 1)));
        across->setValue(across->maximum());
        down->setValue(down->maximum());
        QVERIFY2(shown(QPoint(panel->width() - 1, panel->height() - 1)),
                 "the panel's bottom right corner stays out of view");
        w->hide();
    }

    void everyControlCanBeScrolledIntoView_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"frmArmi", "frmCartoline", "frmAvvio", "frmCreaCatalogo", "frmApriCatalogo"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyControlCanBeScrolledIntoView()
    {
        QFETCH(QString, name);
        GradientWindow *w = window(name);
        showAsTheProgramDoes(*roster, w);
        if (QTest::currentTestFailed())
            return;
        QScrollArea *scroller = w->scroller();
        QVERIFY(scroller);
        QVERIFY(w->panel()->width() > w->width() || w->panel()->height() > w->height());
        QVERIFY(scroller->horizontalScrollBar()->maximum() > 0
                || scroller->verticalScrollBar()->maximum() > 0);
        int controls = 0;
        const QRect inView = scroller->viewport()->rect();
        for (QWidget *c : w->panel()->findChildren<QWidget *>()) {
            // The controls, and the hint bar's text in the card editors.
            const bool interactive = qobject_cast<QLineEdit *>(c) || qobject_cast<QAbstractButton *>(c)
                                     || (c->focusPolicy() & Qt::TabFocus)
                                     || c->objectName() == QLatin1String("panInfo");
            if (!interactive || !c->isVisibleTo(w) || c->objectName() == QLatin1String("btnFocus"))
                continue;
            ++controls;
            // Scrolled to the whole control (a text field's own request only
            // asks for its cursor).
            // What of the control lies on the panel (as on a large screen).
            const QRect onPanel = QRect(c->mapTo(w->panel(), QPoint(0, 0)), c->size())
                                  & w->panel()->rect();
            const QRect inStage = onPanel.translated(w->panel()->pos());
            const QSize room = scroller->viewport()->size();
            scroller->ensureVisible(inStage.center().x(), inStage.center().y(),
                                    inStage.width() / 2 + (inStage.width() < room.width()),
                                    inStage.height() / 2 + (inStage.height() < room.height()));
            const QRect where = onPanel.translated(w->panel()->mapTo(scroller->viewport(), QPoint(0, 0)));
            const QRect shown = where & inView;
            // All of it, or as much of it as the screen can show at once.
            QVERIFY2(shown.width() >= qMin(where.width(), inView.width())
                         && shown.height() >= qMin(where.height(), inView.height()),
                     qPrintable(QStringLiteral("%1 stays out of view at %2,%3")
                                    .arg(c->objectName())
                                    .arg(where.x())
                                    .arg(where.y())));
        }
        QVERIFY(controls > 0);
        w->hide();
    }

    // The card editors' Return, which moves the focus from field to field
    // (the last one back to the first), brings each field it reaches into
    // view with its yellow halo, from wherever the view was scrolled.
    void theReturnCycleKeepsTheFocusedFieldInView_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fromTheBottom");
        for (const char *name : {"frmArmi", "frmCartoline"}) {
            QTest::addRow("%s, scrolled to the top", name) << QString::fromLatin1(name) << false;
            QTest::addRow("%s, scrolled to the bottom", name) << QString::fromLatin1(name) << true;
        }
    }
    void theReturnCycleKeepsTheFocusedFieldInView()
    {
        QFETCH(QString, name);
        QFETCH(bool, fromTheBottom);
        GradientWindow *w = window(name);
        showAsTheProgramDoes(*roster, w);
        if (QTest::currentTestFailed())
            return;
        QScrollArea *scroller = w->scroller();
        QVERIFY(scroller->verticalScrollBar()->maximum() > 0); // the panel does not fit
        QList<QLineEdit *> fields;
        for (QLineEdit *f : w->panel()->findChildren<QLineEdit *>())
            if (f->isVisibleTo(w) && f->isEnabled())
                fields << f;
        QVERIFY(fields.size() > 2);
        auto *first = *std::min_element(fields.cbegin(), fields.cend(), [](QLineEdit *a, QLineEdit *b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        first->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), first);
        for (QScrollBar *bar : {scroller->horizontalScrollBar(), scroller->verticalScrollBar()})
            bar->setValue(fromTheBottom ? bar->maximum() : bar->minimum());

        const QRect inView = scroller->viewport()->rect();
        QSet<QWidget *> reached;
        // Twice round the cycle.
        for (qsizetype step = 0; step < 2 * fields.size(); ++step) {
            QWidget *from = QApplication::focusWidget();
            QVERIFY(from);
            QTest::keyClick(from, Qt::Key_Return);
            QWidget *now = QApplication::focusWidget();
            QVERIFY2(qobject_cast<QLineEdit *>(now) && w->panel()->isAncestorOf(now),
                     qPrintable(QStringLiteral("Return in %1 left the fields").arg(from->objectName())));
            reached << now;
            // The field with its halo, 4 units round it.
            const QRect where = QRect(now->mapTo(scroller->viewport(), QPoint(0, 0)), now->size())
                                    .adjusted(-4, -4, 4, 4);
            QVERIFY2(inView.contains(where),
                     qPrintable(QStringLiteral("%1 has the focus out of view at %2,%3 (view %4x%5)")
                                    .arg(now->objectName())
                                    .arg(where.x())
                                    .arg(where.y())
                                    .arg(inView.width())
                                    .arg(inView.height())));
        }
        QCOMPARE(reached.size(), fields.size()); // every field is in the cycle
        w->hide();
    }

    // A dialog wider than the screen (the export window, the webcam window)
    // opens within it and scrolls to each of its controls.
    void aDialogLargerThanTheScreenScrolls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("export") << QStringLiteral("frmExpArmi");
        QTest::newRow("webcam") << QStringLiteral("frmWebCam");
    }
    void aDialogLargerThanTheScreenScrolls()
    {
        QFETCH(QString, name);
        std::unique_ptr<QDialog> dialog;
        if (name == QLatin1String("frmExpArmi"))
            dialog = std::make_unique<TfrmExpArmi>(roster->frmArmi());
        else
            dialog = std::make_unique<TfrmWebCam>(roster->frmCartoline());
        const QStringList names = [&] {
            QStringList all;
            for (QWidget *c : dialog->findChildren<QWidget *>())
                if (!c->objectName().isEmpty())
                    all << c->objectName();
            return all;
        }();
        auto tabChain = [&] {
            QStringList order;
            for (QWidget *w = dialog->nextInFocusChain(); w && w != dialog.get();
                 w = w->nextInFocusChain())
                if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
                    order << w->objectName();
            return order;
        };
        const QStringList tabOrder = tabChain();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(tabChain(), tabOrder); // the same Tab order as on a large screen
        QVERIFY(dialog->width() <= 800 && dialog->height() <= 600);
        auto *scroller = dialog->findChild<QScrollArea *>(QStringLiteral("scrPanel"));
        QVERIFY(scroller);
        const QRect inView = scroller->viewport()->rect();
        for (const QString &n : names) {
            QWidget *c = dialog->findChild<QWidget *>(n);
            QVERIFY2(c, qPrintable(n)); // every control is still there, by its name
            if (!c->isVisibleTo(dialog.get()) || !(qobject_cast<QAbstractButton *>(c)
                                                  || qobject_cast<QLineEdit *>(c)))
                continue;
            const QRect inPage(c->mapTo(scroller->widget(), QPoint(0, 0)), c->size());
            const QSize room = inView.size();
            scroller->ensureVisible(inPage.center().x(), inPage.center().y(),
                                    inPage.width() / 2 + (inPage.width() < room.width()),
                                    inPage.height() / 2 + (inPage.height() < room.height()));
            const QRect where(c->mapTo(scroller->viewport(), QPoint(0, 0)), c->size());
            QVERIFY2(inView.contains(where), qPrintable(n));
        }
        dialog->close();
    }
};

VETRINORA_TEST_MAIN(TestSmallScreen)
#include "test_small_screen.moc"
