// Frame assembly and the read path, driven transfer by transfer: the test
// completes each bulk read the reader thread keeps outstanding.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include "frame_pattern.h"
#include "host_device.h"
#include "sim_camera.h"
#include "test_support.h"

namespace kqff {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kBigFrame = 1360u * 1024 * 2;   // 6 reads, the last of 163840 bytes
constexpr std::uint32_t kSmallFrame = 640u * 480;       // 1 read
constexpr std::uint32_t kExactFrame = 1024u * 512 * 2;  // 2 full reads + a zero-length one

class AssemblyTest : public ::testing::Test {
protected:
    void SetUp() override { device->Open(); }

    void Start(std::uint32_t width, std::uint32_t height) {
        ASSERT_EQ(test::SetFormat(device.device(), width, height).status, kStatusSuccess);
        ASSERT_EQ(device->StartCapture(), kStatusSuccess);
    }

    // The camera's transfers for frame number `number` of frameBytes bytes.
    void SendFrame(std::uint32_t number, std::uint32_t frameBytes, bool marker = true) {
        if (marker) {
            ASSERT_TRUE(camera.DeliverMarker());
        }
        std::vector<std::uint8_t> chunk(kChunkBytes);
        for (std::uint32_t offset = 0;;) {
            const std::uint32_t n = std::min(kChunkBytes, frameBytes - offset);
            sim::FillFramePattern(number, offset, std::span(chunk).first(n));
            ASSERT_TRUE(camera.Deliver(std::span(chunk).first(n)));
            offset += n;
            if (n < kChunkBytes) break;
        }
    }

    void SendChunks(std::uint32_t count, std::uint32_t bytes) {
        const std::vector<std::uint8_t> junk(bytes, 0x5A);
        for (std::uint32_t i = 0; i < count; ++i) ASSERT_TRUE(camera.Deliver(junk));
    }

    // Reads a frame into a buffer with room for the trailer; returns its number.
    std::optional<std::uint32_t> ReadFrameNumber(std::uint32_t expectedBytes) {
        std::vector<std::uint8_t> buffer(expectedBytes + kTrailerBytes, 0xCC);
        const RequestResult r = device->ReadFrame(buffer);
        if (r.status != kStatusSuccess) return std::nullopt;
        EXPECT_EQ(r.information, expectedBytes + kTrailerBytes);
        return sim::CheckFramePattern(std::span(buffer).first(expectedBytes));
    }

    bool FrameWaiting() {
        const StreamDiagnostics d = device->Diagnostics();
        return d.writeIndex != d.readIndex;
    }

    sim::SimCamera camera;
    host::HostDevice device{camera};
};

TEST_F(AssemblyTest, AssemblesAFrameFromMarkerChunksAndShortChunk) {
    Start(1360, 1024);
    const FrameGeometry g = device->Diagnostics().formatGeometry;
    EXPECT_EQ(g.chunksPerFrame, 6u);
    EXPECT_EQ(g.lastChunkBytes, 163840u);
    ASSERT_TRUE(camera.DeliverMarker());
    std::vector<std::uint8_t> chunk(kChunkBytes);
    for (std::uint32_t i = 0; i < 5; ++i) {
        sim::FillFramePattern(7, i * kChunkBytes, chunk);
        ASSERT_TRUE(camera.Deliver(chunk));
        EXPECT_FALSE(FrameWaiting()) << "published after chunk " << i;
    }
    sim::FillFramePattern(7, 5 * kChunkBytes, std::span(chunk).first(163840));
    ASSERT_TRUE(camera.Deliver(std::span(chunk).first(163840)));
    EXPECT_TRUE(FrameWaiting());

    std::vector<std::uint8_t> buffer(kBigFrame + kTrailerBytes, 0xCC);
    const RequestResult r = device->ReadFrame(buffer);
    ASSERT_EQ(r.status, kStatusSuccess);
    EXPECT_EQ(r.information, kBigFrame + kTrailerBytes);
    EXPECT_EQ(sim::CheckFramePattern(std::span(buffer).first(kBigFrame)), 7u);
    // Only the frame-start byte of the trailer is written.
    EXPECT_EQ(buffer[kBigFrame + 2], 0);
    EXPECT_EQ(buffer[kBigFrame + 1], 0xCC);
    EXPECT_EQ(buffer[kBigFrame + 3], 0xCC);
    EXPECT_FALSE(FrameWaiting());
}

TEST_F(AssemblyTest, ReadStaysInsideShortBuffers) {
    Start(640, 480);
    struct Case {
        std::uint32_t length;
        std::uint32_t information;
    };
    for (const Case& c : {Case{1000, 1000}, Case{kSmallFrame, kSmallFrame}, Case{kSmallFrame + 2, kSmallFrame + 2},
                          Case{kSmallFrame + 3, kSmallFrame + 3}}) {
        SendFrame(c.length, kSmallFrame);
        std::vector<std::uint8_t> buffer(c.length + 16, 0xCC);  // guard bytes past the caller's length
        const RequestResult r = device->ReadFrame(std::span(buffer).first(c.length));
        ASSERT_EQ(r.status, kStatusSuccess);
        EXPECT_EQ(r.information, c.information);
        const std::uint32_t copied = std::min(c.length, kSmallFrame);
        EXPECT_EQ(sim::CheckFramePattern(std::span(buffer).first(copied)), c.length);
        const std::size_t flagAt = kSmallFrame + kTrailerFrameStartFlag;
        for (std::size_t i = copied; i < buffer.size(); ++i) {
            if (i == flagAt && c.length > flagAt) continue;
            ASSERT_EQ(buffer[i], 0xCC) << "byte " << i << " of a " << c.length << "-byte read";
        }
        // The flag of the buffer the next frame goes into: its start marker
        // arrived before this read.
        if (c.length > flagAt) {
            EXPECT_EQ(buffer[flagAt], 1);
        }
    }
}

TEST_F(AssemblyTest, SingleReadFramesAndAFullChunkTooMany) {
    Start(640, 480);
    SendFrame(1, kSmallFrame);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 1u);
    ASSERT_TRUE(camera.DeliverMarker());
    SendChunks(1, kChunkBytes);  // a full chunk where one short one was due: dropped
    EXPECT_FALSE(FrameWaiting());
    SendFrame(3, kSmallFrame, false);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 3u);
}

TEST_F(AssemblyTest, WholeChunkFramesEndWithAZeroLengthTransfer) {
    Start(1024, 512);
    EXPECT_EQ(device->Diagnostics().formatGeometry.lastChunkBytes, 0u);
    ASSERT_TRUE(camera.DeliverMarker());
    std::vector<std::uint8_t> chunk(kChunkBytes);
    for (std::uint32_t i = 0; i < 2; ++i) {
        sim::FillFramePattern(4, i * kChunkBytes, chunk);
        ASSERT_TRUE(camera.Deliver(chunk));
    }
    EXPECT_FALSE(FrameWaiting());
    ASSERT_TRUE(camera.Deliver({}));
    EXPECT_EQ(ReadFrameNumber(kExactFrame), 4u);
}

TEST_F(AssemblyTest, AWrongLastChunkDropsTheFrameAndTheNextOneArrivesWhole) {
    Start(1360, 1024);
    ASSERT_TRUE(camera.DeliverMarker());
    SendChunks(5, kChunkBytes);
    SendChunks(1, 1000);
    EXPECT_FALSE(FrameWaiting());
    SendFrame(9, kBigFrame);
    EXPECT_EQ(ReadFrameNumber(kBigFrame), 9u);
}

TEST_F(AssemblyTest, AFrameCutShortDoesNotShiftTheNextFramesChunks) {
    Start(1360, 1024);
    // Cut short by a new start marker.
    ASSERT_TRUE(camera.DeliverMarker());
    SendChunks(2, kChunkBytes);
    SendFrame(2, kBigFrame);
    EXPECT_EQ(ReadFrameNumber(kBigFrame), 2u);
    // Cut short by a transfer error (the camera restarts after the port reset).
    ASSERT_TRUE(camera.DeliverMarker());
    SendChunks(3, kChunkBytes);
    ASSERT_TRUE(camera.Deliver({}, kUsbdBabbleDetected));
    SendFrame(3, kBigFrame, false);
    EXPECT_EQ(ReadFrameNumber(kBigFrame), 3u);
}

TEST_F(AssemblyTest, AStartMarkerDropsAnUnreadFrameForTheNewOne) {
    Start(640, 480);
    SendFrame(1, kSmallFrame);
    ASSERT_TRUE(FrameWaiting());
    ASSERT_TRUE(camera.DeliverMarker());
    EXPECT_FALSE(FrameWaiting());  // frame 1 is gone; frame 2 goes into its buffer
    auto reader = std::async(std::launch::async, [&] { return ReadFrameNumber(kSmallFrame); });
    std::this_thread::sleep_for(50ms);
    SendFrame(2, kSmallFrame, false);
    EXPECT_EQ(reader.get(), 2u);
}

TEST_F(AssemblyTest, WithoutMarkersAnUnreadFrameIsKeptAndTheNextOverwritten) {
    Start(640, 480);
    SendFrame(1, kSmallFrame, false);
    SendFrame(2, kSmallFrame, false);  // not published: frame 1 is unread
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 1u);
    EXPECT_FALSE(FrameWaiting());
    SendFrame(3, kSmallFrame, false);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 3u);
}

TEST_F(AssemblyTest, AFormatChangeTakesEffectAtTheNextTransfer) {
    Start(1360, 1024);
    ASSERT_TRUE(camera.DeliverMarker());
    SendChunks(3, kChunkBytes);
    ASSERT_EQ(test::SetFormat(device.device(), 640, 480).status, kStatusSuccess);
    SendFrame(5, kSmallFrame, false);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 5u);
}

TEST_F(AssemblyTest, TransferErrorsAreClassifiedAndRecoveredBeforeTheNextRead) {
    Start(640, 480);
    struct Case {
        UsbdStatus usbd;
        std::uint32_t error;
    };
    for (const Case& c : {Case{kUsbdBabbleDetected, kErrorBabble}, Case{kUsbdXactError, kErrorTransaction},
                          Case{static_cast<UsbdStatus>(0xC0000004u), kErrorTransfer}}) {
        const sim::SimCounters before = camera.Counters();
        camera.FailRecoveryCalls(1000);  // hold the error until the test has looked
        ASSERT_TRUE(camera.Deliver({}, c.usbd));
        EXPECT_EQ(device->Diagnostics().errorCode, c.error);
        EXPECT_FALSE(camera.WaitForPendingRead(30ms));  // no read before recovery
        camera.FailRecoveryCalls(0);
        ASSERT_TRUE(camera.WaitForPendingRead(2000ms));
        EXPECT_EQ(device->Diagnostics().errorCode, kErrorNone);
        const sim::SimCounters after = camera.Counters();
        EXPECT_EQ(after.portResets, before.portResets + 1);
        EXPECT_EQ(after.videoPipeResets, before.videoPipeResets + 1);
        EXPECT_GE(after.videoAborts, before.videoAborts + 1);
    }
    SendFrame(8, kSmallFrame);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 8u);
    EXPECT_EQ(camera.Counters().overlappingReads, 0);
}

TEST_F(AssemblyTest, UnpluggingEndsStreamingAndFailsWaitingReads) {
    Start(640, 480);
    ASSERT_TRUE(camera.WaitForPendingRead(2000ms));
    auto reader = std::async(std::launch::async, [&] {
        std::vector<std::uint8_t> buffer(kSmallFrame + kTrailerBytes);
        return device->ReadFrame(buffer).status;
    });
    std::this_thread::sleep_for(50ms);
    camera.SetConnected(false);
    EXPECT_EQ(reader.get(), kStatusUnsuccessful);
    EXPECT_FALSE(device->Diagnostics().streaming);

    // Plugged in again, streaming starts afresh: the read slot was not lost.
    camera.SetConnected(true);
    ASSERT_EQ(device->StartCapture(), kStatusSuccess);
    ASSERT_TRUE(camera.WaitForPendingRead(2000ms));
    SendFrame(3, kSmallFrame);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 3u);
}

TEST_F(AssemblyTest, ReadsNeedStreamingAndGiveUpAfterASecondWithoutAFrame) {
    std::vector<std::uint8_t> buffer(64);
    EXPECT_EQ(device->ReadFrame(buffer).status, kStatusUnsuccessful);
    Start(640, 480);
    EXPECT_EQ(device->ReadFrame({}).status, kStatusUnsuccessful);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(device->ReadFrame(buffer).status, kStatusUnsuccessful);
    EXPECT_GE(std::chrono::steady_clock::now() - begin, 900ms);
}

TEST_F(AssemblyTest, StartAndStopSendTheirCommandsAndStopCancelsTheRead) {
    camera.ClearCommandLog();
    Start(640, 480);
    ASSERT_TRUE(camera.WaitForPendingRead(2000ms));
    auto log = camera.CommandLog();
    ASSERT_EQ(log.size(), 3u);  // format, the stop that start begins with, start
    EXPECT_EQ(log[1][block::kCommand], command::kStopStreaming);
    EXPECT_EQ(log[2][block::kCommand], command::kStartStreaming);
    EXPECT_TRUE(camera.Streaming());

    EXPECT_EQ(device->StopCapture(), kStatusSuccess);
    EXPECT_FALSE(camera.Streaming());
    EXPECT_FALSE(camera.WaitForPendingRead(0ms));  // the outstanding read was cancelled
    EXPECT_FALSE(device->Diagnostics().streaming);
}

TEST_F(AssemblyTest, AStartTheCameraDidNotHearFails) {
    ASSERT_EQ(test::SetFormat(device.device(), 640, 480).status, kStatusSuccess);
    camera.FailCommandSends(1000, kStatusDeviceNotConnected);
    EXPECT_EQ(device->StartCapture(), kStatusDeviceNotConnected);
    EXPECT_FALSE(device->Diagnostics().streaming);
    camera.FailCommandSends(0);
    EXPECT_EQ(device->StartCapture(), kStatusSuccess);
}

TEST_F(AssemblyTest, OpeningAnotherHandleEndsStreamingForAll) {
    Start(640, 480);
    SendFrame(1, kSmallFrame);
    device->Open();
    EXPECT_FALSE(ReadFrameNumber(kSmallFrame).has_value());
    ASSERT_EQ(device->StartCapture(), kStatusSuccess);
    // Open reset the format to 2048 x 1536 but not the frame geometry.
    SendFrame(2, kSmallFrame);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 2u);
}

TEST_F(AssemblyTest, AfterDeviceStopFramesCarryOnlyTheTrailerUntilAFormatIsSet) {
    Start(640, 480);
    device->DeviceStop();
    EXPECT_EQ(device->Diagnostics().formatGeometry.frameBytes, 0u);
    ASSERT_EQ(device->StartCapture(), kStatusSuccess);
    // The camera still sends frames of the last format; they are assembled
    // and published, and a read gets the trailer alone.
    SendFrame(1, kSmallFrame);
    std::vector<std::uint8_t> buffer(kSmallFrame + kTrailerBytes, 0xCC);
    const RequestResult r = device->ReadFrame(buffer);
    ASSERT_EQ(r.status, kStatusSuccess);
    EXPECT_EQ(r.information, kTrailerBytes);
    EXPECT_EQ(buffer[0], 0xCC);  // no frame byte copied
    EXPECT_NE(buffer[kTrailerFrameStartFlag], 0xCC);

    ASSERT_EQ(test::SetFormat(device.device(), 640, 480).status, kStatusSuccess);
    SendFrame(2, kSmallFrame);
    EXPECT_EQ(ReadFrameNumber(kSmallFrame), 2u);
}

}  // namespace
}  // namespace kqff
