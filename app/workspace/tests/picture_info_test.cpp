#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "picture_info.h"

namespace {

namespace fs = std::filesystem;

class PictureInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vz_picture_info_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path FileOf(std::size_t bytes) {
        const fs::path path = dir / ("f" + std::to_string(bytes) + ".bmp");
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        return path;
    }

    fs::path dir;
};

TEST_F(PictureInfoTest, SizeIsTheLengthOverKilo) {
    struct Case {
        std::size_t bytes;
        float kb;
    };
    for (const Case c : {Case{0, 0.0f}, Case{1536, 1.5f}, Case{1, 1.0f / 1024}, Case{3 * 1024 * 1024 + 512, 3072.5f}}) {
        EXPECT_FLOAT_EQ(FileSizeKB(FileOf(c.bytes)), c.kb) << c.bytes;
    }
    EXPECT_EQ(FileSizeKB(dir / "missing.bmp"), 0.0f);
    EXPECT_EQ(FileSizeKB(dir), 0.0f) << "a folder is no file";
}

TEST_F(PictureInfoTest, TextNamesPathResolutionAndSize) {
    const fs::path path = FileOf(1536);
    const std::u16string text = ImageInfoText(path, 640, 480, FileSizeKB(path), u"分辨率：", u"文件大小：");
    EXPECT_EQ(text, path.u16string() + u"\n\n分辨率：640*480\n文件大小：1.50KB");
}

}  // namespace
