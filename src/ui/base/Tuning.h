#pragma once
// The few settings that tests and benchmarks change in the windows, in one
// place: the windows that need them read Tuning::current(), and a test
// changes them for its own length with Tuning::Scoped.

#include <QtGlobal>
#include <atomic>
#include <functional>

struct Tuning {
    // How long a list window's scan runs before the window shows that it is
    // working.
    int busyDelayMs = 1000;
    // A pause a list window's scan makes once the file is open, until it
    // returns; it is told whether the scan has been cancelled.
    std::function<void(const std::atomic<bool> &cancelled)> scanPause;
    // From how many cards the collection window shows its rows first and
    // reads the amounts for the totals after it has drawn them.
    qint64 deferredLoadCards = 20000;
    // Whether a search window writes to stderr the monotonic time of the
    // click on "Cerca" and of the first painting of the count sentence that
    // follows it, for the benchmark of the real program. Set at start from
    // the environment variable VETRINORA_TEMPI_RICERCA.
    bool stampSearchTimes = false;

    static Tuning &current();

    class Scoped;
};

// The settings as given, until it goes out of scope.
class Tuning::Scoped {
public:
    explicit Scoped(Tuning tuning);
    ~Scoped();
    Scoped(const Scoped &) = delete;
    Scoped &operator=(const Scoped &) = delete;

private:
    Tuning saved_;
};
