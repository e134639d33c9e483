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

#include <QAbstractButton>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

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
};

VETRINORA_TEST_MAIN(TestSmallScreen)
#include "test_small_screen.moc"
