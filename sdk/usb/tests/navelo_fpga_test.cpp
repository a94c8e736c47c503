// The FPGA camera of type 11 over the simulated bus: the capture record and
// register lists it sends, byte for byte, its pauses, its EEPROM area and
// timing requests, and its re-arrival.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "kqff_protocol.h"
#include "models/brisel_fpga.h"
#include "models/fpga_request.h"
#include "models/navelo_fpga.h"
#include "exposure_reports.h"
#include "fpga_fixture.h"
#include "green_diagonal_formulas.h"
#include "mirrored_edges.h"

namespace kq::test {
namespace {

TEST_F(FpgaTest, OpenResetsTheSensorAndProgramsTheWholeWindow) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0B01"));
    const std::uint32_t handle = Open(1, FullWindow());
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.Class(), DeviceClass::CKQNavelo_FPGA);
        EXPECT_EQ(d.StoredCapInfo().width, 2048u);
        return 0;
    });
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 6u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x0D, 1}}));
    EXPECT_EQ(lists[0].trailing, (RegisterWrite{0x0D, 1}));
    EXPECT_EQ(lists[1].counted, (Writes{{0x0D, 0}}));
    EXPECT_EQ(lists[2].counted, (Writes{{0x0D, 0}}));
    EXPECT_EQ(lists[3].counted, (Writes{{0x07, 2}, {0x1E, 0xC040}, {0x20, 0x2000}, {0x05, 142}, {0x06, 25}}));
    EXPECT_EQ(lists[3].trailing, (RegisterWrite{0x06, 25}));
    // First apply: the whole unskipped window, then exposure and gains.
    EXPECT_EQ(lists[4].counted, (Writes{{0x04, 2047}, {0x03, 1535}, {0x22, 0}, {0x23, 0}, {0x02, 32}, {0x01, 20}}));
    EXPECT_EQ(lists[4].trailing, (RegisterWrite{0x01, 20}));
    EXPECT_EQ(lists[5].counted, (Writes{{0x09, 300}, {0x2D, 32}, {0x2B, 32}, {0x2E, 32}, {0x2C, 32}}));
    EXPECT_EQ(lists[5].width, 2048);
    EXPECT_EQ(lists[5].height, 1536);
    // Each list follows its capture record; the pauses were asked for, not waited.
    const auto codes = Codes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat).size(), 6u);
    EXPECT_EQ(pauses, (std::vector<int>{100, 500, 100, 100, 100, 100, 100, 200, 100}));
}

TEST_F(FpgaTest, TheAlternateExposureActsBelow600LinesAndAboveLuma150) {
    const std::uint32_t handle = OpenFpga();
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.Pixels().alternateThresholds.exposure, 600);
        EXPECT_EQ(d.Pixels().alternateThresholds.brightness, 150);
        return 0;
    });
}

// The FPGA pictures skip the base's steps after the demosaic: the stripe
// requests are refused rather than accepted and never applied.
TEST_F(FpgaTest, Type20IsAGreySensorThatKeepsTheFamilysGreyKernels) {
    const std::uint32_t handle = OpenFpga(FullWindow(), u"VID_F5A1&PID_1401");
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.TypeCode(), 20);
        EXPECT_TRUE(d.Pixels().greyRaw);
        EXPECT_TRUE(d.Pixels().greyKernels);
        EXPECT_TRUE(d.Pixels().cellDemosaic.grey);
        return 0;
    });
}

TEST_F(FpgaTest, PicturesTakeNeitherStripeRemovalNorTheHdrTable) {
    const std::uint32_t handle = OpenFpga();
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.ErasureStripe(), status::kNotSupported);
        EXPECT_EQ(d.ApplyErasure(true), status::kNotSupported);
        EXPECT_FALSE(d.Pixels().hdrToneAfterDemosaic);
        return 0;
    });
}

TEST_F(FpgaTest, AGainOnlyChangeSendsOneListOfFourWithoutStoppingCapture) {
    struct Case {
        std::uint8_t gain, sent;
    };
    const std::uint32_t handle = OpenFpga();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    for (const Case c : {Case{40, 40}, Case{100, 63}, Case{3, 9}}) {
        SCOPED_TRACE(c.gain);
        bus.ClearLog();
        pauses.clear();
        CapInfo record = FullWindow();
        record.gain = {c.gain, 1, 2};
        ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetCapInfo(record); }), status::kSuccess);
        EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{kqff::kIoctlSetFormat, kqff::kIoctlWriteCommand}));
        const auto lists = Lists();
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(lists[0].counted, (Writes{{0x2D, c.sent}, {0x2B, c.sent}, {0x2E, c.sent}, {0x2C, c.sent}}));
        const auto format = bus.LogOf(kqff::kIoctlSetFormat)[0].input;
        EXPECT_EQ(format[24], c.sent);
        EXPECT_EQ(format[25], c.sent);
        EXPECT_EQ(format[26], c.sent);
        EXPECT_EQ(pauses, std::vector<int>{100});
    }
    On(handle, [](CKQNavelo_FPGA& d) { return d.StopView(); });
}

TEST_F(FpgaTest, ZoomOneHalvesTheFullWindowAndTwoQuartersIt) {
    struct Case {
        std::int32_t zoom;
        std::uint32_t width, height;
        Writes window;
    };
    const Case cases[] = {
        {1, 1024, 768, {{0x04, 2047}, {0x03, 1535}, {0x22, 1}, {0x23, 1}, {0x02, 32}, {0x01, 20}}},
        {2, 512, 384, {{0x04, 2047}, {0x03, 1535}, {0x22, 3}, {0x23, 3}, {0x02, 32}, {0x01, 20}}},
        {0, 2048, 1536, {{0x04, 2047}, {0x03, 1535}, {0x22, 0}, {0x23, 0}, {0x02, 32}, {0x01, 20}}},
    };
    const std::uint32_t handle = OpenFpga();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        bus.ClearLog();
        pauses.clear();
        ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetZoomMode(c.zoom); }), status::kSuccess);
        const auto lists = Lists();
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(lists[0].counted, c.window);
        EXPECT_EQ(lists[0].trailing, (RegisterWrite{0x09, 300}));
        EXPECT_EQ(lists[0].width, c.width);
        EXPECT_EQ(lists[0].height, c.height);
        EXPECT_EQ(pauses, std::vector<int>{200});
        On(handle, [&](CKQNavelo_FPGA& d) {
            EXPECT_EQ(d.FrameBytes(), c.width * c.height);
            return 0;
        });
    }
    bus.ClearLog();
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(3); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(FpgaTest, WindowsStayOnTheSensorAndAnEmptyOneIsRefused) {
    const std::uint32_t handle = OpenFpga();
    CapInfo huge = FullWindow();
    huge.width = 0xFFFFFFF0u;
    huge.height = 5000;
    huge.columnStart = 0xFFFFFFF0u;
    huge.rowStart = 4000;
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetCapInfo(huge); }), status::kSuccess);
    const auto format = bus.LogOf(kqff::kIoctlSetFormat);
    ASSERT_FALSE(format.empty());
    const CapInfo sent = DecodeCapInfo(std::span<const std::uint8_t, kCapInfoBytes>(format.back().input.data(), 36));
    EXPECT_EQ(sent.width, 2048u);
    EXPECT_EQ(sent.height, 1536u);
    EXPECT_EQ(sent.columnStart, 0u);
    EXPECT_EQ(sent.rowStart, 0u);
    for (const auto& list : Lists()) {
        for (const auto& w : list.counted) {
            if (w.address == 0x02) EXPECT_EQ(w.value, 32);
            if (w.address == 0x01) EXPECT_EQ(w.value, 20);
        }
    }
    bus.ClearLog();
    CapInfo empty = FullWindow();
    empty.width = 7;  // rounds down to nothing
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetCapInfo(empty); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(FpgaTest, RegisterWritesTakeOneToNinePairs) {
    const std::uint32_t handle = OpenFpga();
    for (std::size_t n : {0u, 1u, 2u, 9u, 10u, 12u}) {
        SCOPED_TRACE(n);
        std::vector<std::uint16_t> addresses(n), values(n);
        for (std::size_t k = 0; k < n; ++k) {
            addresses[k] = static_cast<std::uint16_t>(0x1100 + k);  // the list keeps the low byte
            values[k] = static_cast<std::uint16_t>(1000 + k);
        }
        bus.ClearLog();
        const int rc = On(handle, [&](CKQNavelo_FPGA& d) { return d.Write_Register(addresses, values); });
        if (n == 0 || n > 9) {
            EXPECT_EQ(rc, status::kNotSupported);
            EXPECT_TRUE(bus.Log().empty());
            continue;
        }
        EXPECT_EQ(rc, status::kSuccess);
        const auto lists = Lists();
        ASSERT_EQ(lists.size(), 1u);
        ASSERT_EQ(lists[0].counted.size(), n);
        for (std::size_t k = 0; k < n; ++k) {
            EXPECT_EQ(lists[0].counted[k], (RegisterWrite{static_cast<std::uint16_t>(k), values[k]}));
        }
        EXPECT_EQ(lists[0].trailing, lists[0].counted.back());
    }
}

TEST_F(FpgaTest, RefusedSendsAreReportedAndLeaveTheStateAlone) {
    const std::uint32_t handle = OpenFpga();
    CapInfo before;
    On(handle, [&](CKQNavelo_FPGA& d) {
        before = d.GetCapInfo();
        return 0;
    });
    CapInfo record = FullWindow();
    record.gain = {50, 50, 50};
    record.exposure = 777;
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetCapInfo(record); }), status::kNotSupported);
    EXPECT_TRUE(bus.LogOf(kqff::kIoctlWriteCommand).empty());  // no list after a refused record
    On(handle, [&](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.GetCapInfo(), before);
        return 0;
    });
    bus.FailControl(kqff::kIoctlWriteCommand, 1);
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetCapInfo(record); }), status::kNoDevice);
    bus.ClearLog();
    // The failed change was rolled back, so it is sent again whole.
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetCapInfo(record); }), status::kSuccess);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x09, 777}, {0x2D, 50}, {0x2B, 50}, {0x2E, 50}, {0x2C, 50}}));
}

TEST_F(FpgaTest, AnEmptyGrabGivesUpAfterThreeReadsWithAPauseAfterEach) {
    const std::uint32_t handle = OpenFpga();
    bus.ShortReads(0, 3);
    std::vector<std::uint8_t> buffer(2048 * 1536);
    const int rc = On(handle, [&](CKQNavelo_FPGA& d) {
        return d.GrabFrame(buffer.data(), false, [](const DeliveredFrame&) { return 0; });
    });
    EXPECT_EQ(rc, status::kNoFrame);
    EXPECT_EQ(pauses, (std::vector<int>{5, 5, 5}));
    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{kqff::kIoctlStartCapture, kqff::kIoctlStopCapture}));
}

TEST_F(FpgaTest, TheCameraHoldsTheRegistersTheListsWrote) {
    const std::uint32_t handle = OpenFpga();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(1); }), status::kSuccess);
    const auto registers = bus.Device(0).Camera().FpgaRegisters();
    const std::map<std::uint16_t, std::uint16_t> expected{
        {0x01, 20}, {0x02, 32},  {0x03, 1535}, {0x04, 2047},   {0x05, 142},    {0x06, 25},
        {0x07, 2},  {0x09, 300}, {0x0D, 0},    {0x1E, 0xC040}, {0x20, 0x2000}, {0x22, 1},
        {0x23, 1},  {0x2B, 32},  {0x2C, 32},   {0x2D, 32},     {0x2E, 32},
    };
    EXPECT_EQ(registers, expected);
}

TEST_F(FpgaTest, SerialAndEepromComeFromTheCamera) {
    std::uint32_t handle = OpenFpga();
    const std::array<std::uint8_t, 16> serial{'K', 'Q', '-', '1', '1', '-', '0', '0', '4', '2', 0, 0, 0, 0, 0, 9};
    bus.Device(0).Camera().SetSerial(serial);
    std::array<std::uint8_t, 16> read{};
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.GetSerialNumber(read); }), status::kSuccess);
    EXPECT_EQ(read, serial);

    std::array<std::uint8_t, 240> area{};
    for (std::size_t i = 0; i < 40; ++i) area[i] = static_cast<std::uint8_t>(3 * i + 1);
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_Set(area); }), status::kSuccess);
    const auto stored = bus.Device(0).Camera().FpgaEeprom();
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), area.begin()));
    // A new device has no cache: its read is the camera's answer.
    ASSERT_EQ(library.Uninitialize(handle), status::kSuccess);
    handle = Open(1, FullWindow());
    std::array<std::uint8_t, 240> out{};
    bus.ClearLog();
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_GetByte(10, 5, out.data()); }), status::kSuccess);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlTransact).size(), 1u);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 5, area.begin() + 10));
}

TEST_F(FpgaTest, RequestsTheCameraLacksAnswerWithoutSending) {
    const std::uint32_t handle = OpenFpga();
    std::uint8_t io = 0x5A;
    const std::vector<std::pair<int, std::function<int(CKQNavelo_FPGA&)>>> requests = {
        {status::kNotSupported, [](CKQNavelo_FPGA& d) { return d.SetSpeedMode(1); }},
        {status::kNotSupported, [](CKQNavelo_FPGA& d) { return d.SetExpouseDelayTime(1); }},
        {status::kNotSupported, [](CKQNavelo_FPGA& d) { return d.SetSensorRdMode(1); }},
        {status::kNotSupported, [](CKQNavelo_FPGA& d) { return d.SetGolbalGain(1); }},
        {status::kNotSupported, [](CKQNavelo_FPGA& d) { return d.SetCameraLED(0, 1); }},
        {status::kRefused, [](CKQNavelo_FPGA& d) { return d.SetIO(1); }},
        {status::kRefused, [&](CKQNavelo_FPGA& d) { return d.GetIO(io); }},
    };
    for (const auto& [expected, request] : requests) {
        bus.ClearLog();
        EXPECT_EQ(On(handle, request), expected);
        EXPECT_TRUE(bus.Log().empty());
    }
    EXPECT_EQ(io, 0x5A);
}

TEST_F(FpgaTest, BlankingIsLimitedAndWrittenToItsRegister) {
    struct Case {
        bool horizontal;
        std::int32_t value;
        RegisterWrite sent;
    };
    const Case cases[] = {
        {true, 5000, {0x05, 1023}}, {true, 10, {0x05, 142}},     {true, 300, {0x05, 300}},
        {false, 0, {0x06, 25}},     {false, 2000, {0x06, 1023}}, {false, 40, {0x06, 40}},
    };
    const std::uint32_t handle = OpenFpga();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        bus.ClearLog();
        ASSERT_EQ(
            On(handle, [&](CKQNavelo_FPGA& d) { return c.horizontal ? d.SetHBlank(c.value) : d.SetVBlank(c.value); }),
            status::kSuccess);
        const auto lists = Lists();
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(lists[0].counted, Writes{c.sent});
    }
}

TEST_F(FpgaTest, ExposureTimeConvertsThroughTheLineLengthWithoutWrapping) {
    const std::uint32_t handle = OpenFpga();
    On(handle, [](CKQNavelo_FPGA& d) {
        // Line: 142 + 2048 + 364 = 2554 units; lines = t x 48 / 2554 + 0.5.
        EXPECT_EQ(d.ExposureToRegister(0), 1u);
        EXPECT_EQ(d.ExposureToRegister(2554), 48u);
        EXPECT_EQ(d.ExposureToRegister(2554 / 96), 1u);
        EXPECT_EQ(d.ExposureToRegister(0xFFFFFFFFu), 65535u);
        EXPECT_EQ(d.RegisterToExposure(48), 2554u);
        EXPECT_EQ(d.RegisterToExposure(65535), static_cast<std::uint32_t>((2554ull * 65535 * 2 + 48) / 96));
        return 0;
    });
}

TEST_F(FpgaTest, TriggerTimesAreScaledInSixtyFourBitsAndLimited) {
    struct Case {
        bool delay;
        std::int32_t value;
        std::uint8_t subcommand;
        std::uint32_t sent;
    };
    const Case cases[] = {
        {true, 2, 11, 96000},  {true, 100000, 11, 0xFFFFFFFFu},  {true, -5, 11, 0},
        {false, 3, 12, 72000}, {false, 200000, 12, 0xFFFFFFFFu},
    };
    const std::uint32_t handle = OpenFpga();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        bus.ClearLog();
        ASSERT_EQ(On(handle,
                     [&](CKQNavelo_FPGA& d) {
                         return c.delay ? d.SetTriggerDelayTime(c.value) : d.SetTriggerSourceTime(c.value);
                     }),
                  status::kSuccess);
        const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
        ASSERT_EQ(sent.size(), 1u);
        ASSERT_EQ(sent[0].input.size(), 64u);
        const std::uint32_t value = sent[0].input[1] | (sent[0].input[2] << 8) | (sent[0].input[3] << 16) |
                                    (std::uint32_t{sent[0].input[4]} << 24);
        EXPECT_EQ(sent[0].input[0], c.subcommand);
        EXPECT_EQ(value, c.sent);
    }
    bus.FailControl(kqff::kIoctlWriteCommand, 1);
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetTriggerDelayTime(1); }), status::kNoDevice);
}

// The trigger source (0x40) and the custom output (0x80) are bits of the
// stored control byte, each set or cleared on its own and sent with the record.
TEST_F(FpgaTest, TriggerSourceAndCustomOutputAreBitsOfTheSentRecord) {
    struct Case {
        bool source;
        std::int32_t on;
        std::uint8_t bits;
    };
    // Each case builds on the bits the one before left.
    const Case cases[] = {
        {true, 1, 0x40}, {false, 1, 0xC0}, {true, 0, 0x80}, {false, 7, 0x80}, {false, 0, 0x00}, {true, -3, 0x40},
    };
    const std::uint32_t handle = OpenFpga();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.source ? "source " : "output ") << c.on);
        bus.ClearLog();
        ASSERT_EQ(
            On(handle, [&](CKQNavelo_FPGA& d) { return c.source ? d.SetTriggerSource(c.on) : d.SetCustomIO(c.on); }),
            status::kSuccess);
        const auto records = bus.LogOf(kqff::kIoctlSetFormat);
        ASSERT_EQ(records.size(), 1u);
        ASSERT_EQ(records[0].input.size(), kCapInfoBytes);
        EXPECT_EQ(records[0].input[27] & 0xC0, c.bits);
        EXPECT_EQ(Codes().front(), kqff::kIoctlSetFormat);
        On(handle, [&](CKQNavelo_FPGA& d) {
            EXPECT_EQ(d.StoredCapInfo().control & 0xC0, c.bits);
            return 0;
        });
    }
    // A record the driver refuses leaves the bit as it was: the next record
    // carries only what was taken.
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetCustomIO(1); }), status::kNotSupported);
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.StoredCapInfo().control & 0xC0, 0x40);
        return 0;
    });
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetTriggerSource(1); }), status::kSuccess);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat).at(0).input.at(27) & 0xC0, 0x40);
}

// The EEPROM test pair writes and reads the camera's 40-byte area with no
// pause; only a running preview is stopped around it, fast mode is not.
TEST_F(FpgaTest, EepromTestPairReachesTheCamerasArea) {
    const std::uint32_t handle = OpenFpga();
    std::array<std::uint8_t, 40> area{};
    for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(0xC0 ^ (5 * i));
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_Set_Test(area.data()); }), status::kSuccess);
    const auto written = bus.LogOf(kqff::kIoctlWriteCommand);
    ASSERT_EQ(written.size(), 1u);
    ASSERT_EQ(written[0].input.size(), 64u);
    EXPECT_EQ(written[0].input[0], 7);
    EXPECT_TRUE(std::equal(area.begin(), area.end(), written[0].input.begin() + 2));
    const auto stored = bus.Device(0).Camera().FpgaEeprom();
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), area.begin()));

    struct Case {
        const char* running;
        std::function<int(CKQNavelo_FPGA&)> start, stop;
        std::vector<std::uint32_t> codes;
    };
    const Case cases[] = {
        {"nothing", nullptr, nullptr, {kqff::kIoctlTransact}},
        {"preview",
         [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); },
         [](CKQNavelo_FPGA& d) { return d.StopView(); },
         {kqff::kIoctlStopCapture, kqff::kIoctlTransact, kqff::kIoctlStopCapture, kqff::kIoctlStartCapture}},
        {"fast mode",
         [](CKQNavelo_FPGA& d) { return d.CapFastMode(true); },
         [](CKQNavelo_FPGA& d) { return d.CapFastMode(false); },
         {kqff::kIoctlTransact}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.running);
        if (c.start) {
            ASSERT_EQ(On(handle, c.start), status::kSuccess);
        }
        bus.ClearLog();
        pauses.clear();
        std::array<std::uint8_t, 40> read;
        read.fill(0x11);
        ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_Get_Test(read.data()); }), status::kSuccess);
        EXPECT_EQ(read, area);
        EXPECT_EQ(Codes(), c.codes);
        const auto asked = bus.LogOf(kqff::kIoctlTransact);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].input.at(0), 8);
        EXPECT_TRUE(pauses.empty());
        if (c.stop) {
            ASSERT_EQ(On(handle, c.stop), status::kSuccess);
        }
    }

    bus.ClearLog();
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.EEProm_Set_Test(nullptr); }), status::kRefused);
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.EEProm_Get_Test(nullptr); }), status::kRefused);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(FpgaTest, EepromRangesAreCheckedWhetherOrNotTheCacheIsCurrent) {
    const std::uint32_t handle = OpenFpga();
    std::array<std::uint8_t, 8> data{1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        std::int32_t offset, count;
        int rc;
    };
    const Case cases[] = {{35, 6, status::kNotSupported}, {39, 1, status::kSuccess},
                          {-1, 2, status::kNotSupported}, {40, 0, status::kNotSupported},
                          {0, -1, status::kNotSupported}, {0x7FFFFFF0, 0x20, status::kNotSupported}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << "+" << c.count);
        bus.ClearLog();
        EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_SetByte(c.offset, c.count, data.data()); }),
                  c.rc);
        if (c.rc != status::kSuccess) EXPECT_TRUE(bus.Log().empty());
    }
    // The cache is current now; a read past the area is still refused.
    std::array<std::uint8_t, 8> out{};
    out.fill(0xEE);
    bus.ClearLog();
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_GetByte(38, 5, out.data()); }),
              status::kNotSupported);
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_GetByte(0x7FFFFFFF, 2, out.data()); }),
              status::kNotSupported);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0xEE; }));
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_GetByte(39, 1, out.data()); }), status::kSuccess);
    EXPECT_EQ(out[0], 1);  // from the cache the write left
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(FpgaTest, EepromWriteSendsTheAreaAndPausesWhileTheCameraStoresIt) {
    const std::uint32_t handle = OpenFpga();
    std::array<std::uint8_t, 240> area{};
    for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(0x80 + i);
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_Set(area); }), status::kSuccess);
    const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
    ASSERT_EQ(sent.size(), 1u);
    std::vector<std::uint8_t> expected(64, 0);
    expected[0] = 7;
    std::copy_n(area.begin(), 40, expected.begin() + 2);
    EXPECT_EQ(sent[0].input, expected);
    EXPECT_EQ(pauses, std::vector<int>{1100});
    // Read from the cache: nothing sent, the caller's other bytes untouched.
    bus.ClearLog();
    std::array<std::uint8_t, 240> out;
    out.fill(0x11);
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_Get(out); }), status::kSuccess);
    EXPECT_TRUE(bus.Log().empty());
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 40, area.begin()));
    EXPECT_EQ(out[40], 0x11);
}

TEST_F(FpgaTest, AFailedEepromReadLeavesTheCallerAndTheCacheUntouched) {
    const std::uint32_t handle = OpenFpga();
    std::array<std::uint8_t, 240> out;
    out.fill(0x33);
    bus.FailControl(kqff::kIoctlTransact, 1);
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_Get(out); }), status::kNoDevice);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0x33; }));
    // Still not current: the next read asks the camera.
    bus.ClearLog();
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.EEProm_Get(out); }), status::kSuccess);
    const auto asked = bus.LogOf(kqff::kIoctlTransact);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].input[0], 8);
    std::array<std::uint8_t, 16> serial;
    serial.fill(0x44);
    bus.FailControl(kqff::kIoctlTransact, 1);
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.GetSerialNumber(serial); }), status::kNoDevice);
    EXPECT_TRUE(std::all_of(serial.begin(), serial.end(), [](std::uint8_t b) { return b == 0x44; }));
}

TEST_F(FpgaTest, ReArrivalResetsTheSensorAndResendsWindowExposureGainsAndBlanking) {
    const std::uint32_t handle = OpenFpga();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(1); }), status::kSuccess);
    ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);
    bus.Unplug(0);
    bus.Replug(0);
    bus.ClearLog();
    pauses.clear();
    ASSERT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kSuccess);
    const auto codes = Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes[0], kqff::kIoctlStopCapture);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 7u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x0D, 1}}));
    EXPECT_EQ(lists[3].counted, (Writes{{0x07, 2}, {0x1E, 0xC040}, {0x20, 0x2000}}));
    EXPECT_EQ(lists[4].counted, (Writes{{0x04, 2047}, {0x03, 1535}, {0x22, 1}, {0x23, 1}, {0x02, 32}, {0x01, 20}}));
    EXPECT_EQ(lists[4].trailing, (RegisterWrite{0x01, 20}));
    EXPECT_EQ(lists[5].counted, (Writes{{0x09, 300}, {0x2D, 32}, {0x2B, 32}, {0x2E, 32}, {0x2C, 32}}));
    EXPECT_EQ(lists[6].counted, (Writes{{0x05, 142}, {0x06, 25}}));
}

TEST_F(FpgaTest, AutomaticExposureWritesOnlyTheExposureRegister) {
    const std::uint32_t handle = OpenFpga(SmallWindow());
    ExposureReports report;
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetDoAE(true, &ExposureReports::On, &report); }),
              status::kSuccess);
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    const std::size_t startLists = Lists().size();
    {
        std::unique_lock<std::mutex> hold(report.lock);
        ASSERT_TRUE(report.came.wait_for(hold, std::chrono::seconds(20), [&] { return !report.values.empty(); }));
    }
    On(handle, [](CKQNavelo_FPGA& d) { return d.StopView(); });
    const auto lists = Lists();
    ASSERT_GT(lists.size(), startLists);
    // Every change the exposure made went as one register write, the last
    // of them the value reported.
    for (std::size_t i = startLists; i < lists.size(); ++i) {
        ASSERT_EQ(lists[i].counted.size(), 1u);
        EXPECT_EQ(lists[i].counted[0].address, 0x09);
    }
    std::lock_guard<std::mutex> hold(report.lock);
    EXPECT_EQ(lists.back().counted[0].value, report.values.back());
}

CapInfo BriselWindow() {
    CapInfo r = FullWindow();
    r.width = 1280;
    r.height = 1024;
    return r;
}

TEST_F(FpgaTest, BriselOpensWithBlankingOnlyAndItsOwnWindowList) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0C01"));
    const std::uint32_t handle = Open(1, BriselWindow());
    On(handle, [](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.Class(), DeviceClass::CKQBrisel_FPGA);
        return 0;
    });
    EXPECT_EQ(Codes().front(), kqff::kIoctlStopCapture);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 6u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x0D, 1}}));
    EXPECT_EQ(lists[3].counted, (Writes{{0x05, 9}, {0x06, 25}}));
    EXPECT_EQ(lists[4].counted,
              (Writes{{0x04, 1279}, {0x03, 1023}, {0x20, 0x1104}, {0x1E, 0xC040}, {0x02, 20}, {0x01, 12}}));
    EXPECT_EQ(lists[4].trailing, (RegisterWrite{0x09, 300}));
    EXPECT_EQ(lists[5].counted, (Writes{{0x09, 300}, {0x2D, 32}, {0x2B, 32}, {0x2E, 32}, {0x2C, 32}}));
    EXPECT_EQ(pauses, (std::vector<int>{100, 500, 100, 100, 100, 100, 100, 200, 100}));
}

TEST_F(FpgaTest, BriselZoomStatesSetReadModeAndCountTheExposureInTimeUnits) {
    struct Case {
        std::int32_t zoom;
        Writes window;
    };
    const Case cases[] = {
        {1, {{0x04, 1279}, {0x03, 1023}, {0x20, 0x111C}, {0x1E, 0xC040}, {0x02, 20}, {0x01, 12}}},
        {2, {{0x04, 1279}, {0x03, 1023}, {0x20, 0x1104}, {0x1E, 0xC04C}, {0x02, 20}, {0x01, 12}}},
    };
    const std::uint32_t handle = OpenFpga(BriselWindow(), u"VID_F5A1&PID_0C01");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        bus.ClearLog();
        ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetZoomMode(c.zoom); }), status::kSuccess);
        auto lists = Lists();
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(lists[0].counted, c.window);
        EXPECT_EQ(lists[0].trailing, (RegisterWrite{0x09, 300}));
    }
    // With exposure in time units the exposure is the seventh counted write.
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetExpouseUnit(1); }), status::kSuccess);
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetZoomMode(0); }), status::kSuccess);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].counted.size(), 7u);
    EXPECT_EQ(lists[0].counted[6].address, 0x09);
    EXPECT_EQ(lists[0].trailing, lists[0].counted[6]);
}

TEST_F(FpgaTest, BriselLimitsItsBlankingAndExposure) {
    const std::uint32_t handle = OpenFpga(BriselWindow(), u"VID_F5A1&PID_0C01");
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetHBlank(2); }), status::kSuccess);
    ASSERT_EQ(Lists().size(), 1u);
    EXPECT_EQ(Lists()[0].counted, (Writes{{0x05, 9}}));
    On(handle, [](CKQNavelo_FPGA& d) {
        // Line: 9 + 1280 + 226 = 1515; (t x 48 + 180) / 1515 + 0.5.
        EXPECT_EQ(d.ExposureToRegister(0xFFFFFFFFu), 16383u);
        EXPECT_EQ(d.ExposureToRegister(0), 1u);
        EXPECT_EQ(d.ExposureToRegister(312), 10u);  // 15156 / 1515 = 10.004
        EXPECT_EQ(d.RegisterToExposure(10), 312u);  // 14970 / 48 = 311.9
        return 0;
    });
}

TEST_F(FpgaTest, BriselReArrivalPulsesWithoutStoppingAndResendsTheWindow) {
    const std::uint32_t handle = OpenFpga(BriselWindow(), u"VID_F5A1&PID_0C01");
    ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);
    bus.Unplug(0);
    bus.Replug(0);
    bus.ClearLog();
    ASSERT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kSuccess);
    EXPECT_TRUE(bus.LogOf(kqff::kIoctlStopCapture).empty());
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 6u);
    EXPECT_EQ(lists[2].counted, (Writes{{0x0D, 0}}));
    EXPECT_EQ(lists[3].counted,
              (Writes{{0x04, 1279}, {0x03, 1023}, {0x20, 0x1104}, {0x1E, 0xC040}, {0x02, 20}, {0x01, 12}}));
    EXPECT_EQ(lists[3].trailing, (RegisterWrite{0x01, 12}));
    EXPECT_EQ(lists[4].counted, (Writes{{0x09, 300}, {0x2D, 32}, {0x2B, 32}, {0x2E, 32}, {0x2C, 32}}));
    EXPECT_EQ(lists[5].counted, (Writes{{0x05, 9}, {0x06, 25}}));
}

}  // namespace
}  // namespace kq::test

namespace kq::test {
namespace {

using kqcmos::FrameSize;

// The picture a pipeline makes of `raw` with a pixel description and flip.
std::vector<std::uint8_t> Picture(const PixelModel& model, int flip, FrameSize size,
                                  const std::vector<std::uint8_t>& raw) {
    FramePipeline pipeline({64, 64}, false);
    std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
    PictureSettings settings;
    settings.model = model;
    settings.flipMode = flip;
    FrameSource source;
    source.window.size = size;
    FrameEvents events;
    const auto out = pipeline.Process(settings, source, events);
    if (!out) return {};
    return {out->pixels.begin(), out->pixels.end()};
}

// The family's sensors leave their first column and last two without image.
constexpr kqcmos::EdgeRepair kFpgaEdges{.left = 1, .right = 2};

std::vector<std::uint8_t> Raw(FrameSize size) {
    std::vector<std::uint8_t> raw(kqcmos::FrameBytes(size));
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>((i * 73 + i / 7) % 251);
    return raw;
}

// A grey frame through `orient`, then the 2 x 2 average, as grey RGB.
template <class Orient>
std::vector<std::uint8_t> Averaged(FrameSize size, const std::vector<std::uint8_t>& raw, Orient orient) {
    std::vector<std::uint8_t> oriented(raw.size());
    const auto w = static_cast<std::size_t>(size.width), h = static_cast<std::size_t>(size.height);
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            const auto [fromY, fromX] = orient(y, x, w, h);
            oriented[y * w + x] = raw[fromY * w + fromX];
        }
    }
    std::vector<std::uint8_t> out(3 * raw.size());
    EXPECT_TRUE(kqcmos::Average2x2(size, 3, out, oriented));
    return out;
}

TEST(FpgaFrames, MonochromeFramesTakeTheirOwnOrientationThenTheAverage) {
    using Pos = std::pair<std::size_t, std::size_t>;
    using Orient = Pos (*)(std::size_t, std::size_t, std::size_t, std::size_t);
    struct Case {
        int flip;
        Orient orient;
    };
    const Case cases[] = {
        {0,
         [](std::size_t y, std::size_t x, std::size_t w, std::size_t) {
             return Pos{y, w - 1 - x};
         }},
        {1,
         [](std::size_t y, std::size_t x, std::size_t, std::size_t) {
             return Pos{y, x};
         }},
        {2,
         [](std::size_t y, std::size_t x, std::size_t, std::size_t h) {
             return Pos{h - 1 - y, x};
         }},
        {3,
         [](std::size_t y, std::size_t x, std::size_t w, std::size_t h) {
             return Pos{h - 1 - y, w - 1 - x};
         }},
    };
    const PixelModel mono = CKQJorvel_FPGA(DeviceIdentity{13, 1, 0}).Pixels();
    const FrameSize size{34, 21};
    const auto raw = Raw(size);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flip);
        FramePipeline pipeline({64, 64}, false);
        std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
        PictureSettings settings;
        settings.model = mono;
        settings.colorMode = 2;
        settings.flipMode = c.flip;
        FrameSource source;
        source.window.size = size;
        FrameEvents events;
        const auto out = pipeline.Process(settings, source, events);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(std::vector<std::uint8_t>(out->pixels.begin(), out->pixels.end()),
                  Averaged(size, MirroredEdges(raw, size, kFpgaEdges), c.orient));
    }
}

// The G R / B G kernels in the reversed order: member 3 - f for flip f.
TEST(FpgaFrames, EachFlipRunsTheKernelOfTheReversedBayerOrder) {
    const PixelModel fpga = CKQNavelo_FPGA(DeviceIdentity{11, 0, 0}).Pixels();
    for (const FrameSize size : {FrameSize{36, 22}, FrameSize{35, 21}}) {
        const auto raw = Raw(size);
        for (int flip = 0; flip < 4; ++flip) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " flip " << flip);
            const auto picture = Picture(fpga, flip, size, raw);
            ASSERT_EQ(picture.size(), 3 * kqcmos::FrameBytes(size));
            EXPECT_EQ(picture, GreenDiagonalPicture(3 - flip, size, MirroredEdges(raw, size, kFpgaEdges)));
        }
    }
}

// Turned frames mend their last column (flip 4) or last row (flip 5) and
// take member 3, as flip 0 does.
TEST(FpgaFrames, QuarterTurnsMendTheirEdgeAndRunTheHalfTurnKernel) {
    const PixelModel fpga = CKQNavelo_FPGA(DeviceIdentity{11, 0, 0}).Pixels();
    const FrameSize size{36, 22};
    const auto raw = Raw(size);
    for (int flip : {4, 5}) {
        SCOPED_TRACE(flip);
        FrameSize turnedSize = size;
        const auto turned = FpgaQuarterTurn(flip, turnedSize, MirroredEdges(raw, size, kFpgaEdges));
        const auto picture = Picture(fpga, flip, size, raw);
        ASSERT_EQ(picture.size(), 3 * kqcmos::FrameBytes(size));
        EXPECT_EQ(picture, GreenDiagonalPicture(3, turnedSize, turned));
    }
}

}  // namespace
}  // namespace kq::test
