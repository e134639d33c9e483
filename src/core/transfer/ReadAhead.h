#pragma once
// Items made on a thread of their own, ahead of the caller who takes them:
// reading a large file and working on what was read then take little more
// than the slower of the two. At most `ahead` items wait. A failure of the
// maker is thrown by next() where the maker met it, after the items made
// before it. Leaving the reader early (a cancel, a refused row) stops the
// thread.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace Transfer {

template <typename T>
class ReadAhead {
public:
    // `make` fills its argument with the next item and says whether there
    // was one; it runs on the thread, and may throw.
    ReadAhead(std::function<bool(T &)> make, std::size_t ahead)
        : make_(std::move(make)), ahead_(ahead), thread_([this] { run(); })
    {
    }
    ~ReadAhead()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    // The next item into `item`; false at the end.
    bool next(T &item)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !items_.empty() || ended_; });
        if (items_.empty()) {
            if (failure_)
                std::rethrow_exception(failure_);
            return false;
        }
        item = std::move(items_.front());
        items_.pop_front();
        lock.unlock();
        changed_.notify_all();
        return true;
    }

private:
    void run()
    {
        for (;;) {
            T item{};
            bool made = false;
            std::exception_ptr failure;
            try {
                made = make_(item);
            } catch (...) {
                failure = std::current_exception();
            }
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return items_.size() < ahead_ || stop_; });
            if (stop_)
                return;
            if (made) {
                items_.push_back(std::move(item));
            } else {
                failure_ = failure;
                ended_ = true;
            }
            lock.unlock();
            changed_.notify_all();
            if (!made)
                return;
        }
    }

    std::function<bool(T &)> make_;
    std::size_t ahead_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<T> items_;
    std::exception_ptr failure_;
    bool ended_ = false;
    bool stop_ = false;
    std::thread thread_; // last: it starts once the rest is ready
};

} // namespace Transfer
