// BMP, JPEG and AVI files as readers we did not write see them: ffprobe for
// the recording, ImageMagick for the pictures.

#include <gtest/gtest.h>

#include "shell_output.h"
#include "unique_temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "files/avi_writer.h"
#include "files/bmp_file.h"
#include "files/jpeg_file.h"
#include "files/rollover_name.h"

namespace kq::files {
namespace {

namespace fs = std::filesystem;

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::UniqueTempPath(
            "kq.files." + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

// A 641 x 3 picture, bottom-up: row r, column c = (B, G, R) = (c, r * 50, 200).
std::vector<std::uint8_t> TestPicture(int width, int height) {
    std::vector<std::uint8_t> p(static_cast<std::size_t>(width) * height * 3);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            std::uint8_t* px = &p[(static_cast<std::size_t>(r) * width + c) * 3];
            px[0] = static_cast<std::uint8_t>(c);
            px[1] = static_cast<std::uint8_t>(r * 50);
            px[2] = 200;
        }
    return p;
}

TEST_F(PictureFiles, BmpRowsArePaddedAndReadBackByImageMagick) {
    const auto picture = TestPicture(641, 3);
    const auto path = folder / "p.bmp";
    ASSERT_TRUE(WriteBmpFile(path, picture, 641, 3, 24, true));
    EXPECT_EQ(fs::file_size(path), 54u + 1924u * 3);
    EXPECT_EQ(testing_support::ShellOutput("identify -format '%w %h' " + path.string()), "641 3");
    // Top-left is the last buffer row (bottom-up): (B, G, R) = (5, 100, 200) at column 5.
    EXPECT_EQ(testing_support::ShellOutput("convert " + path.string() + " -format '%[pixel:p{5,0}]' info:"),
              "srgb(200,100,5)");
    EXPECT_EQ(testing_support::ShellOutput("convert " + path.string() + " -format '%[pixel:p{5,2}]' info:"),
              "srgb(200,0,5)");
    EXPECT_FALSE(WriteBmpFile(folder / "no" / "such" / "p.bmp", picture, 641, 3, 24, true));
    EXPECT_FALSE(WriteBmpFile(path, picture, 642, 3, 24, true));  // buffer too small
}

TEST_F(PictureFiles, EightBitBmpAndJpegAreGrey) {
    std::vector<std::uint8_t> grey(16 * 8, 77);
    ASSERT_TRUE(WriteBmpFile(folder / "g.bmp", grey, 16, 8, 8, true));
    EXPECT_EQ(
        testing_support::ShellOutput("convert " + (folder / "g.bmp").string() + " -format '%[pixel:p{3,3}]' info:"),
        "srgb(77,77,77)");
    ASSERT_TRUE(WriteJpegFile(folder / "g.jpg", grey, true, true, 16, 8, 8, 90));
    EXPECT_EQ(testing_support::ShellOutput("identify -format '%w %h %[colorspace] %[channels]' " +
                                           (folder / "g.jpg").string()),
              "16 8 Gray gray");
}

TEST_F(PictureFiles, JpegIsUprightWithColoursNearTheSource) {
    // Flat halves survive compression within a few levels.
    std::vector<std::uint8_t> picture(64 * 32 * 3);
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 64; ++c) {
            std::uint8_t* px = &picture[(static_cast<std::size_t>(r) * 64 + c) * 3];
            const bool bottomHalf = r < 16;  // bottom-up buffer
            px[0] = bottomHalf ? 255 : 0;    // blue at the bottom
            px[1] = 0;
            px[2] = bottomHalf ? 0 : 255;  // red at the top
        }
    const auto path = folder / "c.jpg";
    ASSERT_TRUE(WriteJpegFile(path, picture, true, true, 64, 32, 24, 95));
    EXPECT_EQ(testing_support::ShellOutput("identify -format '%w %h' " + path.string()), "64 32");
    const std::string top = testing_support::ShellOutput(
        "convert " + path.string() + " -format '%[fx:int(255*p{8,4}.r)] %[fx:int(255*p{8,4}.b)]' info:");
    const std::string bottom = testing_support::ShellOutput(
        "convert " + path.string() + " -format '%[fx:int(255*p{8,28}.r)] %[fx:int(255*p{8,28}.b)]' info:");
    int r = 0, b = 0;
    ASSERT_EQ(std::sscanf(top.c_str(), "%d %d", &r, &b), 2) << top;
    EXPECT_GT(r, 240);
    EXPECT_LT(b, 15);
    ASSERT_EQ(std::sscanf(bottom.c_str(), "%d %d", &r, &b), 2) << bottom;
    EXPECT_LT(r, 15);
    EXPECT_GT(b, 240);
    EXPECT_FALSE(WriteJpegFile(path, picture, true, true, 64, 32, 16, 95));
}

TEST_F(PictureFiles, AviIsReadByFfprobeWithItsFrameCountSizeAndRate) {
    if (!fs::exists("/usr/bin/ffprobe")) GTEST_SKIP() << "ffprobe is not installed";
    const auto path = folder / "movie.avi";
    auto writer = AviWriter::Create(path, {64, 48, 40});
    ASSERT_NE(writer, nullptr);
    const auto picture = TestPicture(64, 48);
    for (std::uint32_t index : {0u, 1u, 1u, 4u, 5u}) ASSERT_TRUE(writer->WriteFrame(index, picture));
    EXPECT_EQ(writer->Positions(), 6u);  // 2 and 3 left empty, the second 1 dropped
    const std::uint64_t expected = writer->FileBytes();
    ASSERT_TRUE(writer->Close());
    EXPECT_EQ(fs::file_size(path), expected);
    const std::string probe = testing_support::ShellOutput(
        "/usr/bin/ffprobe -v error -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,r_frame_rate,nb_frames -of csv=p=0 " +
        path.string());
    EXPECT_EQ(probe, "rawvideo,64,48,40/1,6");
    // The first frame reads back as written (top-left = last buffer row).
    EXPECT_EQ(testing_support::ShellOutput("ffmpeg -v error -i " + path.string() + " -frames:v 1 -f image2 -y " +
                                           (folder / "f.bmp").string() + " && convert " + (folder / "f.bmp").string() +
                                           " -format '%[pixel:p{7,0}]' info:"),
              "srgb(200,46,7)");
}

TEST_F(PictureFiles, RolloverNamesComeFromTheFilePart) {
    EXPECT_EQ(RolloverName("/data/run.v2/movie.avi", 1), fs::path("/data/run.v2/movie(1).avi"));
    EXPECT_EQ(RolloverName("/data/run.v2/movie.avi", 2), fs::path("/data/run.v2/movie(2).avi"));
    EXPECT_EQ(RolloverName("/data/run.v2/movie", 1), fs::path("/data/run.v2/movie(1).avi"));
    EXPECT_EQ(RolloverName("movie.avi", 0), fs::path("movie.avi"));
}

}  // namespace
}  // namespace kq::files
