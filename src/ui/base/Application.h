#pragma once
#include <QApplication>

// The application object. An error that no handler caught is shown with its
// own text in a message box; the action stops and the window stays open.
class VetrinoraApplication : public QApplication {
    Q_OBJECT
public:
    VetrinoraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // Everything done before the first window is created: software
    // rendering, Italian formats and Qt's Italian texts, and the program's
    // icon unless it is to follow the first window.
    enum class Icon { Now, AfterFirstWindow };
    static void prepareProcess();
    void prepare(Icon icon = Icon::Now);
    // Gives every window the program's icon, those shown already included.
    static void showProgramIcon();

    static void reportError(const QString &text);
    // The program's icon, the window icon of every window.
    static QIcon programIcon();
};
