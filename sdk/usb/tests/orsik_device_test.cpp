// The contrast-demosaic camera (type 4): every colour mode and flip gives a
// picture of the current frame through its own kernels, in the pipeline and
// through the capture thread.

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "contrast_kernels.h"
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
