// Time from process start to its first window being mapped on the X server,
// for Vetrinora's login window and for a bare Qt window, in one run.
//   startup_bench <Vetrinora> <bare_window> [runs]
// Needs an X display (bench/run.sh starts Xvfb).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

bool hasTitle(Display *display, Window w, const std::string &title)
{
    char *name = nullptr;
    if (!XFetchName(display, w, &name) || !name)
        return false;
    const bool same = title == name;
    XFree(name);
    return same;
}

// Milliseconds from fork to the mapping of a window with the given title.
double timeToWindow(Display *display, const char *program, const std::string &title)
{
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    double ms = -1;
    const auto deadline = start + std::chrono::seconds(30);
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && hasTitle(display, event.xmap.window, title)) {
                ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                break;
            }
        }
        if (ms >= 0)
            break;
        usleep(200);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSelectInput(display, root, NoEventMask);
    return ms;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <Vetrinora> <bare_window> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    // One warm-up each, so both start with the libraries in the page cache.
    timeToWindow(display, argv[1], " Vetrinora - Accesso");
    timeToWindow(display, argv[2], "bare window");
    std::vector<double> program, bare;
    for (int i = 0; i < runs; ++i) {
        program.push_back(timeToWindow(display, argv[1], " Vetrinora - Accesso"));
        bare.push_back(timeToWindow(display, argv[2], "bare window"));
    }
    XCloseDisplay(display);
    const double p = median(program), b = median(bare);
    std::printf("runs: %d each (median)\n", runs);
    std::printf("bare Qt window:        %7.1f ms\n", b);
    std::printf("Vetrinora login window: %7.1f ms\n", p);
    std::printf("Start-up, login window vs bare Qt window  ratio %5.2f  (goal: at most 1.35)%s\n", p / b,
                p / b <= 1.35 ? "" : "  FAIL");
    return 0;
}
