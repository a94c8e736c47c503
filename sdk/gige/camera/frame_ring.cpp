#include "frame_ring.h"

#include <algorithm>
#include <new>

namespace kqge {

bool FrameRing::Allocate(std::size_t slotBytes) {
    std::lock_guard guard(lock_);
    try {
        for (auto& slot : slots_) slot.assign(slotBytes, 0);
    } catch (const std::bad_alloc&) {
        for (auto& slot : slots_) std::vector<std::uint8_t>().swap(slot);
        return false;
    }
    write_ = read_ = 0;
    return true;
}

void FrameRing::Free() {
    std::lock_guard guard(lock_);
    for (auto& slot : slots_) std::vector<std::uint8_t>().swap(slot);
    write_ = read_ = 0;
}

void FrameRing::Reset() {
    std::lock_guard guard(lock_);
    write_ = read_ = 0;
}

bool FrameRing::Store(std::span<const std::uint8_t> frame) {
    {
        std::lock_guard guard(lock_);
        // A full ring replaces its newest stored frame, so the latest frame
        // is always one the display thread will take; writing it into the
        // free slot instead would hide it until yet another frame came.
        const std::size_t next = (write_ + 1) % kSlots;
        const bool full = next == read_;
        const std::size_t filled = full ? (write_ + kSlots - 1) % kSlots : write_;
        std::vector<std::uint8_t>& slot = slots_[filled];
        if (frame.size() != expected_ || frame.size() > slot.size()) {
            ++dropped_;
            return false;
        }
        std::ranges::copy(frame, slot.begin());
        sequences_[filled] = ++storedCount_;
        if (!full) write_ = next;
    }
    stored_.notify_one();
    return true;
}

bool FrameRing::Take(std::size_t offset, std::span<std::uint8_t> out, const std::atomic<bool>& stop,
                     std::uint64_t* sequence) {
    std::unique_lock guard(lock_);
    stored_.wait(guard, [&] { return read_ != write_ || stop.load(); });
    if (read_ == write_) return false;
    return CopyOldest(offset, out, sequence);
}

bool FrameRing::TakeAfter(std::uint64_t after, std::size_t offset, std::span<std::uint8_t> out,
                          std::chrono::steady_clock::time_point deadline) {
    std::unique_lock guard(lock_);
    for (;;) {
        if (!stored_.wait_until(guard, deadline, [&] { return read_ != write_; })) return false;
        if (sequences_[read_] > after) return CopyOldest(offset, out, nullptr);
        read_ = (read_ + 1) % kSlots;
    }
}

bool FrameRing::CopyOldest(std::size_t offset, std::span<std::uint8_t> out, std::uint64_t* sequence) {
    const std::vector<std::uint8_t>& slot = slots_[read_];
    if (sequence != nullptr) *sequence = sequences_[read_];
    read_ = (read_ + 1) % kSlots;
    // A slot holds a whole frame of the accepted length; a reader asking for
    // more (its geometry changed meanwhile) skips it.
    if (offset + out.size() > slot.size()) return false;
    std::copy_n(slot.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
}

void FrameRing::Wake() {
    { std::lock_guard guard(lock_); }
    stored_.notify_all();
}

}  // namespace kqge
