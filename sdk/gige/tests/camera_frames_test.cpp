// Frames of every output kind through a live camera: the callback's frame
// information and pixels against the conversion kernels on the frame the
// simulated camera sent, on a colour, a monochrome and a two-byte model,
// and quarter turns exchanging width and height.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "camera_fixture.h"
#include "frame_reference.h"

namespace kqge {
namespace {

using fixture::FrameLog;
using fixture::OneCamera;
using Bytes = std::vector<std::uint8_t>;

constexpr FrameSize kSize{64, 48};

struct KindCase {
    std::string_view model;
    std::int32_t kind;
    std::int32_t result;  // of SetColorMode
    std::int32_t bits;
};

TEST(CameraFramesTest, EveryOutputKindReachesTheCallbackAsTheKernelsMakeIt) {
    const std::vector<KindCase> cases = {
        {"Gige-CMOSAlvino", 0, 0, 24}, {"Gige-CMOSAlvino", 1, 0, 24}, {"Gige-CMOSAlvino", 2, 0, 8},
        {"Gige-CMOSAlvino", 3, 0, 8},  {"Gige-CMOSAlvino", 5, 0, 24}, {"Gige-CMOSAlvino", 4, 17, 0},
        {"Gige-Ostrel", 0, 17, 0},     {"Gige-Ostrel", 1, 0, 24},     {"Gige-Ostrel", 2, 0, 8},
        {"Gige-Ostrel", 5, 17, 0},     {"Gige-Lunvik", 4, 0, 16},     {"Gige-Lunvik", 0, 0, 24},
    };
    for (const KindCase& k : cases) {
        SCOPED_TRACE(std::string(k.model) + " kind " + std::to_string(k.kind));
        FrameLog log;  // outlives the camera's display thread
        OneCamera c(k.model);
        GigECameraBase& camera = c.Camera();
        ASSERT_EQ(camera.InitCamera(nullptr), 0);
        ASSERT_EQ(camera.SetResolution(kSize.width, kSize.height), 0);
        ASSERT_EQ(camera.SetColorMode(k.kind), k.result);
        if (k.result != 0) continue;
        camera.SetFrameCallBack(&FrameLog::Take, &log);
        ASSERT_EQ(camera.LiveStart(), 0);
        const auto format = k.kind == 4 ? standin::kMono16 : standin::kMono8;
        const Bytes sent = c.camera.SendFrame({64, 48, format});
        ASSERT_TRUE(log.WaitFor(1));
        EXPECT_EQ(log.frames[0].info.width, 64);
        EXPECT_EQ(log.frames[0].info.height, 48);
        EXPECT_EQ(log.frames[0].info.bitsPerPixel, k.bits);
        EXPECT_EQ(log.frames[0].pixels, test::Reference(camera.traits(), kSize, static_cast<OutputKind>(k.kind), sent));
        EXPECT_EQ(camera.DroppedFrames(), 0u);
    }
}

TEST(CameraFramesTest, QuarterTurnsExchangeWidthAndHeight) {
    for (const std::int32_t turn : {4, 5}) {
        FrameLog log;  // outlives the camera's display thread
        OneCamera c("Gige-Parsun");
        GigECameraBase& camera = c.Camera();
        ASSERT_EQ(camera.InitCamera(nullptr), 0);
        ASSERT_EQ(camera.SetResolution(64, 48), 0);
        ASSERT_EQ(camera.SetFlipMode(turn), 0);
        camera.SetFrameCallBack(&FrameLog::Take, &log);
        ASSERT_EQ(camera.LiveStart(), 0);
        (void)c.camera.SendFrame({64, 48, standin::kMono8});
        ASSERT_TRUE(log.WaitFor(1));
        EXPECT_EQ(log.frames[0].info.width, 48) << turn;
        EXPECT_EQ(log.frames[0].info.height, 64) << turn;
        EXPECT_EQ(log.frames[0].pixels.size(), 48u * 64 * 3);
        // The region is bounded by the output before the turn.
        EXPECT_EQ(camera.SetMCResolution(0, 0, 64, 48), 0);
        EXPECT_EQ(camera.SetMCResolution(0, 0, 48, 64), 20);
    }
}

}  // namespace
}  // namespace kqge
