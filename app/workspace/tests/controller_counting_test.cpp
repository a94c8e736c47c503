// The counting dialogs as the controller opens them: what it hands them,
// what it does with their answers, and what a cancelled manual count leaves.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "controller_fixture.h"
#include "history_actions.h"
#include "recording_controller.h"

namespace {

using namespace controller_testing;
namespace fs = std::filesystem;

std::vector<fs::path> EdgeFilesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path().filename().wstring().starts_with(L"~tEdge")) {
            found.push_back(entry.path());
        }
    }
    return found;
}

// Answers as the user would, doing to the engine and picture what the real
// dialogs do before they return.
class StandInCountingDialogs final : public ICountingDialogs {
public:
    bool ManualCount(CImageController&, CIMGCount& engine, CPicture& picture, std::unique_ptr<CPicture> copy) override {
        ++manualCalls;
        edgeFilesDuring = EdgeFilesIn(historyFolder);
        engine.creatEdgeImg(0, 10, 0);
        engine.DrawMarkInSrcIMGAfterEdge(picture.Pixels(), false);
        std::fill(picture.Pixels().begin(), picture.Pixels().end(), std::uint8_t{7});
        if (!accept) {
            std::copy(copy->Pixels().begin(), copy->Pixels().end(), picture.Pixels().begin());
        }
        return accept;
    }
    bool ChooseCountRegion(CIMGCount&, CountRegionChoice& answer) override {
        answer = choice;
        return accept;
    }
    void ShowCountResults(CIMGCount& engine, int width, int height, const CountCalibration& calibration) override {
        shownEngine = &engine;
        shownWidth = width;
        shownHeight = height;
        shownCalibration = calibration;
    }

    bool accept = false;
    CountRegionChoice choice;
    fs::path historyFolder;
    int manualCalls = 0;
    std::vector<fs::path> edgeFilesDuring;
    CIMGCount* shownEngine = nullptr;
    int shownWidth = 0;
    int shownHeight = 0;
    CountCalibration shownCalibration;
};

class ControllerCountingTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        // 61 wide: rows are padded, as pictures of most widths are.
        controller = std::make_unique<RecordingController>(WritePicture(L"c.bmp", 61, 40, 0x404040), window.hwnd());
        controller->GetHistoryStore().CreateFolder(2101);
        controller->OpenPicture();
        controller->kinds.clear();
        dialogs.historyFolder = controller->GetHistoryStore().DocumentFolder();
        engine = controller->GetCounter();
        ASSERT_NE(engine, nullptr);
        ASSERT_TRUE(engine->creatEdgeImg(0, 255, 0));
        // The picture shows the marks, as after a count: an accepted
        // whole-picture region paints them.
        controller->SetCountingDialogs(&dialogs);
        dialogs.accept = true;
        controller->SetCountRegion();
        dialogs.accept = false;
        controller->SetCountingDialogs(nullptr);
        controller->kinds.clear();
    }
    void TearDown() override {
        controller.reset();
        ControllerFixture::TearDown();
    }
    std::vector<std::uint8_t> Edge() { return {engine->EdgeImage().begin(), engine->EdgeImage().end()}; }
    std::vector<std::uint8_t> Pixels() {
        return {controller->GetPicture()->Pixels().begin(), controller->GetPicture()->Pixels().end()};
    }

    std::unique_ptr<RecordingController> controller;
    StandInCountingDialogs dialogs;
    CIMGCount* engine = nullptr;
};

TEST_F(ControllerCountingTest, CancelledManualCountRestoresEdgeImageAndPictureAndLeavesNoFile) {
    controller->SetCountingDialogs(&dialogs);
    const std::vector<std::uint8_t> edgeBefore = Edge();
    const std::vector<std::uint8_t> pixelsBefore = Pixels();
    const fs::path current = fs::current_path();
    controller->ManualCount();
    ASSERT_EQ(dialogs.manualCalls, 1);
    // The edge image waited in a file of the controller's own folder.
    EXPECT_EQ(dialogs.edgeFilesDuring.size(), 1u);
    EXPECT_FALSE(fs::exists(current / "~tEdge.bmp"));
    EXPECT_TRUE(Edge() == edgeBefore);
    EXPECT_TRUE(Pixels() == pixelsBefore);
    EXPECT_TRUE(controller->kinds.empty());
    EXPECT_TRUE(EdgeFilesIn(dialogs.historyFolder).empty());
}

TEST_F(ControllerCountingTest, AcceptedManualCountKeepsTheEditsAsOneStep) {
    controller->SetCountingDialogs(&dialogs);
    dialogs.accept = true;
    controller->ManualCount();
    EXPECT_EQ(controller->kinds, std::vector<int>{kHistoryManualCount});
    EXPECT_TRUE(
        std::all_of(engine->EdgeImage().begin(), engine->EdgeImage().end(), [](std::uint8_t m) { return m == 0; }));
    EXPECT_TRUE(EdgeFilesIn(dialogs.historyFolder).empty());
}

TEST_F(ControllerCountingTest, RegionAnswersBecomeTheEnginesRegion) {
    controller->SetCountingDialogs(&dialogs);
    struct Case {
        bool accept;
        CountRegionChoice choice;
        std::vector<int> kinds;
        bool regionSet;
        CountPoint corner;
    };
    const Case cases[] = {
        // y 3 from the top, 4 high, on a 40-row picture: row 33 from the bottom.
        {true, {true, 5, 3, 10, 4}, {kHistoryCountRegion}, true, {5, 33}},
        {false, {false, 0, 0, 0, 0}, {}, true, {5, 33}},
        {true, {false, 1, 1, 1, 1}, {kHistoryCountRegion}, false, {}},
    };
    for (const Case& c : cases) {
        controller->kinds.clear();
        dialogs.accept = c.accept;
        dialogs.choice = c.choice;
        controller->SetCountRegion();
        EXPECT_EQ(controller->kinds, c.kinds);
        CountPoint corner;
        int width = 0, height = 0;
        ASSERT_EQ(engine->getSelRect(corner, width, height), c.regionSet);
        if (c.regionSet) {
            EXPECT_EQ(corner.x, c.corner.x);
            EXPECT_EQ(corner.y, c.corner.y);
            EXPECT_EQ(width, 10);
            EXPECT_EQ(height, 4);
        }
    }
}

TEST_F(ControllerCountingTest, ResultsAreShownInThePicturesCalibration) {
    controller->ShowCountResults();
    EXPECT_EQ(dialogs.shownEngine, nullptr) << "without dialogs nothing opens";
    controller->SetCountingDialogs(&dialogs);
    controller->scale = 0.5f;
    controller->decimals = 3;
    controller->unitText = u"mm";
    controller->ShowCountResults();
    EXPECT_EQ(dialogs.shownEngine, engine);
    EXPECT_EQ(dialogs.shownWidth, 61);
    EXPECT_EQ(dialogs.shownHeight, 40);
    EXPECT_EQ(dialogs.shownCalibration.scale, 0.5f);
    EXPECT_EQ(dialogs.shownCalibration.decimals, 3);
    EXPECT_EQ(dialogs.shownCalibration.unit, u"mm");

    CImageController windowless;
    windowless.SetCountingDialogs(&dialogs);
    windowless.ManualCount();
    windowless.SetCountRegion();
    EXPECT_EQ(dialogs.manualCalls, 0);
}

// 1001 wide: every row carries a byte of padding after its 3003 bytes.
class WidePictureCountingTest : public ControllerFixture {};

TEST_F(WidePictureCountingTest, FillingHolesRestoresEveryRowOfThePicture) {
    constexpr int kWidth = 1001;
    constexpr int kHeight = 12;
    CPicture p(kWidth, kHeight, 24, kPictureBmp);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = p.GetBits(y);
        for (int x = 0; x < kWidth * 3; ++x) {
            row[x] = static_cast<std::uint8_t>(100 + (x * 7 + y * 13) % 150);
        }
    }
    // A dark target in the last pixels of the top row, the bytes a copy
    // too short by the padding misses.
    std::fill_n(p.GetBits(kHeight - 1) + (kWidth - 4) * 3, 12, std::uint8_t{5});
    const fs::path path = dir / L"wide.bmp";
    ASSERT_TRUE(p.Save(path, kPictureBmp));
    RecordingController controller(path, window.hwnd());
    controller.GetHistoryStore().CreateFolder(2102);
    controller.OpenPicture();
    CIMGCount* engine = controller.GetCounter();
    ASSERT_NE(engine, nullptr);
    ASSERT_TRUE(engine->creatEdgeImg(0, 50, 0));
    controller.ShowOutline(0);
    const std::uint8_t* marked = controller.GetPicture()->GetBits(kHeight - 1) + (kWidth - 1) * 3;
    ASSERT_EQ(marked[2], 255) << "the target is marked";
    // The target is taken off the mask behind the picture's back: filling
    // holes starts from the unmarked picture, so its marks go.
    std::fill(engine->EdgeImage().begin(), engine->EdgeImage().end(), std::uint8_t{0});
    controller.kinds.clear();
    controller.FillHoles();
    EXPECT_TRUE(controller.kinds.empty()) << "no hole was filled";
    for (int y = 0; y < kHeight; ++y) {
        ASSERT_TRUE(std::equal(p.GetBits(y), p.GetBits(y) + kWidth * 3, controller.GetPicture()->GetBits(y)))
            << "row " << y;
    }
}

}  // namespace
