// The YUV camera (type 15) over the simulated bus: its capture record, the
// global gain that is also its sharpness, the requests it lacks, and its
// 4:2:2 frames through the capture thread and single grabs.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <filesystem>
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

TEST_F(YuvTest, OneShotWhiteBalanceTakesTheMeansOfThePicture) {
    ExposureReports report;
    ASSERT_EQ(On([&](CKQRovena_YUV& d) { return d.SetDoAWB(true, &ExposureReports::On, &report); }), status::kSuccess);
    bus.SetReadBudget(0, 1);
    ASSERT_EQ(On([](CKQRovena_YUV& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    {
        std::unique_lock<std::mutex> hold(report.lock);
        ASSERT_TRUE(report.came.wait_for(hold, 20s, [&] { return !report.values.empty(); }));
    }
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
    const Grabbed g = GrabLast();
    On([](CKQRovena_YUV& d) { return d.StopView(); });

    int width = 64, height = 48;
    const Bytes converted = kqcmos::test::ReferenceYuvToBgr(g.raw, width, height, 0);
    const auto tables = kqcmos::ComputeWhiteBalanceBgr({width, height}, converted, std::nullopt).value();
    auto gain = [](const kqcmos::ByteTable& t) { return kqcmos::ReadBackGain(t).value_or(-1); };
    std::lock_guard<std::mutex> hold(report.lock);
    ASSERT_EQ(report.values.size(), 1u);
    EXPECT_EQ(report.values[0] >> 16, gain(tables.red));
    EXPECT_EQ(report.values[0] & 0xFFFF, gain(tables.green));
    EXPECT_EQ(report.seconds[0] >> 16, gain(tables.blue));
    // The warm test picture: red is the brightest, blue is raised the most.
    EXPECT_EQ(gain(tables.red), kqcmos::kUnityGain);
    EXPECT_GT(gain(tables.blue), gain(tables.green));
    // The delivered picture went through the new tables.
    Bytes balanced = converted;
    kqcmos::ApplyGainLutBgr(balanced, tables);
    EXPECT_EQ(g.picture, balanced);
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
