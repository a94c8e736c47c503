#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"

namespace {

RECT ChildRect(HWND dialog, int id) {
    RECT rc;
    GetWindowRect(GetDlgItem(dialog, id), &rc);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

// What a probe saw once the dialog had laid itself out.
struct Layout {
    RECT window{};
    RECT text{};
    RECT ok{};
    RECT cancel{};
    RECT single{};
    bool okVisible = false;
    bool cancelVisible = false;
    bool singleVisible = false;
    std::wstring caption;
    std::wstring shownText;
    std::wstring okLabel;
    std::wstring cancelLabel;
};

// Records the layout after initialisation, then ends the dialog the way a
// user would: a posted key or button click, handled by the modal loop.
class ProbePrompt : public CPromptDlg {
public:
    enum class Finish { escape, clickOk, clickSingle, clickCancel, close };

    ProbePrompt(std::wstring text, int mode, Finish finish)
        : CPromptDlg(std::move(text), L"Vizcam", mode), finish_(finish) {}

    Layout layout;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CPromptDlg::OnInitDialog();
        GetWindowRect(m_hWnd, &layout.window);
        layout.text = ChildRect(m_hWnd, IDC_PROMPT_TEXT);
        layout.ok = ChildRect(m_hWnd, IDOK);
        layout.cancel = ChildRect(m_hWnd, IDCANCEL);
        layout.single = ChildRect(m_hWnd, IDC_PROMPT_SINGLE);
        layout.cancelVisible = GetWindowLongW(GetDlgItem(IDCANCEL), GWL_STYLE) & WS_VISIBLE;
        layout.singleVisible = GetWindowLongW(GetDlgItem(IDC_PROMPT_SINGLE), GWL_STYLE) & WS_VISIBLE;
        layout.okVisible = GetWindowLongW(GetDlgItem(IDOK), GWL_STYLE) & WS_VISIBLE;
        layout.caption = Text(m_hWnd);
        layout.shownText = Text(GetDlgItem(IDC_PROMPT_TEXT));
        layout.okLabel = Text(GetDlgItem(IDOK));
        layout.cancelLabel = Text(GetDlgItem(IDCANCEL));
        switch (finish_) {
        case Finish::escape: PostMessageW(m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); break;
        case Finish::clickOk: PostMessageW(GetDlgItem(IDOK), BM_CLICK, 0, 0); break;
        case Finish::clickSingle: PostMessageW(GetDlgItem(IDC_PROMPT_SINGLE), BM_CLICK, 0, 0); break;
        case Finish::clickCancel: PostMessageW(GetDlgItem(IDCANCEL), BM_CLICK, 0, 0); break;
        case Finish::close: PostMessageW(m_hWnd, WM_CLOSE, 0, 0); break;
        }
        return result;
    }

private:
    static std::wstring Text(HWND hwnd) {
        wchar_t buffer[512] = {};
        GetWindowTextW(hwnd, buffer, 512);
        return buffer;
    }
    Finish finish_;
};

// The width a text needs in a memory context's default font, measured with
// another call than the dialog uses.
int TextWidth(const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    SIZE size{};
    GetTextExtentPoint32W(memory, text.c_str(), static_cast<int>(text.size()), &size);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

class PromptDlgTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const std::wstring name = L"Lan_" + std::to_wstring(GetParam()) + L".dll";
        module_ = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "language library missing";
        SetResourceModule(module_);
    }
    void TearDown() override {
        SetResourceModule(nullptr);
        if (module_) {
            FreeLibrary(module_);
        }
    }

    Layout Run(const std::wstring& text, int mode, ProbePrompt::Finish finish, INT_PTR expected) {
        ProbePrompt dlg(text, mode, finish);
        EXPECT_EQ(dlg.DoModal(), expected);
        return dlg.layout;
    }

    HMODULE module_ = nullptr;
};

TEST_P(PromptDlgTest, ShortTextKeepsTheTemplateSize) {
    const Layout empty = Run(L"", 1, ProbePrompt::Finish::escape, IDCANCEL);
    const Layout shortText = Run(L"Delete?", 1, ProbePrompt::Finish::escape, IDCANCEL);
    EXPECT_EQ(Width(shortText.window), Width(empty.window));
    EXPECT_EQ(Height(shortText.window), Height(empty.window));
    EXPECT_EQ(shortText.ok.left, empty.ok.left);
    EXPECT_EQ(shortText.shownText, L"Delete?");
    EXPECT_EQ(shortText.caption, L"Vizcam");
}

TEST_P(PromptDlgTest, WideTextWidensByTheDifferenceAndMovesButtonsByHalf) {
    const Layout base = Run(L"", 1, ProbePrompt::Finish::escape, IDCANCEL);
    const std::wstring text(120, L'W');
    const Layout wide = Run(text, 1, ProbePrompt::Finish::escape, IDCANCEL);

    const int dx = TextWidth(text) - Width(base.text);
    ASSERT_GT(dx, 0);
    EXPECT_EQ(Width(wide.window) - Width(base.window), dx);
    EXPECT_EQ(Height(wide.window), Height(base.window));  // one line fits the height
    EXPECT_EQ(Width(wide.text), Width(base.text) + dx);
    for (const auto& [before, after] :
         {std::pair{base.ok, wide.ok}, std::pair{base.cancel, wide.cancel}, std::pair{base.single, wide.single}}) {
        EXPECT_EQ(after.left - before.left, dx / 2);
        EXPECT_EQ(after.top, before.top);
    }
}

TEST_P(PromptDlgTest, TallTextGrowsDownAndMovesButtonsByHalf) {
    const Layout base = Run(L"", 1, ProbePrompt::Finish::escape, IDCANCEL);
    std::wstring text = L"line";
    for (int i = 0; i < 12; ++i) {
        text += L"\r\nline";
    }
    const Layout tall = Run(text, 1, ProbePrompt::Finish::escape, IDCANCEL);
    const int dy = Height(tall.text) - Height(base.text);
    ASSERT_GT(dy, 0);
    EXPECT_EQ(Height(tall.window) - Height(base.window), dy);
    EXPECT_EQ(tall.ok.top - base.ok.top, dy / 2);
    EXPECT_EQ(Width(tall.window), Width(base.window));
}

TEST_P(PromptDlgTest, ButtonsFollowTheMode) {
    const Layout single = Run(L"Saved.", 0, ProbePrompt::Finish::clickSingle, IDOK);
    EXPECT_TRUE(single.singleVisible);
    EXPECT_FALSE(single.okVisible);
    EXPECT_FALSE(single.cancelVisible);

    const Layout question = Run(L"Exit?", 1, ProbePrompt::Finish::clickOk, IDOK);
    EXPECT_FALSE(question.singleVisible);
    EXPECT_TRUE(question.okVisible);
    EXPECT_TRUE(question.cancelVisible);
}

TEST_P(PromptDlgTest, CancelEscapeAndCloseGiveTwo) {
    Run(L"Exit?", 1, ProbePrompt::Finish::clickCancel, IDCANCEL);
    Run(L"Exit?", 1, ProbePrompt::Finish::escape, IDCANCEL);
    Run(L"Exit?", 0, ProbePrompt::Finish::escape, IDCANCEL);
    Run(L"Exit?", 0, ProbePrompt::Finish::close, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Languages, PromptDlgTest, ::testing::Values(0, 1));

TEST(PromptDlgLabels, ChineseLibraryCarriesChineseButtons) {
    HMODULE module = LoadLibraryExW(L"Lan_1.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    SetResourceModule(module);
    ProbePrompt dlg(L"\u662f\u5426\u9000\u51fa\uff1f", 1, ProbePrompt::Finish::escape);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.layout.okLabel, L"\u786e\u5b9a");
    EXPECT_EQ(dlg.layout.cancelLabel, L"\u53d6\u6d88");
    EXPECT_EQ(dlg.layout.shownText, L"\u662f\u5426\u9000\u51fa\uff1f");
    SetResourceModule(nullptr);
    FreeLibrary(module);
}

}  // namespace
