// The DirectShow camera's rules that need no graph.
#include <gtest/gtest.h>

#include <vector>

#include "dshow_rules.h"

namespace {

TEST(DShowRules, GraphTableNameKeepsTheWholeAddress) {
    EXPECT_EQ(GraphTableName(0x1234u, 0x2Au), L"FilterGraph 00001234 pid 0000002a");
    EXPECT_EQ(GraphTableName(0x7FF6'1234'5678ull, 7), L"FilterGraph 7ff612345678 pid 00000007");
}

TEST(DShowRules, DeviceNamesAreCutTo119Characters) {
    EXPECT_EQ(ListedDeviceName(std::wstring(200, L'n')).size(), 119u);
    EXPECT_EQ(ListedDeviceName(L"Test Source 1"), L"Test Source 1");
}

TEST(DShowRules, RecordingFrameDuration) {
    EXPECT_EQ(FrameRateKey(1280), L"cap1280");
    const struct {
        int fps;
        std::int64_t duration;
    } cases[] = {{15, 666666}, {0, 2500000}, {-3, 2500000}, {25, 400000}, {1, 10000000}};
    for (const auto& c : cases) {
        EXPECT_EQ(RecordingFrameDuration(c.fps), c.duration) << c.fps;
    }
}

TEST(DShowRules, CompressorByPartOrExactName) {
    const std::vector<std::wstring> names{L"Cinepak Video codec", L"Wine MS-RLE video codec",
                                          L"Wine Video 1 video codec"};
    EXPECT_EQ(FindCompressor(names, L"Wine"), 1u);
    EXPECT_EQ(FindCompressor(names, L"video codec"), 1u);
    EXPECT_EQ(FindCompressor(names, L"Video 1"), 2u);
    EXPECT_FALSE(FindCompressor(names, L"wine ms-rle").has_value());
    EXPECT_FALSE(FindCompressor(names, L"").has_value());

    EXPECT_EQ(CompressorSelection(names, L"Wine Video 1 video codec"), 2u);
    EXPECT_EQ(CompressorSelection(names, L"Video 1"), 0u);
    EXPECT_EQ(CompressorSelection(names, L""), 0u);
    EXPECT_EQ(CompressorSelection({}, L"x"), 0u);
}

TEST(DShowRules, SnapshotSizeIsTheExactEntryElseTheLargest) {
    const std::vector<ListedFormat> list{
        {L"640 * 480", 640, 480}, {L"1280 * 1024", 1280, 1024}, {L"800 * 600", 800, 600}};
    const std::vector<ListedFormat> shorter{{L"640 * 480", 640, 480}, {L"1280 * 1024", 1280, 1024}};
    const std::vector<ListedFormat> wideOnly{{L"640 * 480", 640, 480}, {L"2000 * 400", 2000, 400}};
    const struct {
        const char* what;
        const std::vector<ListedFormat>& list;
        int width, height;
        ListedFormat chosen;
    } cases[] = {
        {"exact keeps the label", list, 640, 480, {L"mine", 640, 480}},
        {"absent gives the largest", shorter, 800, 600, {L"1280 * 1024", 1280, 1024}},
        {"one side larger is not larger", wideOnly, 1, 1, {L"640 * 480", 640, 480}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<ListedFormat> chosen = ChooseSnapshotSize(c.list, L"mine", c.width, c.height);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->label, c.chosen.label);
        EXPECT_EQ(chosen->width, c.chosen.width);
        EXPECT_EQ(chosen->height, c.chosen.height);
    }
    EXPECT_FALSE(ChooseSnapshotSize({}, L"mine", 640, 480).has_value());
    EXPECT_EQ(FormatLabel(1280, 1024), L"1280 * 1024");
}

TEST(DShowRules, SnapshotDialogChoices) {
    EXPECT_EQ(ImageTypeChoice(0), -1);
    EXPECT_EQ(ImageTypeChoice(1), 0);
    EXPECT_EQ(ImageTypeChoice(3), 2);
    EXPECT_EQ(ImageTypeChoice(4), -1);
    EXPECT_EQ(NameTypeChoice(1), 1);
    EXPECT_EQ(NameTypeChoice(2), -1);
    const std::vector<ListedFormat> list{{L"640 * 480", 640, 480}, {L"800 * 600", 800, 600}};
    EXPECT_EQ(SnapshotSizeChoice(list, 800, 600), 1);
    EXPECT_EQ(SnapshotSizeChoice(list, 800, 480), -1);
}

}  // namespace
