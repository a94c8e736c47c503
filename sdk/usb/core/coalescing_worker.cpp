#include "coalescing_worker.h"

namespace kq {

CoalescingWorker::CoalescingWorker(std::function<void()> job) : job_(std::move(job)), thread_([this] { Run(); }) {}

CoalescingWorker::~CoalescingWorker() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        quit_ = true;
        changed_.notify_all();
    }
    thread_.join();
}

void CoalescingWorker::Post() {
    std::lock_guard<std::mutex> hold(lock_);
    pending_ = true;
    ++posted_;
    changed_.notify_all();
}

void CoalescingWorker::Flush() {
    std::unique_lock<std::mutex> hold(lock_);
    const auto target = posted_;
    changed_.wait(hold, [&] { return done_ >= target; });
}

void CoalescingWorker::Run() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [this] { return pending_ || quit_; });
        if (!pending_) return;  // quit with nothing left to send
        pending_ = false;
        const auto covered = posted_;
        hold.unlock();
        job_();
        hold.lock();
        done_ = covered;
        changed_.notify_all();
    }
}

}  // namespace kq
