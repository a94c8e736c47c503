// Colour processing per model class: the kernel member each class runs for
// each flip mode, its own Bayer cell in the gain tables, white balance,
// colour enhancement and demosaic, the quarter turns, and frames streamed
// by the capture thread over the simulated bus.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

#include "cell_kernels.h"
#include "core/frame_pipeline.h"
#include "demosaic.h"
#include "microscope_filters.h"
#include "frame_count.h"
#include "green_diagonal_formulas.h"
#include "mirrored_edges.h"
#include "models/device_factory.h"
#include "sim_fixture.h"
#include "streamed_frame.h"
#include "tone_tables.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using kqcmos::BayerCell;
using kqcmos::BayerOutput;
using kqcmos::FrameSize;

PixelModel ModelOf(std::int32_t typeCode, std::int32_t colorType = 0) {
    return MakeDevice(DeviceIdentity{typeCode, colorType, 0})->Pixels();
}

// A frame whose samples take one value per site of the 2 x 2 cell.
Bytes PhaseUniform(FrameSize size, std::array<std::uint8_t, 4> cell) {
    Bytes raw(kqcmos::FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x)
            raw[static_cast<std::size_t>(y * size.width + x)] = cell[(y % 2) * 2 + x % 2];
    }
    return raw;
}

Bytes Random(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    return b;
}

struct Run {
    std::optional<DeliveredFrame> out;
    FrameEvents events;
};

// One frame of `raw` through a pipeline set up for `model`.
Bytes Process(FramePipeline& pipeline, PictureSettings settings, FrameSize size, const Bytes& raw,
              FrameEvents* events = nullptr, FrameSize* delivered = nullptr) {
    std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
    FrameSource source;
    source.window.size = size;
    FrameEvents local;
    const auto out = pipeline.Process(settings, source, events != nullptr ? *events : local);
    if (!out) return {};
    if (delivered != nullptr) *delivered = out->size;
    return Bytes(out->pixels.begin(), out->pixels.end());
}

// The member each class demosaics with, per flip mode 0..5, whether it
// reads its own cell and the edges it repairs (left, right, bottom, top);
// every output byte comes from the kernel on the repaired frame (the member
// mends its own borders), at an odd size.
TEST(ColourModels, EachClassTakesItsMemberPerFlipMode) {
    struct Case {
        const char* name;
        std::int32_t type, colorType;
        std::array<std::uint8_t, 6> members;
        bool ownCell;
        kqcmos::EdgeRepair edges;
    };
    const Case cases[] = {
        {"CKQAlvinoDevice", 10, 0, {0, 1, 2, 3, 0, 0}, true, {0, 1, 0, 0}},
        {"CKQDoriskDevice", 10, 1, {0, 1, 2, 3, 0, 0}, false, {0, 1, 0, 0}},
        {"CKQPelvarDevice", 6, 0, {0, 1, 2, 3, 0, 0}, true, {0, 2, 0, 0}},
        {"CKQPelvarsmall", 22, 0, {0, 1, 2, 3, 0, 0}, true, {0, 2, 0, 0}},
        {"CKQKelmar_New", 21, 0, {0, 1, 2, 3, 0, 0}, true, {1, 2, 0, 0}},
        {"CKQWimbro_New", 19, 0, {0, 1, 2, 3, 0, 0}, true, {1, 2, 0, 0}},
        {"CKQYastro_New", 20, 1, {0, 1, 2, 3, 0, 0}, true, {1, 3, 1, 1}},
        {"CKQEbrant_FPGA", 24, 0, {3, 2, 1, 0, 3, 3}, true, {1, 2, 0, 0}},
        {"CKQZundra_Device", 7, 0, {0, 1, 2, 3, 0, 0}, false, {0, 0, 0, 0}},
        {"CKQNavelo_FPGA", 11, 0, {3, 2, 1, 0, 3, 3}, true, {1, 2, 0, 0}},
        {"CKQBrisel_FPGA", 12, 0, {3, 2, 1, 0, 3, 3}, true, {1, 2, 0, 0}},
        {"CKQNaprel_FPGA", 16, 0, {0, 1, 2, 3, 0, 0}, true, {1, 2, 0, 0}},
        {"CKQQuessa_FPGA", 25, 1, {3, 2, 1, 0, 3, 3}, true, {1, 2, 0, 0}},
        // The grey sensor's colour modes keep the family's reversed order;
        // its grey modes have an orientation of their own.
        {"CKQJorvel_FPGA", 13, 1, {3, 2, 1, 0, 3, 3}, true, {1, 2, 0, 0}},
    };
    const FrameSize size{37, 23};
    const Bytes raw = Random(kqcmos::FrameBytes(size), 5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PixelModel model = ModelOf(c.type, c.colorType);
        EXPECT_EQ(model.kernelForFlip, c.members);
        EXPECT_EQ(model.cellDemosaic.colour, c.ownCell);
        EXPECT_EQ(model.edgeRepair, c.edges);
        const Bytes repaired = MirroredEdges(raw, size, c.edges);
        for (int flip = 0; flip < 4; ++flip) {
            SCOPED_TRACE(flip);
            FramePipeline pipeline({64, 64}, false);
            PictureSettings settings;
            settings.model = model;
            settings.flipMode = flip;
            const Bytes picture = Process(pipeline, settings, size, raw);
            Bytes expected(3 * raw.size());
            const int member = c.members[static_cast<std::size_t>(flip)];
            ASSERT_TRUE(c.ownCell ? kqcmos::CellBayerConvert(BayerOutput::colorRgb, member, model.colourCell, size,
                                                             expected, repaired)
                                  : kqcmos::BayerConvert(BayerOutput::colorRgb, member, size, expected, repaired));
            EXPECT_EQ(picture, expected);
        }
    }
}

// In microscope mode each class clamps and filters its edge-repaired raw
// frame with the members of its own phase (the Bayer filter ending on the
// tone curve with HDR), then demosaics it as at flip 0; at an odd size.
TEST(ColourModels, EachClassRunsTheMicroscopeFiltersOfItsPhase) {
    using Clamp = void (*)(FrameSize, std::span<std::uint8_t>);
    using Filter = void (*)(FrameSize, std::span<std::uint8_t>, std::span<const std::uint32_t>);
    struct Case {
        const char* name;
        std::int32_t type;
        Clamp clamp;
        Filter filter;
    };
    const Case cases[] = {
        {"CKQAlvinoDevice", 10, kqcmos::MicroscopeChromaClamp2, kqcmos::MicroscopeBayerFilter2},
        {"CKQPelvarDevice", 6, kqcmos::MicroscopeChromaClamp4, kqcmos::MicroscopeBayerFilter4},
        {"CKQPelvarsmall", 22, kqcmos::MicroscopeChromaClamp4, kqcmos::MicroscopeBayerFilter4},
        {"CKQQuessa_Device", 8, kqcmos::MicroscopeChromaClamp3, kqcmos::MicroscopeBayerFilter3},
        {"CKQZundra_Device", 7, kqcmos::MicroscopeChromaClamp3, kqcmos::MicroscopeBayerFilter3},
        {"CKQNewChip", 9, kqcmos::MicroscopeChromaClamp3, kqcmos::MicroscopeBayerFilter3},
        {"CKQNavelo_FPGA", 11, kqcmos::MicroscopeChromaClamp4, kqcmos::MicroscopeBayerFilter4},
        {"generic", 3, kqcmos::MicroscopeChromaClamp3, kqcmos::MicroscopeBayerFilter3},
    };
    const FrameSize size{37, 23};
    const Bytes raw = Random(kqcmos::FrameBytes(size), 17);
    const kqcmos::ToneCurve curve = kqcmos::BuildDefaultToneCurve();
    for (const Case& c : cases) {
        const PixelModel model = ModelOf(c.type);
        // The 16-bit camera reads two bytes a sample; either byte is the sample.
        Bytes sent = raw;
        if (model.rawFormat == RawFormat::samples16) {
            sent.clear();
            for (const std::uint8_t v : raw) sent.insert(sent.end(), {v, v});
        }
        for (const bool hdr : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (hdr ? " with HDR" : ""));
            FramePipeline pipeline({64, 64}, false);
            PictureSettings settings;
            settings.model = model;
            settings.colorMode = 5;
            settings.microscopeMode = true;
            settings.hdr = hdr;
            const Bytes picture = Process(pipeline, settings, size, sent);
            Bytes filtered = MirroredEdges(raw, size, model.edgeRepair);
            c.clamp(size, filtered);
            c.filter(size, filtered, hdr ? std::span<const std::uint32_t>(curve) : std::span<const std::uint32_t>());
            ASSERT_NE(filtered, raw);
            Bytes expected(3 * raw.size());
            kqcmos::DemosaicWork work(size);
            ASSERT_TRUE(kqcmos::Demosaic(
                {5, model.kernelForFlip[0], settings.colorAdjust, false, model.colourCell, model.cellDemosaic}, size,
                expected, filtered, work));
            EXPECT_EQ(picture, expected);
        }
    }
}

// Frames with one value per cell site: in the middle of the picture the
// enhanced cell (red 200, greens 100, blue 50 gives 255, 120, 50) on each
// class's own sites; a grey frame stays grey.
TEST(ColourModels, BothCellsEnhanceTheirColoursOnPhaseUniformFrames) {
    struct Case {
        const char* name;
        std::int32_t type;
        std::array<std::uint8_t, 4> cell;  // top-left, top-right, bottom-left, bottom-right
    };
    const Case cases[] = {
        {"G R / B G", 6, {100, 200, 50, 100}},
        {"G B / R G", 10, {100, 50, 200, 100}},
        {"FPGA, turned by half", 11, {100, 200, 50, 100}},
        {"FPGA, upright", 16, {100, 200, 50, 100}},
    };
    const FrameSize size{21, 15};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FramePipeline pipeline({64, 64}, false);
        PictureSettings settings;
        settings.model = ModelOf(c.type);
        settings.colorAdjust = 2;
        const Bytes picture = Process(pipeline, settings, size, PhaseUniform(size, c.cell));
        ASSERT_EQ(picture.size(), 3 * kqcmos::FrameBytes(size));
        for (const int y : {5, 7, 8}) {
            for (const int x : {4, 9, 12}) {
                const std::size_t at = 3 * static_cast<std::size_t>(y * size.width + x);
                EXPECT_EQ((Bytes{picture[at], picture[at + 1], picture[at + 2]}), (Bytes{50, 120, 255}))
                    << y << "," << x;
            }
        }
        const Bytes grey = Process(pipeline, settings, size, Bytes(kqcmos::FrameBytes(size), 90));
        EXPECT_EQ(grey, Bytes(grey.size(), 90));
    }
}

// The one-shot white balance counts red, green and blue on the class's
// own sites: j x M / mean, limited below 255. A colour without any sample
// keeps the tables; a colour whose mean is 0 counts as 1.
TEST(ColourModels, WhiteBalanceReadsEachClasssCell) {
    auto table = [](int mean, int top) {
        kqcmos::ByteTable t{};
        for (int j = 0; j < 256; ++j) {
            const double v = std::min(254.9, static_cast<double>(j) * top / std::max(mean, 1));
            t[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(v + 0.5);
        }
        return t;
    };
    struct Case {
        const char* name;
        std::int32_t type;
        std::array<std::uint8_t, 4> cell;
        int red, green, blue;
    };
    const Case cases[] = {
        {"G R / B G", 6, {100, 200, 50, 100}, 200, 100, 50},
        {"G B / R G", 10, {100, 50, 200, 100}, 200, 100, 50},
        {"G B / R G, no red light", 10, {100, 50, 0, 100}, 0, 100, 50},
    };
    const FrameSize size{16, 12};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FramePipeline pipeline({64, 64}, false);
        PictureSettings settings;
        settings.model = ModelOf(c.type);
        pipeline.RequestWhiteBalance(true);
        FrameEvents events;
        (void)Process(pipeline, settings, size, PhaseUniform(size, c.cell), &events);
        ASSERT_TRUE(events.whiteBalance.has_value());
        const int top = std::max({c.red, c.green, c.blue});
        EXPECT_EQ(events.whiteBalance->red, table(c.red, top));
        EXPECT_EQ(events.whiteBalance->green, table(c.green, top));
        EXPECT_EQ(events.whiteBalance->blue, table(c.blue, top));
    }
    // One column has no red or blue site: the tables stay as they were.
    FramePipeline pipeline({64, 64}, false);
    PictureSettings settings;
    settings.model = ModelOf(10);
    const auto before = pipeline.Gains();
    pipeline.RequestWhiteBalance(true);
    FrameEvents events;
    (void)Process(pipeline, settings, {1, 12}, Bytes(12, 80), &events);
    EXPECT_EQ(pipeline.Gains().red, before.red);
    EXPECT_EQ(pipeline.Gains().blue, before.blue);
    EXPECT_FALSE(pipeline.WhiteBalanceRequested());
}

// Flip 4 turns a 640 x 480 frame into a 480 x 640 picture: member 0 over the
// frame turned clockwise, whose last row repeats the one two above it.
TEST(ColourModels, FlipFourTurns640x480To480x640) {
    const FrameSize size{640, 480};
    const Bytes sent = Random(kqcmos::FrameBytes(size), 9);
    // Type 6 repairs its last two columns before the turn, type 10 its last.
    for (const auto& [type, rightEdge] : {std::pair{6, 2}, std::pair{10, 1}}) {
        SCOPED_TRACE(type);
        const Bytes raw = MirroredEdges(sent, size, {.right = rightEdge});
        Bytes turned(raw.size());
        for (int j = 0; j < 640; ++j) {
            for (int i = 0; i < 480; ++i) {
                turned[static_cast<std::size_t>(j) * 480 + i] = raw[static_cast<std::size_t>(479 - i) * 640 + j];
            }
        }
        std::copy_n(turned.begin() + 637 * 480, 480, turned.begin() + 639 * 480);
        const PixelModel model = ModelOf(type);
        FramePipeline pipeline(size, false);
        PictureSettings settings;
        settings.model = model;
        settings.flipMode = 4;
        FrameSize delivered;
        const Bytes picture = Process(pipeline, settings, size, sent, nullptr, &delivered);
        EXPECT_EQ(delivered, (FrameSize{480, 640}));
        Bytes expected(3 * raw.size());
        ASSERT_TRUE(kqcmos::CellBayerConvert(BayerOutput::colorRgb, 0, model.colourCell, {480, 640}, expected, turned));
        EXPECT_EQ(picture, expected);
    }
}

// ---- Streamed by the capture thread over the simulated bus ----

class ColourCameras : public LibraryTest {
protected:
    using Frame = StreamedFrame;
    // Streams one frame; the grab while streaming hands out that frame's raw
    // bytes and picture.
    Frame StreamOne(std::uint32_t handle, int camera) {
        return StreamOneFrame(bus, camera, [&](const std::function<int(BaseDevice&)>& op) {
            return library.WithDevice(handle, op);
        });
    }
};

// The colour cameras of types 10 and 6, each on its own cell.
TEST_F(ColourCameras, StreamedFramesRunTheClasssKernelForEachFlip) {
    for (const std::u16string_view pattern : {u"VID_F5A1&PID_0A01", u"VID_F5A1&PID_0601"}) {
        bus.AddCamera(InstanceId(pattern));
        const int camera = static_cast<int>(bus.ListInterfaces()->size()) - 1;
        const std::uint32_t handle = Open(camera + 1);
        PixelModel model;
        library.WithDevice(handle, [&](BaseDevice& d) {
            model = d.Pixels();
            return 0;
        });
        for (const std::int32_t flip : {0, 3}) {
            SCOPED_TRACE(testing::Message() << "camera " << camera << " flip " << flip);
            ASSERT_EQ(library.WithDevice(handle, [&](BaseDevice& d) { return d.SetParamFlip(flip); }),
                      status::kSuccess);
            const Frame f = StreamOne(handle, camera);
            ASSERT_EQ(f.size, (FrameSize{640, 480}));
            Bytes expected(3 * f.raw.size());
            // The grab hands out the frame as sent; the picture is of its repaired edges.
            ASSERT_TRUE(kqcmos::CellBayerConvert(BayerOutput::colorRgb, flip, model.colourCell, f.size, expected,
                                                 MirroredEdges(f.raw, f.size, model.edgeRepair)));
            EXPECT_EQ(f.picture, expected);
        }
        library.Uninitialize(handle);
    }
}

// Every FPGA camera streams its G R / B G frames through the cell's own
// colour kernels: member 3 - f for flip f where the sensor reads out turned
// by half (member 3 after a quarter turn), member f where it reads out
// upright (member 0 after a quarter turn); the quarter turns mend their
// last column (flip 4) or last row (flip 5). The two orders run every flip;
// the other types, whose order the pipeline cases check, one upright and
// one turned flip each.
TEST_F(ColourCameras, FpgaCamerasStreamTheirCellsKernelsForEveryFlip) {
    struct Case {
        std::u16string_view pattern;
        std::array<int, 6> members;
        std::vector<int> flips;
    };
    const Case cases[] = {
        {u"VID_F5A1&PID_0B01", {3, 2, 1, 0, 3, 3}, {0, 1, 2, 3, 4, 5}},  // type 11
        {u"VID_F5A1&PID_1001", {0, 1, 2, 3, 0, 0}, {0, 1, 2, 3, 4, 5}},  // type 16
        {u"VID_F5A1&PID_0C01", {3, 2, 1, 0, 3, 3}, {1, 4}},              // type 12
        {u"VID_F5A2&PID_1801", {3, 2, 1, 0, 3, 3}, {2, 5}},              // type 24
        {u"VID_F5A1&PID_1301", {0, 1, 2, 3, 0, 0}, {3, 4}},              // type 19
        {u"VID_F5A2&PID_1501", {0, 1, 2, 3, 0, 0}, {1, 5}},              // type 21
    };
    library.SetSleeper([](std::chrono::milliseconds) {});  // the sensors' settling pauses
    for (const Case& c : cases) {
        bus.AddCamera(InstanceId(c.pattern));
        const int camera = static_cast<int>(bus.ListInterfaces()->size()) - 1;
        const std::uint32_t handle = Open(camera + 1);
        for (const int flip : c.flips) {
            SCOPED_TRACE(testing::Message() << "camera " << camera << " flip " << flip);
            ASSERT_EQ(library.WithDevice(handle, [&](BaseDevice& d) { return d.SetParamFlip(flip); }),
                      status::kSuccess);
            const Frame f = StreamOne(handle, camera);
            FrameSize size{640, 480};
            ASSERT_EQ(f.raw.size(), kqcmos::FrameBytes(size));
            // Every FPGA camera mirrors one column at the left and two at the right first.
            const Bytes repaired = MirroredEdges(f.raw, size, {.left = 1, .right = 2});
            const Bytes source = flip < 4 ? repaired : FpgaQuarterTurn(flip, size, repaired);
            EXPECT_EQ(f.size, size);
            EXPECT_EQ(f.picture, GreenDiagonalPicture(c.members[static_cast<std::size_t>(flip)], size, source));
        }
        library.Uninitialize(handle);
    }
}

}  // namespace
}  // namespace kq::test
