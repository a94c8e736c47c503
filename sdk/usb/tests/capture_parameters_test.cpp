#include <gtest/gtest.h>

#include "core/format_block.h"
#include "le_bytes.h"
#include "sim_fixture.h"
#include "kqff_protocol.h"

namespace kq::test {
namespace {

// One open camera of a chosen model; inspects what reached the driver.
class CaptureParameters : public LibraryTest {
protected:
    std::uint32_t OpenModel(std::u16string_view pattern, const CapInfo& record = SmallWindow()) {
        bus.AddCamera(InstanceId(pattern));
        handle = Open(1, record);
        return handle;
    }
    int Call(const std::function<int(BaseDevice&)>& op) { return library.WithDevice(handle, op); }
    std::vector<std::uint8_t> LastBlock() {
        const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
        return sent.empty() ? std::vector<std::uint8_t>{} : sent.back().input;
    }
    std::size_t BlocksSent() { return bus.LogOf(kqff::kIoctlSetFormat).size(); }
    int SetCapInfo(const CapInfo& r) {
        return Call([&](BaseDevice& d) { return d.SetCapInfo(r); });
    }
    CapInfo GetCapInfo() {
        CapInfo out;
        Call([&](BaseDevice& d) {
            out = d.GetCapInfo();
            return 0;
        });
        return out;
    }

    std::uint32_t handle = 0;
};

constexpr std::u16string_view kType3 = u"VID_F5A1&PID_0301";      // 1280 x 1024
constexpr std::u16string_view kType3Flag = u"VID_F5A1&PID_0308";  // model flag 1

TEST_F(CaptureParameters, SendsTheExact52ByteBlock) {
    CapInfo r;
    r.width = 1280;
    r.height = 1024;
    r.columnStart = 100;
    r.rowStart = 7;
    r.exposure = 1;
    r.gain = {100, 1, 2};
    r.mode = {5, 6, 7, 0};
    r.extra = 0x01020304;
    OpenModel(kType3, r);
    const std::vector<std::uint8_t> expected{
        0,  0, 0, 0,   0x00, 0x04, 0,    0,    0x00, 0x05, 0,  0, 0,  0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 63, 63,
        63, 0, 5, 127, 0x00, 0x80, 0x04, 0x03, 0x02, 0x01, 25, 0, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0};
    EXPECT_EQ(LastBlock(), expected);
}

struct WindowCase {
    const char* name;
    std::uint32_t width, height, column, row;
    std::uint8_t control, binning;
    std::uint32_t sentWidth, sentHeight, sentColumn, sentRow;
};

TEST_F(CaptureParameters, WindowIsLimitedToTheSensor) {
    OpenModel(kType3);
    const WindowCase cases[] = {
        {"round down to 8", 1283, 1024, 0, 0, 0, 0, 1280, 1024, 0, 0},
        {"full sensor, start pushed back", 1280, 1024, 100, 9, 0, 0, 1280, 1024, 0, 0},
        {"larger than the sensor", 4000, 5000, 10, 10, 0, 0, 1280, 1024, 0, 0},
        {"start past the edge", 640, 480, 700, 600, 0, 0, 640, 480, 640, 544},
        {"skip halves the sensor", 1280, 1024, 100, 100, 0x01, 0, 640, 512, 100, 100},
        {"binning doubles the span", 1280, 1024, 50, 50, 0, 1, 640, 512, 0, 0},
        {"binning small window", 320, 240, 700, 600, 0, 1, 320, 240, 640, 544},
    };
    for (const auto& c : cases) {
        CapInfo r = SmallWindow();
        r.width = c.width;
        r.height = c.height;
        r.columnStart = c.column;
        r.rowStart = c.row;
        r.control = c.control;
        r.mode[3] = c.binning;
        ASSERT_EQ(SetCapInfo(r), status::kSuccess) << c.name;
        const auto block = LastBlock();
        EXPECT_EQ(vz::GetLE32(block, 8), c.sentWidth) << c.name;
        EXPECT_EQ(vz::GetLE32(block, 4), c.sentHeight) << c.name;
        EXPECT_EQ(vz::GetLE32(block, 12), c.sentColumn) << c.name;
        EXPECT_EQ(vz::GetLE32(block, 16), c.sentRow) << c.name;
        std::uint32_t frameBytes = 0;
        Call([&](BaseDevice& d) {
            frameBytes = d.FrameBytes();
            return 0;
        });
        EXPECT_EQ(frameBytes, c.sentWidth * c.sentHeight) << c.name;
    }
}

TEST_F(CaptureParameters, ZeroSizedWindowIsRefusedAndNothingSent) {
    OpenModel(kType3);
    const CapInfo before = GetCapInfo();
    const std::size_t sent = BlocksSent();
    for (auto [w, h] : {std::pair{0u, 480u}, {640u, 0u}, {7u, 480u}}) {
        CapInfo r = SmallWindow();
        r.width = w;
        r.height = h;
        EXPECT_EQ(SetCapInfo(r), status::kNotSupported) << w << "x" << h;
    }
    EXPECT_EQ(BlocksSent(), sent);
    EXPECT_EQ(GetCapInfo(), before);
}

TEST_F(CaptureParameters, GainIsLimitedAndEncoded) {
    OpenModel(kType3);
    const std::tuple<std::uint8_t, std::uint8_t, std::uint8_t> cases[] = {
        {5, 8, 8}, {8, 8, 8}, {63, 63, 63}, {64, 63, 96}, {95, 63, 127}, {100, 63, 127}, {255, 63, 127}};
    for (auto [gain, sentGain, encoded] : cases) {
        CapInfo r = SmallWindow();
        r.gain = {gain, 0, 0};
        ASSERT_EQ(SetCapInfo(r), status::kSuccess);
        const auto block = LastBlock();
        EXPECT_EQ(block[24], sentGain) << int(gain);
        EXPECT_EQ(block[25], sentGain) << int(gain);
        EXPECT_EQ(block[26], sentGain) << int(gain);
        EXPECT_EQ(block[29], encoded) << int(gain);
    }
}

TEST_F(CaptureParameters, ExposureIsLimitedWhenSentAndKeptAsGiven) {
    OpenModel(kType3);  // limit 4000
    CapInfo r = SmallWindow();
    r.exposure = 5000;
    ASSERT_EQ(SetCapInfo(r), status::kSuccess);
    EXPECT_EQ(vz::GetLE16(LastBlock(), 20), 4000);
    EXPECT_EQ(GetCapInfo().exposure, 5000u);
    r.exposure = 0;
    ASSERT_EQ(SetCapInfo(r), status::kSuccess);
    EXPECT_EQ(vz::GetLE16(LastBlock(), 20), 2);
}

TEST_F(CaptureParameters, BlankingDefaultsPerModel) {
    const std::tuple<std::u16string_view, std::uint16_t, std::uint16_t, std::uint16_t> cases[] = {
        {u"VID_F5A1&PID_0501", 0xC040, 142, 25},
        {kType3, 0x8000, 25, 25},
        {u"VID_F5A1&PID_0801", 0, 0, 0},
    };
    for (auto [pattern, readMode, hBlank, vBlank] : cases) {
        sim::SimulatedBus localBus;
        DeviceLibrary localLibrary(&localBus);
        localBus.AddCamera(InstanceId(pattern));
        std::uint32_t h = 0;
        std::int32_t index = 1;
        const CapInfo r = SmallWindow();
        ASSERT_EQ(localLibrary.Initialize(&index, &r, &h), status::kSuccess);
        const auto block = localBus.LogOf(kqff::kIoctlSetFormat).back().input;
        EXPECT_EQ(vz::GetLE16(block, 30), readMode);
        EXPECT_EQ(vz::GetLE16(block, 36), hBlank);
        EXPECT_EQ(vz::GetLE16(block, 38), vBlank);
        localLibrary.Uninitialize(h);
    }
}

TEST_F(CaptureParameters, RecordRoundTripsThroughSetAndGet) {
    OpenModel(kType3);
    CapInfo r;
    r.reserved = 0xCAFEF00D;
    r.width = 1000;  // sent as 1000 (a multiple of 8)
    r.height = 750;  // sent as 744, returned as asked
    r.columnStart = 16;
    r.rowStart = 32;
    r.exposure = 1234;
    r.gain = {40, 41, 42};
    r.control = 0x40;
    r.mode = {1, 2, 3, 0};
    r.extra = 0x55AA55AA;
    ASSERT_EQ(SetCapInfo(r), status::kSuccess);
    EXPECT_EQ(EncodeCapInfo(GetCapInfo()), EncodeCapInfo(r));
    EXPECT_EQ(vz::GetLE32(LastBlock(), 4), 744u);
}

TEST_F(CaptureParameters, ZoomModeHalvesTheOutputAndKeepsTheRequest) {
    CapInfo full = SmallWindow();
    full.width = 1280;
    full.height = 1024;
    OpenModel(kType3, full);
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SetZoomMode(1); }), status::kSuccess);
    auto block = LastBlock();
    EXPECT_EQ(vz::GetLE32(block, 8), 640u);
    EXPECT_EQ(vz::GetLE32(block, 4), 512u);
    EXPECT_EQ(block[27] & 0x01, 0x01);
    const CapInfo seen = GetCapInfo();
    EXPECT_EQ(seen.width, 1280u);
    EXPECT_EQ(seen.control & 0x01, 0);
    EXPECT_EQ(Call([](BaseDevice& d) { return d.SetZoomMode(7); }), status::kNotSupported);
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SetZoomMode(0); }), status::kSuccess);
    block = LastBlock();
    EXPECT_EQ(vz::GetLE32(block, 8), 1280u);
    EXPECT_EQ(block[27] & 0x05, 0);
}

TEST_F(CaptureParameters, SettersChangeTheirFieldAndResend) {
    OpenModel(kType3);
    Call([](BaseDevice& d) { return d.SetSpeedMode(2); });
    EXPECT_EQ(LastBlock()[27] & 0x30, 0x30);
    CapInfo r = SmallWindow();
    r.control = 0x00;  // the speed bits are not the caller's to change
    SetCapInfo(r);
    EXPECT_EQ(LastBlock()[27] & 0x30, 0x30);
    Call([](BaseDevice& d) { return d.SetSpeedMode(0); });
    EXPECT_EQ(LastBlock()[27] & 0x30, 0x10);

    Call([](BaseDevice& d) { return d.SetHBlank(10); });
    EXPECT_EQ(vz::GetLE16(LastBlock(), 36), 25);
    Call([](BaseDevice& d) { return d.SetHBlank(5000); });
    EXPECT_EQ(vz::GetLE16(LastBlock(), 36), 2047);
    Call([](BaseDevice& d) { return d.SetVBlank(-3); });
    EXPECT_EQ(vz::GetLE16(LastBlock(), 38), 25);
    Call([](BaseDevice& d) { return d.SetExpouseDelayTime(9999); });
    EXPECT_EQ(vz::GetLE16(LastBlock(), 22), 2047);
    Call([](BaseDevice& d) { return d.SetSensorRdMode(0x1234); });
    EXPECT_EQ(vz::GetLE16(LastBlock(), 30), 0x1234);

    const std::uint16_t addresses[] = {0x3012, 0x3014, 0x3016};
    const std::uint16_t values[] = {0x00FF, 0x0100, 0x0200};
    EXPECT_EQ(Call([&](BaseDevice& d) { return d.Write_Register(addresses, values); }), 0);
    auto block = LastBlock();
    EXPECT_EQ(vz::GetLE16(block, 40), 0x3012);
    EXPECT_EQ(vz::GetLE16(block, 42), 0x00FF);
    EXPECT_EQ(vz::GetLE16(block, 44), 0x3014);
    EXPECT_EQ(vz::GetLE16(block, 46), 0x0100);
    Call([](BaseDevice& d) { return d.ResendCapInfo(); });
    block = LastBlock();
    EXPECT_EQ(vz::GetLE32(block, 40), 0u);  // register writes go out once
    EXPECT_EQ(vz::GetLE32(block, 44), 0u);
}

TEST_F(CaptureParameters, CentringPlacesTheWindowInTheMiddle) {
    OpenModel(kType3);
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SetOffCenter(1); }), status::kSuccess);
    const auto block = LastBlock();
    EXPECT_EQ(vz::GetLE32(block, 12), (1280u - 640u) / 2);
    EXPECT_EQ(vz::GetLE32(block, 16), (1024u - 480u) / 2);
}

TEST_F(CaptureParameters, ExposureInTimeUnitsIsSentAsLines) {
    CapInfo full = SmallWindow();
    full.width = 1280;
    full.height = 1024;
    OpenModel(kType3, full);
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SetExpouseUnit(1); }), status::kSuccess);
    full.exposure = 1000;
    ASSERT_EQ(SetCapInfo(full), status::kSuccess);
    EXPECT_EQ(vz::GetLE16(LastBlock(), 20), 16);  // (1000 * 24 + 180) / (1305 + 226) + 0.5
    EXPECT_EQ(GetCapInfo().exposure, 1013u);      // the time those 16 lines take
}

TEST_F(CaptureParameters, SoftTriggerUsesControlBitOrIoLine) {
    OpenModel(kType3Flag);
    bus.ClearLog();
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SoftTrigger(); }), status::kSuccess);
    const auto blocks = bus.LogOf(kqff::kIoctlSetFormat);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].input[27] & 0x80, 0x80);
    EXPECT_EQ(blocks[1].input[27] & 0x80, 0);

    sim::SimulatedBus ioBus;
    DeviceLibrary ioLibrary(&ioBus);
    ioBus.AddCamera(InstanceId(kType3));
    std::uint32_t h = 0;
    std::int32_t index = 1;
    const CapInfo r = SmallWindow();
    ASSERT_EQ(ioLibrary.Initialize(&index, &r, &h), status::kSuccess);
    ASSERT_EQ(ioLibrary.WithDevice(h, [](BaseDevice& d) { return d.SoftTrigger(); }), 0);
    const auto io = ioBus.LogOf(kqff::kIoctlSetIo);
    ASSERT_EQ(io.size(), 3u);
    EXPECT_EQ(io[0].input, (std::vector<std::uint8_t>{0, 1, 0}));
    EXPECT_EQ(io[1].input, (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(io[2].input, (std::vector<std::uint8_t>{0, 1, 0}));
    ioLibrary.Uninitialize(h);
}

TEST_F(CaptureParameters, TriggerModeSetsAndClearsControlBitOne) {
    OpenModel(kType3);
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SetTriggerMode(1); }), status::kSuccess);
    EXPECT_EQ(LastBlock()[27] & 0x02, 0x02);
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SetTriggerMode(0); }), status::kSuccess);
    EXPECT_EQ(LastBlock()[27] & 0x02, 0);
}

TEST_F(CaptureParameters, IoAndSerialReachTheCamera) {
    OpenModel(kType3);
    std::uint8_t io = 0;
    ASSERT_EQ(Call([](BaseDevice& d) { return d.SetIO(0x5A); }), status::kSuccess);
    // The camera answers GET_IO from its input lines, not from what was set.
    bus.Device(0).Camera().SetIoInput(0xC3);
    ASSERT_EQ(Call([&](BaseDevice& d) { return d.GetIO(io); }), status::kSuccess);
    EXPECT_EQ(io, 0xC3);

    std::array<std::uint8_t, 16> serial{};
    for (std::size_t i = 0; i < serial.size(); ++i) serial[i] = static_cast<std::uint8_t>(0xA0 + i);
    EXPECT_EQ(Call([&](BaseDevice& d) { return d.SetSerialNumber(serial, 0x12345678); }), 0);
    EXPECT_TRUE(bus.LogOf(kqff::kIoctlSetSerial).empty());  // wrong guard: nothing sent
    EXPECT_EQ(Call([&](BaseDevice& d) { return d.SetSerialNumber(serial, BaseDevice::kSerialGuard); }), 0);
    std::array<std::uint8_t, 16> read{};
    ASSERT_EQ(Call([&](BaseDevice& d) { return d.GetSerialNumber(read); }), status::kSuccess);
    EXPECT_EQ(read, serial);

    bus.FailControl(kqff::kIoctlGetIo, 1);
    EXPECT_EQ(Call([&](BaseDevice& d) { return d.GetIO(io); }), status::kNoDevice);
}

TEST_F(CaptureParameters, RegionsAreStoredTopDownAndClamped) {
    OpenModel(kType3);  // 640 x 480 window
    Call([](BaseDevice& d) { return d.SetDoAEInRegion(true, nullptr, nullptr, 700, 10, 100, 400); });
    Region ae;
    Call([&](BaseDevice& d) {
        ae = d.AeRegion();
        return 0;
    });
    EXPECT_EQ(ae, (Region{100, 80, 640, 470}));
    Call([](BaseDevice& d) { return d.SetDoAEInRegion(true, nullptr, nullptr, 0, 50, 100, 50); });
    Call([&](BaseDevice& d) {
        ae = d.AeRegion();
        return 0;
    });
    EXPECT_EQ(ae, Region{});
}

TEST_F(CaptureParameters, MonochromeCameraRefusesWhiteBalance) {
    OpenModel(u"VID_F5A1&PID_0A02");
    EXPECT_EQ(Call([](BaseDevice& d) { return d.SetDoAWB(true, nullptr, nullptr); }), status::kNotSupported);
    bool on = true;
    Call([&](BaseDevice& d) {
        on = d.AutoWhiteBalanceOn();
        return 0;
    });
    EXPECT_FALSE(on);
}

}  // namespace
}  // namespace kq::test
