#pragma once
// One worker thread running a loop until it is asked to stop. Stopping is
// cooperative: the stop flag is raised and `interrupt` (which cancels a
// blocking driver read) is repeated until the loop has returned; then the
// thread is joined. A thread is never ended forcibly, so it never dies
// holding a lock, and nothing it uses is freed before it is out.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kq {

class LoopThread {
public:
    using Loop = std::function<void(const std::atomic<bool>& stop)>;

    LoopThread() = default;
    LoopThread(const LoopThread&) = delete;
    LoopThread& operator=(const LoopThread&) = delete;
    ~LoopThread() {
        Stop([] {});
    }

    // Starts the loop on a new thread; a loop still running is stopped first
    // (without interrupt, so callers stop it properly before).
    void Start(Loop loop);

    // Returns once the loop has returned and the thread is joined. Called on
    // the loop's own thread (from a callback), it only raises the flag; the
    // next Stop from another thread, or the destructor, joins.
    void Stop(const std::function<void()>& interrupt);

    bool Running() const;
    bool OnThisThread() const { return thread_.get_id() == std::this_thread::get_id(); }

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::condition_variable finished_;
    bool running_ = false;
};

}  // namespace kq
