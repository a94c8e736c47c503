#pragma once
// Cameras that save their trigger frames: trigger mode on, each trigger
// frame saved as "<prefix>NNNNN.bmp", the preview started with no frame
// allowed yet, so the test decides when frames arrive.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/device_library.h"
#include "sim/simulated_bus.h"

namespace kq::test {

inline void StartSavingTriggerFrames(DeviceLibrary& library, sim::SimulatedBus& bus, std::uint32_t handle,
                                     std::size_t index, const std::u16string& prefix) {
    EXPECT_EQ(library.WithDevice(handle,
                                 [&](BaseDevice& d) {
                                     d.SetTriggerMode(1);
                                     return d.GetTrigger(true, false, prefix, 75);
                                 }),
              status::kSuccess);
    bus.SetReadBudget(index, 0);
    EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
}

}  // namespace kq::test
