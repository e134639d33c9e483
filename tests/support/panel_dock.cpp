// A desktop panel along the bottom edge of the X screen, as a desktop's task
// bar is: a dock window that reserves its strip through _NET_WM_STRUT_PARTIAL,
// so that the window manager leaves it out of the work area (_NET_WORKAREA)
// and maximised windows stop above it.
//   panel_dock <height in pixels>
// Prints "ready" once the window manager publishes the reduced work area,
// then stays until it is ended.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <unistd.h>

namespace {

// The height of the first desktop's work area, or -1 while there is none.
long workAreaHeight(Display *display)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    const Atom workArea = XInternAtom(display, "_NET_WORKAREA", False);
    if (XGetWindowProperty(display, DefaultRootWindow(display), workArea, 0, 4, False,
                           XA_CARDINAL, &type, &format, &items, &after, &data)
            != Success
        || !data)
        return -1;
    const long height = (type == XA_CARDINAL && format == 32 && items == 4)
                            ? reinterpret_cast<long *>(data)[3]
                            : -1;
    XFree(data);
    return height;
}

// True once a window manager runs on the screen (it names its check window
// on the root window).
bool windowManagerRuns(Display *display)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &items, &after, &data)
            != Success
        || !data)
        return false;
    XFree(data);
    return type == XA_WINDOW && items == 1;
}

// Waits up to `seconds` for the condition.
bool waitFor(const std::function<bool()> &condition, int seconds = 30)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int height = argc > 1 ? std::atoi(argv[1]) : 0;
    if (height <= 0) {
        std::fprintf(stderr, "usage: panel_dock <height in pixels>\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "panel_dock: no X display\n");
        return 1;
    }
    // A window manager that has set itself up (it publishes the work area):
    // one still starting may take no notice of the panel's strip.
    if (!waitFor([display] { return windowManagerRuns(display) && workAreaHeight(display) > 0; })) {
        std::fprintf(stderr, "panel_dock: no window manager runs on the display\n");
        XCloseDisplay(display);
        return 1;
    }
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen);
    const int screenHeight = DisplayHeight(display, screen);
    const Window panel = XCreateSimpleWindow(display, RootWindow(display, screen), 0,
                                             screenHeight - height, width, height, 0, 0, 0x303030);
    XSizeHints *hints = XAllocSizeHints();
    hints->flags = USPosition | USSize | PMinSize | PMaxSize;
    hints->x = 0;
    hints->y = screenHeight - height;
    hints->width = hints->min_width = hints->max_width = width;
    hints->height = hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display, panel, hints);
    XFree(hints);
    XStoreName(display, panel, "Pannello");
    const Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char *>(&dock), 1);
    // On every desktop, as a panel is.
    const long allDesktops = 0xFFFFFFFF;
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_DESKTOP", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char *>(&allDesktops), 1);
    // left, right, top, bottom, then the start and end of each strip.
    const long strut[12] = {0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, width - 1};
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_STRUT_PARTIAL", False),
                    XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(strut), 12);
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_STRUT", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char *>(strut), 4);
    // The window manager takes the strip out of the work area. Openbox, just
    // started, now and then manages the window without its strip: the panel
    // is then shown afresh.
    const auto reserved = [display, screenHeight, height] {
        return workAreaHeight(display) == screenHeight - height;
    };
    bool done = false;
    for (int attempt = 0; attempt < 10 && !done; ++attempt) {
        if (attempt > 0) {
            XUnmapWindow(display, panel);
            XFlush(display);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        XMapWindow(display, panel);
        XFlush(display);
        done = waitFor(reserved, 3);
    }
    if (!done) {
        std::fprintf(stderr, "panel_dock: the window manager did not reserve the panel "
                             "(work area height %ld, expected %d)\n",
                     workAreaHeight(display), screenHeight - height);
        XCloseDisplay(display);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        pause();
}
