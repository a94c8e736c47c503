// The 752 x 480 cameras of type 10: the 52-byte block they send, byte for
// byte, its blanking, trigger and HDR settings, and refused sends.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <functional>
#include <typeinfo>
#include <utility>
#include <vector>

#include "kqff_protocol.h"
#include "models/dorisk_device.h"
#include "frame_count.h"
#include "sim_fixture.h"
#include "trigger_saving.h"
#include "unique_temp_dir.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;

constexpr std::u16string_view kMono = u"VID_F5A1&PID_0A02";
constexpr std::u16string_view kColour = u"VID_F5A1&PID_0A01";

std::uint32_t LE16(const std::vector<std::uint8_t>& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t LE32(const std::vector<std::uint8_t>& b, std::size_t at) { return LE16(b, at) | (LE16(b, at + 2) << 16); }

CapInfo Record(std::uint32_t width, std::uint32_t height, std::uint8_t gain = 32) {
    CapInfo r;
    r.width = width;
    r.height = height;
    r.exposure = 100;
    r.gain = {gain, gain, gain};
    return r;
}

class DoriskTest : public LibraryTest {
protected:
    DoriskTest() {
        library.SetSleeper([](std::chrono::milliseconds) {});
    }
    std::uint32_t OpenType10(std::u16string_view pattern, const CapInfo& record) {
        bus.AddCamera(InstanceId(pattern));
        return Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), record);
    }
    int On(std::uint32_t handle, const std::function<int(CKQDoriskDevice&)>& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(dynamic_cast<CKQDoriskDevice&>(d)); });
    }
    // The last block the camera was sent.
    std::vector<std::uint8_t> LastBlock() const {
        const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
        return sent.empty() ? std::vector<std::uint8_t>{} : sent.back().input;
    }
};

TEST_F(DoriskTest, TheColourTypeChoosesTheClass) {
    const std::uint32_t mono = OpenType10(kMono, Record(752, 480));
    const std::uint32_t colour = OpenType10(kColour, Record(752, 480));
    library.WithDevice(mono, [](BaseDevice& d) {
        EXPECT_EQ(d.Class(), DeviceClass::CKQDoriskDevice);
        EXPECT_TRUE(typeid(d) == typeid(CKQDoriskDevice));
        return 0;
    });
    library.WithDevice(colour, [](BaseDevice& d) {
        EXPECT_EQ(d.Class(), DeviceClass::CKQAlvinoDevice);
        EXPECT_TRUE(typeid(d) == typeid(CKQAlvinoDevice));
        return 0;
    });
}

TEST_F(DoriskTest, TheFirstBlockCarriesDefaultsGainCodeLongLineAndTriggerPeriod) {
    OpenType10(kMono, Record(500, 480, 70));
    const auto block = LastBlock();
    ASSERT_EQ(block.size(), 52u);
    EXPECT_EQ(LE32(block, 0), 0u);
    EXPECT_EQ(LE32(block, 4), 480u);
    EXPECT_EQ(LE32(block, 8), 500u);
    EXPECT_EQ(LE16(block, 20), 100u);
    EXPECT_EQ(block[24], 63);
    EXPECT_EQ(block[25], 63);
    EXPECT_EQ(block[26], 63);
    EXPECT_EQ(block[29], 102);         // gain 70 + 32
    EXPECT_EQ(LE16(block, 30), 0u);    // first-send word
    EXPECT_EQ(LE16(block, 36), 160u);  // 660 - 500 for the send
    EXPECT_EQ(LE16(block, 38), 45u);
    // Frame: (600 x 101 - 255) / 27 us + 600 x 525 / 27 us = 13.9 ms, below
    // the trigger source time of 18.
    EXPECT_EQ(LE16(block, 48), 18u);
    EXPECT_EQ(LE16(block, 50), 0u);
}

TEST_F(DoriskTest, StoredValuesStayWhatWasAskedWithinTheirLimits) {
    const std::uint32_t handle = OpenType10(kMono, Record(500, 480, 70));
    On(handle, [](CKQDoriskDevice& d) {
        EXPECT_EQ(d.HorizontalBlanking(), 100);
        EXPECT_EQ(d.GetCapInfo().gain[0], 63);
        EXPECT_EQ(d.GetCapInfo().gain[2], 63);
        return 0;
    });
    struct Case {
        const char* name;
        std::function<int(CKQDoriskDevice&)> set;
        std::size_t offset;
        std::uint32_t sent;
    };
    const Case cases[] = {
        {"horizontal high", [](CKQDoriskDevice& d) { return d.SetHBlank(5000); }, 36, 1023},
        {"horizontal low", [](CKQDoriskDevice& d) { return d.SetHBlank(0); }, 36, 160},  // 100, sent at 660
        {"vertical low", [](CKQDoriskDevice& d) { return d.SetVBlank(3); }, 38, 45},
        {"vertical high", [](CKQDoriskDevice& d) { return d.SetVBlank(2000); }, 38, 1023},
        {"check time 0", [](CKQDoriskDevice& d) { return d.SetTriggerCheckSignalTime(0); }, 50, 1},
        {"check time high", [](CKQDoriskDevice& d) { return d.SetTriggerCheckSignalTime(5000); }, 50, 1000},
        {"source time", [](CKQDoriskDevice& d) { return d.SetTriggerSourceTime(500); }, 48, 500},
        {"source on keeps period", [](CKQDoriskDevice& d) { return d.SetTriggerSource(1); }, 48, 500},
        {"source on sets bit 3", [](CKQDoriskDevice&) { return 0; }, 27, 0x08},
        {"source off", [](CKQDoriskDevice& d) { return d.SetTriggerSource(0); }, 27, 0x00},
        {"HDR sets bit 2", [](CKQDoriskDevice& d) { return d.SetHDR(1); }, 27, 0x04},
        {"HDR off", [](CKQDoriskDevice& d) { return d.SetHDR(0); }, 27, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(On(handle, c.set), status::kSuccess);
        const auto block = LastBlock();
        ASSERT_EQ(block.size(), 52u);
        EXPECT_EQ(c.offset == 27 ? block[27] : LE16(block, c.offset), c.sent);
    }
    // A frame longer than the source time sets the period.
    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetVBlank(45); }), status::kSuccess);
    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetTriggerSourceTime(1); }), status::kSuccess);
    On(handle, [](CKQDoriskDevice& d) {
        // Line 600 (HB 100), VB 45: (600 x 101 - 255) / 27 + 600 x 525 / 27 us = 13.9 ms.
        EXPECT_EQ(d.TriggerPeriod(), 14);
        return 0;
    });
}

TEST_F(DoriskTest, WindowsStayOnTheSensorWithoutWrapping) {
    const std::uint32_t handle = OpenType10(kMono, Record(752, 480));
    struct Case {
        const char* name;
        std::uint32_t width, height, column, row;
        std::uint8_t binning;
        std::uint32_t sentWidth, sentHeight, sentColumn, sentRow;
    };
    const Case cases[] = {
        {"inside", 300, 200, 100, 50, 0, 300, 200, 100, 50},
        {"start limited", 300, 200, 600, 400, 0, 300, 200, 452, 280},
        {"larger than the sensor", 2000, 1000, 10, 10, 0, 752, 480, 0, 0},
        {"binned half", 500, 300, 200, 100, 1, 376, 240, 0, 0},
        {"binned inside", 200, 100, 100, 100, 1, 200, 100, 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CapInfo r = Record(c.width, c.height);
        r.columnStart = c.column;
        r.rowStart = c.row;
        r.mode[3] = c.binning;
        ASSERT_EQ(On(handle, [&](CKQDoriskDevice& d) { return d.SetCapInfo(r); }), status::kSuccess);
        const auto block = LastBlock();
        EXPECT_EQ(LE32(block, 8), c.sentWidth);
        EXPECT_EQ(LE32(block, 4), c.sentHeight);
        EXPECT_EQ(LE32(block, 12), c.sentColumn);
        EXPECT_EQ(LE32(block, 16), c.sentRow);
    }
    bus.ClearLog();
    EXPECT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetCapInfo(Record(0, 480)); }), status::kNotSupported);
    EXPECT_TRUE(bus.LogOf(kqff::kIoctlSetFormat).empty());
}

TEST_F(DoriskTest, ARefusedBlockLeavesEverySettingAsItWas) {
    const std::uint32_t handle = OpenType10(kMono, Record(640, 480));
    const CapInfo before = [&] {
        CapInfo r;
        On(handle, [&](CKQDoriskDevice& d) {
            r = d.StoredCapInfo();
            return 0;
        });
        return r;
    }();
    struct Case {
        const char* name;
        std::function<int(CKQDoriskDevice&)> set;
    };
    const Case cases[] = {
        {"window", [](CKQDoriskDevice& d) { return d.SetCapInfo(Record(320, 240)); }},
        {"horizontal", [](CKQDoriskDevice& d) { return d.SetHBlank(700); }},
        {"vertical", [](CKQDoriskDevice& d) { return d.SetVBlank(700); }},
        {"HDR", [](CKQDoriskDevice& d) { return d.SetHDR(1); }},
        {"source", [](CKQDoriskDevice& d) { return d.SetTriggerSource(1); }},
        {"zoom", [](CKQDoriskDevice& d) { return d.SetZoomMode(1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus.FailControl(kqff::kIoctlSetFormat, 1);
        EXPECT_EQ(On(handle, c.set), status::kNotSupported);
        On(handle, [&](CKQDoriskDevice& d) {
            EXPECT_EQ(d.StoredCapInfo(), before);
            EXPECT_EQ(d.FrameBytes(), 640u * 480u);
            EXPECT_EQ(d.HorizontalBlanking(), 100);
            EXPECT_EQ(d.VerticalBlanking(), 45);
            return 0;
        });
    }
}

TEST_F(DoriskTest, ZoomAnswersWithTheDisplaySetUpAndSpeedIsNotSupported) {
    const std::uint32_t handle = OpenType10(kMono, Record(640, 480));
    for (const std::int32_t mode : {0, 1, 7}) {
        SCOPED_TRACE(mode);
        bus.ClearLog();
        EXPECT_EQ(On(handle, [&](CKQDoriskDevice& d) { return d.SetZoomMode(mode); }), status::kSuccess);
        EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat).size(), 1u);
    }
    bus.ClearLog();
    EXPECT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetSpeedMode(1); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(DoriskTest, TheColourSensorKeepsHdrToItsPictureAndSendsNothing) {
    const std::uint32_t handle = OpenType10(kColour, Record(752, 480));
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetHDR(1); }), status::kSuccess);
    EXPECT_TRUE(bus.Log().empty());
    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetTriggerSource(1); }), status::kSuccess);
    EXPECT_EQ(LastBlock()[27] & 0x0C, 0x08) << "trigger source on, no HDR bit";
}

TEST_F(DoriskTest, HdrLimitsTheConvertedLineCount) {
    const std::uint32_t handle = OpenType10(kMono, Record(752, 480));
    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetExpouseUnit(1); }), status::kSuccess);
    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetHDR(1); }), status::kSuccess);
    // Line 852: (27 x 16431 + 255 - 852) / 852 = 520 lines.
    struct Case {
        std::uint32_t time, lines;
    };
    for (const Case c : {Case{16431, 511}, Case{1000, 31}}) {
        SCOPED_TRACE(c.time);
        CapInfo r = Record(752, 480);
        r.exposure = c.time;
        ASSERT_EQ(On(handle, [&](CKQDoriskDevice& d) { return d.SetCapInfo(r); }), status::kSuccess);
        EXPECT_EQ(LE16(LastBlock(), 20), c.lines);
        EXPECT_EQ(LastBlock()[27] & 0x04, 0x04);
    }
}

TEST_F(DoriskTest, TheDriverStreamsTheWindowsTheBlockAsksForAndAResizeWhileStreaming) {
    const std::uint32_t handle = OpenType10(kMono, Record(500, 480));
    FrameCount count;
    ASSERT_EQ(On(handle, [&](CKQDoriskDevice& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); }),
              status::kSuccess);
    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(count.WaitFor(2));
    auto lastSize = [&](kqcmos::FrameSize& size) {
        std::vector<std::uint8_t> raw(752 * 480);
        return On(handle, [&](CKQDoriskDevice& d) {
            return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
                size = f.size;
                return 0;
            });
        });
    };
    kqcmos::FrameSize size{};
    ASSERT_EQ(lastSize(size), status::kSuccess);
    EXPECT_EQ(size.width, 500);
    EXPECT_EQ(size.height, 480);

    ASSERT_EQ(On(handle, [](CKQDoriskDevice& d) { return d.SetCapInfo(Record(300, 200)); }), status::kSuccess);
    const int before = count.frames;
    ASSERT_TRUE(count.WaitFor(before + 2));
    ASSERT_EQ(lastSize(size), status::kSuccess);
    EXPECT_EQ(size.width, 300);
    EXPECT_EQ(size.height, 200);
    On(handle, [](CKQDoriskDevice& d) {
        EXPECT_TRUE(d.Streaming());
        return d.StopView();
    });
}

// Trigger frames of the type 10 cameras, monochrome and colour, take one
// running number of their own: three cameras saving under one prefix at
// the same time never write one name twice, and the generic camera saving
// beside them keeps its own numbers without a gap.
TEST_F(DoriskTest, TriggerFramesOfAllType10CamerasTakeOneRunningNumber) {
    const auto folder = testing_support::UniqueTempPath("kq_type10_numbers");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    struct Camera {
        std::uint32_t handle;
        std::size_t index;
        const char* prefix;
    };
    std::vector<Camera> cameras;
    const std::pair<std::u16string_view, const char*> models[] = {
        {kMono, "t10_"}, {kColour, "t10_"}, {u"VID_F5A1&PID_0301", "base_"}, {kColour, "t10_"}};
    int serial = 1;
    for (const auto& [model, prefix] : models) {
        const std::size_t index = bus.AddCamera(InstanceId(model, serial++));
        cameras.push_back({Open(static_cast<std::int32_t>(index + 1), Record(96, 64)), index, prefix});
    }
    for (const Camera& c : cameras) {
        StartSavingTriggerFrames(library, bus, c.handle, c.index, (folder / c.prefix).u16string());
    }
    constexpr int kRounds = 3, kFramesPerRound = 4;
    for (int round = 0; round < kRounds; ++round) {
        for (const Camera& c : cameras) bus.AllowFrames(c.index, kFramesPerRound);
        for (const Camera& c : cameras) ASSERT_TRUE(bus.WaitForBlockedRead(c.index, 20s));
    }
    for (const Camera& c : cameras) library.WithDevice(c.handle, [](BaseDevice& d) { return d.StopView(); });

    std::map<std::string, std::vector<int>> numbers;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().stem().string();
        ASSERT_EQ(entry.path().extension(), ".bmp") << name;
        const std::size_t digits = name.find('_') + 1;
        ASSERT_EQ(name.size(), digits + 5) << name;
        numbers[name.substr(0, digits)].push_back(std::stoi(name.substr(digits)));
    }
    const std::pair<const char*, int> expected[] = {{"t10_", 3 * kRounds * kFramesPerRound},
                                                    {"base_", kRounds * kFramesPerRound}};
    for (const auto& [prefix, count] : expected) {
        SCOPED_TRACE(prefix);
        std::vector<int>& n = numbers[prefix];
        ASSERT_EQ(n.size(), static_cast<std::size_t>(count)) << "every saved frame under a name of its own";
        std::sort(n.begin(), n.end());
        EXPECT_EQ(n.back() - n.front() + 1, count) << "numbers from " << n.front() << " to " << n.back();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kq::test
