#include "writer_closer.h"

#include <system_error>
#include <utility>

namespace kq::files {

WriterCloser::~WriterCloser() { Finish(); }

void WriterCloser::Hand(std::unique_ptr<AviWriter> writer) {
    if (writer == nullptr) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_.push_back(std::move(writer));
    }
    wake_.notify_one();
    if (thread_.joinable()) return;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to be had: the file is finished here instead.
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ending_ = true;
        }
        Run();
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = false;
    }
}

bool WriterCloser::Finish() {
    if (thread_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ending_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = false;
    return !std::exchange(failed_, false);
}

void WriterCloser::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        std::unique_ptr<AviWriter> writer = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        const bool ok = writer->Close();
        writer.reset();
        lock.lock();
        if (!ok) failed_ = true;
    }
}

}  // namespace kq::files
