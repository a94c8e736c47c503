// What the tests of the stand-in build share: the frames its callback
// hands over, kept and waited for, and a call that must return promptly.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "KQGEu.h"
#include "kernel_handle.h"

namespace kqge::fixture {

// Frames handed to the callback, waited for without sleeping.
struct Frames {
    struct Frame {
        KQGE_FRAME_INFO info;
        std::vector<std::uint8_t> pixels;
    };

    static void KQGEAPI Take(unsigned char* pixels, KQGE_FRAME_INFO* info, void* user) {
        auto& self = *static_cast<Frames*>(user);
        const std::size_t bytes = static_cast<std::size_t>(info->width) * static_cast<std::size_t>(info->height) *
                                  static_cast<std::size_t>(info->bitsPerPixel / 8);
        {
            std::lock_guard guard(self.lock);
            self.frames.push_back({*info, std::vector<std::uint8_t>(pixels, pixels + bytes)});
        }
        self.arrived.notify_all();
    }

    bool WaitFor(std::size_t count) {
        std::unique_lock guard(lock);
        return arrived.wait_for(guard, std::chrono::seconds(10), [&] { return frames.size() >= count; });
    }
    std::size_t Count() {
        std::lock_guard guard(lock);
        return frames.size();
    }

    std::mutex lock;
    std::condition_variable arrived;
    std::vector<Frame> frames;
};

// Runs `call` on a thread of its own; its result when it returned within
// five seconds, else 99 (the thread is left to its own end).
inline std::int32_t ReturnsPromptly(std::function<std::int32_t()> call) {
    struct Outcome {
        KernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        std::int32_t result = 99;
    };
    auto outcome = std::make_shared<Outcome>();
    std::thread([outcome, call = std::move(call)] {
        outcome->result = call();
        SetEvent(outcome->done.Get());
    }).detach();
    if (WaitForSingleObject(outcome->done.Get(), 5000) != WAIT_OBJECT_0) return 99;
    return outcome->result;
}

}  // namespace kqge::fixture
