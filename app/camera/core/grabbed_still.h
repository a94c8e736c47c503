#pragma once
// The one still the capture graph's sample grabber writes from the stream.
// The user-interface thread arms it with the picture size, type and path;
// the streaming thread writes the next frame that holds a whole picture and
// disarms it. A still that is armed or being written cannot be re-armed, so
// the streaming thread never reads a request while it is replaced.
// Platform-free.
#include <atomic>
#include <cstdint>
#include <span>
#include <string>

struct StillRequest {
    int width = 0;
    int height = 0;
    std::wstring path;
    int imageType = 2;  // 1 BMP, 2 JPEG, 3 TIFF
    bool notify = true;
};

struct StillOutcome {
    enum Kind { idle, tooShort, saved, failed };
    Kind kind = idle;
    std::wstring path;    // the still's path once it was written (or failed)
    bool notify = false;  // the request asked for the saved-picture notice
};

class GrabbedStill {
public:
    // Refused (false) while a still is pending, and for a size or type no
    // picture can be made of.
    bool Arm(StillRequest request);
    bool IsPending() const { return state_.load(std::memory_order_acquire) != kIdle; }
    // Withdraws an armed still that no frame has taken yet (a graph that
    // stops); a still being written finishes.
    void Withdraw();
    // Streaming thread, once per frame: `sample` is bottom-up BGR. A sample
    // shorter than width x height x 3 leaves the still armed for the next
    // frame; otherwise the picture is written from at most its own size of
    // the sample and the still is disarmed.
    StillOutcome OnFrame(std::span<const std::uint8_t> sample);

private:
    enum : int { kIdle, kArmed, kWriting };
    std::atomic<int> state_{kIdle};
    StillRequest request_;
};
