// The rules around the picture writers that need no outside reader: the
// extension rule, the kind and depth dispatch, files that cannot be written
// and the caller's pixels after a write. Runs in both builds, so the wide
// paths of the Windows build are exercised too.

#include <gtest/gtest.h>

#include "temp_folder_test.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture_files.h"

namespace kqge {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(PictureExtension, AcceptedEndingsStayOthersGetTheFormats) {
    struct Case {
        PictureFormat format;
        const char* given;
        const char* expected;
    };
    const Case cases[] = {
        {PictureFormat::bmp, "a.bmp", "a.bmp"},
        {PictureFormat::bmp, "a.BMP", "a.BMP"},
        {PictureFormat::bmp, "a.Bmp", "a.Bmp.bmp"},
        {PictureFormat::bmp, "a", "a.bmp"},
        {PictureFormat::jpeg, "a.jpeg", "a.jpeg"},
        {PictureFormat::jpeg, "a.JPG", "a.JPG"},
        {PictureFormat::jpeg, "a.jpe", "a.jpe.jpg"},
        {PictureFormat::tiff, "a.TIFF", "a.TIFF"},
        {PictureFormat::tiff, "a.tiff", "a.tiff"},
        {PictureFormat::tiff, "a.Tif", "a.Tif.tif"},
        {PictureFormat::png, "a.PNG", "a.PNG"},
        {PictureFormat::png, "a.bmp", "a.bmp.png"},
        {PictureFormat::png, "dir.png/x", "dir.png/x.png"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithPictureExtension(c.given, c.format), fs::path(c.expected)) << c.given;
}

TEST(PictureLayout, SixteenBitSamplesOnlyWhereTheChannelsFit) {
    struct Case {
        int bits, bitsPerSample, samples;
    };
    for (const Case c :
         {Case{8, 8, 1}, Case{16, 16, 1}, Case{24, 8, 3}, Case{32, 8, 4}, Case{48, 16, 3}, Case{64, 16, 4}}) {
        SampleLayout layout;
        ASSERT_TRUE(SampleLayoutOf(c.bits, layout)) << c.bits;
        EXPECT_EQ(layout.bitsPerSample, c.bitsPerSample) << c.bits;
        EXPECT_EQ(layout.samplesPerPixel, c.samples) << c.bits;
    }
    SampleLayout layout;
    for (int bad : {0, 12, 40, 56, -8}) EXPECT_FALSE(SampleLayoutOf(bad, layout)) << bad;
}

class PictureRules : public testing_support::TempFolderTest {};

TEST_F(PictureRules, KindAndDepthDispatch) {
    const Bytes pixels(6 * 4 * 2, 9);
    EXPECT_EQ(SavePicture(pixels, folder / "a", 4, 6, 16, 0), kPictureDepthUnsupported);
    EXPECT_EQ(SavePicture(pixels, folder / "a", 4, 3, 32, 1), kPictureDepthUnsupported);
    EXPECT_EQ(SavePicture(pixels, folder / "a", 4, 6, 12, 2), kPictureDepthUnsupported);
    EXPECT_EQ(SavePicture(pixels, folder / "a", 4, 6, 8, 7), kPictureKindUnknown);
    EXPECT_EQ(SavePicture(pixels, folder / "a", 4, 6, 8, -1), kPictureKindUnknown);
    EXPECT_TRUE(fs::is_empty(folder));
    for (int kind = 0; kind <= 3; ++kind) EXPECT_EQ(SavePicture(pixels, folder / "a", 4, 6, 8, kind), kPictureSaved);
    for (const char* name : {"a.bmp", "a.jpg", "a.tif", "a.png"}) EXPECT_TRUE(fs::exists(folder / name)) << name;
}

TEST_F(PictureRules, UnwritablePathLeavesNoFile) {
    const Bytes pixels(4 * 3 * 3, 9);
    for (int kind = 0; kind <= 3; ++kind) {
        EXPECT_EQ(SavePicture(pixels, folder / "missing" / "a", 4, 3, 24, kind), kPictureNotWritten) << kind;
    }
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(PictureRules, FailedWriteKeepsTheExistingFile) {
    for (const char* name : {"keep.bmp", "keep.jpg", "keep.tif", "keep.png"}) std::ofstream(folder / name) << "old";
    const Bytes shortPixels(10, 9);
    for (int kind = 0; kind <= 3; ++kind) {
        EXPECT_EQ(SavePicture(shortPixels, folder / "keep", 4, 3, 24, kind), kPictureNotWritten) << kind;
    }
    for (const char* name : {"keep.bmp", "keep.jpg", "keep.tif", "keep.png"}) {
        std::ifstream in(folder / name);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old") << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
}

TEST_F(PictureRules, CallersPixelsAreNotChanged) {
    Bytes pixels(5 * 3 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
    const Bytes before = pixels;
    for (int kind = 0; kind <= 3; ++kind) {
        ASSERT_EQ(SavePicture(pixels, folder / "p", 5, 3, 24, kind), kPictureSaved);
        EXPECT_EQ(pixels, before) << kind;
    }
    Bytes wide(5 * 3 * 2, 0x34);
    const Bytes wideBefore = wide;
    ASSERT_EQ(SavePicture(wide, folder / "w", 5, 3, 16, 3), kPictureSaved);
    ASSERT_EQ(SavePicture(wide, folder / "w", 5, 3, 16, 2), kPictureSaved);
    EXPECT_EQ(wide, wideBefore);
}

}  // namespace
}  // namespace kqge
