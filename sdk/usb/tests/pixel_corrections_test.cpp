// The raw-frame corrections the caller switches on, against the simulated
// camera: the flat field built from a frame and applied to the following
// ones, and the bad-pixel calibration over streamed frames.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/base_device.h"
#include "le_bytes.h"
#include "bayer_kernels.h"
#include "frame_count.h"
#include "raw_prefilters.h"
#include "sim_fixture.h"
#include "kqff_protocol.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;

class PixelCorrections : public LibraryTest {
protected:
    void SetUp() override {
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A01"));
        handle = Open(1);
    }
    template <class Op>
    int On(Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(d); });
    }
    // One corrected raw frame (no colour conversion); empty when the grab failed.
    std::vector<std::uint8_t> GrabRaw() {
        std::vector<std::uint8_t> buffer(640 * 480);
        std::vector<std::uint8_t> out;
        const int rc = On([&](BaseDevice& d) {
            return d.GrabFrame(buffer.data(), false, [&](const DeliveredFrame& f) {
                out.assign(f.pixels.begin(), f.pixels.end());
                return status::kSuccess;
            });
        });
        EXPECT_EQ(rc, status::kSuccess);
        return out;
    }
    static int Spread(const std::vector<std::uint8_t>& frame) {
        const auto [low, high] = std::minmax_element(frame.begin(), frame.end());
        return *high - *low;
    }
    // Mean of each Bayer position (even/odd row, even/odd column).
    static std::array<double, 4> PhaseMeans(const std::vector<std::uint8_t>& frame) {
        std::array<double, 4> sum{};
        for (std::size_t i = 0; i < frame.size(); ++i) {
            const std::size_t x = i % 640, y = i / 640;
            sum[(y & 1) * 2 + (x & 1)] += frame[i];
        }
        for (double& s : sum) s /= static_cast<double>(frame.size() / 4);
        return sum;
    }
    std::uint32_t handle = 0;
};

TEST_F(PixelCorrections, FlatFieldEvensOutTheFrameOnlyWhileEnabled) {
    // The test frames have four Bayer levels from 32 to 175.
    const auto plain = GrabRaw();
    ASSERT_EQ(plain.size(), 640u * 480u);
    ASSERT_GT(Spread(plain), 100);

    // Enabled without a rebuild the table is unity: the frame is unchanged.
    ASSERT_EQ(On([](BaseDevice& d) { return d.EnableLightAvg(true); }), status::kSuccess);
    const auto unity = GrabRaw();
    ASSERT_EQ(unity.size(), plain.size());
    EXPECT_GT(Spread(unity), 100);

    // The rebuild takes this frame: every pixel becomes the reference level,
    // short by at most v / 64 of the integer gain.
    ASSERT_EQ(On([](BaseDevice& d) { return d.ResetLightAvgTable(); }), status::kSuccess);
    const auto flat = GrabRaw();
    ASSERT_EQ(flat.size(), plain.size());
    EXPECT_LE(Spread(flat), 3);
    EXPECT_GT(*std::min_element(flat.begin(), flat.end()), 32);

    // The table is kept; disabled, frames pass unchanged again.
    ASSERT_EQ(On([](BaseDevice& d) { return d.EnableLightAvg(false); }), status::kSuccess);
    EXPECT_GT(Spread(GrabRaw()), 100);
    ASSERT_EQ(On([](BaseDevice& d) { return d.EnableLightAvg(true); }), status::kSuccess);
    const auto again = GrabRaw();
    ASSERT_EQ(again.size(), plain.size());
    // A later frame has other pixel values, but its four Bayer levels are
    // still brought together (raw: 39 against 167 on average).
    const auto means = PhaseMeans(again);
    const auto [low, high] = std::minmax_element(means.begin(), means.end());
    EXPECT_LT(*high - *low, 12.0);
    const auto rawMeans = PhaseMeans(plain);
    const auto [rawLow, rawHigh] = std::minmax_element(rawMeans.begin(), rawMeans.end());
    EXPECT_GT(*rawHigh - *rawLow, 100.0);
}

// A window or zoom change starts the flat field afresh at unity, as a
// loaded or calibrated table would be wrong for the scene now in view:
// frames then pass unchanged until the caller rebuilds it.
TEST(FlatFieldOnWindowChange, StartsAgainAtUnityNotFromTheSceneInView) {
    constexpr std::u16string_view kType10 = u"VID_F5A1&PID_0A01";
    constexpr std::u16string_view kType8 = u"VID_F5A1&PID_0801";
    struct Case {
        const char* what;
        std::u16string_view pattern;
        int (*change)(BaseDevice&);
    };
    const auto idleZoom = [](BaseDevice& d) { return d.SetZoomMode(0); };
    const Case cases[] = {
        {"type 10, zoom mode", kType10, idleZoom},
        {"type 8, zoom mode", kType8, idleZoom},
        {"type 10, new window while previewing",
         kType10,
         [](BaseDevice& d) {
             CapInfo record = d.StoredCapInfo();
             record.width = 320;
             record.height = 240;
             return d.SetCapInfo(record);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimulatedBus bus;
        DeviceLibrary library{&bus};
        library.SetSleeper([](std::chrono::milliseconds) {});
        bus.AddCamera(InstanceId(c.pattern));
        std::uint32_t handle = 0;
        std::int32_t index = 1;
        CapInfo window = SmallWindow();
        window.width = 640;
        window.height = 480;
        ASSERT_EQ(library.Initialize(&index, &window, &handle), status::kSuccess);
        const auto on = [&](auto&& op) { return library.WithDevice(handle, op); };
        ASSERT_EQ(on([](BaseDevice& d) { return d.EnableLightAvg(true); }), status::kSuccess);
        ASSERT_EQ(on([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        ASSERT_EQ(on(c.change), status::kSuccess);
        ASSERT_EQ(on([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
        std::vector<std::uint8_t> buffer(640 * 480), frame;
        ASSERT_EQ(on([&](BaseDevice& d) {
                      return d.GrabFrame(buffer.data(), false, [&](const DeliveredFrame& f) {
                          frame.assign(f.pixels.begin(), f.pixels.end());
                          return status::kSuccess;
                      });
                  }),
                  status::kSuccess);
        ASSERT_FALSE(frame.empty());
        const auto [low, high] = std::minmax_element(frame.begin(), frame.end());
        EXPECT_GT(*high - *low, 100) << "the test frames' four Bayer levels, not evened out";
        EXPECT_EQ(library.Uninitialize(handle), status::kSuccess);
    }
}

TEST_F(PixelCorrections, CalibrationNeedsTheFullSensorAndEndsAfterEightFrames) {
    EXPECT_EQ(On([](BaseDevice& d) { return d.PixelCalibration(); }), status::kNotSupported) << "640 x 480 window";
    ModelGeometry geometry;
    On([&](BaseDevice& d) {
        geometry = d.Geometry();
        return 0;
    });
    CapInfo full = SmallWindow();
    full.width = static_cast<std::uint32_t>(geometry.maxWidth);
    full.height = static_cast<std::uint32_t>(geometry.maxHeight);
    ASSERT_EQ(On([&](BaseDevice& d) { return d.SetCapInfo(full); }), status::kSuccess);
    ASSERT_EQ(On([](BaseDevice& d) { return static_cast<int>(d.GetCapInfo().width); }), geometry.maxWidth);

    ASSERT_EQ(On([](BaseDevice& d) { return d.PixelCalibration(); }), status::kSuccess);
    EXPECT_EQ(On([](BaseDevice& d) { return d.PixelCalibration(); }), status::kNotSupported) << "already running";
    const auto lastExposure = [&] {
        const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
        return sent.empty() ? -1 : static_cast<int>(vz::GetLE16(sent.back().input, 20));
    };
    EXPECT_EQ(lastExposure(), 100);

    FrameCount count;
    On([&](BaseDevice& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    bus.SetReadBudget(0, 7);
    ASSERT_EQ(On([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(count.WaitFor(7));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    // Seven frames in: still at the calibration's maximum exposure.
    EXPECT_EQ(On([](BaseDevice& d) { return d.PixelCalibrationRunning() ? 1 : 0; }), 1);
    EXPECT_EQ(lastExposure(), geometry.maxExposure);

    bus.AllowFrames(0, 1);
    ASSERT_TRUE(count.WaitFor(8));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    EXPECT_EQ(On([](BaseDevice& d) { return d.PixelCalibrationRunning() ? 1 : 0; }), 0);
    EXPECT_EQ(lastExposure(), 100) << "the caller's exposure returns";
    // The test frames are smooth: nothing is taken for a bad pixel.
    EXPECT_EQ(On([](BaseDevice& d) { return static_cast<int>(d.BadPixelCount()); }), 0);

    // Finished, it can run again; stopping the capture drops it and the
    // caller's exposure returns at once.
    ASSERT_EQ(On([](BaseDevice& d) { return d.PixelCalibration(); }), status::kSuccess);
    bus.AllowFrames(0, 2);
    ASSERT_TRUE(count.WaitFor(10));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    EXPECT_EQ(lastExposure(), geometry.maxExposure);
    ASSERT_EQ(On([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
    EXPECT_EQ(On([](BaseDevice& d) { return d.PixelCalibrationRunning() ? 1 : 0; }), 0);
    EXPECT_EQ(lastExposure(), 100);
}

// Light: v x light / 32 above 32 (v x (light + 31) / 64 below), at most 255;
// contrast c = 2 x setting: (c x v) / 32 + 128 - 4c within 0..255.
struct CalibrationCase {
    int light, contrast;
};

class CalibrationRawFrame : public PixelCorrections, public ::testing::WithParamInterface<CalibrationCase> {};

TEST_P(CalibrationRawFrame, CopiesTheFrameWithLightAndContrast) {
    const CalibrationCase c = GetParam();
    constexpr int kW = 13, kH = 7;
    std::vector<std::uint8_t> source(kW * kH);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 37 % 256);
    const auto original = source;
    std::vector<std::uint8_t> out(source.size() + 8, 0xA5);  // the tail must stay untouched
    ASSERT_EQ(On([&](BaseDevice& d) {
                  return d.CalibrationRawFrame(kW, kH, source.data(), c.light, c.contrast, out.data());
              }),
              status::kSuccess);
    EXPECT_EQ(source, original);
    const int k = 2 * c.contrast;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const int v = source[i];
        int lit = c.light < 32 ? v * (c.light + 31) / 64 : v * c.light / 32;
        lit = std::min(lit, 255);
        const int expected = std::clamp(k * lit / 32 + 128 - 4 * k, 0, 255);
        ASSERT_EQ(out[i], expected) << "byte " << i << " of " << v;
    }
    for (std::size_t i = source.size(); i < out.size(); ++i) EXPECT_EQ(out[i], 0xA5);
}

INSTANTIATE_TEST_SUITE_P(LightAndContrast, CalibrationRawFrame,
                         ::testing::Values(CalibrationCase{32, 16}, CalibrationCase{64, 16}, CalibrationCase{48, 8},
                                           CalibrationCase{32, 24}));

TEST_F(PixelCorrections, GainReadBackLeavesTheOutputWhenNoEntryQualifies) {
    struct Case {
        std::int32_t set;
        std::int32_t expected;
    };
    constexpr std::int32_t kUntouched = -7;
    // Gain 0 makes every entry 0: nothing to read the gain back from.
    for (const Case c : {Case{0, kUntouched}, Case{500, 500}, Case{1000, 1000}}) {
        for (int channel = 0; channel < 3; ++channel) {
            SCOPED_TRACE(testing::Message() << "gain " << c.set << ", channel " << channel);
            ASSERT_EQ(On([&](BaseDevice& d) { return d.SetGain(channel, c.set); }), status::kSuccess);
            std::int32_t out = kUntouched;
            EXPECT_EQ(On([&](BaseDevice& d) { return d.GetGain(channel, out); }), status::kSuccess);
            EXPECT_EQ(out, c.expected);
        }
    }
}

TEST_F(PixelCorrections, LightKeepsOnlyItsLowByte) {
    // The test frames stay below 176, so no converted byte reaches 255 at
    // the neutral light 32; a light of 9 x 32 would saturate most of them and
    // a negative one blacken them.
    for (const std::int32_t light : {32, 0x100 + 32, -256 + 32}) {
        SCOPED_TRACE(light);
        ASSERT_EQ(On([&](BaseDevice& d) { return d.SetLight(light); }), status::kSuccess);
        EXPECT_EQ(On([](BaseDevice& d) { return static_cast<int>(d.GetLight()); }), 32);
        std::vector<std::uint8_t> buffer(640 * 480);
        int saturated = -1;
        int brightest = -1;
        ASSERT_EQ(On([&](BaseDevice& d) {
                      return d.GrabFrame(buffer.data(), true, [&](const DeliveredFrame& f) {
                          saturated = static_cast<int>(std::count(f.pixels.begin(), f.pixels.end(), 255));
                          brightest = *std::max_element(f.pixels.begin(), f.pixels.end());
                          return status::kSuccess;
                      });
                  }),
                  status::kSuccess);
        EXPECT_EQ(saturated, 0);
        EXPECT_GT(brightest, 100) << "not darkened either";
    }
}

TEST_F(PixelCorrections, CalibrationRawFrameRefusesMissingBuffersAndEmptySizes) {
    std::vector<std::uint8_t> source(64, 10), out(64, 0);
    struct Refused {
        int width, height;
        bool source, destination;
        int status;
    };
    for (const Refused r :
         {Refused{8, 8, false, true, status::kRefused}, Refused{8, 8, true, false, status::kRefused},
          Refused{0, 8, true, true, status::kNotSupported}, Refused{8, -2, true, true, status::kNotSupported},
          Refused{70000, 1, true, true, status::kNotSupported}}) {
        EXPECT_EQ(On([&](BaseDevice& d) {
                      return d.CalibrationRawFrame(r.width, r.height, r.source ? source.data() : nullptr, 32, 16,
                                                   r.destination ? out.data() : nullptr);
                  }),
                  r.status)
            << r.width << " x " << r.height;
    }
    EXPECT_EQ(out, std::vector<std::uint8_t>(64, 0));
}

class RawFrameToRgb : public PixelCorrections, public ::testing::WithParamInterface<int> {};

TEST_P(RawFrameToRgb, GreyPictureAfterThePrefilterWithTheRowEndsRepeated) {
    const int colorAdjust = GetParam();
    constexpr int kW = 24, kH = 10;
    std::vector<std::uint8_t> raw(kW * kH);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>((i * 53 + i / kW * 11) % 256);
    const auto original = raw;
    ASSERT_EQ(On([&](BaseDevice& d) { return d.SetColorAdjust(colorAdjust); }), status::kSuccess);
    std::vector<std::uint8_t> rgb(raw.size() * 3 + 6, 0xA5);
    ASSERT_EQ(On([&](BaseDevice& d) { return d.RawFrameToRgb(kH, kW, raw.data(), rgb.data()); }), status::kSuccess);
    EXPECT_EQ(raw, original) << "the caller's frame is left alone";
    for (std::size_t i = raw.size() * 3; i < rgb.size(); ++i) EXPECT_EQ(rgb[i], 0xA5);

    // The kernel's picture of the pre-filtered frame, but for the row ends.
    auto filtered = original;
    kqcmos::RunRawPrefilter(colorAdjust, {kW, kH}, filtered);
    std::vector<std::uint8_t> kernel(raw.size() * 3);
    ASSERT_TRUE(kqcmos::BayerToRgbB0({kW, kH}, kernel, filtered));
    for (int y = 0; y < kH; ++y) {
        const std::uint8_t* row = rgb.data() + y * kW * 3;
        for (int x = 0; x < kW; ++x) {
            const std::uint8_t* px = row + 3 * x;
            EXPECT_EQ(px[0], px[1]);
            EXPECT_EQ(px[1], px[2]);
            const int from = x >= kW - 3 ? kW - 4 : x;
            ASSERT_EQ(std::memcmp(px, kernel.data() + (y * kW + from) * 3, 3), 0) << "pixel " << x << ", row " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(NoneSharpenDefects, RawFrameToRgb, ::testing::Values(0, 1, 2));

TEST_F(PixelCorrections, RawFrameToRgbPrefilterChangesThePicture) {
    constexpr int kW = 24, kH = 10;
    std::vector<std::uint8_t> raw(kW * kH);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>((i * 53 + i / kW * 11) % 256);
    std::vector<std::uint8_t> plain(raw.size() * 3), sharpened(raw.size() * 3);
    ASSERT_EQ(On([&](BaseDevice& d) { return d.RawFrameToRgb(kH, kW, raw.data(), plain.data()); }), status::kSuccess);
    On([](BaseDevice& d) { return d.SetColorAdjust(1); });
    ASSERT_EQ(On([&](BaseDevice& d) { return d.RawFrameToRgb(kH, kW, raw.data(), sharpened.data()); }),
              status::kSuccess);
    EXPECT_NE(plain, sharpened);
}

TEST_F(PixelCorrections, RawFrameToRgbRefusesMissingBuffersAndUnusableSizes) {
    std::vector<std::uint8_t> raw(64, 10), rgb(3 * 64, 0);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.RawFrameToRgb(8, 8, nullptr, rgb.data()); }), status::kRefused);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.RawFrameToRgb(8, 8, raw.data(), nullptr); }), status::kRefused);
    for (const auto& size : {std::pair{8, 3}, std::pair{0, 8}, std::pair{-1, 8}, std::pair{1, 70000}}) {
        const int h = size.first, w = size.second;
        EXPECT_EQ(On([&](BaseDevice& d) { return d.RawFrameToRgb(h, w, raw.data(), rgb.data()); }),
                  status::kNotSupported)
            << w << " x " << h;
    }
    EXPECT_EQ(rgb, std::vector<std::uint8_t>(3 * 64, 0));
}

}  // namespace
}  // namespace kq::test
