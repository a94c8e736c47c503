#pragma once
// One frame streamed by a camera's capture thread over the simulated bus,
// then served by a grab while the preview still runs: the raw frame that
// grab hands out and the picture delivered from it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/base_device.h"
#include "frame_count.h"
#include "frame_size.h"
#include "sim/simulated_bus.h"

namespace kq::test {

struct StreamedFrame {
    std::vector<std::uint8_t> raw, picture;
    kqcmos::FrameSize size;
};

// Runs a call on the device under its lock; the capture thread needs that
// lock between the calls.
using DeviceCall = std::function<int(const std::function<int(BaseDevice&)>&)>;

// Lets camera `camera` of the bus send one frame to a started preview,
// waits until the capture thread has delivered it and reads again, grabs
// it, and stops the preview.
inline StreamedFrame StreamOneFrame(sim::SimulatedBus& bus, int camera, const DeviceCall& with) {
    using namespace std::chrono_literals;
    FrameCount count;
    StreamedFrame f;
    with([&](BaseDevice& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    bus.SetReadBudget(camera, 1);
    EXPECT_EQ(with([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    EXPECT_TRUE(count.WaitFor(1));
    EXPECT_TRUE(bus.WaitForBlockedRead(camera, 20s));
    EXPECT_EQ(with([&](BaseDevice& d) {
                  f.raw.resize(d.FrameBytes());
                  return d.GrabFrame(f.raw.data(), true, [&](const DeliveredFrame& out) {
                      f.picture.assign(out.pixels.begin(), out.pixels.end());
                      f.size = out.size;
                      return 0;
                  });
              }),
              status::kSuccess);
    with([](BaseDevice& d) { return d.StopView(); });
    with([](BaseDevice& d) { return d.SetFrameCallBack(nullptr, nullptr); });
    return f;
}

}  // namespace kq::test
