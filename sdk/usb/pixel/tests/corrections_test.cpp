#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "bad_pixels.h"
#include "flat_field.h"
#include "pixel_calibration.h"
#include "table_file.h"
#include "test_frames.h"

namespace kqcmos {
namespace {

using test::At;
using test::Bytes;

class TableFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing_support::UniqueTempPath(
            "kqcmos_pixel_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path dir_;
};

Bytes UniformBayer(FrameSize size, int red, int green, int blue) {
    Bytes raw(FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            At(raw, size, y, x) = static_cast<std::uint8_t>((y % 2 == 0 && x % 2 == 0)   ? red
                                                            : (y % 2 == 1 && x % 2 == 1) ? blue
                                                                                         : green);
        }
    }
    return raw;
}

TEST(FlatField, UniformFrameGivesEqualGainsAndTheWeightedReference) {
    const FrameSize sensor{16, 12};
    FlatFieldTable table(sensor);
    const SensorWindow window{0, 0, sensor};
    Bytes raw(FrameBytes(sensor), 100);
    ASSERT_TRUE(table.Build(window, raw));
    // The centre half holds 4 x 4 cells and the divisor starts at 1:
    // means 100 x 16 / 17 = 94, reference (940 / 10) x 64.
    const int reference = 94 * 64;
    for (int i = 0; i < 16 * 12; ++i) {
        ASSERT_EQ(table.entries()[static_cast<std::size_t>(i)], reference / 100);
    }
    ASSERT_TRUE(table.Apply(window, raw));
    EXPECT_EQ(raw, Bytes(raw.size(), static_cast<std::uint8_t>(100 * (reference / 100) >> 6)));
}

TEST(FlatField, BlackPixelGetsTheWholeReferenceAndOverflowClamps) {
    const FrameSize sensor{8, 8};
    FlatFieldTable table(sensor);
    const SensorWindow window{0, 0, sensor};
    Bytes raw = UniformBayer(sensor, 100, 100, 100);
    At(raw, sensor, 1, 0) = 0;
    ASSERT_TRUE(table.Build(window, raw));
    const int gainOfBlack = table.entries()[8];
    EXPECT_EQ(gainOfBlack, (100 * 4 / 5) * 64);  // means 80 over 4 cells + 1: reference / 1
    Bytes bright(FrameBytes(sensor), 200);
    ASSERT_TRUE(table.Apply(window, bright));
    EXPECT_EQ(At(bright, sensor, 1, 0), 255);
}

TEST(FlatField, TableIsIndexedInSensorCoordinates) {
    // A gain built on the full sensor corrects the same sensor pixel seen
    // through a smaller window elsewhere on the sensor.
    const FrameSize sensor{20, 10};
    FlatFieldTable table(sensor);
    Bytes full(FrameBytes(sensor), 64);
    At(full, sensor, 6, 13) = 32;  // a darker sensor pixel
    ASSERT_TRUE(table.Build({0, 0, sensor}, full));
    const SensorWindow window{10, 4, {8, 4}};
    Bytes part(FrameBytes(window.size), 32);
    ASSERT_TRUE(table.Apply(window, part));
    const int unityOut = 32 * table.entries()[0] >> 6;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int want = (y == 2 && x == 3) ? 32 * table.entries()[6 * 20 + 13] >> 6 : unityOut;
            EXPECT_EQ(At(part, window.size, y, x), want) << y << "," << x;
        }
    }
    EXPECT_GT(At(part, window.size, 2, 3), unityOut);
}

TEST(FlatField, WindowsOffTheSensorAreRefused) {
    const FrameSize sensor{16, 8};
    FlatFieldTable table(sensor);
    Bytes raw(16 * 16, 1);
    const Bytes before = raw;
    EXPECT_FALSE(table.Apply({2, 0, {16, 8}}, raw));
    EXPECT_FALSE(table.Apply({0, 0, {16, 11}}, raw));
    EXPECT_FALSE(table.Apply({-2, 0, {8, 8}}, raw));
    EXPECT_FALSE(table.Apply({0, 0, {16, 8}}, std::span(raw).first(127)));
    EXPECT_FALSE(table.Build({0, 4, {16, 7}}, raw));
    EXPECT_EQ(raw, before);
    EXPECT_TRUE(table.Apply({0, 0, {16, 10}}, raw));  // the two spare rows are usable
}

TEST(FlatField, NegativeGainsGiveZero) {
    const FrameSize sensor{4, 4};
    FlatFieldTable table(sensor);
    Bytes file(table.StoredBytes(), 0);
    file[0] = 0xC0;
    file[1] = 0xFF;  // -64
    table.FromBytes(file);
    Bytes raw(16, 100);
    ASSERT_TRUE(table.Apply({0, 0, sensor}, raw));
    EXPECT_EQ(raw[0], 0);
    EXPECT_EQ(raw[1], 0);  // gain 0
}

TEST_F(TableFiles, FlatFieldFileRoundTripsWithAFixedLength) {
    const FrameSize sensor{12, 6};
    FlatFieldTable table(sensor);
    Bytes raw = test::RandomBytes(FrameBytes(sensor), 8);
    ASSERT_TRUE(table.Build({0, 0, sensor}, raw));
    const auto path = dir_ / FlatFieldFileName(7);
    EXPECT_EQ(path.filename(), "7_kq.lvf");
    ASSERT_TRUE(SaveFlatFieldFile(path, table));
    EXPECT_EQ(std::filesystem::file_size(path), 3u * 12 * 8);
    FlatFieldTable loaded(sensor);
    ASSERT_TRUE(LoadFlatFieldFile(path, loaded));
    EXPECT_TRUE(
        std::equal(loaded.entries().begin(), loaded.entries().begin() + 3 * 12 * 8 / 2, table.entries().begin()));
}

TEST_F(TableFiles, ShortOversizedAndMissingFlatFieldFiles) {
    const FrameSize sensor{4, 2};
    FlatFieldTable table(sensor);
    const auto path = dir_ / "short.lvf";
    WriteBytes(path, {0x10, 0x00, 0x20, 0x00, 0x30});  // two entries and a stray byte
    ASSERT_TRUE(LoadFlatFieldFile(path, table));
    EXPECT_EQ(table.entries()[0], 16);
    EXPECT_EQ(table.entries()[1], 32);
    EXPECT_EQ(table.entries()[2], kUnityFlatGain);

    Bytes big(table.StoredBytes() * 4, 0x01);
    WriteBytes(path, big);
    ASSERT_TRUE(LoadFlatFieldFile(path, table));
    EXPECT_EQ(table.entries()[table.StoredBytes() / 2 - 1], 0x0101);
    EXPECT_EQ(table.entries()[table.StoredBytes() / 2], kUnityFlatGain);  // beyond the stored part

    FlatFieldTable untouched(sensor);
    EXPECT_FALSE(LoadFlatFieldFile(dir_ / "missing.lvf", untouched));
    EXPECT_TRUE(std::all_of(untouched.entries().begin(), untouched.entries().end(),
                            [](std::int16_t g) { return g == kUnityFlatGain; }));
    EXPECT_FALSE(SaveFlatFieldFile(dir_ / "no_such_folder" / "x.lvf", table));
}

TEST(BadPixels, DetectsTwentyAboveBothPairsButNotNineteen) {
    const FrameSize size{12, 10};
    Bytes raw(FrameBytes(size), 100);
    At(raw, size, 4, 5) = 120;
    At(raw, size, 6, 7) = 119;
    for (int y = 0; y < size.height; ++y) {
        At(raw, size, y, 8) = 150;  // a bright column: its vertical pairs agree
    }
    BadPixelTable table;
    ASSERT_TRUE(table.Detect({0, 0, size}, raw));
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table.entries()[0], (BadPixel{5, 4}));
}

TEST(BadPixels, DetectionStopsAtTheTableLimit) {
    const FrameSize size{700, 300};
    Bytes raw(FrameBytes(size), 0);
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            At(raw, size, y, x) = ((y / 2 + x / 2) % 2 == 0) ? 200 : 0;  // every sample differs from its pairs
        }
    }
    BadPixelTable table;
    ASSERT_TRUE(table.Detect({0, 0, size}, raw));
    EXPECT_EQ(table.size(), kMaxBadPixels);
}

TEST(BadPixels, CorrectionUsesTheFourSameColourNeighbours) {
    const SensorWindow window{0, 0, {12, 10}};
    Bytes raw(FrameBytes(window.size), 100);
    At(raw, window.size, 4, 5) = 250;
    At(raw, window.size, 2, 5) = 40;
    BadPixelTable table;
    ASSERT_TRUE(table.Detect(window, raw));
    ASSERT_GE(table.size(), 1u);
    table.Correct(window, false, raw);
    EXPECT_EQ(At(raw, window.size, 4, 5), (40 + 100 + 100 + 100) / 4);
}

TEST(BadPixels, EntriesNearTheWindowEdgeAreLeftAlone) {
    BadPixelTable table;
    // Columns and rows inside the window but within 2 of an edge, and one
    // far outside; then one inside for contrast.
    Bytes records;
    for (const auto& [c, r] : std::vector<std::pair<int, int>>{
             {12, 15}, {13, 15}, {20, 12}, {20, 13}, {20, 20}, {21, 20}, {-300, 5}, {32000, 32000}, {16, 15}}) {
        for (const int v : {c, r}) {
            records.push_back(static_cast<std::uint8_t>(v & 0xFF));
            records.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        }
    }
    table.FromBytes(records);
    const SensorWindow window{10, 10, {12, 12}};
    Bytes raw(FrameBytes(window.size), 100);
    At(raw, window.size, 5, 6) = 0;  // sensor (16, 15)
    const Bytes before = raw;
    table.Correct(window, false, raw);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (i != 5 * 12 + 6) {
            ASSERT_EQ(raw[i], before[i]) << i;
        }
    }
    EXPECT_EQ(At(raw, window.size, 5, 6), 100);
}

TEST(BadPixels, OddWindowStartCannotReachPastTheFrame) {
    // Window start 11: the frame begins at sensor column 10, so sensor column
    // 11 + 12 - 3 = 20 is frame column 10 whose right neighbour would be 12.
    BadPixelTable table;
    table.FromBytes(Bytes{20, 0, 16, 0});
    const SensorWindow window{11, 11, {12, 12}};
    Bytes raw(FrameBytes(window.size), 100);
    const Bytes before = raw;
    table.Correct(window, false, raw);
    EXPECT_EQ(raw, before);
}

TEST(BadPixels, HalfResolutionHonoursTheWindowStartAndNeighbourBounds) {
    // Half resolution: window of 8 x 8 at sensor (40, 20) reads 16 x 16 sensor
    // pixels. Sensor (40 + 10, 20 + 8) maps to frame column 0 + 2 x 2 = 4 + 0,
    // row 0 + 2 x 2 = 4.
    const SensorWindow window{40, 20, {8, 8}};
    BadPixelTable table;
    table.FromBytes(Bytes{50, 0, 28, 0,    // inside: frame (4, 4)
                          42, 0, 20, 0,    // frame (0, 0): no left neighbours
                          55, 0, 33, 0,    // frame column 7, row 5: no right neighbours
                          10, 0, 28, 0});  // left of the window
    Bytes raw(FrameBytes(window.size), 100);
    At(raw, window.size, 4, 4) = 0;
    At(raw, window.size, 0, 0) = 0;
    At(raw, window.size, 5, 7) = 0;
    table.Correct(window, true, raw);
    EXPECT_EQ(At(raw, window.size, 4, 4), 100);
    EXPECT_EQ(At(raw, window.size, 0, 0), 0);
    EXPECT_EQ(At(raw, window.size, 5, 7), 0);
    EXPECT_TRUE(IsHalfResolution(true, {640, 512}, {1280, 1024}));
    EXPECT_FALSE(IsHalfResolution(true, {641, 512}, {1280, 1024}));
    EXPECT_FALSE(IsHalfResolution(false, {640, 512}, {1280, 1024}));
}

TEST(BadPixels, RecordsParseWholeAndCapped) {
    BadPixelTable table;
    table.FromBytes(Bytes{0x05, 0x00, 0xFF, 0xFF, 0x01});
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table.entries()[0], (BadPixel{5, -1}));
    EXPECT_EQ(table.ToBytes(), (Bytes{0x05, 0x00, 0xFF, 0xFF}));
    table.FromBytes(Bytes((kMaxBadPixels + 10) * 4, 0x02));
    EXPECT_EQ(table.size(), kMaxBadPixels);
}

TEST_F(TableFiles, BadPixelFileRoundTripAndOversizedFile) {
    const FrameSize size{12, 10};
    Bytes raw(FrameBytes(size), 100);
    At(raw, size, 4, 5) = 0;
    BadPixelTable table;
    ASSERT_TRUE(table.Detect({0, 0, size}, raw));
    const auto path = dir_ / BadPixelFileName(3);
    EXPECT_EQ(path.filename(), "3_KQCMOS.bpt");
    ASSERT_TRUE(SaveBadPixelFile(path, table));
    EXPECT_EQ(std::filesystem::file_size(path), table.size() * 4);
    BadPixelTable loaded;
    ASSERT_TRUE(LoadBadPixelFile(path, loaded));
    EXPECT_TRUE(
        std::equal(loaded.entries().begin(), loaded.entries().end(), table.entries().begin(), table.entries().end()));
    WriteBytes(path, Bytes(500000, 0x03));
    ASSERT_TRUE(LoadBadPixelFile(path, loaded));
    EXPECT_EQ(loaded.size(), kMaxBadPixels);
    EXPECT_FALSE(LoadBadPixelFile(dir_ / "missing.bpt", loaded));
    EXPECT_EQ(loaded.size(), kMaxBadPixels);
}

Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(TableFiles, AWriteReplacesTheFileWholeOrNotAtAll) {
    const auto path = dir_ / "3_KQCMOS.bpt";
    const Bytes good{1, 0, 2, 0, 3, 0, 4, 0};
    ASSERT_TRUE(WriteWholeFile(path, good));
    const Bytes shorter{9, 0, 8, 0};
    ASSERT_TRUE(WriteWholeFile(path, shorter));
    EXPECT_EQ(ReadAll(path), shorter) << "an existing file is replaced, not overlaid";

    EXPECT_FALSE(WriteWholeFile(dir_ / "no_such_folder" / "x.bpt", good));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "no_such_folder"));
#ifndef _WIN32
    // A medium that fills up half-way: the file size limit stops the write
    // after 100 bytes.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteWholeFile(path, Bytes(4000, 0x55));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadAll(path), shorter) << "the table stored before stays whole";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 1)
        << "nothing left beside it";
#endif
}

TEST(PixelCalibration, RunsEightFramesThenRestoresTheCallersSettings) {
    PixelCalibration cal;
    const CaptureSettings caller{120, {0, 0, {1280, 1024}}};
    const CaptureSettings full{5000, {0, 0, {1280, 1024}}};
    EXPECT_FALSE(cal.Arm(false));
    ASSERT_TRUE(cal.Arm(true));
    EXPECT_FALSE(cal.Arm(true));  // already running
    std::vector<int> detectFrames;
    std::vector<std::pair<int, CaptureSettings>> applied;
    for (int frame = 1; frame <= 10; ++frame) {
        const PixelCalibration::Step step = cal.Advance(caller, full);
        if (step.detectNow) {
            detectFrames.push_back(frame);
        }
        if (step.apply) {
            applied.emplace_back(frame, *step.apply);
        }
    }
    EXPECT_EQ(detectFrames, std::vector<int>{6});
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[0], std::make_pair(1, full));
    EXPECT_EQ(applied[1], std::make_pair(8, caller));
    EXPECT_FALSE(cal.armed());
    EXPECT_EQ(cal.countdown(), PixelCalibration::kIdleCountdown);
}

TEST(PixelCalibration, StoppingCaptureDisarmsAndReturnsTheSavedSettings) {
    PixelCalibration cal;
    const CaptureSettings caller{77, {0, 0, {640, 480}}};
    const CaptureSettings full{5000, {0, 0, {640, 480}}};
    ASSERT_TRUE(cal.Arm(true));
    EXPECT_EQ(cal.Disarm(), std::nullopt);  // stopped before any frame: nothing to restore
    EXPECT_FALSE(cal.armed());
    ASSERT_TRUE(cal.Arm(true));
    (void)cal.Advance(caller, full);
    (void)cal.Advance(full, full);
    EXPECT_EQ(cal.Disarm(), caller);
    EXPECT_FALSE(cal.Advance(full, full).apply.has_value());
    EXPECT_TRUE(cal.Arm(true));  // a new calibration can start
}

}  // namespace
}  // namespace kqcmos
