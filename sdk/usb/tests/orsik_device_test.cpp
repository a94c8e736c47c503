// The contrast-demosaic camera (type 4): every colour mode and flip gives a
// picture of the current frame through its own kernels, in the pipeline and
// through the capture thread.

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "contrast_kernels.h"
#include "exposure_balance_loop.h"
#include "core/frame_pipeline.h"
#include "frame_count.h"
#include "frame_orientation.h"
#include "frame_pattern.h"
#include "models/orsik_device.h"
#include "sim_fixture.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using kqcmos::FrameSize;

Bytes RawFrame(FrameSize size, int seed) {
    Bytes raw(kqcmos::FrameBytes(size));
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>((i * 37 + i / 5 + seed * 91) % 253);
    return raw;
}

// What the camera's kernels make of `raw` in a colour mode and flip,
// turned first for flips 4 and 5 as the pipeline turns it.
Bytes Expected(const PixelModel& model, int mode, int flip, FrameSize size, Bytes raw, int contrast) {
    if (flip == 4 || flip == 5) {
        Bytes turned(raw.size());
        EXPECT_TRUE(kqcmos::FlipFrame(flip, size, turned, raw, model.turnRepair));
        raw = turned;
    }
    Bytes out(kqcmos::FrameBytes(size, kqcmos::OutputBytesPerPixel(mode)));
    EXPECT_TRUE(kqcmos::ContrastDemosaic(mode, flip, size, out, raw, contrast));
    return out;
}

TEST(OrsikFrames, EveryModeAndFlipGivesThePictureOfTheCurrentFrame) {
    const PixelModel model = CKQOrsikDevice(DeviceIdentity{4, 0, 0}).Pixels();
    const FrameSize size{38, 22};
    for (const int mode : {0, 1, 2, 3, 5}) {
        for (int flip = 0; flip < 6; ++flip) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " flip " << flip);
            FramePipeline pipeline({64, 64}, false);
            PictureSettings settings;
            settings.model = model;
            settings.colorMode = mode;
            settings.flipMode = flip;
            // Not the identity: a second contrast step would show.
            settings.contrast = 24;
            FrameSource source;
            source.window.size = size;
            // Two different frames in a row: the second picture is the second frame's.
            for (int frame = 0; frame < 2; ++frame) {
                const Bytes raw = RawFrame(size, frame);
                std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
                FrameEvents events;
                const auto out = pipeline.Process(settings, source, events);
                ASSERT_TRUE(out.has_value());
                EXPECT_EQ(Bytes(out->pixels.begin(), out->pixels.end()),
                          Expected(model, mode, flip, size, raw, settings.contrast));
            }
        }
    }
}

// A picture whose every pixel is (blue, green, red).
Bytes Uniform(FrameSize size, int blue, int green, int red) {
    Bytes bgr(kqcmos::FrameBytes(size, 3));
    for (std::size_t i = 0; i < bgr.size(); i += 3) {
        bgr[i] = static_cast<std::uint8_t>(blue);
        bgr[i + 1] = static_cast<std::uint8_t>(green);
        bgr[i + 2] = static_cast<std::uint8_t>(red);
    }
    return bgr;
}

struct LoopStep {
    int blue, green, red;         // picture of this evaluation
    int exposure, redGain, blueGain;  // afterwards
    bool finished;
};

TEST(OrsikBalanceLoop, ExposureThenRedThenBlueSettleAndReportOnce) {
    struct Case {
        const char* name;
        int exposure, redGain, blueGain;
        std::vector<LoopStep> steps;
    };
    const Case cases[] = {
        // Green 195 is inside the band: exposure settles at once, then red
        // and blue (already equal to green) settle in one evaluation.
        {"grey 195", 100, 40, 50, {{195, 195, 195, 100, 40, 50, false}, {195, 195, 195, 100, 40, 50, false},
                                   {195, 195, 195, 100, 40, 50, true}}},
        // Dark: 5 % steps between 21 and 239, single lines below; a step
        // down after raising settles.
        {"dark", 100, 40, 50, {{150, 150, 150, 105, 40, 50, false}, {150, 150, 150, 110, 40, 50, false},
                               {210, 210, 210, 109, 40, 50, false}, {195, 195, 195, 109, 40, 50, false}}},
        {"dark, few lines", 10, 40, 50, {{150, 150, 150, 11, 40, 50, false}}},
        {"dark at the limit", 255, 40, 50, {{150, 150, 150, 255, 40, 50, false}, {150, 195, 150, 255, 41, 50, false}}},
        // Bright: 5 % down, and a step up after lowering settles.
        {"bright", 100, 40, 50, {{220, 220, 220, 95, 40, 50, false}, {150, 150, 150, 96, 40, 50, false}}},
        // Red too strong: lowered until it overshoots, then one step back
        // toward the smaller error; blue raised while red is settled.
        {"red and blue", 100, 40, 50, {{195, 195, 195, 100, 40, 50, false}, {195, 195, 205, 100, 39, 50, false},
                                       {195, 195, 198, 100, 38, 50, false}, {180, 195, 190, 100, 39, 51, false},
                                       {200, 195, 195, 100, 39, 51, false}, {195, 195, 195, 100, 39, 51, true}}},
        // Gains stop at 1 and 255.
        {"gain ends", 100, 1, 255, {{195, 195, 195, 100, 1, 255, false}, {180, 195, 205, 100, 1, 255, false}}},
    };
    const FrameSize size{32, 24};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kqcmos::ExposureBalanceLoop loop;
        loop.Restart();
        int exposure = c.exposure;
        kqcmos::SensorGains gains{c.redGain, 60, c.blueGain};
        int finishedCount = 0;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const LoopStep& step = c.steps[i];
            Bytes bgr = Uniform(size, step.blue, step.green, step.red);
            // Every second call measures; the first of each pair is skipped.
            EXPECT_FALSE(loop.Step(size, bgr, exposure, gains).evaluated);
            const auto outcome = loop.Step(size, bgr, exposure, gains);
            EXPECT_TRUE(outcome.evaluated);
            EXPECT_EQ(outcome.finished, step.finished);
            finishedCount += outcome.finished ? 1 : 0;
            EXPECT_EQ(exposure, step.exposure);
            EXPECT_EQ(gains.red, step.redGain);
            EXPECT_EQ(gains.blue, step.blueGain);
            EXPECT_EQ(gains.green, 60);
        }
        EXPECT_LE(finishedCount, 1);
    }
    EXPECT_EQ(kqcmos::PackExposureBalance(101, {38, 60, 51}), (50u << 24) | (51u << 16) | (60u << 8) | 38u);
}

TEST(OrsikBalanceLoop, MarksMeasuredPicturesNearTheLastRows) {
    const FrameSize size{120, 110};
    kqcmos::ExposureBalanceLoop loop;
    int exposure = 100;
    kqcmos::SensorGains gains{40, 40, 40};
    Bytes bgr = Uniform(size, 10, 195, 200);
    const Bytes before = bgr;
    (void)loop.Step(size, bgr, exposure, gains);
    EXPECT_EQ(bgr, before) << "skipped call";
    ASSERT_TRUE(loop.Step(size, bgr, exposure, gains).evaluated);
    auto at = [&](int row, int column, int byte) { return bgr[3 * (row * 120 + column) + byte]; };
    EXPECT_EQ(at(10, 20, 0), 110);
    EXPECT_EQ(at(59, 69, 1), 39);  // (195 + 100) modulo 256
    EXPECT_EQ(at(59, 69, 2), 44);
    EXPECT_EQ(at(9, 20, 0), 10);
    EXPECT_EQ(at(60, 20, 0), 10);
    EXPECT_EQ(at(10, 19, 0), 10);
    EXPECT_EQ(at(10, 70, 0), 10);
}

// A raw frame of one value: the kernels at contrast 16 give a grey picture.
struct OrsikPipeline {
    explicit OrsikPipeline(FrameSize frame) : pipeline({64, 64}, false) {
        settings.model = CKQOrsikDevice(DeviceIdentity{4, 0, 0}).Pixels();
        source.window.size = frame;
        source.exposure = 100;
        source.sensorGains = {40, 40, 50};
    }
    std::optional<DeliveredFrame> Run(std::uint8_t value, FrameEvents& events) {
        std::fill(pipeline.CaptureBuffer().begin(), pipeline.CaptureBuffer().end(), value);
        return pipeline.Process(settings, source, events);
    }
    FramePipeline pipeline;
    PictureSettings settings;
    FrameSource source;
};

TEST(OrsikBalanceLoop, WhiteBalanceRequestRunsTheLoopNotTheGainTables) {
    OrsikPipeline p({40, 30});
    p.settings.colorMode = 3;  // 8-bit output: the loop waits for a colour picture
    p.pipeline.RequestWhiteBalance(true);
    for (int i = 0; i < 4; ++i) {
        FrameEvents events;
        ASSERT_TRUE(p.Run(195, events).has_value());
        EXPECT_FALSE(events.balanceExposure || events.balanceReport || events.whiteBalance);
    }
    EXPECT_TRUE(p.pipeline.WhiteBalanceRequested());
    p.settings.colorMode = 0;
    std::vector<FrameEvents> seen;
    for (int i = 0; i < 6 && p.pipeline.WhiteBalanceRequested(); ++i) {
        FrameEvents events;
        ASSERT_TRUE(p.Run(195, events).has_value());
        EXPECT_FALSE(events.whiteBalance) << "no one-shot tables";
        seen.push_back(events);
    }
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_FALSE(seen[0].balanceExposure);
    ASSERT_TRUE(seen[1].balanceExposure && seen[1].balanceGains);
    EXPECT_EQ(*seen[1].balanceExposure, 100);
    EXPECT_EQ(seen[1].balanceGains->blue, 50);
    ASSERT_TRUE(seen[5].balanceReport);
    EXPECT_EQ(*seen[5].balanceReport, (50u << 24) | (50u << 16) | (40u << 8) | 40u);
    EXPECT_FALSE(p.pipeline.WhiteBalanceRequested());
    EXPECT_EQ(p.pipeline.Gains().red, kqcmos::IdentityTable());
}

TEST(OrsikExposure, ByteMeanOfTheRawFrameUpToTheLimit) {
    struct Case {
        int exposure;
        std::uint8_t value;
        std::optional<int> sent, reported;
    };
    // Band 145..175 at the default level; 25 % up, 20 % down, 255 at most.
    const Case cases[] = {
        {100, 60, 125, std::nullopt}, {250, 60, 255, std::nullopt}, {255, 60, std::nullopt, 255},
        {100, 230, 80, std::nullopt}, {100, 160, std::nullopt, 100}, {4, 60, 7, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exposure);
        OrsikPipeline p({40, 30});
        p.source.exposure = c.exposure;
        p.pipeline.AutoExposure().Enable(true);
        FrameEvents skipped, events;
        ASSERT_TRUE(p.Run(c.value, skipped).has_value());
        EXPECT_FALSE(skipped.sendExposure || skipped.reportExposure);
        ASSERT_TRUE(p.Run(c.value, events).has_value());
        EXPECT_EQ(events.sendExposure, c.sent);
        EXPECT_EQ(events.reportExposure, c.reported);
    }
}

TEST_F(LibraryTest, ContrastCameraStreamsTurnedPicturesOfItsFrames) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0401"));
    CapInfo window = SmallWindow();
    window.width = 64;
    window.height = 48;
    const std::uint32_t handle = Open(1, window);
    auto on = [&](const std::function<int(BaseDevice&)>& op) { return library.WithDevice(handle, op); };
    FrameCount count;
    on([&](BaseDevice& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    ASSERT_EQ(on([](BaseDevice& d) { return d.SetParamFlip(4); }), status::kSuccess);
    bus.SetReadBudget(0, 2);
    ASSERT_EQ(on([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(count.WaitFor(2));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
    Bytes raw(64 * 48), picture;
    FrameSize size;
    ASSERT_EQ(on([&](BaseDevice& d) {
                  return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
                      picture.assign(f.pixels.begin(), f.pixels.end());
                      size = f.size;
                      return 0;
                  });
              }),
              status::kSuccess);
    on([](BaseDevice& d) { return d.StopView(); });
    EXPECT_EQ(size, (FrameSize{48, 64}));
    Bytes second(raw.size());
    kqff::sim::FillBayerPicture(2, 64, 0, second);
    EXPECT_EQ(raw, second) << "the last frame's raw bytes";
    const PixelModel model = CKQOrsikDevice(DeviceIdentity{4, 0, 0}).Pixels();
    EXPECT_EQ(picture, Expected(model, 0, 4, {64, 48}, raw, 16));
}

}  // namespace
}  // namespace kq::test
