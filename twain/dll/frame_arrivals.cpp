#include "frame_arrivals.h"

namespace twain::win32 {

std::uint64_t FrameArrivals::Count() const {
    const std::lock_guard hold(lock_);
    return count_;
}

bool FrameArrivals::WaitPast(std::uint64_t seen, std::chrono::steady_clock::time_point deadline) const {
    std::unique_lock hold(lock_);
    return arrived_.wait_until(hold, deadline, [&] { return count_ > seen; });
}

int KQAPI FrameArrivals::OnFrame(unsigned char*, int, void* context) {
    if (context == nullptr) return 0;
    auto* self = static_cast<FrameArrivals*>(context);
    {
        const std::lock_guard hold(self->lock_);
        ++self->count_;
    }
    self->arrived_.notify_all();
    return 0;
}

}  // namespace twain::win32
