// Edge repair of the raw frame (each model's columns and rows mirrored from
// inside before any step reads them) and the borders the kernels fill after
// the demosaic: the rule on small frames, each model's counts through its
// capture thread over the simulated bus, and whole pictures of the classes
// whose kernels mend their borders, pixel for pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <string_view>
#include <vector>

#include "bayer_kernels.h"
#include "cell_kernels.h"
#include "core/frame_pipeline.h"
#include "edge_repair.h"
#include "frame_count.h"
#include "green_diagonal_formulas.h"
#include "mirrored_edges.h"
#include "models/device_factory.h"
#include "sim_fixture.h"
#include "streamed_frame.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using kqcmos::BayerOutput;
using kqcmos::EdgeRepair;
using kqcmos::FrameSize;

Bytes Random(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    return b;
}

// Pixel (y, x) holds 10 y + x.
Bytes Numbered(FrameSize size) {
    Bytes b(kqcmos::FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) b[static_cast<std::size_t>(y * size.width + x)] = static_cast<std::uint8_t>(10 * y + x);
    }
    return b;
}

// ---- The rule ----

TEST(EdgeRepair, EachEdgeTakesTheMirrorImageOfItsInnerNeighbours) {
    const FrameSize size{7, 5};
    struct Case {
        const char* name;
        EdgeRepair counts;
        std::vector<int> rows;  // the expected frame, row by row
    };
    const Case cases[] = {
        // Left 1: column 0 takes column 2. Right 2: column 5 takes 3,
        // column 6 takes 2. Top 1: row 0 takes row 2; bottom 1: row 4 takes
        // row 2 (the rows as repaired in their columns).
        {"all four",
         {1, 2, 1, 1},
         {22, 21, 22, 23, 24, 23, 22, 12, 11, 12, 13, 14, 13, 12, 22, 21, 22, 23, 24, 23, 22,
          32, 31, 32, 33, 34, 33, 32, 22, 21, 22, 23, 24, 23, 22}},
        // Left 3 needs seven columns: column 0 takes 6, 1 takes 5, 2 takes 4.
        // Bottom 2 needs five rows: row 3 takes 1, row 4 takes 0.
        {"as wide as fits",
         {3, 0, 2, 0},
         {6, 5, 4, 3, 4, 5, 6, 16, 15, 14, 13, 14, 15, 16, 26, 25, 24, 23, 24, 25, 26,
          16, 15, 14, 13, 14, 15, 16, 6, 5, 4, 3, 4, 5, 6}},
        // Edges whose mirror would reach past the frame, and counts below 1,
        // leave the frame as it is.
        {"too wide or not positive",
         {4, -1, 3, 0},
         {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 20, 21, 22, 23, 24, 25, 26,
          30, 31, 32, 33, 34, 35, 36, 40, 41, 42, 43, 44, 45, 46}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes frame = Numbered(size);
        kqcmos::RepairEdges(c.counts, size, frame);
        EXPECT_EQ(frame, Bytes(c.rows.begin(), c.rows.end()));
    }
}

TEST(EdgeRepair, PicturesMoveWholePixelsAndShortBuffersStayUntouched) {
    // Three bytes a pixel: the last column of a 3 x 3 picture takes the first.
    const FrameSize size{3, 3};
    Bytes picture(27);
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint8_t>(i);
    Bytes expected = picture;
    for (std::size_t y = 0; y < 3; ++y) std::copy_n(picture.begin() + 9 * y, 3, expected.begin() + 9 * y + 6);
    kqcmos::RepairEdges({.right = 1}, size, picture, 3);
    EXPECT_EQ(picture, expected);

    Bytes shortFrame = Numbered({7, 5});
    shortFrame.pop_back();
    const Bytes before = shortFrame;
    kqcmos::RepairEdges({1, 2, 1, 1}, {7, 5}, shortFrame);
    EXPECT_EQ(shortFrame, before);
}

// ---- The kernels' borders ----

// A base-phase frame's picture as the kernels define it: output pixel
// (y, x) from the 2 x 2 window whose top-left sample is raw (y, x) (red at
// even row and column, blue at odd ones, two greens); row pairs up to
// height / 2 - 2 and all columns but the last are computed, the rows below
// repeat the last computed row and the last column its left neighbour.
// Members 0 and 1 go bottom-up, 2 and 3 top-down; 1 and 3 mirror each row.
Bytes KernelPicture(BayerOutput kind, int member, FrameSize size, const Bytes& raw) {
    const int w = size.width, h = size.height;
    const int bpp = kind == BayerOutput::gray8 ? 1 : 3;
    const int lastRow = 2 * (h / 2) - 3;
    Bytes out(kqcmos::FrameBytes(size, bpp));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int sy = std::min(y, lastRow), sx = std::min(x, w - 2);
            int red = 0, green = 0, blue = 0;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const int v = raw[static_cast<std::size_t>((sy + dy) * w + sx + dx)];
                    const bool evenRow = (sy + dy) % 2 == 0, evenColumn = (sx + dx) % 2 == 0;
                    if (evenRow && evenColumn) {
                        red = v;
                    } else if (!evenRow && !evenColumn) {
                        blue = v;
                    } else {
                        green += v;
                    }
                }
            }
            const int oy = member < 2 ? h - 1 - y : y;
            const int ox = member % 2 == 1 ? w - 1 - x : x;
            std::uint8_t* p = out.data() + static_cast<std::size_t>(oy * w + ox) * bpp;
            if (kind == BayerOutput::colorRgb) {
                p[0] = static_cast<std::uint8_t>(blue);
                p[1] = static_cast<std::uint8_t>(green / 2);
                p[2] = static_cast<std::uint8_t>(red);
            } else {
                std::fill_n(p, bpp, static_cast<std::uint8_t>((3 * (red + green) + blue) / 10));
            }
        }
    }
    return out;
}

// Every byte of every member's output is written, whatever the buffer held.
TEST(KernelBorders, EveryMemberFillsItsBordersFromTheNearestComputedPixels) {
    for (const FrameSize size : {FrameSize{37, 23}, FrameSize{36, 22}, FrameSize{5, 5}, FrameSize{2, 4}}) {
        const Bytes raw = Random(kqcmos::FrameBytes(size), 11);
        for (const BayerOutput kind : {BayerOutput::gray8, BayerOutput::grayRgb, BayerOutput::colorRgb}) {
            for (int member = 0; member < 4; ++member) {
                SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " kind "
                                                << static_cast<int>(kind) << " member " << member);
                const Bytes expected = KernelPicture(kind, member, size, raw);
                for (const std::uint8_t stale : {0x00, 0xA5}) {
                    Bytes out(expected.size(), stale);
                    ASSERT_TRUE(kqcmos::BayerConvert(kind, member, size, out, raw));
                    EXPECT_EQ(out, expected);
                }
            }
        }
    }
}

// The picture of `member` for a model: the G R / B G cell's own kernels
// where the model demosaics with them (colour from the per-pixel formulas,
// grey from the plain cell kernel), else the base's.
Bytes ModelPicture(const PixelModel& model, BayerOutput kind, int member, FrameSize size, const Bytes& raw) {
    if (kind == BayerOutput::colorRgb && model.cellDemosaic.colour) return GreenDiagonalPicture(member, size, raw);
    if (kind != BayerOutput::colorRgb && model.cellDemosaic.grey) {
        Bytes out(kqcmos::FrameBytes(size, kind == BayerOutput::gray8 ? 1 : 3));
        EXPECT_TRUE(kqcmos::CellBayerConvertReference(kind, member, model.colourCell, size, out, raw));
        return out;
    }
    return KernelPicture(kind, member, size, raw);
}

// The classes that mend the kernel's borders, through the shared pipeline:
// the member of each flip (type 8 reverses them) on the edge-repaired frame,
// in the colour and both grey modes. A larger bright frame goes first, so a
// pixel left from it would show.
TEST(KernelBorders, TheMendingClassesDeliverWholePicturesForEveryFlip) {
    struct Case {
        const char* name;
        std::int32_t type;
        std::array<int, 4> members;
        EdgeRepair edges;
    };
    const Case cases[] = {
        {"CKQQuessa_Device", 8, {3, 2, 1, 0}, {1, 1, 0, 0}},
        {"CKQZundra_Device", 7, {0, 1, 2, 3}, {0, 0, 0, 0}},
        {"CKQKelmar_New", 21, {0, 1, 2, 3}, {1, 2, 0, 0}},
        {"CKQWimbro_New", 19, {0, 1, 2, 3}, {1, 2, 0, 0}},
    };
    const FrameSize size{37, 23};
    const Bytes sent = Random(kqcmos::FrameBytes(size), 13);
    const FrameSize earlier{48, 40};
    const Bytes bright(kqcmos::FrameBytes(earlier), 250);
    for (const Case& c : cases) {
        const PixelModel model = MakeDevice(DeviceIdentity{c.type, 0, 0})->Pixels();
        EXPECT_EQ(model.edgeRepair, c.edges) << c.name;
        const Bytes repaired = MirroredEdges(sent, size, c.edges);
        for (const auto& [mode, kind] : {std::pair{0, BayerOutput::colorRgb}, std::pair{2, BayerOutput::grayRgb},
                                         std::pair{3, BayerOutput::gray8}}) {
            for (int flip = 0; flip < 4; ++flip) {
                SCOPED_TRACE(testing::Message() << c.name << " mode " << mode << " flip " << flip);
                FramePipeline pipeline({64, 64}, false);
                PictureSettings settings;
                settings.model = model;
                settings.colorMode = mode;
                settings.flipMode = flip;
                FrameEvents events;
                for (const auto& [frameSize, frame] : {std::pair{earlier, &bright}, std::pair{size, &sent}}) {
                    std::copy(frame->begin(), frame->end(), pipeline.CaptureBuffer().begin());
                    FrameSource source;
                    source.window.size = frameSize;
                    ASSERT_TRUE(pipeline.Process(settings, source, events).has_value());
                }
                const auto last = pipeline.LastDelivered();
                ASSERT_TRUE(last.has_value());
                EXPECT_EQ(Bytes(last->pixels.begin(), last->pixels.end()),
                          ModelPicture(model, kind, c.members[static_cast<std::size_t>(flip)], size, repaired));
            }
        }
    }
}

// A single grab of an FPGA camera repairs the frame it read, in the
// caller's buffer, before its corrections; the other models' grabs and the
// test camera's start from the frame as read.
TEST(EdgeRepair, OnlyTheFpgaCamerasGrabsRepairTheFrameTheyRead) {
    struct Case {
        const char* name;
        std::int32_t type;
        EdgeRepair grabbed;
    };
    const Case cases[] = {
        {"CKQNavelo_FPGA", 11, {1, 2, 0, 0}},  {"CKQYastro_New", 20, {1, 3, 1, 1}},
        {"CKQQuessa_FPGA", 25, {1, 2, 0, 0}},  {"CKQPelvarDevice", 6, {0, 0, 0, 0}},
        {"CKQQuessa_Device", 8, {0, 0, 0, 0}}, {"CKQTEST", 18, {0, 0, 0, 0}},
    };
    const FrameSize size{36, 22};
    const Bytes sent = Random(kqcmos::FrameBytes(size), 17);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FramePipeline pipeline({64, 64}, false);
        PictureSettings settings;
        settings.model = MakeDevice(DeviceIdentity{c.type, 0, 0})->Pixels();
        settings.colorMode = 4;
        FrameSource source;
        source.window.size = size;
        Bytes raw = sent;
        ASSERT_TRUE(pipeline.ProcessGrab(settings, source, raw, false).has_value());
        EXPECT_EQ(raw, MirroredEdges(sent, size, c.grabbed));
    }
}

// ---- Each model's counts through its capture thread ----

class EdgeRepairCameras : public LibraryTest {
protected:
    // The sensors' settling pauses are not waited for.
    EdgeRepairCameras() { library.SetSleeper([](std::chrono::milliseconds) {}); }

    using Frame = StreamedFrame;
    // Streams one frame in colour mode 4 (the corrected raw frame as it is
    // handed to the demosaic); the grab while streaming hands out the frame
    // as the driver sent it.
    Frame StreamOne(std::uint32_t handle, int camera) {
        const DeviceCall with = [&](const std::function<int(BaseDevice&)>& op) { return library.WithDevice(handle, op); };
        EXPECT_EQ(with([](BaseDevice& d) { return d.SetParamColor(4); }), status::kSuccess);
        return StreamOneFrame(bus, camera, with);
    }
};

TEST_F(EdgeRepairCameras, EachModelMirrorsItsOwnColumnsAndRows) {
    struct Case {
        std::u16string_view pattern;
        const char* name;
        EdgeRepair edges;  // left, right, bottom, top
    };
    const Case cases[] = {
        {u"VID_F5A1&PID_0301", "generic device (type 3)", {0, 2, 0, 0}},
        {u"VID_F5A1&PID_0101", "CFormerDevice", {0, 2, 0, 0}},
        {u"VID_F5A1&PID_1101", "CKQBelun_LED", {0, 2, 0, 0}},
        {u"VID_F5A1&PID_0401", "CKQOrsikDevice", {0, 0, 0, 0}},
        {u"VID_F5A1&PID_0A01", "CKQAlvinoDevice", {0, 1, 0, 0}},
        {u"VID_F5A1&PID_0601", "CKQPelvarDevice", {0, 2, 0, 0}},
        {u"VID_F5A1&PID_1601", "CKQPelvarsmall", {0, 2, 0, 0}},
        {u"VID_F5A1&PID_0801", "CKQQuessa_Device", {1, 1, 0, 0}},
        {u"VID_F5A1&PID_0701", "CKQZundra_Device", {0, 0, 0, 0}},
        {u"VID_F5A1&PID_0B01", "CKQNavelo_FPGA", {1, 2, 0, 0}},
        {u"VID_F5A1&PID_1001", "CKQNaprel_FPGA", {1, 2, 0, 0}},
        {u"VID_F5A1&PID_0C01", "CKQBrisel_FPGA", {1, 2, 0, 0}},
        {u"VID_F5A1&PID_0D01", "CKQJorvel_FPGA", {1, 2, 0, 0}},
        {u"VID_F5A1&PID_1401", "CKQYastro_New", {1, 3, 1, 1}},
        {u"VID_F5A1&PID_1301", "CKQWimbro_New", {1, 2, 0, 0}},
        {u"VID_F5A2&PID_1501", "CKQKelmar_New", {1, 2, 0, 0}},
        {u"VID_F5A2&PID_1801", "CKQEbrant_FPGA", {1, 2, 0, 0}},
        {u"VID_F5A2&PID_1901", "CKQQuessa_FPGA", {1, 2, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus.AddCamera(InstanceId(c.pattern));
        const int camera = static_cast<int>(bus.ListInterfaces()->size()) - 1;
        const std::uint32_t handle = Open(camera + 1);
        const Frame f = StreamOne(handle, camera);
        ASSERT_EQ(f.raw.size(), kqcmos::FrameBytes(f.size));
        const Bytes expected = MirroredEdges(f.raw, f.size, c.edges);
        EXPECT_EQ(f.picture, expected);
        library.Uninitialize(handle);
    }
}

}  // namespace
}  // namespace kq::test
