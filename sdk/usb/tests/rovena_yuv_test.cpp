// The YUV camera (type 15) over the simulated bus: its capture record, the
// global gain that is also its sharpness, the requests it lacks, its EEPROM
// pages, its 4:2:2 frames through the capture thread and single grabs, and
// its white balance through the sensor gains, then the gain tables.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include "../pixel/tests/yuv_reference.h"
#include "bgr_filters.h"
#include "core/frame_pipeline.h"
#include "exposure_reports.h"
#include "frame_count.h"
#include "frame_pattern.h"
#include "gain_tables.h"
#include "kqff_protocol.h"
#include "le_bytes.h"
#include "models/rovena_yuv.h"
#include "sim/driver_core_device.h"
#include "sim_fixture.h"
#include "unique_temp_dir.h"
#include "white_balance.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

CapInfo YuvWindow() {
    CapInfo r = SmallWindow();
    r.width = 64;
    r.height = 48;
    return r;
}

class YuvTest : public LibraryTest {
protected:
    void SetUp() override {
        library.SetSleeper([this](std::chrono::milliseconds d) { pauses.push_back(static_cast<int>(d.count())); });
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0F01"));
        handle = Open(1, YuvWindow());
    }
    template <class Op>
    int On(Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(dynamic_cast<CKQRovena_YUV&>(d)); });
    }
    Bytes LastFormat() const {
        const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
        return sent.empty() ? Bytes{} : sent.back().input;
    }
    // The picture the last frame made, and the raw frame behind it, through a
    // grab while streaming.
    struct Grabbed {
        Bytes raw, picture;
        kqcmos::FrameSize size;
    };
    Grabbed GrabLast() {
        Grabbed g;
        g.raw.resize(64 * 48 * 2);
        const int rc = On([&](CKQRovena_YUV& d) {
            return d.GrabFrame(g.raw.data(), true, [&](const DeliveredFrame& f) {
                g.picture.assign(f.pixels.begin(), f.pixels.end());
                g.size = f.size;
                return 0;
            });
        });
        EXPECT_EQ(rc, status::kSuccess);
        return g;
    }
    std::uint32_t handle = 0;
    std::vector<int> pauses;
};

TEST_F(YuvTest, OpensAsItsClassAndSendsItsRowsInBytes) {
    EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return static_cast<int>(d.Class()); }),
              static_cast<int>(DeviceClass::CKQRovena_YUV));
    const Bytes format = LastFormat();
    ASSERT_EQ(format.size(), 52u);
    EXPECT_EQ(vz::GetLE32(format, 4), 48u);
    EXPECT_EQ(vz::GetLE32(format, 8), 128u) << "two bytes a pixel";
    // The first send starts the global gain, the byte after it and the
    // blanking and register bytes from zero.
    EXPECT_EQ(format[29], 0);
    EXPECT_EQ(format[30], 0);
    EXPECT_EQ(Bytes(format.begin() + 36, format.begin() + 48), Bytes(12, 0));
    EXPECT_EQ(On([](CKQRovena_YUV& d) { return static_cast<int>(d.FrameBytes()); }), 64 * 48 * 2);
}

TEST_F(YuvTest, TheGlobalGainIsLimitedSentAtByte29AndReadAsTheSharpness) {
    struct Case {
        bool viaSharpness;
        std::int32_t value;
        int sent;
    };
    const Case cases[] = {{false, 5, 5}, {false, 12, 7}, {false, -3, 0}, {true, 3, 3}, {true, 9, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << (c.viaSharpness ? " as sharpness" : ""));
        const int rc =
            On([&](CKQRovena_YUV& d) { return c.viaSharpness ? d.SetSharpness(c.value) : d.SetGolbalGain(c.value); });
        EXPECT_EQ(rc, status::kSuccess);
        EXPECT_EQ(LastFormat()[29], c.sent);
        EXPECT_EQ(On([](CKQRovena_YUV& d) { return d.GetSharpness(); }), c.sent);
    }
    // A gain the driver refused is not reported, nor sent with the next record.
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(On([](CKQRovena_YUV& d) { return d.SetGolbalGain(2); }), status::kNotSupported);
    EXPECT_EQ(On([](CKQRovena_YUV& d) { return d.GetSharpness(); }), 7);
    ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.SetVBlank(10); }), status::kSuccess);
    EXPECT_EQ(LastFormat()[29], 7);
}

TEST_F(YuvTest, TheGainByteKeepsToTheSensorRange) {
    struct Case {
        std::uint8_t given, sent;
    };
    for (const Case c : {Case{0, 1}, Case{32, 32}, Case{127, 127}, Case{128, 127}, Case{255, 127}}) {
        SCOPED_TRACE(static_cast<int>(c.given));
        CapInfo r = YuvWindow();
        r.gain = {c.given, 9, 9};
        ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.SetCapInfo(r); }), status::kSuccess);
        const Bytes format = LastFormat();
        EXPECT_EQ(Bytes(format.begin() + 24, format.begin() + 27), Bytes(3, c.sent));
    }
}

TEST_F(YuvTest, RequestsTheCameraLacksAnswerWithoutSending) {
    bus.ClearLog();
    std::array<std::uint8_t, 240> eeprom{};
    const std::function<int(CKQRovena_YUV&)> unsupported[] = {
        [](CKQRovena_YUV& d) { return d.SetParamColor(1); },
        [](CKQRovena_YUV& d) { return d.SetParamColor(4); },
        [](CKQRovena_YUV& d) { return d.SetSpeedMode(0); },
        [](CKQRovena_YUV& d) { return d.SetExpouseDelayTime(5); },
        [](CKQRovena_YUV& d) { return d.SetSensorRdMode(1); },
        [](CKQRovena_YUV& d) { return d.SetTriggerDelayTime(5); },
        [](CKQRovena_YUV& d) { return d.SetTriggerSource(1); },
        [](CKQRovena_YUV& d) { return d.SetTriggerSourceTime(5); },
        [](CKQRovena_YUV& d) { return d.SetCustomIO(1); },
        [](CKQRovena_YUV& d) { return d.SetCameraLED(0, 5); },
        [&](CKQRovena_YUV& d) { return d.EEProm_Set_Test(eeprom.data()); },
    };
    for (std::size_t i = 0; i < std::size(unsupported); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(On(unsupported[i]), status::kNotSupported);
    }
    EXPECT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_SetByte(230, 11, eeprom.data()); }), status::kRefused);
    EXPECT_TRUE(bus.Log().empty());

    // In trigger mode the EEPROM is out of reach.
    ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.SetTriggerMode(1); }), status::kSuccess);
    bus.ClearLog();
    EXPECT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_Get(eeprom); }), status::kNotSupported);
    EXPECT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_GetByte(0, 4, eeprom.data()); }), status::kNotSupported);
    EXPECT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_SetByte(0, 4, eeprom.data()); }), status::kNotSupported);
    EXPECT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_Set(eeprom); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(YuvTest, APageReadTheDriverCannotAnswerIsReportedAndLeavesTheBufferAlone) {
    // The page read goes as a command, and the driver answers commands with
    // nothing: the read fails with 3.
    bus.ClearLog();
    std::array<std::uint8_t, 20> out;
    out.fill(0x5A);
    const auto untouched = out;
    EXPECT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_GetByte(50, 20, out.data()); }), status::kNoDevice);
    EXPECT_EQ(out, untouched);
    const auto reads = bus.LogOf(kqff::kIoctlWriteCommand);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].input[2], 0x07);
    EXPECT_EQ(reads[0].input[3], 1) << "the first page the range touches";
}

// A YUV camera whose page reads are answered: a page command (operation
// 7) gives back 60 at byte 0 and the page's data from byte 4; a page
// block (operation 8) stores its data. Everything else goes to the driver's
// core.
class AnsweredPages final : public sim::CameraBackend {
public:
    AnsweredPages() : camera_(std::make_unique<sim::DriverCoreDevice>(0xF5A1, 0x0F01)) {
        for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i);
    }
    void OnCreate() override { camera_->OnCreate(); }
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out) override {
        const bool page = in.size() == 64 && in[0] == 0x2C && in[3] >= 1 && in[3] <= 4;
        const std::size_t at = page ? (in[3] - 1u) * 60 : 0;
        if (page && code == kqff::kIoctlWriteCommand && in[2] == 0x07 && out.size() == 64) {
            std::fill(out.begin(), out.end(), std::uint8_t{0});
            out[0] = 60;
            std::copy_n(memory.begin() + at, 60, out.begin() + 4);
            return 64;
        }
        if (page && code == kqff::kIoctlWriteBlock && in[2] == 0x08) {
            std::copy_n(in.begin() + 4, 60, memory.begin() + at);
            return 0;
        }
        return camera_->Control(code, in, out);
    }
    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override { return camera_->Read(buffer); }
    void OnClose() override { camera_->OnClose(); }

    std::array<std::uint8_t, 240> memory{};

private:
    std::unique_ptr<sim::DriverCoreDevice> camera_;
};

TEST_F(YuvTest, AByteRangeRewritesEveryPageItTouchesAndIsReadFromTheCameraEachTime) {
    AnsweredPages* pages = nullptr;
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0F01", 2), u"Pages", [&pages] {
        auto made = std::make_unique<AnsweredPages>();
        pages = made.get();
        return made;
    });
    handle = Open(2, YuvWindow());
    bus.ClearLog();
    Bytes data(20);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0xA0 + i);
    ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_SetByte(50, 20, data.data()); }), status::kSuccess);
    // Pages 1 and 2, each read then written whole.
    const auto log = bus.Log();
    ASSERT_EQ(log.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].code, i % 2 == 0 ? kqff::kIoctlWriteCommand : kqff::kIoctlWriteBlock);
        EXPECT_EQ(log[i].input[2], i % 2 == 0 ? 0x07 : 0x08);
        EXPECT_EQ(log[i].input[3], 1 + i / 2);
    }
    std::array<std::uint8_t, 240> expected{};
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::uint8_t>(i);
    std::copy(data.begin(), data.end(), expected.begin() + 50);
    EXPECT_EQ(pages->memory, expected);
    EXPECT_EQ(Bytes(log[3].input.begin() + 4, log[3].input.end()), Bytes(expected.begin() + 60, expected.begin() + 120));

    // Nothing is kept: the same range is read from the camera again.
    bus.ClearLog();
    pages->memory[55] = 0x11;
    Bytes back(20);
    ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.EEProm_GetByte(50, 20, back.data()); }), status::kSuccess);
    data[5] = 0x11;
    EXPECT_EQ(back, data);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlWriteCommand).size(), 2u);
}

TEST_F(YuvTest, FramesAreConvertedInEveryFlipWithTheTurnsSwappingTheSize) {
    FrameCount count;
    On([&](CKQRovena_YUV& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    for (int flip = 0; flip < 6; ++flip) {
        SCOPED_TRACE(flip);
        ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.SetParamFlip(flip); }), status::kSuccess);
        bus.SetReadBudget(0, 1);
        const int before = count.frames;
        ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        ASSERT_TRUE(count.WaitFor(before + 1));
        ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
        const Grabbed g = GrabLast();
        On([](CKQRovena_YUV& d) { return d.StopView(); });

        // The camera sent its YUV picture, whole.
        bool isTestPicture = false;
        for (std::uint32_t n = 1; n < 40 && !isTestPicture; ++n) {
            Bytes picture(g.raw.size());
            kqff::sim::FillYuvPicture(n, 128, 0, picture);
            isTestPicture = picture == g.raw;
        }
        EXPECT_TRUE(isTestPicture);
        int width = 64, height = 48;
        const Bytes expected = kqcmos::test::ReferenceYuvToBgr(g.raw, width, height, flip);
        EXPECT_EQ(g.size, (kqcmos::FrameSize{width, height}));
        EXPECT_EQ(g.picture, expected);
    }
}

TEST_F(YuvTest, TheWholeSensorTurnedByFlipFourGivesAnUprightPortraitPicture) {
    CapInfo full = YuvWindow();
    full.width = 1280;
    full.height = 1024;
    ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.SetCapInfo(full); }), status::kSuccess);
    ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.SetParamFlip(4); }), status::kSuccess);
    FrameCount count;
    On([&](CKQRovena_YUV& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    bus.SetReadBudget(0, 1);
    ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(count.WaitFor(1));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
    Bytes raw(1280 * 1024 * 2), picture;
    kqcmos::FrameSize size;
    ASSERT_EQ(On([&](CKQRovena_YUV& d) {
                  return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
                      picture.assign(f.pixels.begin(), f.pixels.end());
                      size = f.size;
                      return 0;
                  });
              }),
              status::kSuccess);
    On([](CKQRovena_YUV& d) { return d.StopView(); });
    EXPECT_EQ(size, (kqcmos::FrameSize{1024, 1280}));
    int width = 1280, height = 1024;
    EXPECT_EQ(picture, kqcmos::test::ReferenceYuvToBgr(raw, width, height, 4));
    EXPECT_EQ(width, 1024);
}

TEST_F(YuvTest, ASingleGrabConvertsTheFrameAndLeavesNoFileBehind) {
    const auto folder = testing_support::UniqueTempPath("kq_yuv_grab");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    Bytes raw(64 * 48 * 2);
    Bytes picture;
    const int rc = On([&](CKQRovena_YUV& d) {
        return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
            picture.assign(f.pixels.begin(), f.pixels.end());
            return 0;
        });
    });
    const bool empty = std::filesystem::is_empty(folder);
    std::filesystem::current_path(before);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(rc, status::kSuccess);
    EXPECT_TRUE(empty);
    // The conversion repaired the caller's raw frame in place first.
    int width = 64, height = 48;
    EXPECT_EQ(picture, kqcmos::test::ReferenceYuvToBgr(raw, width, height, 0));
}

// A YUV camera whose chroma answers its sensor gains: each red difference
// is `redAtStart` + (red gain - 32), each blue difference `blueAtStart` +
// (blue gain - 32), as the last format block set them; the luma is a ramp
// along the row. Frames come one per allowed read, answered by the driver's
// core.
class ChromaFollowsGains final : public sim::CameraBackend {
public:
    ChromaFollowsGains(int redAtStart, int blueAtStart)
        : redAtStart_(redAtStart),
          blueAtStart_(blueAtStart),
          camera_(std::make_unique<sim::DriverCoreDevice>(0xF5A1, 0x0F01)) {
        camera_->Camera().SetPicture(kqff::sim::Picture::Yuv);
        camera_->Camera().SetFramesOnRequest(true);
        camera_->StartVideo();
    }
    void OnCreate() override { camera_->OnCreate(); }
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out) override {
        const auto answer = camera_->Control(code, in, out);
        if (answer && code == kqff::kIoctlSetFormat && in.size() >= 27) {
            red_ = in[kqff::record::kGains];
            blue_ = in[kqff::record::kGains + 2];
        }
        return answer;
    }
    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
        const auto read = camera_->Read(buffer);
        if (read) Fill(buffer.first(*read), redAtStart_ + red_ - 32, blueAtStart_ + blue_ - 32);
        return read;
    }
    void OnClose() override { camera_->OnClose(); }
    void OnUnplug() override { camera_->OnUnplug(); }
    kqff::sim::SimCamera& Camera() { return camera_->Camera(); }

    // Pixel pairs of 64-pixel rows.
    static void Fill(std::span<std::uint8_t> yuv, int redDifference, int blueDifference) {
        for (std::size_t i = 0; i + 3 < yuv.size(); i += 4) {
            const auto column = static_cast<int>(i % 128 / 2);
            yuv[i] = static_cast<std::uint8_t>(60 + 2 * column);
            yuv[i + 1] = static_cast<std::uint8_t>(redDifference);
            yuv[i + 2] = static_cast<std::uint8_t>(61 + 2 * column);
            yuv[i + 3] = static_cast<std::uint8_t>(blueDifference);
        }
    }

private:
    const int redAtStart_, blueAtStart_;
    std::atomic<int> red_{32}, blue_{32};
    std::unique_ptr<sim::DriverCoreDevice> camera_;
};

class YuvChromaBalance : public YuvTest {
protected:
    // The camera at position 2 instead of the fixture's own.
    void Start(int redAtStart, int blueAtStart) {
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0F01", 2), u"Tinted", [=, this] {
            auto made = std::make_unique<ChromaFollowsGains>(redAtStart, blueAtStart);
            tinted = made.get();
            return made;
        });
        handle = Open(2, YuvWindow());
        On([&](CKQRovena_YUV& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
        opened = LastFormat();
        bus.ClearLog();
        tinted->Camera().ClearCommandLog();
        bus.SetReadBudget(1, 0);
        ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.SetDoAWB(true, &ExposureReports::On, &reports); }),
                  status::kSuccess);
        ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    }
    // One frame through the capture thread, then the sends it caused: the
    // next frame is read with them in place.
    void NextFrame(std::size_t sendsAfter) {
        const int before = count.frames;
        bus.AllowFrames(1, 1);
        ASSERT_TRUE(count.WaitFor(before + 1));
        for (int i = 0; i < 2000 && bus.LogOf(kqff::kIoctlSetFormat).size() < sendsAfter; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_EQ(bus.LogOf(kqff::kIoctlSetFormat).size(), sendsAfter);
    }
    Bytes SentGains() const {
        const Bytes format = LastFormat();
        return {format.begin() + 24, format.begin() + 27};
    }
    // The format sent at open with the gain bytes (red, red, blue).
    Bytes Sent(std::uint8_t red, std::uint8_t blue) const {
        Bytes block = opened;
        block[24] = block[25] = red;
        block[26] = blue;
        return block;
    }
    // The gain bytes of each format block the camera itself received.
    std::vector<Bytes> CameraGains() const {
        std::vector<Bytes> gains;
        for (const auto& block : tinted->Camera().CommandLog()) {
            if (block[kqff::block::kCommand] != kqff::command::kSetFormat) continue;
            gains.emplace_back(block.begin() + kqff::block::kGains, block.begin() + kqff::block::kGains + 3);
        }
        return gains;
    }
    ChromaFollowsGains* tinted = nullptr;
    Bytes opened;
    FrameCount count;
    ExposureReports reports;
};

TEST_F(YuvChromaBalance, TintedFramesStepRedThenBlueAndSettledOnesBalanceTheTablesOnce) {
    // Red difference 123 and blue 134 at gain 32: red goes up two steps
    // (123, 124, then 125 is neutral), blue down three (134, 133, 132,
    // then 131), one step on every second frame.
    Start(123, 134);
    const std::size_t sendsAfterFrame[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 5, 5, 5};
    for (const std::size_t sends : sendsAfterFrame) NextFrame(sends);
    ASSERT_TRUE(bus.WaitForBlockedRead(1, 20s));
    const Grabbed g = GrabLast();
    On([](CKQRovena_YUV& d) { return d.StopView(); });

    const auto sent = bus.LogOf(kqff::kIoctlSetFormat);
    const Bytes expected[] = {Sent(33, 32), Sent(34, 32), Sent(34, 31), Sent(34, 30), Sent(34, 29)};
    ASSERT_EQ(sent.size(), std::size(expected));
    for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i].input, expected[i]) << "send " << i;
    // The driver passed each on whole: the camera got red and blue apart.
    EXPECT_EQ(CameraGains(), (std::vector<Bytes>{{33, 33, 32}, {34, 34, 32}, {34, 34, 31}, {34, 34, 30}, {34, 34, 29}}));
    EXPECT_FALSE(On([](CKQRovena_YUV& d) { return d.AutoWhiteBalanceOn() ? 1 : 0; }));

    // Every measured frame reported its sensor gains (green follows red)
    // with the exposure; the settled one then the gains of the tables, once.
    int width = 64, height = 48;
    const Bytes converted = kqcmos::test::ReferenceYuvToBgr(g.raw, width, height, 0);
    const auto tables = kqcmos::ComputeWhiteBalanceBgr({width, height}, converted, std::nullopt).value();
    auto gain = [](const kqcmos::ByteTable& t) { return kqcmos::ReadBackGain(t).value_or(-1); };
    std::lock_guard<std::mutex> hold(reports.lock);
    const std::vector<int> firsts{33 << 16 | 33, 34 << 16 | 34, 34 << 16 | 34, 34 << 16 | 34, 34 << 16 | 34,
                                  34 << 16 | 34, gain(tables.red) << 16 | gain(tables.green)};
    const std::vector<int> seconds{32 << 16 | 100, 32 << 16 | 100, 31 << 16 | 100,
                                   30 << 16 | 100, 29 << 16 | 100, 29 << 16 | 100,
                                   gain(tables.blue) << 16 | 100};
    EXPECT_EQ(reports.values, firsts);
    EXPECT_EQ(reports.seconds, seconds);
    // The settled chroma leans a little to blue: red and green are raised.
    EXPECT_EQ(gain(tables.blue), kqcmos::kUnityGain);
    EXPECT_GT(gain(tables.red), kqcmos::kUnityGain);
    // Frames after the balance go through its tables.
    Bytes balanced = converted;
    kqcmos::ApplyGainLutBgr(balanced, tables);
    EXPECT_EQ(g.picture, balanced);
}

TEST_F(YuvChromaBalance, TheBalancedBlueGainStaysUntilTheCallerSetsTheGain) {
    Start(125, 133);
    for (const std::size_t sends : {0u, 1u, 1u}) NextFrame(sends);
    ASSERT_TRUE(bus.WaitForBlockedRead(1, 20s));
    On([](CKQRovena_YUV& d) { return d.StopView(); });
    ASSERT_EQ(LastFormat(), Sent(32, 31));
    // Resends of the stored record keep it; a record from the caller sets
    // all three from its first gain byte.
    ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.SetGolbalGain(3); }), status::kSuccess);
    EXPECT_EQ(SentGains(), (Bytes{32, 32, 31}));
    EXPECT_EQ(On([](CKQRovena_YUV& d) { return d.GetCapInfo().gain[2]; }), 31);
    CapInfo r = YuvWindow();
    r.gain = {50, 9, 9};
    ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.SetCapInfo(r); }), status::kSuccess);
    EXPECT_EQ(SentGains(), (Bytes{50, 50, 50}));
}

TEST(YuvPictureFilters, ColourAdjustFiltersWorkOnTheBgrPixels) {
    struct Case {
        int kind;
        Bytes in, out;
    };
    const Case cases[] = {
        // Middle byte m + (2m - first - third) / 2, limited.
        {1, {10, 100, 30, 200, 10, 250, 0, 250, 0}, {10, 180, 30, 200, 0, 250, 0, 255, 0}},
        // Strongest channel boosted (here past 255), the middle one dragged
        // along, the weakest kept; equal channels move nothing.
        {2,
         {100, 200, 50, 60, 50, 70, 120, 120, 40, 10, 200, 180},
         {120, 255, 50, 60, 50, 73, 120, 120, 40, 10, 219, 192}},
        {0, {1, 2, 3}, {1, 2, 3}},
        {3, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Bytes bgr = c.in;
        kqcmos::RunBgrFilter(c.kind, bgr);
        EXPECT_EQ(bgr, c.out);
    }
}

// The YUV camera's pipeline over frames of `size` set by the test.
struct YuvPipeline {
    explicit YuvPipeline(kqcmos::FrameSize frame) : pipeline({64, 64}, false, 2) {
        settings.model = CKQRovena_YUV(DeviceIdentity{15, 0, 0}).Pixels();
        source.window.size = frame;
        source.exposure = 100;
    }
    std::optional<DeliveredFrame> Run(const Bytes& yuv, FrameEvents& events) {
        std::copy(yuv.begin(), yuv.end(), pipeline.CaptureBuffer().begin());
        return pipeline.Process(settings, source, events);
    }
    FramePipeline pipeline;
    PictureSettings settings;
    FrameSource source;
};

Bytes YuvPattern(int width, int height) {
    Bytes yuv(2 * static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < yuv.size(); ++i) yuv[i] = static_cast<std::uint8_t>(40 + (i * 29 + i / 7) % 190);
    return yuv;
}

TEST(YuvPictureFilters, ThePipelineRunsTheChosenFilterUnlessAWhiteBalanceIsPending) {
    const Bytes yuv = YuvPattern(16, 6);
    int width = 16, height = 6;
    const Bytes converted = kqcmos::test::ReferenceYuvToBgr(yuv, width, height, 0);
    for (const int kind : {0, 1, 2}) {
        SCOPED_TRACE(kind);
        YuvPipeline p({16, 6});
        p.settings.colorAdjust = kind;
        FrameEvents events;
        const auto out = p.Run(yuv, events);
        ASSERT_TRUE(out.has_value());
        Bytes expected = converted;
        kqcmos::RunBgrFilter(kind, expected);
        EXPECT_EQ(Bytes(out->pixels.begin(), out->pixels.end()), expected);
        if (kind != 0) EXPECT_NE(expected, converted);
        // The balancing frame is measured and shown unfiltered.
        p.pipeline.RequestWhiteBalance(true);
        const auto balancing = p.Run(yuv, events);
        ASSERT_TRUE(balancing.has_value());
        Bytes balanced = converted;
        kqcmos::ApplyGainLutBgr(balanced, p.pipeline.Gains());
        EXPECT_EQ(Bytes(balancing->pixels.begin(), balancing->pixels.end()), balanced);
    }
}

TEST(YuvChromaBalanceSteps, GainsAtTheirLimitsStayThere) {
    struct Case {
        std::uint8_t gain;
        int red, blue;
    };
    // Each case tints toward a gain already at its end of 1..127.
    const Case cases[] = {{127, 100, 128}, {1, 160, 128}, {127, 128, 100}, {1, 128, 160}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.gain} << " " << c.red << " " << c.blue);
        Bytes yuv(64 * 48 * 2);
        ChromaFollowsGains::Fill(yuv, c.red, c.blue);
        YuvPipeline p({64, 48});
        p.source.sensorGains = {c.gain, c.gain, c.gain};
        p.pipeline.RequestWhiteBalance(true);
        for (int frame = 1; frame <= 4; ++frame) {
            FrameEvents events;
            ASSERT_TRUE(p.Run(yuv, events).has_value());
            ASSERT_EQ(events.chromaGains.has_value(), frame % 2 == 0) << frame;
            if (events.chromaGains) {
                EXPECT_EQ(events.chromaGains->red, c.gain);
                EXPECT_EQ(events.chromaGains->blue, c.gain);
            }
            EXPECT_FALSE(events.whiteBalance);
        }
        EXPECT_TRUE(p.pipeline.WhiteBalanceRequested());
    }
}

TEST(YuvChromaBalanceSteps, AFrameWithoutAPictureChangesNothingAndCountsNoStep) {
    YuvPipeline p({2, 4});
    p.source.sensorGains = {40, 40, 40};
    p.pipeline.RequestWhiteBalance(true);
    Bytes yuv(64 * 48 * 2);
    ChromaFollowsGains::Fill(yuv, 100, 100);
    for (int frame = 1; frame <= 3; ++frame) {
        FrameEvents events;
        EXPECT_FALSE(p.Run(yuv, events).has_value());
        EXPECT_FALSE(events.chromaGains || events.whiteBalance) << frame;
    }
    EXPECT_TRUE(p.pipeline.WhiteBalanceRequested());
    EXPECT_EQ(p.pipeline.Gains().red, kqcmos::IdentityTable());
    // The first whole frame after them is the first call of the balance.
    p.source.window.size = {64, 48};
    FrameEvents first, second;
    ASSERT_TRUE(p.Run(yuv, first).has_value());
    EXPECT_FALSE(first.chromaGains);
    ASSERT_TRUE(p.Run(yuv, second).has_value());
    ASSERT_TRUE(second.chromaGains);
    EXPECT_EQ(second.chromaGains->red, 41);
}

TEST(YuvFlatField, TableFromTheCentreMeanOfYEvensOutTheLumaAndKeepsTheChroma) {
    // 16 x 8: the centre half (rows 2..5, columns 4..11) has Y 100, so the
    // reference is 3200 / 33 x 64 = 6144; outside Y is 50, 255 or 0.
    const int width = 16, height = 8;
    Bytes yuv(2 * width * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool centre = y >= 2 && y < 6 && x >= 4 && x < 12;
            const std::size_t at = 2 * static_cast<std::size_t>(y * width + x);
            yuv[at] = centre ? 100 : x == 0 ? 255 : x == 15 ? 0 : 50;
            yuv[at + 1] = static_cast<std::uint8_t>(120 + x);
        }
    }
    YuvPipeline p({width, height});
    p.source.window.columnStart = 8;
    p.source.window.rowStart = 4;
    p.pipeline.RequestFlatFieldRebuild();
    FrameEvents events;
    ASSERT_TRUE(p.Run(yuv, events).has_value());
    EXPECT_TRUE(events.flatFieldBuilt);
    FrameEvents next;
    ASSERT_TRUE(p.Run(yuv, next).has_value());
    EXPECT_FALSE(next.flatFieldBuilt) << "built once";
    const auto entries = p.pipeline.FlatField().entries();
    EXPECT_EQ(entries[4 * 64 + 8], 6144 / 255);
    EXPECT_EQ(entries[6 * 64 + 8 + 5], 6144 / 100);
    EXPECT_EQ(entries[4 * 64 + 8 + 15], 6144) << "Y 0 counts as 1";

    p.pipeline.EnableFlatField(true);
    Bytes grabbed = yuv;
    const auto source = p.pipeline.ProcessGrab(p.settings, p.source, grabbed, false);
    ASSERT_TRUE(source.has_value());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 2 * static_cast<std::size_t>(y * width + x);
            EXPECT_EQ(grabbed[at], x == 15 ? 0 : 95) << x << "," << y;
            EXPECT_EQ(grabbed[at + 1], yuv[at + 1]);
        }
    }
}

TEST(YuvExposure, TheAlternateExposureMeasuresTheLumaOfItsYBytes) {
    // Y 100 everywhere: 10 x 153600 / 1537 = 999, below level 1's band
    // 1500..1700, so 100 x 1600 / 1009 on every fourth frame.
    Bytes yuv(2 * 64 * 48);
    for (std::size_t i = 0; i < yuv.size(); ++i) yuv[i] = i % 2 == 0 ? 100 : 128;
    YuvPipeline p({64, 48});
    p.settings.alternateExposure = true;
    for (int frame = 1; frame <= 4; ++frame) {
        FrameEvents events;
        ASSERT_TRUE(p.Run(yuv, events).has_value());
        EXPECT_EQ(events.reportExposure, frame == 4 ? std::optional<std::int32_t>(158) : std::nullopt) << frame;
        EXPECT_FALSE(events.sendExposure);
    }
}

TEST_F(LibraryTest, YuvCameraStoresTheFlatFieldItBuilds) {
    const auto folder = testing_support::UniqueTempPath("kq_yuv_flat");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    library.SetTableFolder(folder);
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0F01"));
    const std::uint32_t handle = Open(1, YuvWindow());
    auto on = [&](const std::function<int(BaseDevice&)>& op) { return library.WithDevice(handle, op); };
    FrameCount count;
    on([&](BaseDevice& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    on([](BaseDevice& d) { return d.ResetLightAvgTable(); });
    bus.SetReadBudget(0, 1);
    ASSERT_EQ(on([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(count.WaitFor(1));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
    Bytes raw(64 * 48 * 2);
    ASSERT_EQ(on([&](BaseDevice& d) { return d.GrabFrame(raw.data(), false, [](const DeliveredFrame&) { return 0; }); }),
              status::kSuccess);
    on([](BaseDevice& d) { return d.StopView(); });

    std::ifstream file(folder / "15_kq.lvf", std::ios::binary);
    const Bytes stored{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    file.close();
    std::filesystem::remove_all(folder);
    ASSERT_EQ(stored.size(), 3u * 1280 * 1026);
    std::uint64_t sum = 0, samples = 1;
    for (int y = 12; y < 36; ++y) {
        for (int x = 16; x < 48; ++x, ++samples) sum += raw[2 * (y * 64 + x)];
    }
    const int reference = static_cast<int>(sum / samples) * 64;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const std::size_t entry = static_cast<std::size_t>(y) * 1280 + x;
            const int gain = static_cast<std::int16_t>(stored[2 * entry] | stored[2 * entry + 1] << 8);
            ASSERT_EQ(gain, reference / std::max<int>(raw[2 * (y * 64 + x)], 1)) << x << "," << y;
        }
    }
    EXPECT_EQ(stored[2 * 48 * 1280], 64) << "rows the window does not cover keep unity";
}

}  // namespace
}  // namespace kq::test
