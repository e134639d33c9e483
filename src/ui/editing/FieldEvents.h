#pragma once
// The enter, leave and key-down events of a text field, as the program's
// field behaviours use them. "Enter" and "leave" follow the field's window's
// focus widget, so they do not fire when the whole window merely loses or
// regains activation (a message box, another program), and they fire also
// when the focus is moved in a window that is not active.

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;

class FieldEvents : public QObject {
    Q_OBJECT
public:
    // The events object of a field, created on first use and owned by it.
    static FieldEvents *of(QWidget *field);

    void onEnter(std::function<void()> handler);
    void onExit(std::function<void()> handler);
    // The handler returns true to consume the key.
    void onKeyDown(std::function<bool(QKeyEvent *)> handler);

    // Re-reads whether the field holds its window's focus and fires enter or
    // leave on a change.
    void sync();

    // Silences every field of a window that is being destroyed: the focus
    // leaves its fields one by one as they go, and their handlers must not
    // reach controls already gone. Each window calls it in its destructor.
    static void detachAll(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FieldEvents(QWidget *field);

    QWidget *field_;
    bool focused_ = false;
    std::vector<std::function<void()>> enter_;
    std::vector<std::function<void()>> exit_;
    std::vector<std::function<bool(QKeyEvent *)>> keyDown_;
};

namespace Focus {
// Gives the focus to a control, firing the leave of the control that had it
// and the enter of the new one, whether or not the window is active.
void moveTo(QWidget *target);
} // namespace Focus

// True for the Return and Enter keys (key code 13).
bool isReturnKey(const QKeyEvent *event);
