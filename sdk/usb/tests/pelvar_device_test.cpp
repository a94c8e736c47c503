// The 2592 x 1944 cameras of types 6 and 22: the first block's word and
// blanking, blanking limits, exposure per speed mode, and the smaller
// camera's missing EEPROM.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <typeinfo>
#include <vector>

#include "kqff_protocol.h"
#include "models/pelvar_device.h"
#include "sim_fixture.h"

namespace kq::test {
namespace {

std::uint32_t LE16(const std::vector<std::uint8_t>& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }

class PelvarTest : public LibraryTest {
protected:
    std::uint32_t OpenPelvar(std::u16string_view pattern) {
        bus.AddCamera(InstanceId(pattern));
        CapInfo r = SmallWindow();
        r.width = 2592;
        r.height = 1944;
        return Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), r);
    }
    int On(std::uint32_t handle, const std::function<int(CKQPelvarDevice&)>& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(dynamic_cast<CKQPelvarDevice&>(d)); });
    }
    std::vector<std::uint8_t> LastBlock() const {
        const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
        return sent.empty() ? std::vector<std::uint8_t>{} : sent.back().input;
    }
};

TEST_F(PelvarTest, BothTypesOpenAsTheirClassWithTheFirstSendWordAndBlanking) {
    struct Case {
        std::u16string_view pattern;
        DeviceClass expected;
        bool small;
    };
    for (const Case c : {Case{u"VID_F5A1&PID_0601", DeviceClass::CKQPelvarDevice, false},
                         Case{u"VID_F5A1&PID_1601", DeviceClass::CKQPelvarsmall, true}}) {
        SCOPED_TRACE(c.small);
        bus.ClearLog();
        const std::uint32_t handle = OpenPelvar(c.pattern);
        On(handle, [&](CKQPelvarDevice& d) {
            EXPECT_EQ(d.Class(), c.expected);
            EXPECT_EQ(typeid(d) == typeid(CKQPelvarsmall), c.small);
            return 0;
        });
        const auto block = LastBlock();
        ASSERT_EQ(block.size(), 52u);
        EXPECT_EQ(LE16(block, 30), 0x4006u);
        EXPECT_EQ(LE16(block, 36), 0u);
        EXPECT_EQ(LE16(block, 38), 25u);
        library.Uninitialize(handle);
    }
}

TEST_F(PelvarTest, BlankingIsLimitedAndARefusedSendKeepsTheOldValue) {
    const std::uint32_t handle = OpenPelvar(u"VID_F5A1&PID_0601");
    struct Case {
        bool horizontal;
        std::int32_t value;
        std::uint32_t sent;
    };
    for (const Case c : {Case{true, 5000, 4095}, Case{true, -3, 0}, Case{true, 600, 600}, Case{false, 1, 8},
                         Case{false, 3000, 2047}, Case{false, 100, 100}}) {
        SCOPED_TRACE(c.value);
        ASSERT_EQ(
            On(handle, [&](CKQPelvarDevice& d) { return c.horizontal ? d.SetHBlank(c.value) : d.SetVBlank(c.value); }),
            status::kSuccess);
        EXPECT_EQ(LE16(LastBlock(), c.horizontal ? 36 : 38), c.sent);
    }
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(On(handle, [](CKQPelvarDevice& d) { return d.SetHBlank(900); }), status::kNotSupported);
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(On(handle, [](CKQPelvarDevice& d) { return d.SetVBlank(900); }), status::kNotSupported);
    ASSERT_EQ(On(handle, [](CKQPelvarDevice& d) { return d.ApplyCapInfo(d.StoredCapInfo()); }), status::kSuccess);
    EXPECT_EQ(LE16(LastBlock(), 36), 600u);
    EXPECT_EQ(LE16(LastBlock(), 38), 100u);
}

TEST_F(PelvarTest, ExposureFollowsTheSpeedModesClock) {
    const std::uint32_t handle = OpenPelvar(u"VID_F5A1&PID_0601");
    struct Case {
        std::int32_t speed;
        std::uint32_t lines;  // 10000 time units on a line of 2592 + 900
    };
    for (const Case c : {Case{0, 34}, Case{1, 69}, Case{2, 137}}) {
        SCOPED_TRACE(c.speed);
        ASSERT_EQ(On(handle, [&](CKQPelvarDevice& d) { return d.SetSpeedMode(c.speed); }), status::kSuccess);
        On(handle, [&](CKQPelvarDevice& d) {
            EXPECT_EQ(d.ExposureToRegister(10000), c.lines);
            EXPECT_EQ(d.ExposureToRegister(0xFFFFFFFF), 65535u);
            return 0;
        });
    }
}

TEST_F(PelvarTest, TheSmallerCameraHasNoEeprom) {
    const std::uint32_t handle = OpenPelvar(u"VID_F5A1&PID_1601");
    bus.ClearLog();
    std::array<std::uint8_t, 240> area{};
    EXPECT_EQ(On(handle, [&](CKQPelvarDevice& d) { return d.EEProm_Set(area); }), status::kNotSupported);
    EXPECT_EQ(On(handle, [&](CKQPelvarDevice& d) { return d.EEProm_Get(area); }), status::kNotSupported);
    EXPECT_EQ(On(handle, [&](CKQPelvarDevice& d) { return d.EEProm_SetByte(0, 4, area.data()); }),
              status::kNotSupported);
    EXPECT_EQ(On(handle, [&](CKQPelvarDevice& d) { return d.EEProm_GetByte(0, 4, area.data()); }),
              status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
}

}  // namespace
}  // namespace kq::test
