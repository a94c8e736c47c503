#pragma once
// Shared set-up: a simulated bus and a library that talks to it.

#include <gtest/gtest.h>

#include <string>

#include "core/device_library.h"
#include "sim/simulated_bus.h"

namespace kq::test {

inline std::u16string InstanceId(std::u16string_view pattern, int serial = 1) {
    return u"USB\\" + std::u16string(pattern) + u"\\SN" + std::u16string(1, char16_t(u'0' + serial % 10));
}

// Four upper-case hexadecimal digits, as instance ids write USB identities.
inline std::u16string Hex4(std::uint16_t v) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(v >> shift) & 0xF];
    return out;
}

// The instance id of a camera with this USB identity ("USB\VID_F5A1&PID_0801\SN1").
inline std::u16string UsbInstanceId(std::uint16_t vendorId, std::uint16_t productId) {
    return InstanceId(u"VID_" + Hex4(vendorId) + u"&PID_" + Hex4(productId));
}

// A valid record: a 640 x 480 window at the origin, gain 32, exposure 100.
inline CapInfo SmallWindow() {
    CapInfo r;
    r.width = 640;
    r.height = 480;
    r.exposure = 100;
    r.gain = {32, 32, 32};
    return r;
}

class LibraryTest : public ::testing::Test {
protected:
    // Opens the camera at 1-based position; expects success.
    std::uint32_t Open(std::int32_t position, const CapInfo& record = SmallWindow()) {
        std::uint32_t handle = 0;
        std::int32_t index = position;
        EXPECT_EQ(library.Initialize(&index, &record, &handle), status::kSuccess);
        EXPECT_NE(handle, 0u);
        return handle;
    }

    std::u16string InstanceOf(std::uint32_t handle) {
        std::u16string id;
        library.WithDevice(handle, [&](BaseDevice& d) {
            id = d.InstanceId();
            return 0;
        });
        return id;
    }

    sim::SimulatedBus bus;
    DeviceLibrary library{&bus};
};

}  // namespace kq::test
