#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "picture.h"
#include "picture_helpers.h"

namespace {

namespace fs = std::filesystem;

class PictureFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing_support::UniqueTempPath(
            "vz_picture_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path Path(const char* name) const { return dir_ / name; }

    fs::path dir_;
};

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

const std::vector<std::uint32_t> k3x2 = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};

TEST_F(PictureFile, LosslessRoundTrips) {
    struct Case {
        const char* name;
        int type;
    };
    for (const Case c : {Case{"p.bmp", kPictureBmp}, Case{"p.tif", kPictureTiff}, Case{"p.png", kPicturePng}}) {
        const CPicture colour = MakeColour(3, 2, k3x2);
        ASSERT_TRUE(colour.Save(Path(c.name), c.type)) << c.name << ": " << colour.GetLastError();
        for (const int loadType : {c.type, int{kPictureAuto}}) {
            CPicture back;
            ASSERT_TRUE(back.Load(Path(c.name), loadType)) << c.name << ": " << back.GetLastError();
            EXPECT_EQ(back.GetBpp(), 24) << c.name;
            EXPECT_EQ(back.GetType(), c.type) << c.name;
            EXPECT_EQ(back.GetStride(), 12u) << c.name;
            EXPECT_EQ(Colours(back), k3x2) << c.name;
        }
        const CPicture grey = MakeGrey(3, 2, {0, 50, 100, 150, 200, 255});
        ASSERT_TRUE(grey.Save(Path(c.name), c.type)) << c.name;
        CPicture back;
        ASSERT_TRUE(back.Load(Path(c.name), kPictureAuto)) << c.name;
        EXPECT_EQ(back.GetBpp(), 8) << c.name;
        EXPECT_EQ(GreyValues(back), (std::vector<std::uint8_t>{0, 50, 100, 150, 200, 255})) << c.name;
    }
}

TEST_F(PictureFile, BmpOfThreeByTwoHasTwentyFourPixelBytes) {
    ASSERT_TRUE(MakeColour(3, 2, k3x2).Save(Path("p.bmp"), kPictureBmp));
    const auto bytes = ReadAll(Path("p.bmp"));
    ASSERT_EQ(bytes.size(), 14u + 40u + 24u);
    EXPECT_EQ(bytes[10], 54);  // pixel offset
    EXPECT_EQ(bytes[28], 24);  // bits per pixel
    // Bottom row first: 0x123456 as B G R, then padding after three pixels.
    EXPECT_EQ(bytes[54], 0x56);
    EXPECT_EQ(bytes[55], 0x34);
    EXPECT_EQ(bytes[56], 0x12);
}

TEST_F(PictureFile, ColourPaletteSurvivesEveryIndexedFormat) {
    CPicture p = MakeGrey(2, 1, {0, 1});
    const std::vector<PaletteEntry> palette = {{0, 0, 200, 0}, {100, 50, 0, 0}};
    p.SetPalette(palette);
    for (const auto& [name, type] :
         {std::pair{"i.bmp", kPictureBmp}, std::pair{"i.png", kPicturePng}, std::pair{"i.tif", kPictureTiff}}) {
        ASSERT_TRUE(p.Save(Path(name), type)) << name;
        CPicture back;
        ASSERT_TRUE(back.Load(Path(name), kPictureAuto)) << name;
        EXPECT_EQ(Colours(back), (std::vector<std::uint32_t>{0xC80000, 0x003264})) << name;
    }
}

double MeanError(const CPicture& a, const CPicture& b) {
    double sum = 0;
    const auto ca = Colours(a);
    const auto cb = Colours(b);
    for (std::size_t i = 0; i < ca.size(); ++i) {
        for (int s = 0; s < 24; s += 8) {
            sum += std::abs(static_cast<int>((ca[i] >> s) & 0xFF) - static_cast<int>((cb[i] >> s) & 0xFF));
        }
    }
    return sum / static_cast<double>(ca.size() * 3);
}

CPicture Gradient(int width, int height) {
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<std::uint32_t>((x * 8) << 16 | (y * 8) << 8 | ((x + y) * 4)));
        }
    }
    return MakeColour(width, height, rgb);
}

TEST_F(PictureFile, JpegHonoursQuality) {
    CPicture p = Gradient(31, 17);
    p.SetJpegQuality(95);
    ASSERT_TRUE(p.Save(Path("high.jpg"), kPictureJpeg));
    p.SetJpegQuality(5);
    ASSERT_TRUE(p.Save(Path("low.jpg"), kPictureJpeg));
    EXPECT_LT(fs::file_size(Path("low.jpg")), fs::file_size(Path("high.jpg")));
    CPicture high;
    CPicture low;
    ASSERT_TRUE(high.Load(Path("high.jpg"), kPictureAuto));
    ASSERT_TRUE(low.Load(Path("low.jpg"), kPictureJpeg));
    EXPECT_EQ(high.GetWidth(), 31);
    EXPECT_EQ(high.GetHeight(), 17);
    EXPECT_EQ(high.GetStride(), 96u);
    EXPECT_LT(MeanError(high, p), 3.0);
    EXPECT_LT(MeanError(high, p), MeanError(low, p));
    // Grey stays grey.
    ASSERT_TRUE(MakeGrey(3, 2, {0, 50, 100, 150, 200, 255}).Save(Path("g.jpg"), kPictureJpeg));
    CPicture grey;
    ASSERT_TRUE(grey.Load(Path("g.jpg"), kPictureAuto));
    EXPECT_EQ(grey.GetBpp(), 8);
}

TEST_F(PictureFile, BadFilesAreCleanErrors) {
    const std::vector<std::uint8_t> good = [&] {
        MakeColour(3, 2, k3x2).Save(Path("good.bmp"), kPictureBmp);
        return ReadAll(Path("good.bmp"));
    }();
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int type;
    };
    std::vector<Case> cases = {
        {"empty", {}, kPictureAuto},
        {"unknown kind", {'G', 'I', 'F', '8'}, kPictureAuto},
        {"cut bmp", std::vector<std::uint8_t>(good.begin(), good.end() - 1), kPictureBmp},
        {"bmp as jpeg", good, kPictureJpeg},
        {"bmp as tiff", good, kPictureTiff},
        {"bmp as png", good, kPicturePng},
        {"jpeg header only", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16}, kPictureAuto},
        {"tiff header only", {'I', 'I', 42, 0, 8, 0, 0, 0}, kPictureAuto},
        {"png signature only", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, kPictureAuto},
    };
    auto huge = good;  // claims 100000 x 100000 pixels
    huge[18] = 0xA0;
    huge[19] = 0x86;
    huge[20] = 0x01;
    huge[22] = 0xA0;
    huge[23] = 0x86;
    huge[24] = 0x01;
    cases.push_back({"huge bmp", huge, kPictureBmp});
    auto rle = good;
    rle[30] = 1;
    cases.push_back({"rle bmp", rle, kPictureBmp});
    for (const Case& c : cases) {
        WriteAll(Path("bad"), c.bytes);
        CPicture p = MakeGrey(1, 1, {1});
        EXPECT_FALSE(p.Load(Path("bad"), c.type)) << c.name;
        EXPECT_FALSE(p.IsValid()) << c.name;
        EXPECT_FALSE(p.GetLastError().empty()) << c.name;
    }
    CPicture missing;
    EXPECT_FALSE(missing.Load(Path("missing.bmp"), kPictureAuto));
}

TEST_F(PictureFile, FailedSaveKeepsTheOldFile) {
    ASSERT_TRUE(MakeColour(3, 2, k3x2).Save(Path("keep.bmp"), kPictureBmp));
    const auto before = ReadAll(Path("keep.bmp"));
    CPicture empty;
    EXPECT_FALSE(empty.Save(Path("keep.bmp"), kPictureBmp));
    EXPECT_FALSE(MakeColour(3, 2, k3x2).Save(Path("keep.bmp"), 9));
    EXPECT_FALSE(MakeColour(3, 2, k3x2).Save(Path("no-such-dir") / "x.bmp", kPictureBmp));
    EXPECT_EQ(ReadAll(Path("keep.bmp")), before);
}

// Files written by another program (a first byte, the fuzzer's decoder
// choice, comes before each file): a 5 x 3 gradient from red to blue.
TEST_F(PictureFile, ForeignFilesDecode) {
    for (const char* name : {"c24.bmp", "p8.bmp", "c.jpg", "g.jpg", "i.png", "p.png", "c.tif", "g.tif", "t.tif"}) {
        auto bytes = ReadAll(fs::path(VZ_FOREIGN_PICTURES) / name);
        ASSERT_FALSE(bytes.empty()) << name;
        bytes.erase(bytes.begin());
        CPicture p;
        ASSERT_TRUE(p.Decode(bytes, kPictureAuto)) << name << ": " << p.GetLastError();
        EXPECT_EQ(p.GetWidth(), 5) << name;
        EXPECT_EQ(p.GetHeight(), 3) << name;
        const std::uint32_t top = p.GetPixelColor(2, 0);
        const std::uint32_t bottom = p.GetPixelColor(2, 2);
        if (name[0] == 'g') {
            EXPECT_EQ(p.GetBpp(), 8) << name;
            EXPECT_GT(top & 0xFF, bottom & 0xFF) << name;  // red is lighter than blue
        } else {
            EXPECT_GT(top >> 16, 200u) << name;
            EXPECT_LT(top & 0xFF, 60u) << name;
            EXPECT_GT(bottom & 0xFF, 200u) << name;
            EXPECT_LT(bottom >> 16, 60u) << name;
        }
    }
}

// Readers we did not write: ImageMagick and libtiff's own tool.
std::string RunTool(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
            out += buffer;
        }
        if (pclose(pipe) != 0) {
            out = "FAILED: " + out;
        }
    }
    return out;
}

bool HaveTool(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

TEST_F(PictureFile, OutsideReadersAcceptOurFiles) {
    if (!HaveTool("identify") || !HaveTool("tiffinfo")) {
        GTEST_SKIP() << "ImageMagick identify or tiffinfo not installed";
    }
    CPicture colour = MakeColour(3, 2, k3x2);
    const CPicture grey = MakeGrey(3, 2, {0, 50, 100, 150, 200, 255});
    struct Case {
        const char* name;
        const CPicture* picture;
        int type;
        const char* expect;
    };
    const Case cases[] = {
        {"c.bmp", &colour, kPictureBmp, "BMP3 3x2"},  {"g.bmp", &grey, kPictureBmp, "BMP3 3x2"},
        {"c.jpg", &colour, kPictureJpeg, "JPEG 3x2"}, {"g.jpg", &grey, kPictureJpeg, "JPEG 3x2"},
        {"c.tif", &colour, kPictureTiff, "TIFF 3x2"}, {"g.tif", &grey, kPictureTiff, "TIFF 3x2"},
        {"c.png", &colour, kPicturePng, "PNG 3x2"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.picture->Save(Path(c.name), c.type)) << c.name;
        const std::string out = RunTool("identify '" + Path(c.name).string() + "'");
        EXPECT_NE(out.find(c.expect), std::string::npos) << c.name << ": " << out;
        EXPECT_EQ(out.find("FAILED"), std::string::npos) << c.name << ": " << out;
    }
    // A pixel as ImageMagick reads it.
    const std::string pixel = RunTool("convert '" + Path("c.bmp").string() + "' -format '%[pixel:p{0,1}]' info:");
    EXPECT_NE(pixel.find("(18,52,86)"), std::string::npos) << pixel;
    const std::string tiff = RunTool("tiffinfo '" + Path("c.tif").string() + "'");
    EXPECT_EQ(tiff.find("FAILED"), std::string::npos) << tiff;
    EXPECT_NE(tiff.find("Image Width: 3 Image Length: 2"), std::string::npos) << tiff;
    EXPECT_NE(tiff.find("Samples/Pixel: 3"), std::string::npos) << tiff;
}

}  // namespace
