// CImageAlgorithm over a camera double and an in-memory settings file: the
// gains and KQGE.ini, the one-shot and continuous white balance, the auto
// exposure loop, the display and snapshot paths, and every kind on tiny and
// odd frames.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "auto_exposure.h"
#include "conversion.h"
#include "frames.h"
#include "image_algorithm.h"
#include "tone_correction.h"

namespace kqge {
namespace {

using test::Bytes;

class MemorySettingsFile final : public AwbSettingsFile {
public:
    bool Exists() const override { return exists; }
    AwbGains Read(std::u16string_view section) const override {
        const auto it = sections.find(std::u16string(section));
        return it == sections.end() ? AwbGains{1, 1, 1} : it->second;
    }
    bool Write(std::u16string_view section, const AwbGains& gains) override {
        if (!writable) return false;
        exists = true;
        sections[std::u16string(section)] = gains;
        return true;
    }

    bool exists = false;
    bool writable = true;
    std::map<std::u16string, AwbGains> sections;
};

// Exposure in camera units is twice the lines; the scene's brightness is
// lines x gain, limited to 255.
class CameraDouble final : public ExposureControl {
public:
    std::int32_t ExposureLines() const override { return lines; }
    std::int32_t LinesToExposure(std::int32_t l) const override { return 2 * l; }
    void SetExposure(std::int32_t exposure) override {
        sent.push_back(exposure);
        lines = exposure / 2;
    }
    int Brightness() const { return std::min(255, lines * gain); }

    std::int32_t lines = 10;
    int gain = 1;
    std::vector<std::int32_t> sent;
};

struct Reports {
    std::vector<std::int32_t> values;
    static void Record(std::int32_t value, std::int32_t zero, void* user) {
        EXPECT_EQ(zero, 0);
        static_cast<Reports*>(user)->values.push_back(value);
    }
};

class Algorithm : public ::testing::Test {
protected:
    ConvertedFrame Run(FrameSize size, OutputKind kind, Bytes& raw, Bytes& out, FramePath path = FramePath::display) {
        out.assign(OutputFrameBytes(size, kind), 0);
        scratch.assign(ScratchBytes(size, kind), 0);
        return algorithm.Convert(size, kind, raw, out, scratch, path);
    }

    CameraDouble camera;
    MemorySettingsFile file;
    CImageAlgorithm algorithm{camera, file, 0x14000};
    Bytes scratch;
};

TEST_F(Algorithm, MissingFileLeavesGainsZeroAndTablesIdentity) {
    EXPECT_EQ(algorithm.LoadAwb(), 0);
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{0, 0, 0}));
    EXPECT_EQ(algorithm.CurrentAwbTables().red, IdentityAwbTables().red);
}

TEST_F(Algorithm, LoadsTheModelsSectionAndBuildsTables) {
    file.exists = true;
    file.sections[u"Parsun_AWB"] = {100, 200, 50};
    file.sections[u"AWB"] = {9, 9, 9};
    EXPECT_EQ(algorithm.LoadAwb(), 1);
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{100, 200, 50}));
    EXPECT_EQ(algorithm.CurrentAwbTables().red[100], 200);
    EXPECT_EQ(algorithm.CurrentAwbTables().blue[50], 200);
}

TEST_F(Algorithm, UnreadableGainsLeaveIdentityTables) {
    file.exists = true;
    for (const AwbGains bad : {AwbGains{0, 100, 100}, AwbGains{100, -7, 100}}) {
        file.sections[u"Parsun_AWB"] = bad;
        EXPECT_EQ(algorithm.LoadAwb(), 1);
        EXPECT_EQ(algorithm.CurrentAwbTables().green, IdentityAwbTables().green);
    }
}

TEST_F(Algorithm, ResetGainsAcceptsTwoTo255AndSaves) {
    algorithm.ReSetAWBVal(1, 100, 100);
    algorithm.ReSetAWBVal(100, 256, 100);
    algorithm.ReSetAWBVal(100, 100, 0);
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{0, 0, 0}));
    EXPECT_TRUE(file.sections.empty());
    algorithm.ReSetAWBVal(2, 255, 128);
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{2, 255, 128}));
    EXPECT_EQ(file.sections.at(u"Parsun_AWB"), (AwbGains{2, 255, 128}));
    EXPECT_EQ(algorithm.CurrentAwbTables().red[1], 127);
}

TEST(AlgorithmSections, ModelWithoutItsOwnNameUsesAwb) {
    CameraDouble camera;
    MemorySettingsFile file;
    CImageAlgorithm other{camera, file, 0x12345};
    other.ReSetAWBVal(10, 20, 30);
    EXPECT_EQ(file.sections.count(u"AWB"), 1u);
    EXPECT_EQ(AwbSectionName(0x10050000), u"CMOSEbrant_AWB");
}

TEST_F(Algorithm, SlotsRefuseWhatTheOtherAutomaticFunctionBlocks) {
    EXPECT_EQ(algorithm.SetDoAWB(1, false, nullptr, nullptr), CImageAlgorithm::kNotColor);
    algorithm.settings().SetSensor(0, 0);
    ASSERT_EQ(algorithm.SetDoAWB(1, false, nullptr, nullptr), 0);
    EXPECT_EQ(algorithm.SetDoAE(false, true, nullptr, nullptr), CImageAlgorithm::kBusy);
    ASSERT_EQ(algorithm.SetDoAWB(0x100, false, nullptr, nullptr), 0);  // low byte 0: nothing pending
    EXPECT_FALSE(algorithm.WhiteBalancePending());
    ASSERT_EQ(algorithm.SetDoAE(false, true, nullptr, nullptr), 0);
    EXPECT_EQ(algorithm.SetDoAWB(1, false, nullptr, nullptr), CImageAlgorithm::kBusy);
}

Bytes TintedPhase3(FrameSize size) {
    Bytes raw(static_cast<std::size_t>(size.width) * size.height);
    for (int r = 0; r < size.height; ++r)
        for (int c = 0; c < size.width; ++c)
            raw[static_cast<std::size_t>(r * size.width + c)] = (r % 2 == 0 && c % 2 == 0)   ? 100
                                                                : (r % 2 == 1 && c % 2 == 1) ? 25
                                                                                             : 50;
    return raw;
}

TEST_F(Algorithm, OneShotMeasuresOnTheDisplayPathOnlyAndContinuousApplies) {
    algorithm.settings().SetSensor(0, 0);
    ASSERT_EQ(algorithm.SetDoAWB(1, true, nullptr, nullptr), 0);
    Bytes raw = TintedPhase3({4, 4}), out;
    ASSERT_TRUE(Run({4, 4}, OutputKind::raw8, raw, out, FramePath::snapshot).ok);
    EXPECT_TRUE(algorithm.WhiteBalancePending());
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{0, 0, 0}));
    EXPECT_EQ(out, TintedPhase3({4, 4}));  // identity tables

    raw = TintedPhase3({4, 4});
    ASSERT_TRUE(Run({4, 4}, OutputKind::raw8, raw, out).ok);
    EXPECT_FALSE(algorithm.WhiteBalancePending());
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{100, 50, 25}));
    EXPECT_EQ(file.sections.at(u"Parsun_AWB"), (AwbGains{100, 50, 25}));
    Bytes expected = TintedPhase3({4, 4});
    for (auto& v : expected) v = v == 25 ? 94 : 100;
    EXPECT_EQ(out, expected);
}

TEST_F(Algorithm, CorrectionAndToneFollowTheFlags) {
    Bytes raw = {200, 80, 90, 100}, out;
    algorithm.settings().SetFlip(0, 1, 1);
    ASSERT_TRUE(Run({2, 2}, OutputKind::raw8, raw, out).ok);
    EXPECT_EQ(out, (Bytes{200, 80, 90, 100}));
    algorithm.settings().SetConvert(true);
    raw = {200, 80, 90, 100};
    ASSERT_TRUE(Run({2, 2}, OutputKind::raw8, raw, out).ok);
    EXPECT_EQ(out, (Bytes{180, 44, 44, 108}));
    algorithm.settings().SetConvert(false);
    algorithm.settings().SetHdr(true);
    raw = {200, 80, 90, 100};
    ASSERT_TRUE(Run({2, 2}, OutputKind::raw8, raw, out).ok);
    const ToneCurve& t = HdrToneCurve();
    EXPECT_EQ(out, (Bytes{t[200], t[80], t[90], t[100]}));
}

TEST_F(Algorithm, AutoExposureInsideTheWindowStopsWithoutWriting) {
    Reports reports;
    ASSERT_EQ(algorithm.SetDoAE(false, true, &Reports::Record, &reports), 0);
    for (int frame = 0; frame < 5; ++frame) {
        Bytes raw(64 * 64, 160), out;
        ASSERT_TRUE(Run({64, 64}, OutputKind::grey8, raw, out).ok);
        EXPECT_EQ(algorithm.AutoExposureRunning(), frame < 4) << frame;
    }
    EXPECT_TRUE(camera.sent.empty());
    // 160 x 1024 / 1025 = 159: inside 140..180.
    EXPECT_EQ(reports.values, (std::vector<std::int32_t>{20}));
}

TEST_F(Algorithm, AutoExposureConvergesOnASceneAndReportsOnce) {
    Reports reports;
    camera.lines = 7;
    camera.gain = 3;
    ASSERT_EQ(algorithm.SetDoAE(true, true, &Reports::Record, &reports), 0);
    int frames = 0;
    while (algorithm.AutoExposureRunning() && frames < 200) {
        Bytes raw(64 * 64, static_cast<std::uint8_t>(camera.Brightness())), out;
        ASSERT_TRUE(Run({64, 64}, OutputKind::color, raw, out).ok);
        ++frames;
    }
    EXPECT_FALSE(algorithm.AutoExposureRunning());
    EXPECT_FALSE(camera.sent.empty());
    EXPECT_TRUE(AeTargetWindow(1).Contains(camera.Brightness() * 1024 / 1025)) << camera.Brightness();
    ASSERT_EQ(reports.values.size(), 1u);
    EXPECT_EQ(reports.values[0], 2 * camera.lines);
    // Measured on the fifth frame, then every fourth.
    EXPECT_EQ(frames % 4, 1);
}

TEST_F(Algorithm, SnapshotsNeverAdvanceTheAutoExposure) {
    ASSERT_EQ(algorithm.SetDoAE(false, true, nullptr, nullptr), 0);
    for (int frame = 0; frame < 12; ++frame) {
        Bytes raw(16 * 16, 10), out;
        ASSERT_TRUE(Run({16, 16}, OutputKind::color, raw, out, FramePath::snapshot).ok);
    }
    EXPECT_TRUE(camera.sent.empty());
    EXPECT_TRUE(algorithm.AutoExposureRunning());
}

TEST_F(Algorithm, AeParamClearedReportsAtOnce) {
    Reports reports;
    ASSERT_EQ(algorithm.SetDoAE(false, false, &Reports::Record, &reports), 0);
    camera.lines = 33;
    algorithm.AEParam(false, 2);
    EXPECT_EQ(reports.values, (std::vector<std::int32_t>{66}));
}

TEST_F(Algorithm, QuarterTurnExchangesTheSize) {
    algorithm.settings().SetFlip(4, 3, 3);
    Bytes raw = test::Rows({{1, 2, 3}, {4, 5, 6}}), out;
    const ConvertedFrame turned = Run({3, 2}, OutputKind::raw8, raw, out);
    ASSERT_TRUE(turned.ok);
    EXPECT_EQ(turned.size, (FrameSize{2, 3}));
    EXPECT_EQ(out, (Bytes{4, 1, 5, 2, 6, 3}));
}

TEST_F(Algorithm, FlipRunsBeforeConversion) {
    algorithm.settings().SetFlip(2, 3, 3);
    Bytes raw = test::Rows({{1, 2, 3}, {4, 5, 6}}), out;
    ASSERT_TRUE(Run({3, 2}, OutputKind::raw8, raw, out).ok);
    EXPECT_EQ(out, (Bytes{4, 5, 6, 1, 2, 3}));
}

TEST_F(Algorithm, SaturationAndSharpnessAtTheirNeutralValuesLeaveThePicture) {
    Bytes raw = test::Frame4x4(), neutral, changed;
    ASSERT_TRUE(Run({4, 4}, OutputKind::color, raw, neutral).ok);
    Bytes converted(48);
    ASSERT_TRUE(ConvertToColor({4, 4}, 3, test::Frame4x4(), converted));
    EXPECT_EQ(neutral, converted);
    for (int saturation : {1, 16}) {
        algorithm.settings().SetSaturation(saturation);
        raw = test::Frame4x4();
        ASSERT_TRUE(Run({4, 4}, OutputKind::color, raw, changed).ok);
        // Rows 1 and 2 are the interior rows saturation works on.
        EXPECT_NE(std::vector(changed.begin() + 12, changed.begin() + 36),
                  std::vector(neutral.begin() + 12, neutral.begin() + 36))
            << saturation;
        EXPECT_TRUE(std::equal(neutral.begin(), neutral.begin() + 12, changed.begin())) << saturation;
    }
    algorithm.settings().SetSaturation(8);
    algorithm.settings().SetSharpness(8);
    raw = test::Frame4x4();
    ASSERT_TRUE(Run({4, 4}, OutputKind::color, raw, changed).ok);
    EXPECT_NE(changed, neutral);
}

TEST_F(Algorithm, RefusesShortBuffers) {
    Bytes raw(15), out(48, 0xEE), work(48);
    EXPECT_FALSE(algorithm.Convert({4, 4}, OutputKind::color, raw, out, work, FramePath::display).ok);
    raw.resize(16);
    EXPECT_FALSE(
        algorithm.Convert({4, 4}, OutputKind::color, raw, std::span(out).first(47), work, FramePath::display).ok);
    EXPECT_FALSE(
        algorithm.Convert({4, 4}, OutputKind::color, raw, out, std::span(work).first(47), FramePath::display).ok);
    EXPECT_EQ(out, Bytes(48, 0xEE));
}

// Every kind, flip and phase on tiny and odd frames with every step on:
// exactly sized buffers, so ASan sees any access outside them.
TEST(AlgorithmTinyFrames, EveryKindStaysInsideItsBuffers) {
    for (const FrameSize size :
         {FrameSize{1, 1}, FrameSize{2, 2}, FrameSize{3, 5}, FrameSize{99, 99}, FrameSize{101, 100}, FrameSize{2, 1}}) {
        for (int kindValue = 0; kindValue <= 5; ++kindValue) {
            for (int flip = 0; flip <= 5; ++flip) {
                CameraDouble camera;
                MemorySettingsFile file;
                CImageAlgorithm algorithm{camera, file, 0x20000};
                ImageSettings s;
                s.contrast = 40;
                s.saturation = 12;
                s.sharpness = 5;
                s.flipMode = flip;
                s.interpolationPhase = s.measurementPhase = 1 + flip % 4;
                s.sensorColorKind = 0;
                s.validBits = 8 + 2 * (flip % 3);
                s.hdr = s.convert = true;
                algorithm.settings().Store(s);
                ASSERT_EQ(algorithm.SetDoAWB(1, true, nullptr, nullptr), 0);
                algorithm.AEParam(true, 1);
                ASSERT_EQ(algorithm.SetDoAE(true, true, nullptr, nullptr), CImageAlgorithm::kBusy);
                OutputKind kind;
                ASSERT_TRUE(ToOutputKind(kindValue, kind));
                Bytes raw(RawFrameBytes(size, kind), 77);
                Bytes out(OutputFrameBytes(size, kind));
                Bytes scratch(ScratchBytes(size, kind));
                for (int frame = 0; frame < 5; ++frame) {
                    const ConvertedFrame c = algorithm.Convert(size, kind, raw, out, scratch, FramePath::display);
                    ASSERT_TRUE(c.ok) << size.width << " x " << size.height << " kind " << kindValue;
                    const bool turned = flip == 4 || flip == 5;
                    const FrameSize expected = turned ? FrameSize{size.height, size.width} : size;
                    EXPECT_EQ(c.size, expected);
                }
            }
        }
    }
}

}  // namespace
}  // namespace kqge

namespace kqge {
namespace {

// The display path and snapshot workers convert through one algorithm while
// another thread changes the flip and the contrast. Each frame reads the
// settings once, so every picture is exactly one of the four pictures the
// combinations give, with the size its flip gives.
TEST(AlgorithmThreads, EveryPictureComesFromOneReadingOfTheSettings) {
    const FrameSize size{8, 6};
    Bytes raw(48);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(37 * i % 251);

    struct Variant {
        int flip;
        int contrast;
        Bytes picture;
        FrameSize size;
    };
    std::vector<Variant> variants;
    for (int flip : {1, 4}) {
        for (int contrast : {32, 50}) {
            CameraDouble camera;
            MemorySettingsFile file;
            CImageAlgorithm single(camera, file, 0x14000);
            single.settings().SetFlip(flip, 3, 3);
            single.settings().SetContrast(contrast);
            Bytes copy = raw, out(OutputFrameBytes(size, OutputKind::color)),
                  scratch(ScratchBytes(size, OutputKind::color));
            const ConvertedFrame c = single.Convert(size, OutputKind::color, copy, out, scratch, FramePath::snapshot);
            ASSERT_TRUE(c.ok);
            variants.push_back({flip, contrast, out, c.size});
        }
    }

    CameraDouble camera;
    MemorySettingsFile file;
    CImageAlgorithm shared(camera, file, 0x14000);
    shared.settings().SetFlip(1, 3, 3);
    std::atomic<bool> done{false};
    std::atomic<int> mismatches{0};
    auto convertLoop = [&](FramePath path) {
        Bytes copy, out(OutputFrameBytes(size, OutputKind::color)), scratch(ScratchBytes(size, OutputKind::color));
        for (int frame = 0; frame < 2000; ++frame) {
            copy = raw;
            const ConvertedFrame c = shared.Convert(size, OutputKind::color, copy, out, scratch, path);
            const bool known = std::any_of(variants.begin(), variants.end(), [&](const Variant& v) {
                return c.ok && v.picture == out && v.size == c.size;
            });
            if (!known) mismatches.fetch_add(1);
        }
    };
    std::thread setter([&] {
        for (int i = 0; !done.load(); ++i) {
            shared.settings().SetFlip(i % 2 == 0 ? 4 : 1, 3, 3);
            shared.settings().SetContrast(i % 3 == 0 ? 50 : 32);
        }
    });
    {
        std::vector<std::jthread> converters;
        converters.emplace_back(convertLoop, FramePath::display);
        for (int worker = 0; worker < 3; ++worker) converters.emplace_back(convertLoop, FramePath::snapshot);
    }
    done.store(true);
    setter.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace kqge
