// The still the grabber writes from the stream: one armed request at a time,
// a short sample leaves it armed, and the copy never leaves the sample or the
// picture when their sizes disagree.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "grabbed_still.h"
#include "picture.h"
#include "temp_folder_test.h"

namespace {

class GrabbedStillTest : public testing_support::TempFolderTest {
protected:
    StillRequest Request(int width, int height, int type, const char* name, bool notify = true) {
        return {width, height, (folder / name).wstring(), type, notify};
    }
    // Bottom-up BGR rows of width x height with DIB padding, each byte its
    // own row's number so the written picture shows the row order.
    static std::vector<std::uint8_t> Frame(int width, int height) {
        const std::size_t stride = CPicture::StrideFor(width, 24);
        std::vector<std::uint8_t> bytes(stride * height);
        for (int row = 0; row < height; ++row) {
            std::fill_n(bytes.begin() + row * stride, width * 3, static_cast<std::uint8_t>(row * 3 + 1));
        }
        return bytes;
    }
    GrabbedStill still;
};

TEST_F(GrabbedStillTest, WritesEachTypeOnceAndDisarms) {
    const struct {
        int type;
        const char* name;
        int loadedType;
    } cases[] = {{1, "a.bmp", kPictureBmp}, {2, "a.jpg", kPictureJpeg}, {3, "a.tiff", kPictureTiff}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(still.Arm(Request(64, 48, c.type, c.name)));
        const std::vector<std::uint8_t> frame = Frame(64, 48);
        const StillOutcome outcome = still.OnFrame(frame);
        EXPECT_EQ(outcome.kind, StillOutcome::saved);
        EXPECT_EQ(outcome.path, (folder / c.name).wstring());
        EXPECT_TRUE(outcome.notify);
        EXPECT_FALSE(still.IsPending());
        CPicture loaded;
        ASSERT_TRUE(loaded.Load(folder / c.name, kPictureAuto));
        EXPECT_EQ(loaded.GetWidth(), 64);
        EXPECT_EQ(loaded.GetHeight(), 48);
        // Bottom row (row 0 of the sample) stays at the bottom.
        EXPECT_NEAR(static_cast<int>(loaded.GetPixelColor(0, 47) & 0xFF), 1, c.type == 2 ? 3 : 0);
        EXPECT_NEAR(static_cast<int>(loaded.GetPixelColor(0, 0) & 0xFF), 47 * 3 + 1, c.type == 2 ? 3 : 0);
        // The next frame writes nothing.
        std::filesystem::remove(folder / c.name);
        EXPECT_EQ(still.OnFrame(frame).kind, StillOutcome::idle);
        EXPECT_FALSE(std::filesystem::exists(folder / c.name));
    }
}

TEST_F(GrabbedStillTest, ShortSampleSavesNothingAndStaysArmed) {
    ASSERT_TRUE(still.Arm(Request(64, 48, 1, "s.bmp", false)));
    std::vector<std::uint8_t> frame = Frame(64, 48);
    const std::vector<std::uint8_t> shortFrame(frame.begin(), frame.begin() + 64 * 48 * 3 - 1);
    EXPECT_EQ(still.OnFrame(shortFrame).kind, StillOutcome::tooShort);
    EXPECT_TRUE(still.IsPending());
    EXPECT_FALSE(std::filesystem::exists(folder / "s.bmp"));
    const StillOutcome outcome = still.OnFrame(frame);
    EXPECT_EQ(outcome.kind, StillOutcome::saved);
    EXPECT_FALSE(outcome.notify);
    EXPECT_TRUE(std::filesystem::exists(folder / "s.bmp"));
}

TEST_F(GrabbedStillTest, SizesThatDisagreeStayInsideSampleAndPicture) {
    // Width 30: rows padded to 92 bytes, so width x height x 3 is less than
    // the picture; a sample of exactly that length is read only to its end.
    // A larger stream than armed is cut at the picture's end.
    const struct {
        const char* what;
        int width, height;
        std::size_t sampleBytes;
    } cases[] = {{"unpadded sample", 30, 20, 30 * 20 * 3}, {"larger stream", 16, 16, 640 * 480 * 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(still.Arm(Request(c.width, c.height, 1, "d.bmp")));
        const std::vector<std::uint8_t> sample(c.sampleBytes, 0x7F);
        EXPECT_EQ(still.OnFrame(sample).kind, StillOutcome::saved);
        CPicture loaded;
        ASSERT_TRUE(loaded.Load(folder / "d.bmp", kPictureBmp));
        EXPECT_EQ(loaded.GetWidth(), c.width);
    }
}

TEST_F(GrabbedStillTest, NoArmingWhilePendingOrForUnusableRequests) {
    ASSERT_TRUE(still.Arm(Request(8, 8, 1, "first.bmp")));
    EXPECT_FALSE(still.Arm(Request(8, 8, 1, "second.bmp")));
    const std::vector<std::uint8_t> frame = Frame(8, 8);
    EXPECT_EQ(still.OnFrame(frame).path, (folder / "first.bmp").wstring());
    EXPECT_FALSE(std::filesystem::exists(folder / "second.bmp"));

    EXPECT_FALSE(still.Arm(Request(0, 8, 1, "x.bmp")));
    EXPECT_FALSE(still.Arm(Request(8, -1, 1, "x.bmp")));
    EXPECT_FALSE(still.Arm(Request(8, 8, 0, "x.bmp")));
    EXPECT_FALSE(still.Arm(Request(8, 8, 4, "x.bmp")));
    EXPECT_FALSE(still.IsPending());

    ASSERT_TRUE(still.Arm(Request(8, 8, 1, "w.bmp")));
    still.Withdraw();
    EXPECT_EQ(still.OnFrame(frame).kind, StillOutcome::idle);
    EXPECT_TRUE(still.Arm(Request(8, 8, 1, "w.bmp")));
}

TEST_F(GrabbedStillTest, UnwritablePathIsReportedAndDisarms) {
    ASSERT_TRUE(still.Arm(Request(8, 8, 1, "missing/x.bmp")));
    const StillOutcome outcome = still.OnFrame(Frame(8, 8));
    EXPECT_EQ(outcome.kind, StillOutcome::failed);
    EXPECT_FALSE(still.IsPending());
}

}  // namespace
