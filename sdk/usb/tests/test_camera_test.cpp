// The test camera of type 18: its record with its own frame size, register
// writes kept to itself, the EEPROM request kinds and its way back.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "core/capinfo_record.h"
#include "fpga_fixture.h"
#include "models/test_camera.h"

namespace kq::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TestCamera : public FpgaTest {
protected:
    void SetUp() override {
        const std::u16string id = InstanceId(u"VID_FFF0&PID_0018");
        bus.AddCamera(id);
        bus.ClearLog();
        device = std::make_unique<CKQTEST>(IdentifyInstanceId(id));
        device->SetSleeper([](std::chrono::milliseconds) {});
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        ASSERT_EQ(device->OpenDevice(bus, bus.InterfaceOf(0), Caller(), 1), status::kSuccess);
    }
    void TearDown() override {
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        device->StopView();
        device->CloseDevice();
    }
    static CapInfo Caller() {
        CapInfo r = SmallWindow();
        r.columnStart = 8;
        r.rowStart = 4;
        r.control = 0x03;
        return r;
    }
    template <class Op>
    int OnTest(Op&& op) {
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        return op(*device);
    }
    static Bytes Record(CapInfo r) {
        r.width = CKQTEST::kFrameWidth;
        r.height = CKQTEST::kFrameHeight;
        const CapInfoBytes bytes = EncodeCapInfo(r);
        return Bytes(bytes.begin(), bytes.end());
    }
    std::unique_ptr<CKQTEST> device;
};

TEST_F(TestCamera, OpensStoppedWithTheCallersRecordInItsOwnFrameSize) {
    const auto codes = Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], kqff::kIoctlStopCapture);
    EXPECT_EQ(codes[1], kqff::kIoctlSetFormat);
    CapInfo expected = Caller();
    expected.control = 0x01;  // trigger bit kept from before: clear
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat)[0].input, Record(expected));
    OnTest([](CKQTEST& d) {
        EXPECT_EQ(d.FrameBytes(), 3488u * 2560u);
        EXPECT_LE(d.FrameBytes() + 64u, 9441280u) << "fits the driver's frame buffers";
        return 0;
    });
    // A later record keeps the trigger and speed bits the camera had.
    OnTest([](CKQTEST& d) {
        CapInfo r = d.GetCapInfo();
        r.control = 0x32;
        d.ApplyCapInfo(r);
        return 0;
    });
    bus.ClearLog();
    CapInfo next = Caller();
    next.control = 0x05;
    next.width = 1024;
    ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.SetCapInfo(next); }), status::kSuccess);
    next.control = 0x37;
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat).at(0).input, Record(next));

    bus.FailControl(kqff::kIoctlSetFormat, 1);
    next.exposure = 999;
    EXPECT_EQ(OnTest([&](CKQTEST& d) { return d.SetCapInfo(next); }), status::kNotSupported);
    EXPECT_NE(OnTest([](CKQTEST& d) { return static_cast<int>(d.GetCapInfo().exposure); }), 999);
}

TEST_F(TestCamera, RegisterWritesAndSettingsSendNothingAndRegister251IsKept) {
    bus.ClearLog();
    const std::array<std::uint16_t, 2> addresses{251, 5};
    const std::array<std::uint16_t, 2> values{5, 9};
    EXPECT_EQ(OnTest([&](CKQTEST& d) { return d.Write_Register(addresses, values); }), status::kSuccess);
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.TestPattern(); }), 5);
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.WriteSensorRegister(9, 7); }), status::kSuccess);
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.TestPattern(); }), 5) << "only register 251 is kept";
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.SetHBlank(300) + d.SetVBlank(300) + d.SetZoomMode(1); }), 0);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(TestCamera, EepromConfigGoesOutUnchangedElseAsTheFortyByteWrite) {
    std::array<std::uint8_t, 240> buffer{};
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.StartView(nullptr, {}); }), status::kSuccess);

    struct Case {
        const char* name;
        bool config;
    };
    for (const Case c : {Case{"config", true}, Case{"eeprom", false}}) {
        SCOPED_TRACE(c.name);
        std::array<std::uint8_t, 240> source = buffer;
        if (c.config) std::memcpy(source.data() + 64, "Config", 6);
        bus.ClearLog();
        ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.EEProm_Set(source); }), status::kSuccess);
        const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
        ASSERT_EQ(sent.size(), 1u);
        Bytes expected(64, 0);
        if (c.config) {
            std::copy_n(source.begin(), 64, expected.begin());
        } else {
            expected[0] = 7;
            std::copy_n(source.begin(), 40, expected.begin() + 2);
        }
        EXPECT_EQ(sent[0].input, expected);
        // Only the EEPROM write stops and restarts the stream.
        const auto codes = Codes();
        const auto write = std::find(codes.begin(), codes.end(), kqff::kIoctlWriteCommand);
        EXPECT_EQ(std::find(codes.begin(), write, kqff::kIoctlStopCapture) != write, !c.config);
        EXPECT_EQ(std::find(write, codes.end(), kqff::kIoctlStartCapture) != codes.end(), !c.config);
        EXPECT_TRUE(OnTest([](CKQTEST& d) { return d.Streaming() ? 1 : 0; }) == 1);
    }
    EXPECT_TRUE(OnTest([&](CKQTEST& d) {
        return std::equal(d.EepromImage().begin(), d.EepromImage().end(), buffer.begin()) ? 1 : 0;
    }));
    bus.FailControl(kqff::kIoctlWriteCommand, 1);
    EXPECT_EQ(OnTest([&](CKQTEST& d) { return d.EEProm_Set(buffer); }), status::kNoDevice);
    OnTest([](CKQTEST& d) { return d.StopView(); });
}

// Through the library: type 18 is made as the test camera, and what it
// sends at open is its own (a stop, then the 36-byte record).
TEST_F(FpgaTest, TheLibraryOpensType18AsTheTestCamera) {
    bus.AddCamera(InstanceId(u"VID_FFF0&PID_0018"));
    const std::uint32_t handle = Open(1);
    EXPECT_EQ(library.WithDevice(handle,
                                 [](BaseDevice& d) {
                                     EXPECT_EQ(d.Class(), DeviceClass::CKQTEST);
                                     return dynamic_cast<CKQTEST*>(&d) != nullptr ? 0 : 1;
                                 }),
              0);
    const auto codes = Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], kqff::kIoctlStopCapture);
    EXPECT_EQ(codes[1], kqff::kIoctlSetFormat);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat)[0].input.size(), kCapInfoBytes);
}

TEST_F(TestCamera, ComesBackWithAStopOnly) {
    bus.Unplug(0);
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.OnDeviceRemoved(); }), status::kSuccess);
    bus.Replug(0);
    bus.ClearLog();
    ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.OnDeviceArrived(bus, bus.InterfaceOf(0)); }), status::kSuccess);
    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{kqff::kIoctlStopCapture}));
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.IsRemoved() ? 1 : 0; }), 0);
}

}  // namespace
}  // namespace kq::test
