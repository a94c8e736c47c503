// The five raw frame slots between the adapter's receive thread and the
// camera's display thread. The display thread always takes the oldest
// stored frame; a full ring overwrites its newest stored frame. A delivered frame
// whose length is not the one the camera's geometry gives is dropped and
// counted, so a slot never holds part of a frame or bytes of another size.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace kqge {

class FrameRing {
public:
    static constexpr std::size_t kSlots = 5;

    // Allocates every slot zeroed; false (and no slots) when memory is short.
    bool Allocate(std::size_t slotBytes);
    void Free();
    // Both positions back to the first slot.
    void Reset();

    // The frame length Store accepts (leader plus raw pixels).
    void Expect(std::size_t frameBytes) { expected_ = frameBytes; }
    std::size_t Expected() const { return expected_; }
    // Receive thread: false when the frame was dropped (wrong length or no
    // slots).
    bool Store(std::span<const std::uint8_t> frame);
    // Display thread: waits until a frame is stored or Wake is called; then
    // copies `out.size()` bytes from `offset` of the oldest frame and frees
    // its slot. False when none was stored. `sequence` (when given) receives
    // the frame's number in the order frames were stored, from 1.
    bool Take(std::size_t offset, std::span<std::uint8_t> out, const std::atomic<bool>& stop,
              std::uint64_t* sequence = nullptr);
    // Frames stored since the ring was allocated.
    std::uint64_t StoredCount() const { return storedCount_.load(); }
    // Takes, as Take does, the first frame stored after frame number `after`,
    // freeing the older ones on the way; false when none came by `deadline`.
    bool TakeAfter(std::uint64_t after, std::size_t offset, std::span<std::uint8_t> out,
                   std::chrono::steady_clock::time_point deadline);
    void Wake();

    std::uint64_t Dropped() const { return dropped_; }

private:
    // Copies the oldest frame out and frees its slot. Under the lock, with
    // a frame stored.
    bool CopyOldest(std::size_t offset, std::span<std::uint8_t> out, std::uint64_t* sequence);

    std::mutex lock_;
    std::condition_variable stored_;
    std::array<std::vector<std::uint8_t>, kSlots> slots_;
    std::array<std::uint64_t, kSlots> sequences_{};
    std::atomic<std::uint64_t> storedCount_{0};
    std::size_t write_ = 0;
    std::size_t read_ = 0;
    std::atomic<std::size_t> expected_{0};
    std::atomic<std::uint64_t> dropped_{0};
};

}  // namespace kqge
