#pragma once
// The main-level windows of the program, created once at start-up in this
// order and shown one at a time: a hand-over shows the target first and then
// hides the source, so exactly one of them is visible.

#include "ui/base/Navigation.h"

#include <QObject>
#include <memory>

class QWidget;
class TfrmPassword;
class TfrmAvvio;
class TfrmCambiaPassword;
class TfrmArmi;
class TfrmCreaCatalogo;
class TfrmApriCatalogo;
class TfrmCartoline;
class TfrmCollezione;

class Roster : public QObject, public Navigation {
    Q_OBJECT
public:
    enum class Creation {
        AllAtOnce,  // every window before the constructor returns
        LoginFirst, // the login window now, the others in order once it
                    // has been drawn, or as soon as any of them is asked for
    };
    explicit Roster(Creation creation = Creation::AllAtOnce);
    ~Roster() override;

    // The one roster of the running program.
    static Roster &instance();

    TfrmPassword *frmPassword() const { return password_.get(); }
    TfrmAvvio *frmAvvio() const { return avvio_.get(); }
    TfrmCambiaPassword *frmCambiaPassword() const { return cambiaPassword_.get(); }
    TfrmArmi *frmArmi() const { return armi_.get(); }
    TfrmCreaCatalogo *frmCreaCatalogo() const { return creaCatalogo_.get(); }
    TfrmApriCatalogo *frmApriCatalogo() const { return apriCatalogo_.get(); }
    TfrmCartoline *frmCartoline() const { return cartoline_.get(); }
    TfrmCollezione *frmCollezione() const { return collezione_.get(); }

    // Shows the login window: the first step of every run.
    void start();
    // Brings the program's window in use (a dialog open over it first) to
    // the front, restored when it was minimised.
    void bringToFront();
    // Shows `to` (maximised or centred, as the window is made) and hides `from`.
    void handOver(QWidget *from, QWidget *to);

    // Navigation
    QWidget *window(Place place) const override;
    void handOver(QWidget *from, Place to) override { handOver(from, window(to)); }
    void showWindow(QWidget *window) override;
    QWidget *mocEditorFor(const QString &file, const QString &name) override;
    void showCollection(QWidget *from) override;
    void backToLogin() override;
    void endProgram() override;

signals:
    void programEnded();
    // The windows after the login window have been made: the start is over.
    void othersCreated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The longest the other windows wait, after start(), for the login
    // window's first paint.
    static constexpr int kLatestCreationMs = 500;
    void createTheOthers();
    void ensureOthers() const;

    std::unique_ptr<TfrmPassword> password_;
    std::unique_ptr<TfrmAvvio> avvio_;
    std::unique_ptr<TfrmCambiaPassword> cambiaPassword_;
    std::unique_ptr<TfrmArmi> armi_;
    std::unique_ptr<TfrmCreaCatalogo> creaCatalogo_;
    std::unique_ptr<TfrmApriCatalogo> apriCatalogo_;
    std::unique_ptr<TfrmCartoline> cartoline_;
    std::unique_ptr<TfrmCollezione> collezione_;
    bool ending_ = false;
};
