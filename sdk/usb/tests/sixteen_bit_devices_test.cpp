// The cameras of 16-bit raw frames: the sample camera of type 9 and the
// RGB 5-6-5 cameras of types 14 and 23. Their capture records with the
// width in bytes, and their frames through the pipeline and the capture
// thread, checked against the formats' own arithmetic.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include <chrono>
#include <functional>
#include <mutex>
#include <memory>
#include <vector>

#include "core/frame_pipeline.h"
#include "erasure.h"
#include "point_filters.h"
#include "frame_count.h"
#include "kqff_protocol.h"
#include "models/device_factory.h"
#include "models/new_chip.h"
#include "models/rgb565_devices.h"
#include "sim_fixture.h"
#include "streamed_frame.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t LE32(const Bytes& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}
std::uint32_t LE16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }

// The picture a 5-6-5 frame gives, written out pixel by pixel: bottom-up
// BGR rows with blue = byte 0 x 8, green = (value >> 3) & 0xFC, red =
// byte 1 & 0xF8.
Bytes Rgb565Reference(const Bytes& raw, int width, int height) {
    Bytes out(3 * static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t in = 2 * (static_cast<std::size_t>(y) * width + x);
            const std::size_t at = 3 * (static_cast<std::size_t>(height - 1 - y) * width + x);
            const unsigned value = raw[in] | (raw[in + 1] << 8);
            out[at] = static_cast<std::uint8_t>(raw[in] * 8);
            out[at + 1] = static_cast<std::uint8_t>((value >> 3) & 0xFC);
            out[at + 2] = static_cast<std::uint8_t>(raw[in + 1] & 0xF8);
        }
    }
    return out;
}

// Every sample's high (or low) byte.
Bytes SampleBytes(const Bytes& raw, bool low) {
    Bytes out(raw.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = raw[2 * i + (low ? 0 : 1)];
    return out;
}

// ---- The pipeline's 16-bit formats ----

constexpr kqcmos::FrameSize kOdd{38, 14};  // a row of 38 leaves a tail after whole blocks of 32

Bytes Ramp(std::size_t bytes, unsigned step) {
    Bytes raw(bytes);
    for (std::size_t i = 0; i < bytes; ++i) raw[i] = static_cast<std::uint8_t>(i * step + i / 7);
    return raw;
}

Bytes Stream(FramePipeline& pipeline, const PictureSettings& settings, const Bytes& raw) {
    std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
    FrameEvents events;
    FrameSource source;
    source.window.size = kOdd;
    const auto out = pipeline.Process(settings, source, events);
    return out ? Bytes(out->pixels.begin(), out->pixels.end()) : Bytes{};
}

TEST(SixteenBitPipeline, FivesSixFivePixelsBecomeTheirBgrPictureStreamedAndGrabbed) {
    PictureSettings settings;
    settings.model.rawFormat = RawFormat::rgb565;
    FramePipeline pipeline{{64, 32}, false, 2};
    Bytes raw = Ramp(kqcmos::FrameBytes(kOdd, 2), 37);
    raw[0] = raw[1] = 0xFF;  // the brightest pixel: blue 248, green 252, red 248
    const Bytes expected = Rgb565Reference(raw, kOdd.width, kOdd.height);
    const std::size_t lastRow = 3 * static_cast<std::size_t>(kOdd.width) * (kOdd.height - 1);
    ASSERT_EQ((Bytes{expected[lastRow], expected[lastRow + 1], expected[lastRow + 2]}), (Bytes{248, 252, 248}));

    EXPECT_EQ(Stream(pipeline, settings, raw), expected);
    EXPECT_EQ(Bytes(pipeline.LastRaw().begin(), pipeline.LastRaw().end()), raw) << "kept as the driver sent it";
    FrameSource source;
    source.window.size = kOdd;
    Bytes grabbed = raw;
    const auto picture = pipeline.ProcessGrab(settings, source, grabbed, true);
    ASSERT_TRUE(picture);
    EXPECT_EQ(Bytes(picture->pixels.begin(), picture->pixels.end()), expected);
    Bytes shortFrame(raw.size() - 2);
    EXPECT_FALSE(pipeline.ProcessGrab(settings, source, shortFrame, true)) << "a frame short of its size";
}

// Type 23 balances its 5-6-5 picture: a requested white balance makes a
// uniform cast grey at its brightest colour and stays for later frames; its
// automatic exposure raises a dark picture. Type 14 delivers its picture as
// it is, a pending request and all.
TEST(SixteenBitPipeline, TheBalancedPictureTakesTheWhiteBalanceAndTheExposureStep) {
    Bytes raw(kqcmos::FrameBytes(kOdd, 2));
    for (std::size_t i = 0; i < raw.size(); i += 2) {
        raw[i] = 0x0A;      // blue 80, green's low bits 0
        raw[i + 1] = 0xF2;  // red 240, green 64
    }
    const auto uniform = [](const Bytes& picture, std::array<std::uint8_t, 3> bgr) {
        for (std::size_t i = 0; i < picture.size(); ++i) {
            if (picture[i] != bgr[i % 3]) return false;
        }
        return !picture.empty();
    };
    for (const bool balanced : {false, true}) {
        SCOPED_TRACE(balanced);
        PictureSettings settings;
        settings.model.rawFormat = RawFormat::rgb565;
        settings.model.balancedPicture = balanced;
        FramePipeline pipeline{{64, 32}, false, 2};
        pipeline.RequestWhiteBalance(true);
        std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
        FrameEvents events;
        FrameSource source;
        source.window.size = kOdd;
        source.exposure = 100;
        auto out = pipeline.Process(settings, source, events);
        ASSERT_TRUE(out);
        const Bytes first(out->pixels.begin(), out->pixels.end());
        EXPECT_TRUE(uniform(first, balanced ? std::array<std::uint8_t, 3>{240, 240, 240}
                                            : std::array<std::uint8_t, 3>{80, 64, 240}));
        EXPECT_EQ(events.whiteBalance.has_value(), balanced);
        EXPECT_EQ(pipeline.WhiteBalanceRequested(), !balanced);
        if (!balanced) continue;

        // Later frames keep the gains; a dark one asks for more exposure.
        std::fill(raw.begin(), raw.end(), 0x00);
        for (std::size_t i = 0; i < raw.size(); i += 2) raw[i] = 0x01;  // blue 8
        pipeline.AutoExposure().Enable(true);
        std::optional<std::int32_t> sent;
        for (int frame = 0; frame < 8 && !sent; ++frame) {
            std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
            FrameEvents later;
            out = pipeline.Process(settings, source, later);
            ASSERT_TRUE(out);
            EXPECT_TRUE(uniform(Bytes(out->pixels.begin(), out->pixels.end()), {24, 0, 0})) << "blue 8 x 240 / 80";
            sent = later.sendExposure;
        }
        ASSERT_TRUE(sent);
        EXPECT_GT(*sent, 100);
    }
}

// The 5-6-5 picture in each colour mode's form: an 8-bit mode delivers one
// grey byte a pixel (a caller sizes its copy by the mode), streamed and
// grabbed alike.
TEST(SixteenBitPipeline, FiveSixFivePicturesTakeTheColourModesForm) {
    Bytes raw(kqcmos::FrameBytes(kOdd, 2));
    for (std::size_t i = 0; i < raw.size(); i += 2) {
        raw[i] = 0x0A;      // blue 80
        raw[i + 1] = 0xF2;  // red 240, green 64: grey (384 >> 6) + (384 >> 4) + (384 >> 2) = 126
    }
    struct Case {
        int mode;
        std::size_t bytesPerPixel;
        std::array<std::uint8_t, 3> pixel;
    };
    for (const Case c : {Case{0, 3, {80, 64, 240}}, Case{2, 3, {126, 126, 126}}, Case{3, 1, {126, 126, 126}},
                         Case{4, 1, {126, 126, 126}}}) {
        SCOPED_TRACE(c.mode);
        PictureSettings settings;
        settings.model.rawFormat = RawFormat::rgb565;
        settings.colorMode = c.mode;
        FramePipeline pipeline{{64, 32}, false, 2};
        FrameSource source;
        source.window.size = kOdd;
        Bytes grabbed = raw;
        const Bytes streamed = Stream(pipeline, settings, raw);
        const auto picture = pipeline.ProcessGrab(settings, source, grabbed, true);
        ASSERT_TRUE(picture);
        for (const Bytes& out : {streamed, Bytes(picture->pixels.begin(), picture->pixels.end())}) {
            ASSERT_EQ(out.size(), kqcmos::FrameBytes(kOdd) * c.bytesPerPixel);
            for (std::size_t i = 0; i < out.size(); ++i) {
                ASSERT_EQ(out[i], c.pixel[i % c.bytesPerPixel]) << i;
            }
        }
        EXPECT_EQ(picture->bitsPerPixel, static_cast<int>(8 * c.bytesPerPixel));
    }
}

TEST(SixteenBitPipeline, SamplesKeepTheChosenByteAndThenRunTheBayerSteps) {
    const Bytes raw = Ramp(kqcmos::FrameBytes(kOdd, 2), 53);
    for (const bool low : {false, true}) {
        SCOPED_TRACE(low);
        for (const int mode : {0, 3}) {
            PictureSettings settings;
            settings.colorMode = mode;
            FramePipeline bayer{{64, 32}, false};
            const Bytes expected = Stream(bayer, settings, SampleBytes(raw, low));
            ASSERT_FALSE(expected.empty());

            settings.model.rawFormat = RawFormat::samples16;
            settings.model.lowSampleByte = low;
            FramePipeline samples{{64, 32}, false, 2};
            EXPECT_EQ(Stream(samples, settings, raw), expected);
            EXPECT_EQ(Bytes(samples.LastRaw().begin(), samples.LastRaw().end()), raw);
            FrameSource source;
            source.window.size = kOdd;
            Bytes grabbed = raw;
            const auto picture = samples.ProcessGrab(settings, source, grabbed, true);
            ASSERT_TRUE(picture);
            EXPECT_EQ(Bytes(picture->pixels.begin(), picture->pixels.end()), expected);
        }
    }
    // One sample 0x1234: 0x12, or 0x34 with the low byte.
    EXPECT_EQ(SampleBytes({0x34, 0x12}, false), Bytes{0x12});
}

// ---- The cameras over the simulated bus ----

CapInfo Window(std::uint32_t width, std::uint32_t height) {
    CapInfo r = SmallWindow();
    r.width = width;
    r.height = height;
    return r;
}

class SixteenBitCameras : public LibraryTest {
protected:
    Bytes LastFormat() const {
        const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
        return sent.empty() ? Bytes{} : sent.back().input;
    }
    using Frame = StreamedFrame;
    using With = DeviceCall;
    Frame StreamOne(const With& with) { return StreamOneFrame(bus, 0, with); }
    With Library(std::uint32_t handle) {
        return [this, handle](const std::function<int(BaseDevice&)>& op) { return library.WithDevice(handle, op); };
    }
    static With Direct(BaseDevice& device) {
        return [&device](const std::function<int(BaseDevice&)>& op) {
            std::lock_guard lock(device.CallLock());
            return op(device);
        };
    }
};

TEST_F(SixteenBitCameras, EachSendsItsRecordWithTheWidthInBytes) {
    struct Case {
        std::u16string_view pattern;
        DeviceClass expected;
        std::uint8_t gain;
        std::size_t blockBytes;
        std::uint32_t sentGain;  // the gain bytes (and code at 29 for the 52-byte block)
    };
    for (const Case c : {Case{u"VID_F5A1&PID_0901", DeviceClass::CKQNewChip, 32, 36, 50},
                         Case{u"VID_F5A1&PID_0E01", DeviceClass::CKQLismar, 70, 36, 63}}) {
        SCOPED_TRACE(static_cast<int>(c.expected));
        bus.ClearLog();
        bus.AddCamera(InstanceId(c.pattern));
        CapInfo r = Window(96, 40);
        r.gain = {c.gain, 1, 2};
        const std::uint32_t handle = Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), r);
        EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return static_cast<int>(d.Class()); }),
                  static_cast<int>(c.expected));
        const Bytes block = LastFormat();
        ASSERT_EQ(block.size(), c.blockBytes);
        EXPECT_EQ(LE32(block, 4), 40u);
        EXPECT_EQ(LE32(block, 8), 192u);
        EXPECT_EQ((Bytes{block[24], block[25], block[26]}), (Bytes(3, static_cast<std::uint8_t>(c.sentGain))));
        EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return static_cast<int>(d.FrameBytes()); }),
                  2 * 96 * 40);
        library.Uninitialize(handle);
    }
}

TEST_F(SixteenBitCameras, WindowsStayOnTheSensorAndARefusedSendKeepsTheOldOne) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0901"));
    const std::uint32_t handle = Open(1, Window(64, 32));
    struct Case {
        std::uint32_t width, height, column, row;
        std::uint8_t control;
        std::uint32_t sentWidth, sentColumn, sentRow;
    };
    // Binning (control bit 0) covers twice the window: starts stop at
    // 1280 - 2 x 600 and 1024 - 2 x 500; a window beyond the sensor is cut.
    for (const Case c : {Case{600, 500, 900, 900, 0x01, 1200, 80, 24}, Case{5000, 5000, 7, 7, 0, 2560, 0, 0},
                         Case{100, 100, 1250, 1000, 0, 200, 1180, 924}}) {
        SCOPED_TRACE(c.width);
        CapInfo r = Window(c.width, c.height);
        r.columnStart = c.column;
        r.rowStart = c.row;
        r.control = c.control;
        ASSERT_EQ(library.WithDevice(handle, [&](BaseDevice& d) { return d.ApplyCapInfo(r); }), status::kSuccess);
        const Bytes block = LastFormat();
        EXPECT_EQ(LE32(block, 8), c.sentWidth);
        EXPECT_EQ(LE32(block, 12), c.sentColumn);
        EXPECT_EQ(LE32(block, 16), c.sentRow);
    }
    EXPECT_EQ(library.WithDevice(handle, [&](BaseDevice& d) { return d.ApplyCapInfo(Window(0, 10)); }),
              status::kNotSupported);
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(library.WithDevice(handle, [&](BaseDevice& d) { return d.ApplyCapInfo(Window(64, 64)); }),
              status::kNotSupported);
    EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return static_cast<int>(d.StoredCapInfo().width); }),
              100);
}

TEST_F(SixteenBitCameras, TheSampleCameraStreamsTheByteItWasToldToKeep) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0901"));
    const std::uint32_t handle = Open(1, Window(64, 32));
    ASSERT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return d.SetParamColor(4); }), status::kSuccess);
    for (const std::int32_t format : {0, 1}) {
        SCOPED_TRACE(format);
        ASSERT_EQ(library.WithDevice(handle, [&](BaseDevice& d) { return d.SetSourceFormat(format); }),
                  status::kSuccess);
        const Frame f = StreamOne(Library(handle));
        ASSERT_EQ(f.raw.size(), 2u * 64 * 32);
        Bytes expected = SampleBytes(f.raw, format != 0);
        // The sensor's last two columns are mirrored from the two before them.
        for (int y = 0; y < 32; ++y) {
            expected[y * 64 + 62] = expected[y * 64 + 60];
            expected[y * 64 + 63] = expected[y * 64 + 59];
        }
        // Colour mode 4 delivers the bytes the demosaic starts from, bottom-up.
        Bytes flipped(expected.size());
        for (int y = 0; y < 32; ++y) std::copy_n(expected.begin() + y * 64, 64, flipped.begin() + (31 - y) * 64);
        EXPECT_TRUE(f.picture == expected || f.picture == flipped);
    }
}

// Type 14's picture: its last two columns mirrored from the two before the
// last good one, and stripe removal when asked for; the exposure, white
// balance, tables, saturation and sharpness the caller sets leave it alone.
TEST_F(SixteenBitCameras, TypeFourteenRepairsItsRightEdgeAndTakesNoOtherStep) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0E01"));
    const std::uint32_t handle = Open(1, Window(64, 32));
    const With with = Library(handle);
    ASSERT_EQ(with([](BaseDevice& d) {
                  return d.SetSaturation(14) | d.SetSharpness(6) | d.SetGain(0, 1000) | d.SetGamma(28) |
                         d.SetDoAE(true, nullptr, nullptr) | d.SetDoAWB(true, nullptr, nullptr);
              }),
              status::kSuccess);
    const auto repaired = [](const Bytes& raw) {
        Bytes picture = Rgb565Reference(raw, 64, 32);
        for (int y = 0; y < 32; ++y) {
            for (const auto& [to, from] : {std::pair{62, 60}, std::pair{63, 59}}) {
                std::copy_n(picture.begin() + 3 * (64 * y + from), 3, picture.begin() + 3 * (64 * y + to));
            }
        }
        return picture;
    };
    for (const int mode : {0, 1, 5}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(with([&](BaseDevice& d) { return d.SetParamColor(mode); }), status::kSuccess);
        const Frame f = StreamOne(with);
        EXPECT_EQ(f.size, (kqcmos::FrameSize{64, 32}));
        const Bytes expected = repaired(f.raw);
        ASSERT_NE(expected, Rgb565Reference(f.raw, 64, 32)) << "the frame shows the repair";
        EXPECT_EQ(f.picture, expected);
    }

    // Stripe planes taken from the frame and added back to it.
    ASSERT_EQ(with([](BaseDevice& d) { return d.ErasureStripe() | d.ApplyErasure(true); }), status::kSuccess);
    const Frame f = StreamOne(with);
    Bytes expected = repaired(f.raw);
    Bytes blue(64 * 32), green(64 * 32), red(64 * 32);
    ASSERT_TRUE(kqcmos::ComputeErasurePlanes({64, 32}, 0, expected, blue, green, red));
    kqcmos::ApplyErasurePlanes({64, 32}, expected, blue, green, red);
    ASSERT_NE(expected, repaired(f.raw)) << "the planes change the frame";
    EXPECT_EQ(f.picture, expected);
}

// The 5-6-5 picture is never turned or mirrored: flips 1 to 5 deliver it
// upright at its own size, which the preview and a recording are set up
// with, and a crop is cut where the caller sees it.
TEST_F(SixteenBitCameras, FiveSixFivePicturesStayUprightWhateverTheFlip) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0E01"));
    const std::uint32_t handle = Open(1, Window(64, 32));
    const With with = Library(handle);
    for (const int flip : {1, 4, 5}) {
        SCOPED_TRACE(flip);
        ASSERT_EQ(with([&](BaseDevice& d) { return d.SetParamFlip(flip) | d.MCResolutionShow(false); }),
                  status::kSuccess);
        Frame f = StreamOne(with);
        EXPECT_EQ(f.size, (kqcmos::FrameSize{64, 32}));
        kqcmos::FrameSize told{};
        with([&](BaseDevice& d) {
            told = d.RecordingSize();
            return 0;
        });
        EXPECT_EQ(told, f.size) << "the size a recording opens with";

        ASSERT_EQ(with([](BaseDevice& d) { return d.SetMCResolution(8, 4, 40, 20) | d.MCResolutionShow(true); }),
                  status::kSuccess);
        f = StreamOne(with);
        ASSERT_EQ(f.size, (kqcmos::FrameSize{40, 20}));
        const Bytes whole = Rgb565Reference(f.raw, 64, 32);
        Bytes expected;
        for (int row = 4; row < 24; ++row) {
            expected.insert(expected.end(), whole.begin() + 3 * (64 * row + 8), whole.begin() + 3 * (64 * row + 48));
        }
        // The repaired columns 62 and 63 lie outside the crop.
        EXPECT_EQ(f.picture, expected);
    }
}

// No identification selects type 23: its object is made directly.
TEST_F(SixteenBitCameras, TypeTwentyThreeSendsTheFiftyTwoByteBlockAndStreams) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0901"));
    DeviceIdentity identity;
    identity.typeCode = 23;
    auto device = MakeDevice(identity);
    ASSERT_EQ(device->Class(), DeviceClass::CKQGurnipDevice);
    CapInfo r = Window(64, 32);
    r.gain = {70, 0, 0};
    ASSERT_EQ(device->OpenDevice(bus, bus.InterfaceOf(0), r, 7), status::kSuccess);
    Bytes block = LastFormat();
    ASSERT_EQ(block.size(), 52u);
    EXPECT_EQ(LE32(block, 8), 128u);
    EXPECT_EQ(block[24], 63);
    EXPECT_EQ(block[29], 102);
    for (const std::size_t at : {30u, 36u, 38u, 40u, 42u, 44u, 46u, 48u, 50u}) EXPECT_EQ(LE16(block, at), 0u) << at;

    CapInfo binned = Window(600, 400);
    binned.columnStart = 2000;
    binned.rowStart = 1500;
    binned.mode[3] = capinfo_bits::binning;
    ASSERT_EQ(device->ApplyCapInfo(binned), status::kSuccess);
    block = LastFormat();
    EXPECT_EQ(LE32(block, 12), 2592u - 1200u);
    EXPECT_EQ(LE32(block, 16), 1944u - 800u);
    EXPECT_EQ(device->StoredCapInfo().columnStart, 2000u) << "the caller's start waits for the next send";
    ASSERT_EQ(device->ApplyCapInfo(Window(64, 32)), status::kSuccess);

    const Frame f = StreamOne(Direct(*device));
    EXPECT_EQ(f.picture, Rgb565Reference(f.raw, 64, 32));
    device->CloseDevice();
}

// Type 23's picture after its gains: the saturation at its level (24-bit
// output only), then the sharpness at its level, in the colour mode's form.
// Colour modes 1 and 5 give what mode 0 gives: the picture is colour already.
TEST_F(SixteenBitCameras, TypeTwentyThreeSaturatesAndSharpensItsBalancedPicture) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0901"));
    DeviceIdentity identity;
    identity.typeCode = 23;
    auto device = MakeDevice(identity);
    ASSERT_EQ(device->OpenDevice(bus, bus.InterfaceOf(0), Window(64, 32), 7), status::kSuccess);
    const With with = Direct(*device);
    struct Case {
        int mode, saturation, sharpness, redGain;
    };
    for (const Case c : {Case{0, 13, 5, 1000}, Case{0, 3, 1, 500}, Case{1, 8, 8, 700}, Case{5, 16, 2, 500},
                         Case{2, 12, 3, 500}, Case{3, 12, 4, 1000}}) {
        SCOPED_TRACE(::testing::Message() << c.mode << " " << c.saturation << " " << c.sharpness);
        ASSERT_EQ(with([&](BaseDevice& d) {
                      return d.SetParamColor(c.mode) | d.SetSaturation(c.saturation) | d.SetSharpness(c.sharpness) |
                             d.SetGain(0, c.redGain);
                  }),
                  status::kSuccess);
        const Frame f = StreamOne(with);
        Bytes expected = Rgb565Reference(f.raw, 64, 32);
        for (std::size_t i = 2; i < expected.size(); i += 3) {
            expected[i] = static_cast<std::uint8_t>(std::min(255, (expected[i] * c.redGain + 250) / 500));
        }
        const std::size_t pixels = 64 * 32;
        const int bpp = c.mode == 3 ? 1 : 3;
        if (c.mode == 2 || c.mode == 3) {
            for (std::size_t i = 0; i < pixels; ++i) {
                const int sum = expected[3 * i] + expected[3 * i + 1] + expected[3 * i + 2];
                const auto grey = static_cast<std::uint8_t>((sum >> 6) + (sum >> 4) + (sum >> 2));
                if (bpp == 1) {
                    expected[i] = grey;
                } else {
                    std::fill_n(expected.begin() + 3 * i, 3, grey);
                }
            }
            expected.resize(pixels * bpp);
        }
        const Bytes plain = expected;
        if (bpp == 3) kqcmos::ApplySaturationReference({64, 32}, expected, c.saturation);
        Bytes scratch(2 * 64 * 3);
        ASSERT_TRUE(kqcmos::ApplySharpnessReference({64, 32}, bpp, expected, c.sharpness, scratch));
        if (c.saturation != 8 || c.sharpness != 1) {
            ASSERT_NE(expected, plain) << "the levels change the frame";
        }
        EXPECT_EQ(f.picture, expected);
    }
    device->CloseDevice();
}

}  // namespace
}  // namespace kq::test
