#include "loop_thread.h"

#include <chrono>

namespace kq {

void LoopThread::Start(Loop loop) {
    Stop([] {});
    stop_ = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        running_ = true;
    }
    thread_ = std::thread([this, body = std::move(loop)] {
        body(stop_);
        std::lock_guard<std::mutex> hold(lock_);
        running_ = false;
        finished_.notify_all();
    });
}

void LoopThread::Stop(const std::function<void()>& interrupt) {
    stop_ = true;
    if (!thread_.joinable() || OnThisThread()) return;
    {
        std::unique_lock<std::mutex> hold(lock_);
        // A read that began after an earlier cancel is cancelled by the next.
        while (running_) {
            hold.unlock();
            interrupt();
            hold.lock();
            finished_.wait_for(hold, std::chrono::milliseconds(5), [this] { return !running_; });
        }
    }
    thread_.join();
}

bool LoopThread::Running() const {
    std::lock_guard<std::mutex> hold(lock_);
    return running_;
}

}  // namespace kq
