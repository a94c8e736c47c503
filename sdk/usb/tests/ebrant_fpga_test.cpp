// The FPGA cameras of types 19, 20, 21, 24 and 25: their sensor constants at
// open, exposure and blanking, and triggering through the read-mode word.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <typeinfo>
#include <vector>

#include "bayer_kernels.h"
#include "fpga_fixture.h"
#include "frame_count.h"
#include "models/ebrant_fpga.h"
#include "models/trigger_fpga.h"

namespace kq::test {
namespace {

CapInfo Window(std::uint32_t width, std::uint32_t height) {
    CapInfo r = FullWindow();
    r.width = width;
    r.height = height;
    return r;
}

const SentList* FindList(const std::vector<SentList>& lists, std::uint16_t firstAddress) {
    for (const auto& l : lists) {
        if (!l.counted.empty() && l.counted[0].address == firstAddress) return &l;
    }
    return nullptr;
}

// Adds a camera of the pattern and opens it at its place in the list.
class NewFpgaTest : public FpgaTest {
protected:
    std::uint32_t OpenNew(std::u16string_view pattern, const CapInfo& window) {
        bus.AddCamera(InstanceId(pattern));
        const std::uint32_t handle = Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), window);
        bus.ClearLog();
        pauses.clear();
        return handle;
    }
};

struct ModelCase {
    const char* pattern;
    DeviceClass expected;
    CapInfo window;
    Writes reset;  // the fixed registers at open (empty: blanking only, the Brisel way)
    Writes blanking;
    Writes windowList;  // the first entries of the window list
};

TEST_F(NewFpgaTest, EachNewFpgaTypeOpensAsItsClassWithItsSensorConstants) {
    const ModelCase cases[] = {
        {"VID_F5A2&PID_1801",
         DeviceClass::CKQEbrant_FPGA,
         Window(2592, 1944),
         {},
         {{0x05, 0}, {0x06, 25}},
         {{0x04, 2591}, {0x03, 1943}, {0x22, 0}, {0x23, 0}, {0x02, 16}, {0x01, 54}}},
        {"VID_F5A2&PID_1901",
         DeviceClass::CKQQuessa_FPGA,
         Window(2592, 1944),
         {},
         {{0x05, 0}, {0x06, 25}},
         {{0x04, 2593}, {0x03, 1943}, {0x22, 0}, {0x23, 0}, {0x02, 16}, {0x01, 54}}},
        {"VID_F5A2&PID_1501",
         DeviceClass::CKQKelmar_New,
         Window(2592, 1944),
         {},
         {{0x05, 0}, {0x06, 25}},
         {{0x04, 2591}, {0x03, 1943}, {0x22, 0}, {0x23, 0}, {0x02, 16}, {0x01, 54}}},
        {"VID_F5A1&PID_1301",
         DeviceClass::CKQWimbro_New,
         Window(2048, 1536),
         {{0x07, 2}, {0x1E, 0xC040}, {0x20, 0x2000}, {0x05, 142}, {0x06, 25}},
         {},
         {{0x04, 2047}, {0x03, 1535}, {0x22, 0}, {0x23, 0}, {0x02, 32}, {0x01, 20}}},
        {"VID_F5A1&PID_1401",
         DeviceClass::CKQYastro_New,
         Window(1280, 1024),
         {},
         {{0x05, 9}, {0x06, 25}},
         {{0x04, 1279}, {0x03, 1023}, {0x20, 0x1104}, {0x1E, 0x8000}, {0x02, 20}, {0x01, 12}}},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        bus.AddCamera(InstanceId(std::u16string(c.pattern, c.pattern + std::char_traits<char>::length(c.pattern))));
        bus.ClearLog();
        const std::uint32_t handle = Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), c.window);
        On(handle, [&](CKQNavelo_FPGA& d) {
            EXPECT_EQ(d.Class(), c.expected);
            EXPECT_EQ(dynamic_cast<CKQEbrant_FPGA*>(&d) != nullptr, c.expected == DeviceClass::CKQEbrant_FPGA ||
                                                                        c.expected == DeviceClass::CKQQuessa_FPGA ||
                                                                        c.expected == DeviceClass::CKQKelmar_New);
            EXPECT_EQ(typeid(d) == typeid(CKQYastro_New), c.expected == DeviceClass::CKQYastro_New);
            EXPECT_EQ(typeid(d) == typeid(CKQWimbro_New), c.expected == DeviceClass::CKQWimbro_New);
            return 0;
        });
        const auto lists = Lists();
        if (!c.reset.empty()) {
            const SentList* reset = FindList(lists, 0x07);
            ASSERT_NE(reset, nullptr);
            EXPECT_EQ(reset->counted, c.reset);
        } else {
            const SentList* blanking = FindList(lists, 0x05);
            ASSERT_NE(blanking, nullptr);
            EXPECT_EQ(blanking->counted, c.blanking);
        }
        const SentList* window = FindList(lists, 0x04);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->counted, c.windowList);
        library.Uninitialize(handle);
    }
}

TEST_F(NewFpgaTest, EbrantConvertsOnItsLongLineAndBlanksFromZero) {
    const std::uint32_t handle = OpenFpga(Window(2592, 1944), u"VID_F5A2&PID_1801");
    On(handle, [](CKQNavelo_FPGA& d) {
        // Line: 2592 + 2 x max(0, 450) = 3492 at 48 per unit of time.
        EXPECT_EQ(d.ExposureToRegister(10000), 137u);
        EXPECT_EQ(d.ExposureToRegister(0), 1u);
        EXPECT_EQ(d.ExposureToRegister(89478486), 65535u);  // 48 t passes 32 bits
        EXPECT_EQ(d.RegisterToExposure(137), 9967u);
        return 0;
    });
    struct Case {
        std::int32_t value;
        RegisterWrite sent;
    };
    for (const Case c : {Case{-5, {0x05, 0}}, Case{2000, {0x05, 1023}}, Case{300, {0x05, 300}}}) {
        SCOPED_TRACE(c.value);
        bus.ClearLog();
        ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetHBlank(c.value); }), status::kSuccess);
        ASSERT_EQ(Lists().size(), 1u);
        EXPECT_EQ(Lists()[0].counted, Writes{c.sent});
    }
}

TEST_F(NewFpgaTest, TriggerModeSwitchesTheReadModeBitsAndWaitsForTheSensor) {
    struct Case {
        const char16_t* pattern;
        CapInfo window;
        std::uint16_t on, off;
    };
    const Case cases[] = {
        {u"VID_F5A1&PID_1401", Window(1280, 1024), 0x8300, 0x8000},  // Yastro
        {u"VID_F5A1&PID_1301", Window(2048, 1536), 0xC340, 0xC040},  // Wimbro
        {u"VID_F5A2&PID_1501", Window(2592, 1944), 0x4116, 0x4006},  // Kelmar
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::u16string(c.pattern).size());
        const std::uint32_t handle = OpenNew(c.pattern, c.window);
        ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetTriggerMode(1); }), status::kSuccess);
        ASSERT_EQ(Lists().size(), 1u);
        EXPECT_EQ(Lists()[0].counted, (Writes{{0x1E, c.on}, {0x0B, 1}}));
        EXPECT_EQ(pauses.back(), 500);
        // Triggered: a grab has no frame to wait for and asks nothing.
        bus.ClearLog();
        std::vector<std::uint8_t> frame(std::size_t{c.window.width} * c.window.height);
        EXPECT_EQ(On(handle,
                     [&](CKQNavelo_FPGA& d) {
                         return d.GrabFrame(frame.data(), false, [](const DeliveredFrame&) { return 0; });
                     }),
                  status::kNotSupported);
        EXPECT_TRUE(bus.Log().empty());

        ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetTriggerMode(0); }), status::kSuccess);
        ASSERT_EQ(Lists().size(), 1u);
        EXPECT_EQ(Lists()[0].counted, (Writes{{0x1E, c.off}, {0x0B, 1}}));
        library.Uninitialize(handle);
    }
}

TEST_F(NewFpgaTest, ARefusedTriggerSwitchReportsItAndKeepsTheCameraUntriggered) {
    const std::uint32_t handle = OpenFpga(Window(2592, 1944), u"VID_F5A2&PID_1501");
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetTriggerMode(1); }), status::kNoDevice);
    // Still untriggered: a grab reads a frame.
    std::vector<std::uint8_t> frame(2592 * 1944);
    EXPECT_EQ(On(handle,
                 [&](CKQNavelo_FPGA& d) {
                     return d.GrabFrame(frame.data(), false, [](const DeliveredFrame&) { return 0; });
                 }),
              status::kSuccess);
    bus.ClearLog();
    // The word is the one of before: switching off sends it unchanged.
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetTriggerMode(0); }), status::kSuccess);
    EXPECT_EQ(Lists()[0].counted, (Writes{{0x1E, 0x4006}, {0x0B, 1}}));
}

TEST_F(NewFpgaTest, SoftwareTriggeredMonochromeHasNoTriggerModeAndKelmarBlanksStopped) {
    const std::uint32_t quessa = OpenFpga(Window(2592, 1944), u"VID_F5A2&PID_1901");
    EXPECT_EQ(On(quessa, [](CKQNavelo_FPGA& d) { return d.SetTriggerMode(1); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
    library.Uninitialize(quessa);

    const std::uint32_t kelmar = OpenNew(u"VID_F5A2&PID_1501", Window(2592, 1944));
    struct Case {
        std::int32_t value;
        std::uint16_t sent;
    };
    for (const Case c : {Case{10, 25}, Case{5000, 1023}, Case{100, 100}}) {
        SCOPED_TRACE(c.value);
        bus.ClearLog();
        ASSERT_EQ(On(kelmar, [&](CKQNavelo_FPGA& d) { return d.SetVBlank(c.value); }), status::kSuccess);
        ASSERT_EQ(Lists().size(), 1u);
        EXPECT_EQ(Lists()[0].counted, (Writes{{0x06, c.sent}, {0x0B, 1}}));
    }
}

TEST_F(NewFpgaTest, AFailedGrabOfTheMonochromeCameraLeavesItStoppedWithItsWindow) {
    const std::uint32_t handle = OpenNew(u"VID_F5A2&PID_1901", Window(2560, 1944));
    CapInfo before;
    On(handle, [&](CKQNavelo_FPGA& d) {
        before = d.StoredCapInfo();
        return 0;
    });
    bus.ShortReads(bus.ListInterfaces()->size() - 1, 3);
    std::vector<std::uint8_t> frame(2560 * 1944);
    EXPECT_EQ(On(handle,
                 [&](CKQNavelo_FPGA& d) {
                     return d.GrabFrame(frame.data(), false, [](const DeliveredFrame&) { return 0; });
                 }),
              status::kNoFrame);
    const auto codes = Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), kqff::kIoctlStopCapture);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kqff::kIoctlStartCapture), 1);
    // The three reads 5 ms apart follow the two lists' settling pauses.
    ASSERT_GE(pauses.size(), 3u);
    EXPECT_EQ(std::vector<int>(pauses.end() - 3, pauses.end()), (std::vector<int>{5, 5, 5}));
    On(handle, [&](CKQNavelo_FPGA& d) {
        EXPECT_EQ(d.StoredCapInfo(), before);
        EXPECT_FALSE(d.Streaming());
        return 0;
    });
}

// Before the start code the grab programs the stored exposure and gains,
// then the window, with even starts; a grab while streaming reads nothing
// and serves the last frame.
TEST_F(NewFpgaTest, TheMonochromeCamerasGrabSendsItsTwoListsBeforeStarting) {
    CapInfo window = Window(1024, 768);
    window.columnStart = 101;
    window.rowStart = 51;
    window.exposure = 300;
    window.gain = {40, 40, 40};
    const std::uint32_t handle = OpenNew(u"VID_F5A2&PID_1901", window);
    std::vector<std::uint8_t> frame(1024 * 768);
    auto grab = [&] {
        return On(handle, [&](CKQNavelo_FPGA& d) {
            return d.GrabFrame(frame.data(), false, [](const DeliveredFrame&) { return 0; });
        });
    };
    ASSERT_EQ(grab(), status::kSuccess);
    const auto lists = Lists();
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x09, 300}, {0x2D, 40}, {0x2B, 40}, {0x2E, 40}, {0x2C, 40}}));
    // Column size counts one past the width on this camera; starts from
    // the sensor's offsets (16, 54).
    EXPECT_EQ(lists[1].counted,
              (Writes{{0x04, 1025}, {0x03, 767}, {0x22, 0}, {0x23, 0}, {0x02, 100 + 16}, {0x01, 50 + 54}}));
    const auto codes = Codes();
    const auto start = std::find(codes.begin(), codes.end(), kqff::kIoctlStartCapture);
    ASSERT_NE(start, codes.end());
    EXPECT_EQ(std::count(start, codes.end(), kqff::kIoctlWriteCommand), 0) << "both lists before the start";
    EXPECT_EQ(codes.back(), kqff::kIoctlStopCapture);

    // A refused list: no start code, the camera stays stopped.
    bus.ClearLog();
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_NE(grab(), status::kSuccess);
    const auto refused = Codes();
    EXPECT_EQ(std::count(refused.begin(), refused.end(), kqff::kIoctlStartCapture), 0);
    On(handle, [&](CKQNavelo_FPGA& d) {
        EXPECT_FALSE(d.Streaming());
        EXPECT_EQ(d.StoredCapInfo().width, 1024u);
        return 0;
    });
}

// While the preview runs the capture thread owns the frames: the grab sends
// nothing, reads nothing and hands out the last frame it processed.
TEST_F(NewFpgaTest, TheMonochromeCamerasGrabWhileStreamingServesTheLastFrame) {
    const std::uint32_t handle = OpenNew(u"VID_F5A2&PID_1901", Window(640, 480));
    const int camera = static_cast<int>(bus.ListInterfaces()->size()) - 1;
    FrameCount count;
    On(handle, [&](CKQNavelo_FPGA& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    bus.SetReadBudget(camera, 1);
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(count.WaitFor(1));
    ASSERT_TRUE(bus.WaitForBlockedRead(camera, std::chrono::seconds(20)));
    bus.ClearLog();
    std::vector<std::uint8_t> frame(640 * 480);
    std::vector<std::uint8_t> again(frame.size(), 1);
    for (auto* buffer : {&frame, &again}) {
        EXPECT_EQ(On(handle,
                     [&](CKQNavelo_FPGA& d) {
                         return d.GrabFrame(buffer->data(), false, [](const DeliveredFrame&) { return 0; });
                     }),
                  status::kSuccess);
    }
    EXPECT_TRUE(Codes().empty()) << "no list, no start or stop code";
    EXPECT_EQ(frame, again) << "the same frame, no new read";
    EXPECT_NE(frame, std::vector<std::uint8_t>(frame.size(), 0));
    On(handle, [](CKQNavelo_FPGA& d) { return d.StopView(); });
    On(handle, [](CKQNavelo_FPGA& d) { return d.SetFrameCallBack(nullptr, nullptr); });
}

TEST_F(NewFpgaTest, RawToRgbRepairsItsEdgesAndRefusesFramesTooSmallForThem) {
    const std::uint32_t handle = OpenNew(u"VID_F5A2&PID_1801", Window(2592, 1944));
    struct Size {
        std::int32_t height, width;
    };
    for (const Size s : {Size{5, 3}, Size{7, 9}, Size{6, 11}, Size{9, 4}}) {
        SCOPED_TRACE(testing::Message() << s.height << "x" << s.width);
        const std::size_t n = static_cast<std::size_t>(s.height) * s.width;
        std::vector<std::uint8_t> raw(n);
        for (std::size_t i = 0; i < n; ++i) raw[i] = static_cast<std::uint8_t>(i * 53 + 7);
        const std::vector<std::uint8_t> kept = raw;
        std::vector<std::uint8_t> rgb(3 * n, 0xAA), kernel(3 * n, 0);
        ASSERT_EQ(
            On(handle, [&](CKQNavelo_FPGA& d) { return d.RawFrameToRgb(s.height, s.width, raw.data(), rgb.data()); }),
            status::kSuccess);
        EXPECT_EQ(raw, kept);
        ASSERT_TRUE(kqcmos::BayerToRgbB3({s.width, s.height}, kernel, raw));
        // Which kernel pixel each output pixel shows.
        // The last two rows take the row above them after the first four were filled.
        auto top = [](int y) { return y < 4 ? 4 : y; };
        auto sourceRow = [&](int y) { return y >= s.height - 2 ? top(s.height - 3) : top(y); };
        auto sourceColumn = [](int x) { return x < 2 ? 2 : x; };
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    const std::size_t at = (static_cast<std::size_t>(y) * s.width + x) * 3 + c;
                    const std::size_t from =
                        (static_cast<std::size_t>(sourceRow(y)) * s.width + sourceColumn(x)) * 3 + c;
                    ASSERT_EQ(rgb[at], kernel[from]) << y << "," << x;
                }
            }
        }
    }
    std::vector<std::uint8_t> raw(64, 9), rgb(3 * 64, 0xAA);
    struct Refused {
        std::int32_t height, width;
        const std::uint8_t* source;
        std::uint8_t* out;
        int rc;
    };
    for (const Refused r :
         {Refused{4, 10, raw.data(), rgb.data(), status::kNotSupported},
          Refused{5, 2, raw.data(), rgb.data(), status::kNotSupported},
          Refused{0, 0, raw.data(), rgb.data(), status::kNotSupported},
          Refused{5, 5, nullptr, rgb.data(), status::kRefused}, Refused{5, 5, raw.data(), nullptr, status::kRefused}}) {
        SCOPED_TRACE(testing::Message() << r.height << "x" << r.width);
        EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.RawFrameToRgb(r.height, r.width, r.source, r.out); }),
                  r.rc);
    }
    EXPECT_EQ(rgb, std::vector<std::uint8_t>(3 * 64, 0xAA));
}

}  // namespace
}  // namespace kq::test
