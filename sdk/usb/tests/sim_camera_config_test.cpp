// KQSimCam.ini as the simulated-camera build reads it: each key's meaning,
// the identification the library makes of the instance id it becomes, and
// the fallback for every bad value.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/device_identification.h"
#include "core/model_geometry.h"
#include "simcam/ini_text.h"
#include "simcam/sim_camera_config.h"
#include "unique_temp_dir.h"

namespace kq::simcam {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<SimulatedCamera> Parse(std::string_view text) { return ParseSimulatedCameras(Bytes(text)); }

TEST(SimCameraConfig, EveryKeyOfEveryCameraIsRead) {
    const auto cameras = Parse(
        "; two cameras\n"
        "[Cameras]\r\n"
        "Count = 2\r\n"
        "[Camera1]\n"
        "Type=3\n"
        "Width=1024\n"
        "Height=768\n"
        "Name=  Left stage  \n"
        "[camera2]\n"
        "TYPE=10\n"
        "monochrome=1\n");
    ASSERT_EQ(cameras.size(), 2u);
    EXPECT_EQ(cameras[0].typeCode, 3);
    EXPECT_FALSE(cameras[0].monochrome);
    EXPECT_EQ(cameras[0].sensorWidth, 1024);
    EXPECT_EQ(cameras[0].sensorHeight, 768);
    EXPECT_EQ(cameras[0].friendlyName, u"Left stage");
    EXPECT_EQ(cameras[1].typeCode, 10);
    EXPECT_TRUE(cameras[1].monochrome);
    EXPECT_EQ(cameras[1].sensorWidth, 752) << "the model's sensor";
    EXPECT_EQ(cameras[1].sensorHeight, 480);
    EXPECT_EQ(cameras[1].friendlyName, u"Simulated camera 2");
    EXPECT_NE(cameras[0].instanceId, cameras[1].instanceId);
}

// Every type code with a camera in the table comes back from the library's
// identification of the instance id made for it, in the wanted colour where
// the type has that variant, and with the USB identity of that id.
TEST(SimCameraConfig, EveryTypeIsIdentifiedAsItselfInTheWantedColour) {
    int types = 0;
    for (std::int32_t type = 1; type <= 25; ++type) {
        bool hasColour = false, hasMono = false;
        for (const TypePattern& p : DeviceTypeTable()) {
            if (p.typeCode != type) continue;
            const DeviceIdentity id = IdentifyInstanceId(p.pattern);
            (id.colorType == 1 ? hasMono : hasColour) = true;
        }
        if (!hasColour && !hasMono) continue;
        ++types;
        for (const bool mono : {false, true}) {
            SCOPED_TRACE(testing::Message() << "type " << type << (mono ? " monochrome" : " colour"));
            const std::string text = "[Camera1]\nType=" + std::to_string(type) + "\nMonochrome=" + (mono ? "1" : "0");
            const auto cameras = Parse(text);
            ASSERT_EQ(cameras.size(), 1u);
            const SimulatedCamera& c = cameras[0];
            const DeviceIdentity identity = IdentifyInstanceId(c.instanceId);
            EXPECT_EQ(identity.typeCode, type);
            EXPECT_EQ(c.typeCode, type);
            const bool expectMono = mono ? hasMono : !hasColour;
            EXPECT_EQ(c.monochrome, expectMono);
            EXPECT_EQ(identity.colorType, expectMono ? 1 : 0);
            char vidPid[32];
            std::snprintf(vidPid, sizeof vidPid, "VID_%04X&PID_%04X", c.vendorId, c.productId);
            EXPECT_NE(c.instanceId.find(std::u16string(vidPid, vidPid + 17)), std::u16string::npos);
            EXPECT_EQ(c.sensorWidth, GeometryForType(type).maxWidth);
            EXPECT_EQ(c.sensorHeight, GeometryForType(type).maxHeight);
        }
    }
    EXPECT_EQ(types, 24) << "every code of 1..25 but 23";
}

struct Fallback {
    const char* name;
    const char* ini;
    std::size_t count;
    std::int32_t type;  // of the first camera
    std::uint16_t width, height;
};

const Fallback kFallbacks[] = {
    {"empty_file", "", 1, 10, 752, 480},
    {"count_missing", "[Camera1]\nType=3\n", 1, 3, 1280, 1024},
    {"count_zero", "[Cameras]\nCount=0\n", 0, 0, 0, 0},
    {"count_nine", "[Cameras]\nCount=9\n", 1, 10, 752, 480},
    {"count_negative", "[Cameras]\nCount=-2\n", 1, 10, 752, 480},
    {"count_text", "[Cameras]\nCount=two\n", 1, 10, 752, 480},
    {"count_eight", "[Cameras]\nCount=8\n", 8, 10, 752, 480},
    {"type_zero", "[Camera1]\nType=0\n", 1, 10, 752, 480},
    {"type_without_camera", "[Camera1]\nType=23\n", 1, 10, 752, 480},
    {"type_past_table", "[Camera1]\nType=26\n", 1, 10, 752, 480},
    {"type_huge", "[Camera1]\nType=99999999999999\n", 1, 10, 752, 480},
    {"width_zero", "[Camera1]\nType=3\nWidth=0\nHeight=500\n", 1, 3, 1280, 500},
    {"height_too_big", "[Camera1]\nType=3\nWidth=640\nHeight=65536\n", 1, 3, 640, 1024},
    {"width_fraction", "[Camera1]\nType=3\nWidth=640.5\n", 1, 3, 1280, 1024},
    {"largest_size", "[Camera1]\nWidth=65535\nHeight=65535\n", 1, 10, 65535, 65535},
    {"no_key_value_lines", "[Camera1\nType\n=3\n[Camera1]\nType=8", 1, 8, 2560, 1944},
};

void PrintTo(const Fallback& f, std::ostream* os) { *os << f.name; }

class SimCameraFallback : public ::testing::TestWithParam<Fallback> {};

TEST_P(SimCameraFallback, GivesTheDocumentedCameras) {
    const Fallback& f = GetParam();
    const auto cameras = Parse(f.ini);
    ASSERT_EQ(cameras.size(), f.count);
    if (f.count == 0) return;
    EXPECT_EQ(cameras[0].typeCode, f.type);
    EXPECT_EQ(IdentifyInstanceId(cameras[0].instanceId).typeCode, f.type);
    EXPECT_EQ(cameras[0].sensorWidth, f.width);
    EXPECT_EQ(cameras[0].sensorHeight, f.height);
}

INSTANTIATE_TEST_SUITE_P(BadValues, SimCameraFallback, ::testing::ValuesIn(kFallbacks),
                         [](const auto& info) { return std::string(info.param.name); });

struct PhaseCase {
    const char* name;
    const char* line;  // in [Camera1]
    kqff::sim::BayerPhase phase;
};

const PhaseCase kPhaseCases[] = {
    {"missing", "", kqff::sim::BayerPhase::Rggb},
    {"one", "BayerPhase=1", kqff::sim::BayerPhase::Rggb},
    {"two", "BayerPhase=2", kqff::sim::BayerPhase::Grbg},
    {"three", "BayerPhase=3", kqff::sim::BayerPhase::Gbrg},
    {"four", "bayerphase = 4", kqff::sim::BayerPhase::Bggr},
    {"zero", "BayerPhase=0", kqff::sim::BayerPhase::Rggb},
    {"five", "BayerPhase=5", kqff::sim::BayerPhase::Rggb},
    {"negative", "BayerPhase=-2", kqff::sim::BayerPhase::Rggb},
    {"empty", "BayerPhase=", kqff::sim::BayerPhase::Rggb},
    {"name", "BayerPhase=BGGR", kqff::sim::BayerPhase::Rggb},
    {"fraction", "BayerPhase=2.5", kqff::sim::BayerPhase::Rggb},
    {"huge", "BayerPhase=4000000000004", kqff::sim::BayerPhase::Rggb},
};

void PrintTo(const PhaseCase& c, std::ostream* os) { *os << c.name; }

class SimCameraBayerPhase : public ::testing::TestWithParam<PhaseCase> {};

// The phase of the camera that names it, the library's own one otherwise,
// colour and monochrome alike; the other camera keeps its own.
TEST_P(SimCameraBayerPhase, IsReadOrFallsBackToTheLibrarysPhase) {
    const PhaseCase& c = GetParam();
    for (const char* monochrome : {"0", "1"}) {
        const auto cameras = Parse(std::string("[Cameras]\nCount=2\n[Camera1]\nType=3\nMonochrome=") + monochrome +
                                   "\n" + c.line + "\n[Camera2]\nBayerPhase=3\n");
        ASSERT_EQ(cameras.size(), 2u);
        EXPECT_EQ(cameras[0].bayerPhase, c.phase) << "monochrome " << monochrome;
        EXPECT_EQ(cameras[1].bayerPhase, kqff::sim::BayerPhase::Gbrg);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SimCameraBayerPhase, ::testing::ValuesIn(kPhaseCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Each camera's row time, or the paced default where the value is missing
// or bad; 0 asks for an unpaced camera.
TEST(SimCameraConfig, TheRowTimeIsReadOrPacesAtTheDefault) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"", 32},
        {"RowTime=0", 0},
        {"RowTime=75", 75},
        {"RowTime=100000", 100000},
        {"RowTime=100001", 32},
        {"RowTime=-5", 32},
        {"RowTime=2.5", 32},
        {"RowTime=", 32},
    };
    for (const auto& [line, micros] : cases) {
        SCOPED_TRACE(line);
        const auto cameras = Parse(std::string("[Cameras]\nCount=2\n[Camera1]\n") + line + "\n[Camera2]\nRowTime=7\n");
        ASSERT_EQ(cameras.size(), 2u);
        EXPECT_EQ(cameras[0].rowTime.count(), micros);
        EXPECT_EQ(cameras[1].rowTime.count(), 7);
    }
    EXPECT_EQ(DefaultSimulatedCameras().at(0).rowTime.count(), 32);
}

// Models whose kernels read another cell fall back to it.
TEST(SimCameraConfig, ThePhaseFallsBackToTheOneTheModelReads) {
    struct Case {
        const char* camera;
        kqff::sim::BayerPhase phase;
    };
    for (const Case c :
         {Case{"Type=10\nMonochrome=0", kqff::sim::BayerPhase::Gbrg},
          Case{"Type=10\nMonochrome=1", kqff::sim::BayerPhase::Rggb}, Case{"Type=6", kqff::sim::BayerPhase::Grbg},
          Case{"Type=22", kqff::sim::BayerPhase::Grbg}, Case{"Type=11", kqff::sim::BayerPhase::Grbg},
          Case{"Type=12", kqff::sim::BayerPhase::Grbg}, Case{"Type=16", kqff::sim::BayerPhase::Grbg},
          Case{"Type=19", kqff::sim::BayerPhase::Grbg}, Case{"Type=21\nMonochrome=0", kqff::sim::BayerPhase::Grbg},
          Case{"Type=24\nMonochrome=0", kqff::sim::BayerPhase::Grbg}, Case{"Type=17", kqff::sim::BayerPhase::Rggb},
          Case{"Type=10\nBayerPhase=1", kqff::sim::BayerPhase::Rggb}}) {
        SCOPED_TRACE(c.camera);
        EXPECT_EQ(Parse(std::string("[Camera1]\n") + c.camera + "\n")[0].bayerPhase, c.phase);
    }
}

TEST(SimCameraConfig, MonochromeOnlyTypesStayMonochromeAndBadFlagsMeanColour) {
    EXPECT_TRUE(Parse("[Camera1]\nType=25\nMonochrome=0\n")[0].monochrome) << "type 25 has no colour variant";
    EXPECT_FALSE(Parse("[Camera1]\nType=10\nMonochrome=2\n")[0].monochrome);
    EXPECT_FALSE(Parse("[Camera1]\nType=10\nMonochrome=yes\n")[0].monochrome);
}

TEST(SimCameraConfig, NamesAreUnicodeAndCutToWhatTheLibraryKeeps) {
    // UTF-8 with a mark, then UTF-16LE with a mark as the profile functions write it.
    auto utf8 = Bytes("\xEF\xBB\xBF[Camera1]\nName=Mikroskop \xCE\xBCm \xF0\x9F\x94\xAC\n");
    EXPECT_EQ(ParseSimulatedCameras(utf8)[0].friendlyName, u"Mikroskop μm \U0001F52C");
    std::vector<std::uint8_t> utf16{0xFF, 0xFE};
    for (char16_t c : std::u16string(u"[Camera1]\r\nName=显微镜\r\n")) {
        utf16.push_back(static_cast<std::uint8_t>(c & 0xFF));
        utf16.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    EXPECT_EQ(ParseSimulatedCameras(utf16)[0].friendlyName, u"显微镜");
    // Bytes that are not UTF-8 read as replacement characters.
    EXPECT_EQ(Parse("[Camera1]\nName=a\xFF\xC3z\xE2\x82\n")[0].friendlyName, u"a\uFFFD\uFFFDz\uFFFD");
    EXPECT_EQ(Parse("[Camera1]\nName=\n")[0].friendlyName, u"Simulated camera 1");

    const std::string longName(300, 'n');
    EXPECT_EQ(Parse("[Camera1]\nName=" + longName)[0].friendlyName, std::u16string(255, u'n'));
    // A cut never leaves half a surrogate pair.
    std::string pairs = "[Camera1]\nName=" + std::string(254, 'p');
    for (int i = 0; i < 4; ++i) pairs += "\xF0\x9F\x94\xAC";
    const auto cut = Parse(pairs)[0].friendlyName;
    EXPECT_EQ(cut, std::u16string(254, u'p'));
}

TEST(SimCameraConfig, AFileThatCannotBeReadGivesNothingAndNoFileMeansOneColourCamera) {
    const auto folder = testing_support::UniqueTempPath("kq_simcam_config");
    std::filesystem::create_directories(folder);
    EXPECT_FALSE(ReadSimulatedCameraFile(folder / "missing.ini").has_value());
    EXPECT_FALSE(ReadSimulatedCameraFile(folder).has_value()) << "a folder is no file";
    {
        std::ofstream out(folder / "KQSimCam.ini", std::ios::binary);
        out << "[Cameras]\nCount=2\n[Camera2]\nName=Second\n";
    }
    const auto read = ReadSimulatedCameraFile(folder / "KQSimCam.ini");
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[1].friendlyName, u"Second");
    std::filesystem::remove_all(folder);

    const auto defaults = DefaultSimulatedCameras();
    ASSERT_EQ(defaults.size(), 1u);
    EXPECT_EQ(defaults[0].typeCode, 10);
    EXPECT_FALSE(defaults[0].monochrome);
    EXPECT_EQ(IdentifyInstanceId(defaults[0].instanceId).colorType, 0);
    EXPECT_EQ(defaults[0].bayerPhase, kqff::sim::BayerPhase::Gbrg) << "the colour type 10 camera's own";
}

TEST(IniText, SectionsAndKeysIgnoreCaseAndTheFirstValueCounts) {
    const auto ini = IniText::Parse(Bytes("top=1\n[A b]\nKey=first\nkey=second\n# note=x\n; k=y\n[a B]\nother=3"));
    EXPECT_EQ(ini.Value(u"", u"top"), u"1");
    EXPECT_EQ(ini.Value(u"a B", u"KEY"), u"first");
    EXPECT_EQ(ini.Value(u"A b", u"other"), u"3");
    EXPECT_FALSE(ini.Value(u"A b", u"note").has_value());
    EXPECT_FALSE(ini.Value(u"A b", u"k").has_value());
    EXPECT_FALSE(ini.Value(u"missing", u"top").has_value());
}

}  // namespace
}  // namespace kq::simcam
