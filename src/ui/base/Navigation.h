#pragma once
// How main-level windows hand over to each other without knowing each other:
// a window names the place it leads to, and the window roster of the running
// program (which knows every main-level window) shows it.

#include <QString>

class QWidget;

enum class Place { Login, Start, ChangePassword, Sets, CreateArchive, OpenArchive, Mocs, Collection };

class Navigation {
public:
    virtual ~Navigation() = default;
    // The main-level window of a place.
    virtual QWidget *window(Place place) const = 0;
    // Shows the window of `to` (maximised or centred, as it is made) and hides `from`.
    virtual void handOver(QWidget *from, Place to) = 0;
    // Shows a main-level window in its own manner, without hiding another.
    virtual void showWindow(QWidget *window) = 0;
    // The MOC card editor, given the archive to work on (its file and name).
    virtual QWidget *mocEditorFor(const QString &file, const QString &name) = 0;
    // The collection window, opened from `from`, to which closing it returns.
    virtual void showCollection(QWidget *from) = 0;
    // Back to the login window, its field emptied and focused.
    virtual void backToLogin() = 0;
    // The program ends: every window closes and the message loop stops.
    virtual void endProgram() = 0;
};

// The navigation of the running program, installed by its window roster.
Navigation &navigation();
void setNavigation(Navigation *navigation);
