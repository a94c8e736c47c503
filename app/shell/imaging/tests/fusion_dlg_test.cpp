// The fusion dialog under Wine: pictures listed through the open dialog,
// fused by the engine behind the busy dialog, shown, refused with message
// 47097, and saved with the type the file name asks for.
#include <gtest/gtest.h>

#include <windows.h>

#include "focus_stack.h"
#include "fusion_dlg.h"
#include "imaging_resource.h"
#include "imaging_test_support.h"
#include "modal_script.h"
#include "pump_until.h"
#include "resource_module.h"

namespace {

using testing_support::ModalScript;
using testing_support::PumpUntil;

class FusionDlgTest : public imaging_testing::ImagingFixture {
protected:
    void SetUp() override {
        ImagingFixture::SetUp();
        dlg = std::make_unique<CFusionDlg>(dialogs, folder.wstring() + L"\\");
        ASSERT_TRUE(dlg->Create(nullptr));
        ShowWindow(dlg->GetSafeHwnd(), SW_SHOW);
    }
    void TearDown() override {
        dlg.reset();
        ImagingFixture::TearDown();
    }
    void Command(UINT id) { SendMessageW(dlg->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // Lists the pictures through the open dialog.
    void List(std::vector<std::wstring> paths) {
        dialogs.opens.push_back(std::move(paths));
        Command(ID_FUSION_OPEN);
    }
    void ClearList() {
        while (!dlg->GetPictureList().GetPaths().empty()) {
            dlg->GetPictureList().SelectPicture(0);
            Command(ID_FUSION_DELETE);
        }
    }
    // Starts and waits until a picture other than `before` is shown.
    bool StartAndWait(const CPicture* before) {
        Command(ID_FUSION_START);
        return PumpUntil([&] { return dlg->GetResult() != nullptr && dlg->GetResult() != before; }, 20000);
    }
    // What the fusion of these pictures is, worked out in this process.
    static std::vector<std::uint8_t> Fused(const std::vector<BgrImage>& inputs) {
        const std::vector<BgrView> views(inputs.begin(), inputs.end());
        FocusStack stack;
        stack.Reset(inputs[0].width, inputs[0].height);
        for (const BgrView& view : views) {
            stack.Add(view);
        }
        std::vector<std::uint8_t> fused(inputs[0].pixels.size());
        stack.Compose(views, fused);
        return fused;
    }

    std::unique_ptr<CFusionDlg> dlg;
};

TEST_F(FusionDlgTest, ShowsTheFusionRowForRowAndSavesByTheChosenExtension) {
    // 641 pixels: rows of 1923 bytes, which the picture pads to 1924.
    const BgrImage scene = bgr_testing::TexturedScene(641, 90, 4);
    const std::vector<BgrImage> inputs = {scene, bgr_testing::BoxBlur(scene, 2)};
    List({Write(inputs[0], L"sharp.bmp"), Write(inputs[1], L"blurred.bmp")});
    ASSERT_EQ(dlg->GetPictureList().GetPaths().size(), 2u);
    ASSERT_TRUE(StartAndWait(nullptr));
    const CPicture& result = *dlg->GetResult();
    ASSERT_EQ(result.GetWidth(), 641);
    ASSERT_EQ(result.GetHeight(), 90);
    EXPECT_TRUE(TopDownRows(result) == Fused(inputs));

    const struct {
        const wchar_t* name;
        int type;
    } saves[] = {
        {L"out.bmp", kPictureBmp}, {L"out.jpg", kPictureJpeg}, {L"out.tiff", kPictureTiff},
        {L"out.png", kPictureJpeg}, {L"out", kPictureJpeg},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(std::string(save.name, save.name + wcslen(save.name)));
        dialogs.saves.push_back(PathOf(save.name));
        Command(ID_FUSION_SAVE);
        EXPECT_EQ(TypeOfFile(PathOf(save.name)), save.type);
    }
    ASSERT_FALSE(dialogs.saveRequests.empty());
    EXPECT_EQ(dialogs.saveRequests[0].filter, L"BMP File(*.bmp)|*.bmp|JPEG File(*.jpg)|*.jpg|TIFF File(*.tiff)|*.tiff|");
    CPicture saved;
    ASSERT_TRUE(saved.Load(folder / L"out.bmp", kPictureBmp));
    EXPECT_TRUE(TopDownRows(saved) == Fused(inputs));
}

TEST_F(FusionDlgTest, RefusalShowsTheResolutionMessageAndKeepsTheResult) {
    const BgrImage scene = bgr_testing::TexturedScene(120, 80, 5);
    const std::vector<BgrImage> inputs = {bgr_testing::BoxBlur(scene, 1), scene};
    List({Write(inputs[0], L"a.bmp"), Write(inputs[1], L"b.bmp")});
    ASSERT_TRUE(StartAndWait(nullptr));
    const CPicture* shown = dlg->GetResult();

    ClearList();
    List({Write(bgr_testing::TexturedScene(120, 80, 6), L"c.bmp"), Write(bgr_testing::TexturedScene(121, 80, 6), L"d.bmp")});
    std::wstring text;
    std::wstring caption;
    ModalScript script({[&](HWND box) {
        text = ModalScript::MessageText(box);
        caption = ModalScript::Text(box);
        ModalScript::Press(box, IDOK);
    }});
    Command(ID_FUSION_START);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(text, LoadResourceString(IDS_CHECK_RESOLUTION));
    EXPECT_EQ(text, L"\u8bf7\u68c0\u67e5\u52a0\u8f7d\u56fe\u7247\u7684\u5206\u8fa8\u7387\u662f\u5426\u4e00\u81f4\uff01");
    EXPECT_EQ(caption, L"Vizcam");
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(dlg->GetResult(), shown);
    EXPECT_TRUE(TopDownRows(*dlg->GetResult()) == Fused(inputs));
}

TEST_F(FusionDlgTest, ASecondStartFusesOnlyTheNewList) {
    const BgrImage first = bgr_testing::TexturedScene(100, 60, 7);
    List({Write(first, L"a.bmp"), Write(bgr_testing::BoxBlur(first, 1), L"b.bmp")});
    ASSERT_TRUE(StartAndWait(nullptr));
    EXPECT_EQ(dlg->GetResult()->GetWidth(), 100);

    // Pictures of another size: fused alone, not refused for the first pair.
    ClearList();
    const BgrImage second = bgr_testing::TexturedScene(80, 70, 8);
    const std::vector<BgrImage> inputs = {bgr_testing::BoxBlur(second, 2), second, bgr_testing::BoxBlur(second, 1)};
    List({Write(inputs[0], L"c.bmp"), Write(inputs[1], L"d.bmp"), Write(inputs[2], L"e.bmp")});
    ASSERT_TRUE(StartAndWait(dlg->GetResult()));
    ASSERT_EQ(dlg->GetResult()->GetWidth(), 80);
    ASSERT_EQ(dlg->GetResult()->GetHeight(), 70);
    EXPECT_TRUE(TopDownRows(*dlg->GetResult()) == Fused(inputs));
}

TEST_F(FusionDlgTest, StartWithOnePictureAndSaveWithoutResultDoNothing) {
    List({Write(bgr_testing::TexturedScene(50, 40, 1), L"only.bmp")});
    Command(ID_FUSION_START);
    dialogs.saves.push_back(PathOf(L"never.bmp"));
    Command(ID_FUSION_SAVE);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(dlg->GetResult(), nullptr);
    EXPECT_TRUE(dialogs.saveRequests.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / L"never.bmp"));
}

TEST_F(FusionDlgTest, ToolbarTipsAreThePromptsSecondLines) {
    HWND toolBar = GetDlgItem(dlg->GetSafeHwnd(), CFusionDlg::kToolBarId);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0), 4);
    for (const UINT id : {ID_FUSION_OPEN, ID_FUSION_DELETE, ID_FUSION_START, ID_FUSION_SAVE}) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(toolBar, TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = id;
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(dlg->GetSafeHwnd(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
        const std::wstring prompt = LoadResourceString(id);
        ASSERT_NE(info.lpszText, nullptr);
        EXPECT_EQ(std::wstring(info.lpszText), prompt.substr(prompt.find(L'\n') + 1));
        EXPECT_NE(info.hdr.hwndFrom, nullptr);
    }
}

}  // namespace
