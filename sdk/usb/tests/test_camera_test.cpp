// The test camera of type 18: its record with its own frame size, register
// writes kept to itself, the EEPROM request kinds and its way back.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <vector>

#include "bayer_kernels.h"
#include "core/capinfo_record.h"
#include "fpga_fixture.h"
#include "frame_pattern.h"
#include "gain_tables.h"
#include "files/avi_writer.h"
#include "models/test_camera.h"
#include "unique_temp_dir.h"

namespace kq::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TestCamera : public FpgaTest {
protected:
    void SetUp() override {
        const std::u16string id = InstanceId(u"VID_FFF0&PID_0018");
        bus.AddCamera(id);
        bus.ClearLog();
        device = std::make_unique<CKQTEST>(IdentifyInstanceId(id));
        device->SetSleeper([](std::chrono::milliseconds) {});
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        ASSERT_EQ(device->OpenDevice(bus, bus.InterfaceOf(0), Caller(), 1), status::kSuccess);
    }
    void TearDown() override {
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        device->StopView();
        device->CloseDevice();
    }
    static CapInfo Caller() {
        CapInfo r = SmallWindow();
        r.columnStart = 8;
        r.rowStart = 4;
        r.control = 0x03;
        return r;
    }
    template <class Op>
    int OnTest(Op&& op) {
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        return op(*device);
    }
    static Bytes Record(CapInfo r) {
        r.width = CKQTEST::kFrameWidth;
        r.height = CKQTEST::kFrameHeight;
        const CapInfoBytes bytes = EncodeCapInfo(r);
        return Bytes(bytes.begin(), bytes.end());
    }
    std::unique_ptr<CKQTEST> device;
};

TEST_F(TestCamera, OpensStoppedWithTheCallersRecordInItsOwnFrameSize) {
    const auto codes = Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], kqff::kIoctlStopCapture);
    EXPECT_EQ(codes[1], kqff::kIoctlSetFormat);
    CapInfo expected = Caller();
    expected.control = 0x01;  // trigger bit kept from before: clear
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat)[0].input, Record(expected));
    OnTest([](CKQTEST& d) {
        EXPECT_EQ(d.FrameBytes(), 3488u * 2560u);
        EXPECT_LE(d.FrameBytes() + 64u, 9441280u) << "fits the driver's frame buffers";
        return 0;
    });
    // A later record keeps the trigger and speed bits the camera had.
    OnTest([](CKQTEST& d) {
        CapInfo r = d.GetCapInfo();
        r.control = 0x32;
        d.ApplyCapInfo(r);
        return 0;
    });
    bus.ClearLog();
    CapInfo next = Caller();
    next.control = 0x05;
    next.width = 1024;
    ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.SetCapInfo(next); }), status::kSuccess);
    next.control = 0x37;
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat).at(0).input, Record(next));

    bus.FailControl(kqff::kIoctlSetFormat, 1);
    next.exposure = 999;
    EXPECT_EQ(OnTest([&](CKQTEST& d) { return d.SetCapInfo(next); }), status::kNotSupported);
    EXPECT_NE(OnTest([](CKQTEST& d) { return static_cast<int>(d.GetCapInfo().exposure); }), 999);
}

TEST_F(TestCamera, TheExposureSentStopsAtTheSensorsLimit) {
    for (const auto& [asked, sent] : {std::pair{9999u, 9999u}, std::pair{10001u, 10000u}, std::pair{60000u, 10000u}}) {
        SCOPED_TRACE(asked);
        CapInfo next = Caller();
        next.exposure = asked;
        bus.ClearLog();
        ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.SetCapInfo(next); }), status::kSuccess);
        const auto blocks = bus.LogOf(kqff::kIoctlSetFormat);
        ASSERT_EQ(blocks.size(), 1u);
        const auto& block = blocks[0].input;
        const std::uint32_t exposure = block.at(20) | block.at(21) << 8 | block.at(22) << 16 | block.at(23) << 24;
        EXPECT_EQ(exposure, sent);
    }
}

TEST_F(TestCamera, RegisterWritesAndSettingsSendNothingAndRegister251IsKept) {
    bus.ClearLog();
    const std::array<std::uint16_t, 2> addresses{251, 5};
    const std::array<std::uint16_t, 2> values{5, 9};
    EXPECT_EQ(OnTest([&](CKQTEST& d) { return d.Write_Register(addresses, values); }), status::kSuccess);
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.TestPattern(); }), 5);
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.WriteSensorRegister(9, 7); }), status::kSuccess);
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.TestPattern(); }), 5) << "only register 251 is kept";
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.SetHBlank(300) + d.SetVBlank(300) + d.SetZoomMode(1); }), 0);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(TestCamera, EepromConfigGoesOutUnchangedElseAsTheFortyByteWrite) {
    std::array<std::uint8_t, 240> buffer{};
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.StartView(nullptr, {}); }), status::kSuccess);

    struct Case {
        const char* name;
        bool config;
    };
    for (const Case c : {Case{"config", true}, Case{"eeprom", false}}) {
        SCOPED_TRACE(c.name);
        std::array<std::uint8_t, 240> source = buffer;
        if (c.config) std::memcpy(source.data() + 64, "Config", 6);
        bus.ClearLog();
        ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.EEProm_Set(source); }), status::kSuccess);
        const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
        ASSERT_EQ(sent.size(), 1u);
        Bytes expected(64, 0);
        if (c.config) {
            std::copy_n(source.begin(), 64, expected.begin());
        } else {
            expected[0] = 7;
            std::copy_n(source.begin(), 40, expected.begin() + 2);
        }
        EXPECT_EQ(sent[0].input, expected);
        // Only the EEPROM write stops and restarts the stream.
        const auto codes = Codes();
        const auto write = std::find(codes.begin(), codes.end(), kqff::kIoctlWriteCommand);
        EXPECT_EQ(std::find(codes.begin(), write, kqff::kIoctlStopCapture) != write, !c.config);
        EXPECT_EQ(std::find(write, codes.end(), kqff::kIoctlStartCapture) != codes.end(), !c.config);
        EXPECT_TRUE(OnTest([](CKQTEST& d) { return d.Streaming() ? 1 : 0; }) == 1);
    }
    EXPECT_TRUE(OnTest([&](CKQTEST& d) {
        return std::equal(d.EepromImage().begin(), d.EepromImage().end(), buffer.begin()) ? 1 : 0;
    }));
    bus.FailControl(kqff::kIoctlWriteCommand, 1);
    EXPECT_EQ(OnTest([&](CKQTEST& d) { return d.EEProm_Set(buffer); }), status::kNoDevice);
    OnTest([](CKQTEST& d) { return d.StopView(); });
}

// Through the library: type 18 is made as the test camera, and what it
// sends at open is its own (a stop, then the 36-byte record).
TEST_F(FpgaTest, TheLibraryOpensType18AsTheTestCamera) {
    bus.AddCamera(InstanceId(u"VID_FFF0&PID_0018"));
    const std::uint32_t handle = Open(1);
    EXPECT_EQ(library.WithDevice(handle,
                                 [](BaseDevice& d) {
                                     EXPECT_EQ(d.Class(), DeviceClass::CKQTEST);
                                     return dynamic_cast<CKQTEST*>(&d) != nullptr ? 0 : 1;
                                 }),
              0);
    const auto codes = Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], kqff::kIoctlStopCapture);
    EXPECT_EQ(codes[1], kqff::kIoctlSetFormat);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat)[0].input.size(), kCapInfoBytes);
}

// ---------------------------------------------------------------------------
// The pixel path: the frame goes straight to the kernel of its flip, the
// reverse of the generic device's, in every colour mode.

constexpr kqcmos::FrameSize kFrame{CKQTEST::kFrameWidth, CKQTEST::kFrameHeight};
using Kernel = bool (*)(kqcmos::FrameSize, std::span<std::uint8_t>, std::span<const std::uint8_t>);

// The reference picture of a raw frame for a colour mode and flip: the
// kernel members named by the camera's table, reversed against the flip
// (flips 4 and 5 as 0, without a turn).
Bytes ReferencePicture(int colorMode, int flip, const Bytes& raw) {
    static constexpr Kernel kColour[] = {kqcmos::BayerToRgbA0, kqcmos::BayerToRgbA1, kqcmos::BayerToRgbA2,
                                         kqcmos::BayerToRgbA3};
    static constexpr Kernel kGreyRgb[] = {kqcmos::BayerToRgbB0, kqcmos::BayerToRgbB1, kqcmos::BayerToRgbB2,
                                          kqcmos::BayerToRgbB3};
    static constexpr Kernel kGrey[] = {kqcmos::BayerToGray0, kqcmos::BayerToGray1, kqcmos::BayerToGray2,
                                       kqcmos::BayerToGray3};
    static constexpr int kMember[] = {3, 2, 1, 0, 3, 3};
    if (colorMode == 4) return raw;
    const int member = kMember[flip];
    const bool grey8 = colorMode == 3;
    Bytes out(raw.size() * (grey8 ? 1 : 3));
    const Kernel kernel = grey8 ? kGrey[member] : colorMode == 2 ? kGreyRgb[member] : kColour[member];
    EXPECT_TRUE(kernel(kFrame, out, raw));
    return out;
}

class TestCameraPictures : public TestCamera {
protected:
    void SetUp() override {
        TestCamera::SetUp();
        // Every byte differs with its place, so each kernel gives its own picture.
        bus.Device(0).Camera().SetPicture(kqff::sim::Picture::Pattern);
    }
    // A processed single grab: the raw frame it read and the picture.
    int Grab(Bytes& raw, Bytes& picture) {
        raw.assign(device->FrameBytes(), 0);
        return OnTest([&](CKQTEST& d) {
            return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
                picture.assign(f.pixels.begin(), f.pixels.end());
                return f.size.width == kFrame.width && f.size.height == kFrame.height ? 0 : 99;
            });
        });
    }
};

TEST_F(TestCameraPictures, EachFlipTakesTheReverseKernelInEveryColourMode) {
    struct Case {
        int colorMode;
        int flip;
    };
    const Case cases[] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {3, 0}, {3, 1}, {3, 2}, {3, 3},
                          {2, 0}, {2, 1}, {2, 2}, {2, 3}, {1, 1}, {5, 2}, {4, 3}};
    for (const Case c : cases) {
        SCOPED_TRACE(testing::Message() << "colour mode " << c.colorMode << ", flip " << c.flip);
        ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.SetParamColor(c.colorMode) + d.SetParamFlip(c.flip); }), 0);
        Bytes raw, picture;
        ASSERT_EQ(Grab(raw, picture), status::kSuccess);
        ASSERT_TRUE(kqff::sim::CheckFramePattern(raw).has_value()) << "the raw frame is left as read";
        EXPECT_TRUE(picture == ReferencePicture(c.colorMode, c.flip, raw));
    }
}

struct PictureSink {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<Bytes> pictures;
    std::size_t bytes = 0;

    static int KQ_STDCALL OnFrame(std::uint8_t* frame, std::int32_t, void* context) {
        auto* self = static_cast<PictureSink*>(context);
        std::lock_guard<std::mutex> hold(self->lock);
        self->pictures.emplace_back(frame, frame + self->bytes);
        self->arrived.notify_all();
        return 0;
    }
    bool WaitFor(std::size_t count) {
        std::unique_lock<std::mutex> hold(lock);
        return arrived.wait_for(hold, std::chrono::seconds(30), [&] { return pictures.size() >= count; });
    }
};

void KQ_STDCALL Reported(std::int32_t, std::int32_t, void* context) { ++*static_cast<int*>(context); }

// Every setting the generic pipeline acts on is set away from neutral; the
// streamed picture is still the colour gains and the kernel alone, at the
// frame's size in a quarter-turn flip, and nothing is measured or sent.
TEST_F(TestCameraPictures, StreamedFramesGetTheGainsAndTheKernelOnly) {
    int reports = 0;
    OnTest([&](CKQTEST& d) {
        d.SetParamFlip(4);
        d.SetGain(0, 1000);  // red twice
        d.SetGamma(30);
        d.SetLight(50);
        d.SetContrastValue(25);
        d.SetSaturation(14);
        d.SetSharpness(12);
        d.SetHDR(1);
        d.SetColorAdjust(1);
        d.EnableLightAvg(true);
        d.SetDoAE(true, &Reported, &reports);
        d.SetDoAWB(true, &Reported, &reports);
        return 0;
    });
    PictureSink sink;
    sink.bytes = 3 * device->FrameBytes();
    bus.SetReadBudget(0, 1);
    OnTest([&](CKQTEST& d) { return d.SetFrameCallBack(&PictureSink::OnFrame, &sink); });
    bus.ClearLog();
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(sink.WaitFor(1));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, std::chrono::seconds(30)));

    // While streaming a grab serves the last frame: its raw bytes as the
    // driver sent them, and the picture delivered.
    Bytes raw(device->FrameBytes()), rawAgain, grabbed;
    ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.GrabFrame(raw.data(), false, [](const auto&) { return 0; }); }),
              status::kSuccess);
    ASSERT_TRUE(kqff::sim::CheckFramePattern(raw).has_value());
    ASSERT_EQ(Grab(rawAgain, grabbed), status::kSuccess);
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.StopView(); }), status::kSuccess);

    // The red samples (odd columns of even rows) through the gain table.
    Bytes gained = raw;
    const kqcmos::ByteTable red = kqcmos::GainTable(1000);
    for (int y = 0; y < kFrame.height; y += 2) {
        for (int x = 1; x < kFrame.width; x += 2) {
            auto& v = gained[static_cast<std::size_t>(y) * kFrame.width + x];
            v = red[v];
        }
    }
    ASSERT_NE(gained, raw);
    ASSERT_EQ(sink.pictures.size(), 1u);
    EXPECT_TRUE(sink.pictures[0] == ReferencePicture(0, 4, gained));
    EXPECT_TRUE(grabbed == sink.pictures[0]) << "the grab while streaming is the delivered picture";
    EXPECT_EQ(reports, 0);
    // From the start of the stream on, nothing but its stop is sent.
    const auto codes = Codes();
    const auto start = std::find(codes.begin(), codes.end(), kqff::kIoctlStartCapture);
    ASSERT_NE(start, codes.end());
    for (auto code = start + 1; code != codes.end(); ++code) {
        EXPECT_EQ(*code, kqff::kIoctlStopCapture) << "no exposure or gain is sent";
    }
}

// The frame count (index entries) of a whole RIFF AVI file; 0 for a file
// that is not one.
std::size_t AviFrames(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(std::filesystem::file_size(path));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto le32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    // The platform's writer may leave a few bytes after the RIFF chunk.
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "AVI ", 4) != 0 ||
        le32(4) + 8u > bytes.size()) {
        return 0;
    }
    for (std::size_t at = le32(4); at > 12; --at) {
        if (std::memcmp(bytes.data() + at, "idx1", 4) == 0) return le32(at + 4) / 16;
    }
    return 0;
}

// The recording goes through the library's movie writer and its limit,
// well below 2 GiB: crossing it continues in "<name>(1).avi".
TEST_F(TestCameraPictures, RecordingRollsOverIntoTheNumberedFile) {
    static_assert(files::AviWriter::kRolloverBytes < (std::uint64_t{1} << 31));
    const auto folder = testing_support::UniqueTempPath("kq_test_camera_avi");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::u16string name = (folder / "movie.avi").u16string();
    const std::uint64_t frameBytes = 3u * CKQTEST::kFrameWidth * CKQTEST::kFrameHeight;
    std::int64_t now = 0;
    OnTest([&](CKQTEST& d) {
        // Each frame a grid position later; room for one frame a file.
        d.SetClock([&now] { return now += 25; });
        d.SetRecordingLimit(frameBytes + frameBytes / 2);
        return 0;
    });
    PictureSink sink;
    sink.bytes = 16;
    bus.SetReadBudget(0, 0);
    OnTest([&](CKQTEST& d) { return d.SetFrameCallBack(&PictureSink::OnFrame, &sink); });
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.CaptureToAvi(true, &name); }), status::kSuccess);
    bus.AllowFrames(0, 3);
    ASSERT_TRUE(sink.WaitFor(3));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, std::chrono::seconds(30)));
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.StopView(); }), status::kSuccess);

    EXPECT_EQ(AviFrames(folder / "movie.avi"), 1u);
    EXPECT_EQ(AviFrames(folder / "movie(1).avi"), 1u);
    EXPECT_EQ(AviFrames(folder / "movie(2).avi"), 1u);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_LE(entry.file_size(), frameBytes + frameBytes / 2) << entry.path();
    }
    std::filesystem::remove_all(folder);
}

TEST_F(TestCamera, ComesBackWithAStopOnly) {
    bus.Unplug(0);
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.OnDeviceRemoved(); }), status::kSuccess);
    bus.Replug(0);
    bus.ClearLog();
    ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.OnDeviceArrived(bus, bus.InterfaceOf(0)); }), status::kSuccess);
    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{kqff::kIoctlStopCapture}));
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.IsRemoved() ? 1 : 0; }), 0);
}

void KQ_STDCALL RecordEvent(std::int32_t event, void*, void* context) {
    static_cast<std::vector<int>*>(context)->push_back(event);
}

// Streaming when unplugged: back on the bus the stream restarts after the
// stop and the caller hears 1; a camera that does not take the stop stays
// removed (3) and is not reported back.
TEST_F(TestCamera, StreamingComesBackRestartedOrStaysRemoved) {
    std::vector<int> events;
    OnTest([&](CKQTEST& d) { return d.SetDeviceEvent(&RecordEvent, &events); });
    bus.SetReadBudget(0, 0);
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    bus.Unplug(0);
    ASSERT_EQ(OnTest([](CKQTEST& d) { return d.OnDeviceRemoved(); }), status::kSuccess);
    bus.Replug(0);
    bus.SetReadBudget(0, 0);

    bus.ClearLog();
    bus.FailControl(kqff::kIoctlStopCapture, 1);
    EXPECT_EQ(OnTest([&](CKQTEST& d) { return d.OnDeviceArrived(bus, bus.InterfaceOf(0)); }), status::kNoDevice);
    EXPECT_EQ(OnTest([](CKQTEST& d) { return d.IsRemoved() ? 1 : 0; }), 1);
    EXPECT_EQ(Codes(), (std::vector<std::uint32_t>{kqff::kIoctlStopCapture}));

    bus.ClearLog();
    ASSERT_EQ(OnTest([&](CKQTEST& d) { return d.OnDeviceArrived(bus, bus.InterfaceOf(0)); }), status::kSuccess);
    const auto codes = Codes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes.front(), kqff::kIoctlStopCapture);
    EXPECT_EQ(codes.back(), kqff::kIoctlStartCapture);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kqff::kIoctlSetFormat), 0) << "the record is not sent again";
    EXPECT_EQ(events, (std::vector<int>{0, 1}));
    OnTest([](CKQTEST& d) { return d.StopView(); });
}

}  // namespace
}  // namespace kq::test
