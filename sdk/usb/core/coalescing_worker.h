#pragma once
// One long-lived worker that runs a job whenever it is asked to. Requests
// that arrive while a run is pending fold into that run, so a burst of
// parameter changes from the frame pipeline costs one driver send, and no
// thread is started per change. Posting allocates nothing.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kq {

class CoalescingWorker {
public:
    explicit CoalescingWorker(std::function<void()> job);
    CoalescingWorker(const CoalescingWorker&) = delete;
    CoalescingWorker& operator=(const CoalescingWorker&) = delete;
    // Runs a pending request, then joins.
    ~CoalescingWorker();

    void Post();
    // Waits until every request posted before the call has been run.
    void Flush();

private:
    void Run();

    std::function<void()> job_;
    std::mutex lock_;
    std::condition_variable changed_;
    bool pending_ = false;
    bool quit_ = false;
    unsigned long long posted_ = 0;
    unsigned long long done_ = 0;
    std::thread thread_;
};

}  // namespace kq
