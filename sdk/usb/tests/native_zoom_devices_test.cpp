// The cameras of types 7 and 8: zoom mode 1 halves the window except at the
// native reduced width, the control bits the caller cannot change, a refused
// send, the resize of a running preview, the software trigger and their own
// trigger-frame numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "frame_count.h"
#include "kqff_protocol.h"
#include "models/quessa_device.h"
#include "models/zundra_device.h"
#include "sim/driver_core_device.h"
#include "sim_fixture.h"
#include "trigger_saving.h"
#include "unique_temp_dir.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr std::u16string_view kZundra = u"VID_F5A1&PID_0701";
constexpr std::u16string_view kQuessa = u"VID_F5A1&PID_0801";

std::uint32_t LE16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t LE32(const Bytes& b, std::size_t at) { return LE16(b, at) | (LE16(b, at + 2) << 16); }

CapInfo Window(std::uint32_t width, std::uint32_t height, std::uint8_t control = 0) {
    CapInfo r = SmallWindow();
    r.width = width;
    r.height = height;
    r.control = control;
    return r;
}

class NativeZoomTest : public LibraryTest {
protected:
    NativeZoomTest() {
        library.SetSleeper([this](std::chrono::milliseconds d) {
            pauses.push_back({static_cast<int>(d.count()), bus.LogOf(kqff::kIoctlSetFormat).size()});
        });
    }
    std::uint32_t OpenModel(std::u16string_view pattern, const CapInfo& record, int serial = 1) {
        bus.AddCamera(InstanceId(pattern, serial));
        return Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), record);
    }
    int On(std::uint32_t handle, const std::function<int(NativeZoomDevice&)>& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(dynamic_cast<NativeZoomDevice&>(d)); });
    }
    CapInfo Stored(std::uint32_t handle) {
        CapInfo r;
        On(handle, [&](NativeZoomDevice& d) {
            r = d.StoredCapInfo();
            return 0;
        });
        return r;
    }
    // Type 7 through the driver's core, whose reads carry the trailer; it
    // marks every frame as triggered.
    std::size_t AddCoreZundra(int serial) {
        return bus.AddCamera(InstanceId(kZundra, serial), u"Test camera", [] {
            auto device = std::make_unique<sim::DriverCoreDevice>(0xF5A1, 0x0701);
            device->Camera().SetFramesOnRequest(true);
            device->StartVideo({});
            return device;
        });
    }
    Bytes LastBlock() const {
        const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
        return sent.empty() ? Bytes{} : sent.back().input;
    }

    struct Pause {
        int ms;
        std::size_t blocksBefore;  // format sends logged when it began
    };
    std::vector<Pause> pauses;
};

TEST_F(NativeZoomTest, EachTypeOpensAsItsOwnClass) {
    const std::uint32_t zundra = OpenModel(kZundra, Window(640, 480));
    const std::uint32_t quessa = OpenModel(kQuessa, Window(640, 480));
    EXPECT_EQ(On(zundra, [](NativeZoomDevice& d) { return dynamic_cast<CKQZundra_Device*>(&d) != nullptr; }), 1);
    EXPECT_EQ(On(quessa, [](NativeZoomDevice& d) { return dynamic_cast<CKQQuessa_Device*>(&d) != nullptr; }), 1);
    EXPECT_EQ(On(quessa, [](NativeZoomDevice& d) { return static_cast<int>(d.Class()); }),
              static_cast<int>(DeviceClass::CKQQuessa_Device));
    EXPECT_EQ(LastBlock().size(), 52u);
}

TEST_F(NativeZoomTest, ZoomOneHalvesTheWindowExceptAtTheNativeWidth) {
    struct Case {
        const char* name;
        std::u16string_view model;
        std::uint32_t width, height;   // requested
        std::uint32_t zoomW, zoomH;    // sent in zoom mode 1
        bool halfBit;                  // control bit 0 in zoom mode 1
        std::uint32_t plainW, plainH;  // sent in zoom mode 0
    };
    const Case cases[] = {
        {"type 8 native", kQuessa, 640, 480, 640, 480, false, 640, 480},
        {"type 8 halved", kQuessa, 1280, 960, 640, 480, true, 1280, 960},
        {"type 8 beyond the sensor", kQuessa, 4000, 3000, 1280, 968, true, 2560, 1944},
        {"type 7 native", kZundra, 872, 600, 872, 600, false, 872, 600},
        {"type 7 halved", kZundra, 1744, 1200, 872, 600, true, 1744, 1200},
    };
    int serial = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint32_t handle = OpenModel(c.model, Window(c.width, c.height, 0x04), serial++);
        bus.ClearLog();
        ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetZoomMode(1); }), status::kSuccess);
        Bytes block = LastBlock();
        EXPECT_EQ(LE32(block, 8), c.zoomW);
        EXPECT_EQ(LE32(block, 4), c.zoomH);
        EXPECT_EQ(block.at(27) & 0x01, c.halfBit ? 1 : 0);
        EXPECT_EQ(block.at(27) & 0x04, 0) << "bit 2 cleared by the zoom";

        // A new record in zoom mode 1 is zoomed the same way.
        ASSERT_EQ(On(handle, [&](NativeZoomDevice& d) { return d.SetCapInfo(Window(c.width, c.height)); }),
                  status::kSuccess);
        block = LastBlock();
        EXPECT_EQ(LE32(block, 8), c.zoomW);
        EXPECT_EQ(block.at(27) & 0x01, c.halfBit ? 1 : 0);

        ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetZoomMode(0); }), status::kSuccess);
        block = LastBlock();
        EXPECT_EQ(LE32(block, 8), c.plainW);
        EXPECT_EQ(LE32(block, 4), c.plainH);
        EXPECT_EQ(block.at(27) & 0x05, 0);

        bus.ClearLog();
        EXPECT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetZoomMode(2); }), status::kNotSupported);
        EXPECT_TRUE(bus.Log().empty());
        library.Uninitialize(handle);
    }
}

TEST_F(NativeZoomTest, TheCallerKeepsNeitherTriggerNorOutputBitsAndChoosesHalfReadoutForZoomZero) {
    const std::uint32_t handle = OpenModel(kQuessa, Window(1280, 960));
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetIO(0x02); }), status::kSuccess);
    ASSERT_EQ(LastBlock().at(27), 0x80);
    // Bits 1, 6 and 7 stay as their setters left them; bit 0 is the caller's.
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetCapInfo(Window(1280, 960, 0x43)); }), status::kSuccess);
    EXPECT_EQ(LastBlock().at(27), 0x81);
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetZoomMode(1); }), status::kSuccess);
    EXPECT_EQ(LE32(LastBlock(), 8), 640u);
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetZoomMode(0); }), status::kSuccess);
    EXPECT_EQ(LE32(LastBlock(), 8), 1280u);
    EXPECT_EQ(LastBlock().at(27), 0x81) << "zoom 0 sets bit 0 again for a caller who chose it";
}

TEST_F(NativeZoomTest, ARefusedSendLeavesTheSettingsAsTheyWere) {
    for (const auto model : {kZundra, kQuessa}) {
        const std::uint32_t handle = OpenModel(model, Window(1280, 960));
        const CapInfo before = Stored(handle);
        const std::function<int(NativeZoomDevice&)> sets[] = {
            [](NativeZoomDevice& d) { return d.SetCapInfo(Window(640, 480)); },
            [](NativeZoomDevice& d) { return d.SetZoomMode(1); },
            [](NativeZoomDevice& d) { return d.SetIO(3); },
        };
        for (const auto& set : sets) {
            bus.FailControl(kqff::kIoctlSetFormat, 1);
            EXPECT_EQ(On(handle, set), status::kNotSupported);
            EXPECT_EQ(Stored(handle), before);
            EXPECT_EQ(On(handle, [](NativeZoomDevice& d) { return static_cast<int>(d.FrameBytes()); }), 1280 * 960);
        }
        // The zoom mode did not change either: a new record is not halved.
        ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetCapInfo(Window(1280, 960)); }), status::kSuccess);
        EXPECT_EQ(LE32(LastBlock(), 8), 1280u);
        library.Uninitialize(handle);
    }
}

TEST_F(NativeZoomTest, TypeSevenResizingItsPreviewSendsTheNewLinesAtTheOldSizeFirst) {
    const std::uint32_t handle = OpenModel(kZundra, Window(64, 32));
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetExpouseUnit(1); }), status::kSuccess);
    bus.SetReadBudget(0, 0);
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    bus.ClearLog();
    pauses.clear();
    CapInfo full = Window(3488, 2560);
    full.exposure = 10000;  // (9 t - 2842) / 7006 at the full width: 12 lines; 17 at other widths
    ASSERT_EQ(On(handle, [&](NativeZoomDevice& d) { return d.SetCapInfo(full); }), status::kSuccess);
    const auto blocks = bus.LogOf(kqff::kIoctlSetFormat);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(LE32(blocks[0].input, 8), 64u);
    EXPECT_EQ(LE16(blocks[0].input, 20), 12u);
    EXPECT_EQ(LE32(blocks[1].input, 8), 3488u);
    EXPECT_EQ(LE16(blocks[1].input, 20), 12u);
    ASSERT_EQ(pauses.size(), 1u);
    EXPECT_EQ(pauses[0].ms, 100);
    EXPECT_EQ(pauses[0].blocksBefore, 1u);
    // The preview was stopped around the new size and runs again.
    EXPECT_FALSE(bus.LogOf(kqff::kIoctlStopCapture).empty());
    EXPECT_EQ(On(handle, [](NativeZoomDevice& d) { return d.Streaming() ? 1 : 0; }), 1);
    On(handle, [](NativeZoomDevice& d) { return d.StopView(); });
}

// A grab in trigger mode answers 10 without a request; while the preview
// runs it is served from the last frame, never read beside the capture thread.
TEST_F(NativeZoomTest, GrabsServeTheLastFrameWhileThePreviewRuns) {
    int serial = 1;
    for (const auto model : {kZundra, kQuessa}) {
        const std::size_t camera =
            model == kZundra ? AddCoreZundra(serial++) : bus.AddCamera(InstanceId(model, serial++));
        const std::uint32_t handle = Open(static_cast<std::int32_t>(camera + 1), Window(640, 480));
        std::vector<std::uint8_t> raw(640 * 480);
        const auto grab = [&](NativeZoomDevice& d) {
            return d.GrabFrame(raw.data(), false, [](const DeliveredFrame&) { return 0; });
        };
        ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetTriggerMode(1); }), status::kSuccess);
        bus.ClearLog();
        EXPECT_EQ(On(handle, grab), status::kNotSupported);
        EXPECT_TRUE(bus.Log().empty());
        ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetTriggerMode(0); }), status::kSuccess);

        FrameCount count;
        On(handle, [&](NativeZoomDevice& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
        bus.SetReadBudget(camera, 1);
        ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        ASSERT_TRUE(count.WaitFor(1));
        ASSERT_TRUE(bus.WaitForBlockedRead(camera, 20s));
        bus.ClearLog();
        EXPECT_EQ(On(handle, grab), status::kSuccess) << "no read: the budget is spent";
        EXPECT_TRUE(bus.Log().empty());
        EXPECT_NE(std::count(raw.begin(), raw.end(), raw[0]), static_cast<long>(raw.size()));
        On(handle, [](NativeZoomDevice& d) { return d.StopView(); });
        library.Uninitialize(handle);
    }
}

TEST_F(NativeZoomTest, SoftwareTriggerIsItsOwnRequestAndTypeEightHasNoExtras) {
    const std::uint32_t handle = OpenModel(kQuessa, Window(640, 480));
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SoftTrigger(); }), status::kSuccess);
    ASSERT_EQ(bus.Log().size(), 1u);
    EXPECT_EQ(bus.Log()[0].code, kqff::kIoctlCommand5);
    EXPECT_TRUE(bus.Log()[0].input.empty());

    bus.ClearLog();
    std::array<std::uint8_t, 240> area{};
    for (const int rc : {On(handle, [&](NativeZoomDevice& d) { return d.EEProm_Get(area); }),
                         On(handle, [](NativeZoomDevice& d) { return d.SetHBlank(5); }),
                         On(handle, [](NativeZoomDevice& d) { return d.SetVBlank(5); }),
                         On(handle, [](NativeZoomDevice& d) { return d.SetSpeedMode(1); })}) {
        EXPECT_EQ(rc, status::kNotSupported);
    }
    EXPECT_TRUE(bus.Log().empty());
    // (48 t + 1222) / (W + 888): 1000 us at 640 columns is 32 lines.
    EXPECT_EQ(On(handle, [](NativeZoomDevice& d) { return static_cast<int>(d.ExposureToRegister(1000)); }), 32);
    EXPECT_EQ(On(handle, [](NativeZoomDevice& d) { return static_cast<int>(d.RegisterToExposure(32)); }), 993);
}

TEST_F(NativeZoomTest, TypeEightLimitsExposureLinesToItsOwnLimit) {
    const std::uint32_t handle = OpenModel(kQuessa, Window(640, 480));
    CapInfo r = Window(640, 480);
    r.exposure = 9000;
    ASSERT_EQ(On(handle, [&](NativeZoomDevice& d) { return d.SetCapInfo(r); }), status::kSuccess);
    EXPECT_EQ(LE16(LastBlock(), 20), 5000u);
    EXPECT_EQ(On(handle, [](NativeZoomDevice& d) { return static_cast<int>(d.GetCapInfo().exposure); }), 9000);
}

TEST_F(NativeZoomTest, WithHdrTheLinesTheSensorSkipsBecome511) {
    const std::uint32_t handle = OpenModel(kZundra, Window(640, 480));
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetExpouseUnit(1); }), status::kSuccess);
    CapInfo r = Window(640, 480);
    r.exposure = 282850;  // (9 t - 2842) / 4890 = 520 lines
    ASSERT_EQ(On(handle, [&](NativeZoomDevice& d) { return d.SetCapInfo(r); }), status::kSuccess);
    EXPECT_EQ(LE16(LastBlock(), 20), 520u);
    ASSERT_EQ(On(handle, [](NativeZoomDevice& d) { return d.SetHDR(1); }), status::kSuccess);
    ASSERT_EQ(On(handle, [&](NativeZoomDevice& d) { return d.SetCapInfo(r); }), status::kSuccess);
    EXPECT_EQ(LE16(LastBlock(), 20), 511u);
}

// Trigger frames of the model cameras are numbered per model: another
// model's saves between them leave no gap, and two cameras of the model
// never share a number.
TEST_F(NativeZoomTest, TriggerFramesAreNumberedPerModel) {
    const auto folder = testing_support::UniqueTempPath("kq_model_numbers");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    struct Camera {
        std::uint32_t handle;
        std::size_t index;
        std::string prefix;
    };
    std::vector<Camera> cameras;
    const std::pair<std::u16string_view, const char*> models[] = {
        {kZundra, "a_"}, {u"VID_F5A1&PID_0301", "base_"}, {kZundra, "b_"}};
    int serial = 1;
    for (const auto& [model, prefix] : models) {
        const int s = serial++;
        const std::size_t index = model == kZundra ? AddCoreZundra(s) : bus.AddCamera(InstanceId(model, s));
        const std::uint32_t handle = Open(static_cast<std::int32_t>(index + 1), Window(640, 480));
        cameras.push_back({handle, index, prefix});
    }
    for (const Camera& c : cameras) {
        StartSavingTriggerFrames(library, bus, c.handle, c.index, (folder / c.prefix).u16string());
    }
    const auto filesOf = [&](const std::string& prefix) {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            n += entry.path().filename().string().starts_with(prefix) ? 1 : 0;
        }
        return n;
    };
    // Each camera in turn until it saved a frame (type 7 reports a frame as
    // triggered only once the next one is under way, so a read may be dropped).
    for (int round = 0; round < 2; ++round) {
        for (const Camera& c : cameras) {
            SCOPED_TRACE(c.prefix);
            const int before = filesOf(c.prefix);
            for (int tries = 0; tries < 10 && filesOf(c.prefix) == before; ++tries) {
                bus.AllowFrames(c.index, 2);
                ASSERT_TRUE(bus.WaitForBlockedRead(c.index, 20s));
            }
            ASSERT_GT(filesOf(c.prefix), before);
        }
    }
    for (const Camera& c : cameras) library.WithDevice(c.handle, [](BaseDevice& d) { return d.StopView(); });

    std::vector<int> numbers;
    int baseFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        ASSERT_EQ(entry.path().extension(), ".bmp");
        if (name.starts_with("base_")) {
            ++baseFiles;
            continue;
        }
        ASSERT_EQ(name.size(), 2u + 5u + 4u) << name;
        numbers.push_back(std::stoi(name.substr(2, 5)));
    }
    EXPECT_GE(baseFiles, 2);
    ASSERT_GE(numbers.size(), 4u);
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 1; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], numbers[0] + static_cast<int>(i));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kq::test
