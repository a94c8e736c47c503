// Frames of all open cameras are processed one at a time: two cameras'
// frame callbacks never overlap, and a callback may still stop or close
// another camera.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "core/base_device.h"
#include "sim_fixture.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;

// Shared by both cameras' callbacks.
struct Overlap {
    std::mutex lock;
    std::condition_variable changed;
    int inside = 0;
    int mostInside = 0;
    int frames = 0;

    // The first frame of either camera waits (bounded) for the other camera
    // to enter its callback: without the frame lock it does, at once.
    static int KQ_STDCALL OnFrame(std::uint8_t*, std::int32_t, void* context) {
        auto* self = static_cast<Overlap*>(context);
        std::unique_lock<std::mutex> hold(self->lock);
        const bool first = self->frames++ == 0;
        self->mostInside = std::max(self->mostInside, ++self->inside);
        self->changed.notify_all();
        if (first) self->changed.wait_for(hold, 500ms, [&] { return self->inside > 1; });
        --self->inside;
        self->changed.notify_all();
        return 0;
    }
    bool WaitFor(int count) {
        std::unique_lock<std::mutex> hold(lock);
        return changed.wait_for(hold, 10s, [&] { return frames >= count; });
    }
};

class FrameLock : public LibraryTest {
protected:
    void SetUp() override {
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A01", 1));
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A01", 2));
        first = Open(1);
        second = Open(2);
    }
    template <class Op>
    int On(std::uint32_t handle, Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(d); });
    }
    int Stream(std::uint32_t handle, FrameCallback callback, void* context) {
        On(handle, [&](BaseDevice& d) { return d.SetFrameCallBack(callback, context); });
        return On(handle, [](BaseDevice& d) { return d.StartView(nullptr, {}); });
    }
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};

TEST_F(FrameLock, TwoCamerasCallbacksNeverOverlap) {
    Overlap overlap;
    ASSERT_EQ(Stream(first, &Overlap::OnFrame, &overlap), status::kSuccess);
    ASSERT_EQ(Stream(second, &Overlap::OnFrame, &overlap), status::kSuccess);
    EXPECT_TRUE(overlap.WaitFor(20));
    EXPECT_EQ(On(first, [](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
    EXPECT_EQ(On(second, [](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
    std::lock_guard<std::mutex> hold(overlap.lock);
    EXPECT_EQ(overlap.mostInside, 1);
}

// The first camera's callback acts on the second camera, which streams too.
struct ActOnOther {
    enum class Act { stop, close };
    DeviceLibrary* library = nullptr;
    std::uint32_t other = 0;
    Act act = Act::stop;
    std::atomic<bool> done{false};
    std::atomic<int> result{-100};
    std::mutex lock;
    std::condition_variable finished;

    static int KQ_STDCALL OnFrame(std::uint8_t*, std::int32_t, void* context) {
        auto* self = static_cast<ActOnOther*>(context);
        if (self->done) return 0;
        const int rc = self->act == Act::stop
                           ? self->library->WithDevice(self->other, [](BaseDevice& d) { return d.StopView(); })
                           : self->library->Uninitialize(self->other);
        std::lock_guard<std::mutex> hold(self->lock);
        self->result = rc;
        self->done = true;
        self->finished.notify_all();
        return 0;
    }
    bool WaitDone() {
        std::unique_lock<std::mutex> hold(lock);
        return finished.wait_for(hold, 10s, [&] { return done.load(); });
    }
};

int KQ_STDCALL CountFrame(std::uint8_t*, std::int32_t, void* context) {
    ++*static_cast<std::atomic<int>*>(context);
    return 0;
}

TEST_F(FrameLock, ACallbackStopsOrClosesAnotherStreamingCamera) {
    for (const ActOnOther::Act act : {ActOnOther::Act::stop, ActOnOther::Act::close}) {
        SCOPED_TRACE(act == ActOnOther::Act::stop ? "stop" : "close");
        std::atomic<int> otherFrames{0};
        ASSERT_EQ(Stream(second, &CountFrame, &otherFrames), status::kSuccess);
        ActOnOther actor;
        actor.library = &library;
        actor.other = second;
        actor.act = act;
        ASSERT_EQ(Stream(first, &ActOnOther::OnFrame, &actor), status::kSuccess);
        ASSERT_TRUE(actor.WaitDone());
        EXPECT_EQ(actor.result, status::kSuccess);
        EXPECT_EQ(On(first, [](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
        if (act == ActOnOther::Act::stop) {
            EXPECT_EQ(On(second, [](BaseDevice& d) { return d.Streaming() ? 1 : 0; }), 0);
        } else {
            EXPECT_EQ(library.DeviceCount(), 1);
            second = Open(2);
        }
    }
}

}  // namespace
}  // namespace kq::test
