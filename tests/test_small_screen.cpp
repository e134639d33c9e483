// On a screen smaller than a window's fixed panel (here 800 x 600) the window
// scrolls, so that every control of the panel can be brought into view; on a
// screen large enough the panel stands still, the window's gradient around it.

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
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <memory>

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

private slots:
    void theScreenIsSmall()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(800, 600));
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
        w->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(w->width() <= 800 && w->height() <= 600);
        QScrollArea *scroller = w->scroller();
        QVERIFY(scroller);
        QVERIFY(w->panel()->width() > w->width() || w->panel()->height() > w->height());
        QVERIFY(scroller->horizontalScrollBar()->maximum() > 0
                || scroller->verticalScrollBar()->maximum() > 0);
        int controls = 0;
        const QRect inView = scroller->viewport()->rect();
        for (QWidget *c : w->panel()->findChildren<QWidget *>()) {
            const bool interactive = qobject_cast<QLineEdit *>(c) || qobject_cast<QAbstractButton *>(c)
                                     || (c->focusPolicy() & Qt::TabFocus);
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
