// The FPGA cameras' frame side against the simulated camera: the one-shot
// white balance on their Bayer cell and mirrored region, the pixel
// calibration through the exposure register, and snapshot names.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <vector>

#include "exposure_reports.h"
#include "frame_count.h"
#include "fpga_fixture.h"
#include "frame_pattern.h"
#include "gain_tables.h"
#include "le_bytes.h"
#include "models/brisel_fpga.h"
#include "sim/driver_core_device.h"
#include "unique_temp_dir.h"
#include "white_balance.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using kqcmos::FrameSize;

// A raw frame whose four cell positions hold 40 (even row, even column),
// 70 (even, odd), 110 (odd, even) and 200 (odd, odd).
std::vector<std::uint8_t> FourLevels(FrameSize size) {
    static constexpr std::uint8_t kLevels[4] = {40, 70, 110, 200};
    std::vector<std::uint8_t> raw(kqcmos::FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) raw[y * size.width + x] = kLevels[(y % 2) * 2 + x % 2];
    }
    return raw;
}

struct Balanced {
    kqcmos::GainTables tables;
    bool reported = false;
};

// One frame with a white balance pending through a pipeline of `model`,
// the measuring region set from the caller's corners first when given.
Balanced BalanceOnce(const PixelModel& model, FrameSize size, const std::vector<std::uint8_t>& raw,
                     const std::optional<std::array<int, 4>>& corners = std::nullopt) {
    FramePipeline pipeline({64, 64}, false);
    std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
    pipeline.Gains().red = kqcmos::GainTable(600);  // a balance kept from before
    if (corners) pipeline.AutoExposure().region().Set((*corners)[0], (*corners)[1], (*corners)[2], (*corners)[3], size);
    pipeline.RequestWhiteBalance(true);
    PictureSettings settings;
    settings.model = model;
    FrameSource source;
    source.window.size = size;
    FrameEvents events;
    (void)pipeline.Process(settings, source, events);
    EXPECT_FALSE(pipeline.WhiteBalanceRequested());
    return {pipeline.Gains(), events.whiteBalance.has_value()};
}

TEST(FpgaWhiteBalance, ReadsRedAndBlueOffTheDiagonal) {
    const FrameSize size{20, 12};
    const auto raw = FourLevels(size);
    const Balanced fpga = BalanceOnce(CKQNavelo_FPGA(DeviceIdentity{11, 0, 0}).Pixels(), size, raw);
    ASSERT_TRUE(fpga.reported);
    // Red 70, blue 110, green (40 + 200) / 2 = 120: the brightest.
    EXPECT_EQ(fpga.tables.red, kqcmos::WhiteBalanceTable(120.0 / 70));
    EXPECT_EQ(fpga.tables.blue, kqcmos::WhiteBalanceTable(120.0 / 110));
    EXPECT_EQ(fpga.tables.green, kqcmos::WhiteBalanceTable(1.0));
}

TEST(FpgaWhiteBalance, MeasuresTheRegionCountedFromTheFarEdges) {
    // Left half grey 100 with red 50; right half grey 100 with red 200.
    const FrameSize size{32, 16};
    std::vector<std::uint8_t> raw(kqcmos::FrameBytes(size), 100);
    for (int y = 0; y < size.height; y += 2) {
        for (int x = 1; x < size.width; x += 2) raw[y * size.width + x] = x < 16 ? 50 : 200;
    }
    const PixelModel fpga = CKQNavelo_FPGA(DeviceIdentity{11, 0, 0}).Pixels();
    // The caller's corners (rows counted from the bottom) cover columns 1..8.
    const Balanced left = BalanceOnce(fpga, size, raw, std::array<int, 4>{1, 15, 9, 1});
    ASSERT_TRUE(left.reported);
    // Mirrored, the right edge is measured: red is the brightest there.
    EXPECT_EQ(left.tables.red, kqcmos::WhiteBalanceTable(1.0));
    EXPECT_EQ(left.tables.green, kqcmos::WhiteBalanceTable(2.0));
}

TEST(FpgaWhiteBalance, AColourWithoutSamplesKeepsTheTablesAndStillReports) {
    const FrameSize size{20, 12};
    const auto raw = FourLevels(size);
    // One column of the caller's region, at the frame's far edge once
    // mirrored: only red and green fall into it.
    const Balanced column =
        BalanceOnce(CKQNavelo_FPGA(DeviceIdentity{11, 0, 0}).Pixels(), size, raw, std::array<int, 4>{1, 11, 2, 1});
    EXPECT_TRUE(column.reported);
    EXPECT_EQ(column.tables.red, kqcmos::GainTable(600));
    EXPECT_EQ(column.tables.blue, kqcmos::GainTable(kqcmos::kUnityGain));
}

TEST(FpgaWhiteBalance, AGreySensorOnlyDropsTheRequest) {
    const FrameSize size{20, 12};
    const Balanced grey = BalanceOnce(CKQJorvel_FPGA(DeviceIdentity{13, 1, 0}).Pixels(), size, FourLevels(size));
    EXPECT_FALSE(grey.reported);
    EXPECT_EQ(grey.tables.red, kqcmos::GainTable(600));
}

TEST_F(FpgaTest, OneShotWhiteBalanceReportsTheGainsOfItsCell) {
    const std::uint32_t handle = OpenFpga(SmallWindow());
    ExposureReports report;
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.SetDoAWB(true, &ExposureReports::On, &report); }),
              status::kSuccess);
    bus.SetReadBudget(0, 1);
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    {
        std::unique_lock<std::mutex> hold(report.lock);
        ASSERT_TRUE(report.came.wait_for(hold, 20s, [&] { return !report.values.empty(); }));
    }
    On(handle, [](CKQNavelo_FPGA& d) { return d.StopView(); });

    // The camera's first frame, balanced with red beside the top-left sample.
    std::vector<std::uint8_t> first(640 * 480);
    kqff::sim::FillBayerPicture(1, 640, 0, first);
    const auto expected = kqcmos::ComputeWhiteBalance({640, 480}, first, std::nullopt, {1, 0}).value();
    auto gain = [](const kqcmos::ByteTable& t) { return kqcmos::ReadBackGain(t).value_or(-1); };
    std::lock_guard<std::mutex> hold(report.lock);
    ASSERT_EQ(report.values.size(), 1u);
    EXPECT_EQ(report.values[0] >> 16, gain(expected.red));
    EXPECT_EQ(report.values[0] & 0xFFFF, gain(expected.green));
    EXPECT_EQ(report.seconds[0] >> 16, gain(expected.blue));
    EXPECT_EQ(report.seconds[0] & 0xFFFF, 100) << "the exposure";
    // The test picture's brightest samples sit on the cell's diagonal here.
    EXPECT_EQ(gain(expected.green), kqcmos::kUnityGain);
    EXPECT_GT(gain(expected.blue), kqcmos::kUnityGain);
}

// The exposure of each capture record sent, in order.
std::vector<int> SentExposures(const sim::SimulatedBus& bus) {
    std::vector<int> exposures;
    for (const auto& r : bus.LogOf(kqff::kIoctlSetFormat)) exposures.push_back(vz::GetLE16(r.input, 20));
    return exposures;
}

TEST_F(FpgaTest, PixelCalibrationWritesTheExposureRegisterAloneAndRestoresIt) {
    const std::uint32_t handle = OpenFpga();
    FrameCount count;
    On(handle, [&](CKQNavelo_FPGA& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.PixelCalibration(); }), status::kSuccess);
    bus.SetReadBudget(0, 0);
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
    bus.ClearLog();
    const auto frames = [&](int n) {
        const int target = count.frames + n;
        bus.AllowFrames(0, n);
        ASSERT_TRUE(count.WaitFor(target));
        ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
    };

    // The first frame switches to the maximum exposure, the eighth back; the
    // window (the whole sensor) stays as it is programmed.
    frames(1);
    auto lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x09, 10000}}));
    EXPECT_EQ(lists[0].width, 2048);
    EXPECT_EQ(lists[0].height, 1536);
    EXPECT_EQ(SentExposures(bus), (std::vector<int>{10000}));

    frames(6);
    EXPECT_EQ(Lists().size(), 1u) << "nothing else while the calibration runs";
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.PixelCalibrationRunning() ? 1 : 0; }), 1);
    frames(1);
    lists = Lists();
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[1].counted, (Writes{{0x09, 300}}));
    EXPECT_EQ(SentExposures(bus), (std::vector<int>{10000, 300}));
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.PixelCalibrationRunning() ? 1 : 0; }), 0);

    // Stopped half-way, the caller's exposure returns the same way.
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.PixelCalibration(); }), status::kSuccess);
    frames(2);
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StopView(); }), status::kSuccess);
    lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].counted, (Writes{{0x09, 300}}));
}

TEST_F(FpgaTest, CalibrationsOfTwoCamerasKeepTheirOwnSettings) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0B01", 1));
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0B01", 2));
    CapInfo second = FullWindow();
    second.exposure = 700;
    const std::uint32_t a = Open(1, FullWindow());
    const std::uint32_t b = Open(2, second);
    FrameCount count;
    for (std::size_t camera : {0u, 1u}) bus.SetReadBudget(camera, 1);
    for (std::uint32_t h : {a, b}) {
        On(h, [&](CKQNavelo_FPGA& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
        ASSERT_EQ(On(h, [](CKQNavelo_FPGA& d) { return d.PixelCalibration(); }), status::kSuccess);
        ASSERT_EQ(On(h, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    }
    ASSERT_TRUE(count.WaitFor(2));
    for (std::size_t camera : {0u, 1u}) ASSERT_TRUE(bus.WaitForBlockedRead(camera, 20s));
    // Each camera switched to the maximum exposure once, in either order.
    const auto sent = SentExposures(bus);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 10000), 2);
    bus.ClearLog();
    for (std::uint32_t h : {a, b}) On(h, [](CKQNavelo_FPGA& d) { return d.StopView(); });
    EXPECT_EQ(SentExposures(bus), (std::vector<int>{300, 700}));
}

// The type 11 camera answered by the driver's core, each frame it sends
// replaced by a planted one.
class PlantedFrames final : public sim::CameraBackend {
public:
    explicit PlantedFrames(std::vector<std::uint8_t> frame)
        : frame_(std::move(frame)), camera_(std::make_unique<sim::DriverCoreDevice>(0xF5A1, 0x0B01)) {
        camera_->Camera().SetFramesOnRequest(true);
        camera_->StartVideo();
    }
    void OnCreate() override { camera_->OnCreate(); }
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out) override {
        return camera_->Control(code, in, out);
    }
    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
        const auto read = camera_->Read(buffer);
        if (read) std::copy_n(frame_.begin(), std::min(*read, frame_.size()), buffer.begin());
        return read;
    }
    void OnClose() override { camera_->OnClose(); }
    void OnUnplug() override { camera_->OnUnplug(); }

private:
    std::vector<std::uint8_t> frame_;
    std::unique_ptr<sim::DriverCoreDevice> camera_;
};

class FpgaCalibrationFile : public FpgaTest {
protected:
    FpgaCalibrationFile() {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        // Grey 100 with two pixels that stand out from both their pairs, one
        // 19 above them and one on a row detection does not reach.
        std::vector<std::uint8_t> frame(2048 * 1536, 100);
        frame[10 * 2048 + 20] = 120;
        frame[1000 * 2048 + 1500] = 0;
        frame[30 * 2048 + 40] = 119;
        frame[1533 * 2048 + 300] = 0;
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0B01"), u"Planted",
                      [frame] { return std::make_unique<PlantedFrames>(frame); });
    }
    ~FpgaCalibrationFile() override { std::filesystem::remove_all(folder_); }

    // Opens the camera with its tables in `tables` and runs a whole
    // calibration over eight frames.
    std::uint32_t OpenAndCalibrate(const std::filesystem::path& tables) {
        library.SetTableFolder(tables);
        const std::uint32_t handle = Open(1, FullWindow());
        On(handle, [&](CKQNavelo_FPGA& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count_); });
        EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.PixelCalibration(); }), status::kSuccess);
        bus.SetReadBudget(0, 8);
        EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        EXPECT_TRUE(count_.WaitFor(8));
        EXPECT_TRUE(bus.WaitForBlockedRead(0, 20s));
        On(handle, [](CKQNavelo_FPGA& d) { return d.StopView(); });
        EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.PixelCalibrationRunning() ? 1 : 0; }), 0);
        return handle;
    }
    BaseDevice::TableFile LastTableFile(std::uint32_t handle) {
        BaseDevice::TableFile outcome = BaseDevice::TableFile::none;
        On(handle, [&](CKQNavelo_FPGA& d) {
            outcome = d.LastTableFile();
            return 0;
        });
        return outcome;
    }

    const std::filesystem::path folder_ = testing_support::UniqueTempPath("kq_fpga_calibration");
    FrameCount count_;
};

TEST_F(FpgaCalibrationFile, TheCalibrationStoresItsBadPixelsAndTheNextOpenLoadsThem) {
    std::uint32_t handle = OpenAndCalibrate(folder_);
    EXPECT_EQ(LastTableFile(handle), BaseDevice::TableFile::written);
    std::ifstream in(folder_ / "11_KQCMOS.bpt", std::ios::binary);
    const std::vector<std::uint8_t> stored{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    // Column, row of each, little-endian, in frame order.
    EXPECT_EQ(stored, (std::vector<std::uint8_t>{20, 0, 10, 0, 0xDC, 0x05, 0xE8, 0x03}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 1);

    ASSERT_EQ(library.Uninitialize(handle), status::kSuccess);
    handle = Open(1, FullWindow());
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return static_cast<int>(d.BadPixelCount()); }), 2);
}

TEST_F(FpgaCalibrationFile, AFolderThatTakesNoFileIsReportedAndTheTableStillCorrects) {
    const std::uint32_t handle = OpenAndCalibrate(folder_ / "gone");
    EXPECT_EQ(LastTableFile(handle), BaseDevice::TableFile::failed);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "gone"));
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return static_cast<int>(d.BadPixelCount()); }), 2);
}

TEST_F(FpgaTest, SnapshotsWithoutAPrefixAreNamedByTheLocalTime) {
    const std::uint32_t handle = OpenFpga(SmallWindow());
    const auto folder = testing_support::UniqueTempPath("kq_fpga_snapshot");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.SetTriggerMode(1); }), status::kSuccess);
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.GetTrigger(true, false, u"", 90); }), status::kSuccess);
    FrameCount count;
    On(handle, [&](CKQNavelo_FPGA& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
    const std::time_t start = std::time(nullptr);
    bus.SetReadBudget(0, 2);
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    ASSERT_TRUE(count.WaitFor(2));
    ASSERT_TRUE(bus.WaitForBlockedRead(0, 20s));
    On(handle, [](CKQNavelo_FPGA& d) { return d.StopView(); });
    const std::time_t end = std::time(nullptr);

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
        EXPECT_EQ(std::filesystem::file_size(entry.path()), 54u + 640u * 480u * 3u);
    }
    std::filesystem::current_path(before);
    std::filesystem::remove_all(folder);

    ASSERT_EQ(names.size(), 2u) << "one file for each frame, none overwritten";
    const std::regex form(R"((\d{8}_\d{6})_(\d{5})\.bmp)");
    auto stamp = [](std::time_t t) {
        char text[32];
        std::strftime(text, sizeof text, "%Y%m%d_%H%M%S", std::localtime(&t));
        return std::string(text);
    };
    for (const std::string& name : names) {
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(name, parts, form)) << name;
        EXPECT_GE(parts[1].str(), stamp(start));
        EXPECT_LE(parts[1].str(), stamp(end));
    }
}

}  // namespace
}  // namespace kq::test
