// The FPGA camera of type 16 over the simulated bus: 16-bit register
// lists sent alone, the window by start and end, line and frame length,
// and the model setting.

#include <gtest/gtest.h>

#include <algorithm>

#include "fpga_fixture.h"
#include "models/naprel_fpga.h"

namespace kq::test {
namespace {

CapInfo NaprelWindow() {
    CapInfo r = FullWindow();
    r.width = 1280;
    r.height = 960;
    return r;
}

class NaprelTest : public FpgaTest {
protected:
    NaprelTest() { width = fpga::AddressWidth::sixteenBit; }
    std::uint32_t OpenNaprel() { return OpenFpga(NaprelWindow(), u"VID_F5A1&PID_1001"); }
};

TEST_F(NaprelTest, OpenProgramsTheWindowLengthsAndModelSettingWithoutPausingAfterLists) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_1001"));
    const std::uint32_t handle = Open(1, NaprelWindow());
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.Class(), DeviceClass::CKQNaprel_FPGA);
        return 0;
    });
    EXPECT_EQ(Codes().front(), kqff::kIoctlStopCapture);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 6u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x3008, 1279}, {0x3006, 961}, {0x3004, 0}, {0x3002, 2}, {0x3032, 0}}));
    EXPECT_EQ(lists[0].trailing, (RegisterWrite{0x3032, 0}));
    EXPECT_EQ(lists[1].counted, (Writes{{0x3012, 300}, {0x3058, 32}, {0x3056, 32}, {0x305C, 32}, {0x305A, 32}}));
    EXPECT_EQ(lists[2].counted, (Writes{{0x300C, 1650}, {0x300A, 989}}));
    EXPECT_EQ(lists[3].counted, (Writes{{0x301A, 0x10D8}}));
    EXPECT_EQ(lists[4].counted, (Writes{{0x3082, 0x29}}));
    EXPECT_EQ(lists[5].counted, (Writes{{0x301A, 0x10DC}}));
    // Only the two lists of the capture parameters go with a record.
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat).size(), 2u);
    EXPECT_EQ(pauses, (std::vector<int>{100, 100, 100}));
}

TEST_F(NaprelTest, TheCameraReadsSixteenBitAddresses) {
    OpenNaprel();
    const auto registers = bus.Device(0).Camera().FpgaRegisters();
    EXPECT_EQ(registers.at(0x3012), 300);
    EXPECT_EQ(registers.at(0x300C), 1650);
    EXPECT_EQ(registers.at(0x300A), 989);
    EXPECT_EQ(registers.at(0x3082), 0x29);
    EXPECT_EQ(registers.at(0x3006), 961);
    EXPECT_EQ(registers.count(0x12), 0u);
}

TEST_F(NaprelTest, BlankingWritesLineAndFrameLengthAlone) {
    struct Case {
        bool horizontal;
        std::int32_t value;
        RegisterWrite sent;
    };
    const Case cases[] = {
        {true, 2000, {0x300C, 2673}}, {true, -4, {0x300C, 1650}},    {true, 30, {0x300C, 1680}},
        {false, 5, {0x300A, 994}},    {false, 5000, {0x300A, 2012}},
    };
    const std::uint32_t handle = OpenNaprel();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        bus.ClearLog();
        pauses.clear();
        ASSERT_EQ(
            On(handle, [&](CKQNavelo_FPGA& d) { return c.horizontal ? d.SetHBlank(c.value) : d.SetVBlank(c.value); }),
            status::kSuccess);
        EXPECT_EQ(Codes(), std::vector<std::uint32_t>{kqff::kIoctlWriteCommand});
        const auto lists = Lists();
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(lists[0].counted, Writes{c.sent});
        EXPECT_TRUE(pauses.empty());
    }
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.Timing().horizontalBlanking, 370 + 30);
        return 0;
    });
}

TEST_F(NaprelTest, OnlyZoomsZeroAndOneExist) {
    const std::uint32_t handle = OpenNaprel();
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(2); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(1); }), status::kSuccess);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    // 640 x 480 read over twice its size; the end reaches two lines further.
    EXPECT_EQ(lists[0].counted, (Writes{{0x3008, 1281}, {0x3006, 963}, {0x3004, 0}, {0x3002, 2}, {0x3032, 2}}));
    EXPECT_EQ(lists[0].trailing, (RegisterWrite{0x3012, 300}));
}

TEST_F(NaprelTest, ZoomZeroWithTheSkipFlagOnAWindowThatDoesNotFitTwiceSendsTheCaptureSettingsAlone) {
    // The skip flag asked for on the whole sensor: it cannot be read twice.
    CapInfo record = NaprelWindow();
    record.control = 1;
    const std::uint32_t handle = OpenFpga(record, u"VID_F5A1&PID_1001");
    const auto before = bus.Device(0).Camera().FpgaRegisters();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(0); }), status::kSuccess);
    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{kqff::kIoctlSetFormat, kqff::kIoctlWriteCommand}));
    // The request: 960 high, 1280 wide, control 1, no counted write, then
    // the exposure the camera reads after them.
    fpga::Request expected{};
    const std::uint8_t head[] = {16, 0xC0, 0x03, 0x00, 0x05, 0x01, 0x00, 0x2C, 0x01, 0x12, 0x30};
    std::copy(std::begin(head), std::end(head), expected.begin());
    const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(std::ranges::equal(sent[0].input, expected));
    EXPECT_EQ(bus.Device(0).Camera().FpgaRegisters(), before);

    // Leaving the two-fold zoom the sensor is told its unskipped window
    // again, else it would go on skipping rows the frames no longer have.
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(1); }), status::kSuccess);
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(0); }), status::kSuccess);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x3008, 1279}, {0x3006, 961}, {0x3004, 0}, {0x3002, 2}, {0x3032, 0}}));
    EXPECT_EQ(bus.Device(0).Camera().FpgaRegisters(), before);
}

TEST_F(NaprelTest, ZoomZeroWithTheSkipFlagAndExposureTimeSendsTheExposureAlone) {
    CapInfo record = NaprelWindow();
    record.control = 1;
    const std::uint32_t handle = OpenFpga(record, u"VID_F5A1&PID_1001");
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetExpouseUnit(1); }), status::kSuccess);
    const std::uint16_t lines = bus.Device(0).Camera().FpgaRegisters().at(0x3012);
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(0); }), status::kSuccess);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x3012, lines}}));
    EXPECT_EQ(lists[0].trailing, (RegisterWrite{0x3012, lines}));
    EXPECT_EQ(lists[0].control, 1);
}

TEST_F(NaprelTest, TheModelSettingLimitsTheExposureTo2048Lines) {
    const std::uint32_t handle = OpenNaprel();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return dynamic_cast<CKQNaprel_FPGA&>(d).ApplyModelSetting(1); }),
              status::kSuccess);
    EXPECT_EQ(Lists()[1].counted, (Writes{{0x3082, 0x28}}));
    bus.ClearLog();
    CapInfo record = NaprelWindow();
    record.exposure = 5000;
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetCapInfo(record); }), status::kSuccess);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x3012, 2048}}));
    On(handle, [](CKQNavelo_FPGA& d) {
        // Line: 370 + 1280 = 1650; t x 58 / 1650 + 0.5, at most 2048 now.
        EXPECT_EQ(d.ExposureToRegister(1650 * 100 / 58), 100u);
        EXPECT_EQ(d.ExposureToRegister(0xFFFFFFFFu), 2048u);
        EXPECT_EQ(d.ExposureToRegister(0), 1u);
        return 0;
    });
}

TEST_F(NaprelTest, ReArrivalWritesTheLengthsAndRestoresTheWindowWithoutTheExtraReach) {
    const std::uint32_t handle = OpenNaprel();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(1); }), status::kSuccess);
    ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);
    bus.Unplug(0);
    bus.Replug(0);
    bus.ClearLog();
    ASSERT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kSuccess);
    EXPECT_EQ(Codes().front(), kqff::kIoctlStopCapture);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 7u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x300C, 370 + 640}, {0x300A, 480 + 29}}));
    EXPECT_EQ(lists[1].counted, (Writes{{0x3008, 1279}, {0x3006, 961}, {0x3004, 0}, {0x3002, 2}, {0x3032, 3}}));
    EXPECT_EQ(lists[2].counted, (Writes{{0x3012, 300}, {0x3058, 32}, {0x3056, 32}, {0x305C, 32}, {0x305A, 32}}));
    EXPECT_EQ(lists[3].counted, (Writes{{0x300C, 1650}, {0x300A, 509}}));
    EXPECT_EQ(lists[4].counted, (Writes{{0x301A, 0x10D8}}));
}

}  // namespace
}  // namespace kq::test
