// The capture thread and the frame pipeline against the simulated camera:
// what reaches the frame callback, how stopping ends a pending read, and
// the automatic functions' reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "core/base_device.h"
#include "demosaic.h"
#include "frame_pattern.h"
#include "microscope_filters.h"
#include "tone_tables.h"
#include "models/dorisk_device.h"
#include "exposure_reports.h"
#include "mirrored_edges.h"
#include "sim_fixture.h"
#include "unique_temp_dir.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;

// Collects delivered frames; tests wait for a count with a bounded wait.
struct FrameSink {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<std::vector<std::uint8_t>> frames;
    std::size_t frameBytes = 0;

    static int KQ_STDCALL OnFrame(std::uint8_t* frame, std::int32_t, void* context) {
        auto* self = static_cast<FrameSink*>(context);
        std::lock_guard<std::mutex> hold(self->lock);
        self->frames.emplace_back(frame, frame + self->frameBytes);
        self->arrived.notify_all();
        return 0;
    }
    bool WaitFor(std::size_t count) {
        std::unique_lock<std::mutex> hold(lock);
        return arrived.wait_for(hold, 10s, [&] { return frames.size() >= count; });
    }
};

// The frame the simulated camera sends as its n-th frame (from 0), and what
// the pixel path makes of it at neutral settings.
std::vector<std::uint8_t> SimFrame(std::uint32_t n, int width, int height) {
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(width) * height);
    kqff::sim::FillBayerPicture(n + 1, static_cast<std::uint32_t>(width), 0, raw);
    return raw;
}

std::vector<std::uint8_t> Expected(std::uint32_t n, int width, int height, int colorMode, bool hdr = false) {
    // The colour camera of type 10 repairs its last column first.
    auto raw = MirroredEdges(SimFrame(n, width, height), {width, height}, {.right = 1});
    if (colorMode == 5) {  // the microscope mode's filters, of the G B / R G cell's phase
        const kqcmos::ToneCurve curve = kqcmos::BuildDefaultToneCurve();
        kqcmos::MicroscopeChromaClamp2({width, height}, raw);
        kqcmos::MicroscopeBayerFilter2({width, height}, raw,
                                       hdr ? std::span<const std::uint32_t>(curve) : std::span<const std::uint32_t>());
    }
    const int bpp = kqcmos::OutputBytesPerPixel(colorMode);
    std::vector<std::uint8_t> out(raw.size() * bpp);
    kqcmos::DemosaicWork work({width, height});
    // The colour camera of type 10 reads its own cell (G B / R G).
    const PixelModel model = CKQAlvinoDevice(DeviceIdentity{10, 0, 0}).Pixels();
    EXPECT_TRUE(kqcmos::Demosaic({colorMode, 0, 0, false, model.colourCell, model.cellDemosaic}, {width, height}, out,
                                 raw, work));
    return out;
}

class Streaming : public LibraryTest {
protected:
    void SetUp() override {
        // The colour camera of type 10.
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A01"));
        handle = Open(1);
    }
    template <class Op>
    int On(Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(d); });
    }
    int StartWithSink(FrameSink& sink, std::size_t bytesPerPixel) {
        sink.frameBytes = 640 * 480 * bytesPerPixel;
        On([&](BaseDevice& d) { return d.SetFrameCallBack(&FrameSink::OnFrame, &sink); });
        return On([](BaseDevice& d) { return d.StartView(nullptr, {}); });
    }
    std::uint32_t handle = 0;
};

struct ColourCase {
    int mode;
    std::size_t bytesPerPixel;
    bool hdr = false;
};

class StreamingColour : public Streaming, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(StreamingColour, FramesArriveInOrderWithTheirSizeAndContent) {
    const ColourCase c = GetParam();
    ASSERT_EQ(On([&](BaseDevice& d) { return d.SetParamColor(c.mode); }), status::kSuccess);
    ASSERT_EQ(On([&](BaseDevice& d) { return d.SetHDR(c.hdr ? 1 : 0); }), status::kSuccess);
    bus.SetReadBudget(0, 3);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, c.bytesPerPixel), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(3));
    ASSERT_EQ(On([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
    ASSERT_EQ(sink.frames.size(), 3u);
    for (std::uint32_t n = 0; n < 3; ++n) {
        EXPECT_EQ(sink.frames[n], Expected(n, 640, 480, c.mode, c.hdr)) << "frame " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, StreamingColour,
                         ::testing::Values(ColourCase{0, 3}, ColourCase{1, 3}, ColourCase{2, 3}, ColourCase{3, 1},
                                           ColourCase{4, 1}, ColourCase{5, 3}, ColourCase{5, 3, true}));

TEST_F(Streaming, StopEndsAPendingReadAndTheDeviceStaysUsable) {
    bus.SetReadBudget(0, 1);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(1));
    // The thread now waits in a read that never completes by itself.
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    ASSERT_EQ(On([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
    EXPECT_GE(bus.CancelledReads(0), 1);
    EXPECT_FALSE(bus.Device(0).Core().Diagnostics().streaming);

    // Start, stop and start again: each run delivers.
    for (int cycle = 0; cycle < 3; ++cycle) {
        const std::size_t before = sink.frames.size();
        bus.AllowFrames(0, 1);
        ASSERT_EQ(On([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        ASSERT_TRUE(sink.WaitFor(before + 1));
        ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
        ASSERT_EQ(On([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
    }
    EXPECT_EQ(library.Uninitialize(handle), status::kSuccess);
    EXPECT_EQ(bus.OpenConnections(), 0);
}

TEST_F(Streaming, ClosingWhileStreamingJoinsTheThreadFirst) {
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(2));
    EXPECT_EQ(library.Uninitialize(handle), status::kSuccess);
    const std::size_t delivered = sink.frames.size();
    EXPECT_EQ(bus.OpenConnections(), 0);
    EXPECT_EQ(sink.frames.size(), delivered);  // nothing after close
}

TEST_F(Streaming, CropIsCheckedAgainstEveryFrame) {
    // Fits the 640 x 480 window, but not the frame turned to 480 x 640: the
    // frame is delivered whole instead of being cut out of bounds.
    ASSERT_EQ(On([](BaseDevice& d) { return d.SetMCResolution(100, 0, 540, 100); }), status::kSuccess);
    ASSERT_EQ(On([](BaseDevice& d) { return d.MCResolutionShow(true); }), status::kSuccess);
    ASSERT_EQ(On([](BaseDevice& d) { return d.SetParamFlip(4); }), status::kSuccess);
    bus.SetReadBudget(0, 1);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(1));
    kqcmos::FrameSize size;
    std::vector<std::uint8_t> raw(640 * 480);
    On([&](BaseDevice& d) {
        return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
            size = f.size;
            return 0;
        });
    });
    On([](BaseDevice& d) { return d.StopView(); });
    EXPECT_EQ(size, (kqcmos::FrameSize{480, 640}));

    // Back upright the same window is cut: 540 x 100.
    ASSERT_EQ(On([](BaseDevice& d) { return d.SetParamFlip(0); }), status::kSuccess);
    bus.AllowFrames(0, 1);
    ASSERT_EQ(On([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(2));
    On([&](BaseDevice& d) {
        return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
            size = f.size;
            return 0;
        });
    });
    On([](BaseDevice& d) { return d.StopView(); });
    EXPECT_EQ(size, (kqcmos::FrameSize{540, 100}));
}

TEST_F(Streaming, AutomaticExposureReportsThroughItsCallback) {
    ExposureReports report;
    ASSERT_EQ(On([&](BaseDevice& d) { return d.SetDoAE(true, &ExposureReports::On, &report); }), status::kSuccess);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    std::unique_lock<std::mutex> hold(report.lock);
    ASSERT_TRUE(report.came.wait_for(hold, 20s, [&] { return !report.values.empty(); }));
    hold.unlock();
    On([](BaseDevice& d) { return d.StopView(); });
    EXPECT_FALSE(On([](BaseDevice& d) { return d.AutoExposureOn() ? 1 : 0; }));
    // The exposure it reports is what was last sent to the camera.
    EXPECT_EQ(report.values.back(),
              static_cast<int>(On([](BaseDevice& d) { return static_cast<int>(d.LastSentBlock().exposure); })));
}

TEST_F(Streaming, AlternateExposureRunsInThePipelineAndReportsItsChanges) {
    ExposureReports report;
    // Selected through KQ_AEParam alone: continuous AE stays off.
    ASSERT_EQ(On([&](BaseDevice& d) { return d.AEParam(1, 1, &ExposureReports::On, &report); }), status::kSuccess);
    ASSERT_FALSE(On([](BaseDevice& d) { return d.AutoExposureOn() ? 1 : 0; }));
    bus.SetReadBudget(0, 8);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(8));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    On([](BaseDevice& d) { return d.StopView(); });
    // The test picture lies outside the band, so the fourth and the eighth
    // frame each move the exposure; each move is sent and reported.
    std::lock_guard<std::mutex> hold(report.lock);
    ASSERT_EQ(report.values.size(), 2u);
    EXPECT_NE(report.values[0], 100);
    EXPECT_EQ(report.values.back(),
              static_cast<int>(On([](BaseDevice& d) { return static_cast<int>(d.LastSentBlock().exposure); })));
}

TEST_F(Streaming, OneShotWhiteBalanceReportsGains) {
    struct Report {
        std::mutex lock;
        std::condition_variable came;
        std::vector<std::pair<int, int>> values;
        static void KQ_STDCALL On(std::int32_t v1, std::int32_t v2, void* context) {
            auto* self = static_cast<Report*>(context);
            std::lock_guard<std::mutex> hold(self->lock);
            self->values.emplace_back(v1, v2);
            self->came.notify_all();
        }
    } report;
    ASSERT_EQ(On([&](BaseDevice& d) { return d.SetDoAWB(true, &Report::On, &report); }), status::kSuccess);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    std::unique_lock<std::mutex> hold(report.lock);
    ASSERT_TRUE(report.came.wait_for(hold, 10s, [&] { return !report.values.empty(); }));
    hold.unlock();
    On([](BaseDevice& d) { return d.StopView(); });
    // On this camera's cell (G B / R G) red reads the test picture's darkest
    // colour site (88) and is raised the most; the greens (160 and 32)
    // and blue (96) are near each other, the brighter keeping unity.
    const int red = report.values[0].first >> 16;
    const int green = report.values[0].first & 0xFFFF;
    const int blue = report.values[0].second >> 16;
    EXPECT_EQ(std::min(green, blue), 500);
    EXPECT_GT(red, std::max(green, blue));
}

TEST_F(Streaming, GrabWhileStreamingServesTheLastProcessedFrame) {
    bus.SetReadBudget(0, 2);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(2));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    std::vector<std::uint8_t> raw(640 * 480);
    std::vector<std::uint8_t> picture;
    const int rc = On([&](BaseDevice& d) {
        return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
            picture.assign(f.pixels.begin(), f.pixels.end());
            return 0;
        });
    });
    On([](BaseDevice& d) { return d.StopView(); });
    EXPECT_EQ(rc, status::kSuccess);
    EXPECT_EQ(picture, sink.frames[1]);
    const auto expected = SimFrame(1, 640, 480);
    const auto mismatch = std::mismatch(raw.begin(), raw.end(), expected.begin());
    EXPECT_EQ(mismatch.first, raw.end()) << "first difference at byte " << (mismatch.first - raw.begin());
    EXPECT_EQ(bus.Device(0).FramesRead(), 2u);  // the grab read nothing
}

// A colour-mode change restarts the stream: until the new stream has
// delivered a frame, a grab has none to give, never the colour picture
// made before the change.
TEST_F(Streaming, GrabAfterAColourChangeWaitsForAFrameOfTheNewMode) {
    bus.SetReadBudget(0, 2);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(2));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    ASSERT_EQ(On([](BaseDevice& d) { return d.SetParamColor(3); }), status::kSuccess);
    {
        std::lock_guard<std::mutex> hold(sink.lock);
        sink.frameBytes = 640 * 480;
    }
    std::vector<std::uint8_t> raw(640 * 480);
    int bits = 0;
    std::vector<std::uint8_t> picture;
    const auto grab = [&] {
        return On([&](BaseDevice& d) {
            return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
                bits = f.bitsPerPixel;
                picture.assign(f.pixels.begin(), f.pixels.end());
                return 0;
            });
        });
    };
    EXPECT_EQ(grab(), status::kNoFrame);
    EXPECT_EQ(bits, 0) << "the colour picture from before the change was served";

    bus.AllowFrames(0, 1);
    ASSERT_TRUE(sink.WaitFor(3));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    EXPECT_EQ(grab(), status::kSuccess);
    On([](BaseDevice& d) { return d.StopView(); });
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(picture, sink.frames[2]);
}

TEST_F(Streaming, GrabWhileIdleReadsOneFrameAndRefusesInTriggerMode) {
    std::vector<std::uint8_t> raw(640 * 480);
    const auto grab = [&](std::uint8_t* buffer) {
        return On([&](BaseDevice& d) { return d.GrabFrame(buffer, false, [](const DeliveredFrame&) { return 0; }); });
    };
    EXPECT_EQ(grab(nullptr), status::kNullFrameBuffer);
    EXPECT_EQ(grab(raw.data()), status::kSuccess);
    EXPECT_EQ(raw, SimFrame(0, 640, 480));
    EXPECT_FALSE(bus.Device(0).Core().Diagnostics().streaming);
    bus.ShortReads(0, 3);
    EXPECT_EQ(grab(raw.data()), status::kNoFrame);
    On([](BaseDevice& d) { return d.SetTriggerMode(1); });
    bus.ClearLog();
    EXPECT_EQ(grab(raw.data()), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
}

// The number of index entries of an AVI file (one per grid position).
std::size_t AviIndexEntries(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string_view text(bytes.data(), bytes.size());
    const std::size_t at = text.rfind("idx1");
    if (at == std::string_view::npos || at + 8 > bytes.size()) return 0;
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) size = (size << 8) | static_cast<std::uint8_t>(bytes[at + 4 + i]);
    return size / 16;
}

TEST_F(Streaming, TheRecordingsTimeGridStartsAtItsFirstFrame) {
    std::atomic<std::int64_t> now{1000};
    On([&](BaseDevice& d) {
        d.SetClock([&] { return now.load(); });
        return 0;
    });
    bus.SetReadBudget(0, 1);
    FrameSink sink;
    ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(1));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));

    const auto path = testing_support::UniqueTempPath("kq_grid") / "movie.avi";
    std::filesystem::create_directories(path.parent_path());
    const std::u16string name = path.u16string();
    ASSERT_EQ(On([&](BaseDevice& d) { return d.CaptureToAvi(true, &name); }), status::kSuccess);
    // Half a second (20 positions at 40 fps) passes before the first frame.
    now = 1500;
    bus.AllowFrames(0, 1);
    ASSERT_TRUE(sink.WaitFor(2));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
    ASSERT_EQ(On([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);

    EXPECT_EQ(AviIndexEntries(path), 1u) << "no empty positions before the first frame";
    std::filesystem::remove_all(path.parent_path());
}

// The first entry (DC) of the first quantisation table of a JPEG file:
// 16 at quality 50, 1 at quality 100; -1 when there is none.
int FirstQuantisationStep(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t at = 0; at + 5 < bytes.size(); ++at) {
        if (static_cast<std::uint8_t>(bytes[at]) == 0xFF && static_cast<std::uint8_t>(bytes[at + 1]) == 0xDB) {
            return static_cast<std::uint8_t>(bytes[at + 5]);
        }
    }
    return -1;
}

TEST_F(Streaming, TriggerSnapshotsKeepTheQualityAsGiven) {
    ASSERT_EQ(On([](BaseDevice& d) { return d.SetTriggerMode(1); }), status::kSuccess);
    const auto folder = testing_support::UniqueTempPath("kq_snapshot_quality");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    bus.SetReadBudget(0, 0);
    FrameSink sink;
    struct Case {
        std::int32_t quality;
        int firstStep;
    };
    // Above 100 the encoder's best quality is used, not a substitute.
    for (const Case c : {Case{150, 1}, Case{100, 1}, Case{50, 16}}) {
        SCOPED_TRACE(c.quality);
        const auto prefix = folder / ("q" + std::to_string(c.quality) + "_");
        ASSERT_EQ(On([&](BaseDevice& d) { return d.GetTrigger(true, true, prefix.u16string(), c.quality); }),
                  status::kSuccess);
        const std::size_t before = sink.frames.size();
        bus.AllowFrames(0, 1);
        ASSERT_EQ(StartWithSink(sink, 3), status::kSuccess);
        ASSERT_TRUE(sink.WaitFor(before + 1));
        ASSERT_TRUE(bus.WaitForBlockedRead(0, 10s));
        ASSERT_EQ(On([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.path().filename().string().starts_with(prefix.filename().string())) continue;
            ++files;
            EXPECT_EQ(FirstQuantisationStep(entry.path()), c.firstStep);
        }
        EXPECT_EQ(files, 1);
    }
    std::filesystem::remove_all(folder);
}

// Three stripe-capable cameras of type 9 (1280 x 1024) that send the
// same frames when driven alike.
class StripeStreaming : public LibraryTest {
protected:
    void SetUp() override {
        for (int serial = 1; serial <= 3; ++serial) bus.AddCamera(InstanceId(u"VID_F5A1&PID_0901", serial));
    }

    enum class Stripes { off, onZoom, onZoomAndRequested };

    // Streams two 640 x 480 frames, changes to zoom mode 1 (capture
    // restarts at 320 x 240) and returns the first frame of the new size.
    std::vector<std::uint8_t> FirstZoomedFrame(std::int32_t position, Stripes stripes) {
        const std::uint32_t handle = Open(position);
        const auto camera = static_cast<std::size_t>(position - 1);
        auto on = [&](auto&& op) { return library.WithDevice(handle, op); };
        FrameSink sink;
        sink.frameBytes = 640 * 480 * 3;
        on([&](BaseDevice& d) { return d.SetFrameCallBack(&FrameSink::OnFrame, &sink); });
        on([&](BaseDevice& d) { return d.ApplyErasure(stripes != Stripes::off); });
        bus.SetReadBudget(camera, 2);
        EXPECT_EQ(on([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        EXPECT_TRUE(sink.WaitFor(2));
        EXPECT_TRUE(bus.WaitForBlockedRead(camera, 10s));

        std::size_t before = 0;
        EXPECT_EQ(on([&](BaseDevice& d) {
                      {
                          std::lock_guard<std::mutex> hold(sink.lock);
                          before = sink.frames.size();
                          sink.frameBytes = 320 * 240 * 3;
                      }
                      const int rc = d.SetZoomMode(1);
                      if (stripes == Stripes::onZoomAndRequested) d.ErasureStripe();
                      return rc;
                  }),
                  status::kSuccess);
        bus.AllowFrames(camera, 1);
        EXPECT_TRUE(sink.WaitFor(before + 1));
        EXPECT_TRUE(bus.WaitForBlockedRead(camera, 10s));
        EXPECT_EQ(on([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
        std::lock_guard<std::mutex> hold(sink.lock);
        return sink.frames.size() > before ? sink.frames[before] : std::vector<std::uint8_t>{};
    }
};

TEST_F(StripeStreaming, AZoomChangeTakesTheReferencePlanesFromItsFirstFrame) {
    const auto plain = FirstZoomedFrame(1, Stripes::off);
    const auto zoomed = FirstZoomedFrame(2, Stripes::onZoom);
    // The caller's explicit request takes the planes from that same frame.
    const auto requested = FirstZoomedFrame(3, Stripes::onZoomAndRequested);
    ASSERT_EQ(plain.size(), 320u * 240u * 3u);
    EXPECT_NE(requested, plain) << "the frame has stripes to remove";
    EXPECT_EQ(zoomed, requested);
}

}  // namespace
}  // namespace kq::test
