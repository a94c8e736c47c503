// The device tree inside the real browser bar, in both languages: its
// family roots and numbered items, the first selection, double-clicks with
// real mouse messages, a view that declines the switch, and a refill.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "browser_bar.h"
#include "browser_test_support.h"
#include "language_library.h"
#include "private_messages.h"

namespace {

// A view that answers WM_DEVICE_SELECTED as the test says and records what
// the tree showed as selected while it asked.
class DeviceView : public CWindow {
public:
    bool Create(HWND parent) {
        RegisterWindowClass(L"DeviceTreeTestView", 0, nullptr);
        return CreateEx(0, L"DeviceTreeTestView", L"", WS_CHILD, RECT{0, 0, 10, 10}, parent, 78);
    }
    CDeviceTree* tree = nullptr;
    LRESULT answer = 1;
    // Moves the tree while it asks, as closing the video lays the frame out.
    bool moveTree = false;
    std::vector<std::pair<int, DeviceTreeEntry>> asked;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DEVICE_SELECTED && wParam == 0 && lParam == 0) {
            asked.emplace_back(tree->GetSelectedCategory(), tree->GetSelectedDevice());
            if (moveTree) {
                RECT area{};
                GetWindowRect(tree->GetSafeHwnd(), &area);
                SetWindowPos(tree->GetSafeHwnd(), nullptr, 0, 0, area.right - area.left, area.bottom - area.top - 1,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return answer;
        }
        return CWindow::WindowProc(message, wParam, lParam);
    }
};

class DeviceTreeTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 400, nullptr, nullptr, nullptr,
                                  nullptr);
        ASSERT_NE(parent_, nullptr);
        ASSERT_TRUE(view_.Create(parent_));
        ASSERT_TRUE(bar_.Create(L"Composite", parent_, 2454));
        MoveWindow(bar_.GetSafeHwnd(), 0, 0, 300, 400, TRUE);
        ShowWindow(bar_.GetSafeHwnd(), SW_SHOW);
        bar_.GetTabWindow().SelectTab(1);
        view_.tree = &tree();
        tree().SetViewWindow([this] { return view_.GetSafeHwnd(); });
    }
    void TearDown() override {
        bar_.DestroyWindow();
        DestroyWindow(parent_);
    }

    CDeviceTree& tree() { return bar_.GetDeviceTree(); }
    HWND Tree() { return tree().GetSafeHwnd(); }
    HTREEITEM Next(HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(Tree(), TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }
    std::wstring Text(HTREEITEM item) {
        wchar_t text[128] = {};
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = 128;
        SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        return text;
    }
    std::vector<std::wstring> Children(HTREEITEM parent) {
        std::vector<std::wstring> texts;
        for (HTREEITEM item = Next(parent, TVGN_CHILD); item; item = Next(item, TVGN_NEXT)) {
            texts.push_back(Text(item));
        }
        return texts;
    }
    std::vector<std::wstring> RootTexts() { return Children(TVI_ROOT); }
    HTREEITEM Child(HTREEITEM parent, int index) {
        HTREEITEM item = Next(parent, TVGN_CHILD);
        for (int i = 0; i < index && item; ++i) {
            item = Next(item, TVGN_NEXT);
        }
        return item;
    }
    void DoubleClick(HTREEITEM item) { ASSERT_TRUE(DoubleClickTreeItem(Tree(), item)); }
    std::wstring Name(int category) const {
        const wchar_t* english[] = {L"DShow Devices", L"CMOS Devices", L"CCD Devices", L"GIGE Devices", L"UVC Devices"};
        const wchar_t* chinese[] = {L"DShow \u8bbe\u5907", L"CMOS \u8bbe\u5907", L"CCD \u8bbe\u5907",
                                    L"GIGE \u8bbe\u5907", L"UVC \u8bbe\u5907"};
        return (GetParam() == 1 ? chinese : english)[category - 1];
    }

    LanguageLibrary language_{GetParam()};
    HWND parent_ = nullptr;
    DeviceView view_;
    CBrowserBar bar_{L"", L"", [] { return std::wstring(L"12.0"); }};
};

TEST_P(DeviceTreeTest, ListsDevicesNumberedUnderTheirFamilyRoots) {
    EXPECT_EQ(RootTexts(), (std::vector<std::wstring>{Name(1), Name(2), Name(3), Name(4), Name(5)}));
    tree().AddDevice({L"KQGE_Parsun", 0}, 4);
    tree().AddDevice({L"KQGE_Ostrel", 1}, 4);
    tree().AddDevice({L"KQGE_Parsun", 2}, 4);
    tree().AddDevice({L"nowhere", 9}, 6);
    tree().AddDevice({L"nowhere", 9}, 0);
    EXPECT_EQ(Children(tree().Root(4)),
              (std::vector<std::wstring>{L"1. KQGE_Parsun", L"2. KQGE_Ostrel", L"3. KQGE_Parsun"}));
    EXPECT_EQ(RootTexts().size(), 5u);
    EXPECT_EQ(tree().GetSelectedCategory(), 0);
    EXPECT_EQ(tree().GetSelectedDevice(), (DeviceTreeEntry{L"", -1}));
}

TEST_P(DeviceTreeTest, SelectFirstKeepsOnlyFamiliesWithDevices) {
    tree().AddDevice({L"UVC cam", 0}, 5);
    tree().AddDevice({L"CMOS one", 1}, 2);
    tree().AddDevice({L"CMOS two", 2}, 2);
    tree().SelectFirst();
    EXPECT_EQ(tree().GetSelectedCategory(), 2);
    EXPECT_EQ(tree().GetSelectedDevice(), (DeviceTreeEntry{L"CMOS one", 1}));
    EXPECT_EQ(RootTexts(), (std::vector<std::wstring>{Name(2), Name(5)}));
    EXPECT_EQ(tree().Root(1), nullptr);
    EXPECT_EQ(tree().Root(3), nullptr);
    EXPECT_EQ(tree().Root(4), nullptr);
    EXPECT_NE(
        SendMessageW(Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(tree().Root(2)), TVIS_EXPANDED) & TVIS_EXPANDED,
        0);
}

TEST_P(DeviceTreeTest, SelectFirstWithoutDevicesSelectsNothing) {
    tree().SelectFirst();
    EXPECT_EQ(tree().GetSelectedCategory(), 0);
    EXPECT_EQ(tree().GetSelectedDevice(), (DeviceTreeEntry{L"", -1}));
    EXPECT_TRUE(RootTexts().empty());
}

TEST_P(DeviceTreeTest, DoubleClickingAnotherDeviceAsksTheViewOnce) {
    tree().AddDevice({L"CMOS one", 1}, 2);
    tree().AddDevice({L"CMOS two", 2}, 2);
    tree().SelectFirst();
    DoubleClick(Child(tree().Root(2), 1));
    ASSERT_EQ(view_.asked.size(), 1u);
    EXPECT_EQ(view_.asked[0].first, 2);
    EXPECT_EQ(view_.asked[0].second, (DeviceTreeEntry{L"CMOS two", 2}));
    EXPECT_EQ(tree().GetSelectedDevice(), (DeviceTreeEntry{L"CMOS two", 2}));
    DoubleClick(Child(tree().Root(2), 1));
    EXPECT_EQ(view_.asked.size(), 1u);
    DoubleClick(tree().Root(2));
    EXPECT_EQ(view_.asked.size(), 1u);
}

TEST_P(DeviceTreeTest, ADeclinedSwitchReturnsToTheOpenDevice) {
    tree().AddDevice({L"CCD one", 1}, 3);
    tree().AddDevice({L"GigE one", 0}, 4);
    tree().SelectFirst();
    view_.answer = 0;
    DoubleClick(Child(tree().Root(4), 0));
    ASSERT_EQ(view_.asked.size(), 1u);
    EXPECT_EQ(view_.asked[0].first, 4);
    EXPECT_EQ(tree().GetSelectedCategory(), 3);
    EXPECT_EQ(tree().GetSelectedDevice(), (DeviceTreeEntry{L"CCD one", 1}));
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageW(Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0)),
              Child(tree().Root(3), 0));
    // Asked again, since the open device is still the other one.
    view_.answer = 1;
    DoubleClick(Child(tree().Root(4), 0));
    EXPECT_EQ(view_.asked.size(), 2u);
    EXPECT_EQ(tree().GetSelectedCategory(), 4);
}

// After a confirmed switch the tree shows the camera now in use, also when
// the switch laid the tree out again while it was asked.
TEST_P(DeviceTreeTest, AConfirmedSwitchShowsTheNewDevice) {
    tree().AddDevice({L"CCD one", 1}, 3);
    tree().AddDevice({L"GigE one", 0}, 4);
    tree().SelectFirst();
    view_.moveTree = true;
    DoubleClick(Child(tree().Root(4), 0));
    ASSERT_EQ(view_.asked.size(), 1u);
    EXPECT_EQ(tree().GetSelectedCategory(), 4);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageW(Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0)),
              Child(tree().Root(4), 0));
}

// A refill numbers from 1 again and a double-click opens the device it shows.
TEST_P(DeviceTreeTest, ARefillNumbersFromOneAndPicksTheClickedDevice) {
    tree().AddDevice({L"old A", 10}, 4);
    tree().AddDevice({L"old B", 11}, 4);
    tree().SelectFirst();
    tree().Clear();
    EXPECT_EQ(RootTexts().size(), 5u);
    tree().AddDevice({L"new A", 0}, 4);
    tree().AddDevice({L"new B", 1}, 4);
    tree().AddDevice({L"new C", 2}, 4);
    tree().SelectFirst();
    EXPECT_EQ(Children(tree().Root(4)), (std::vector<std::wstring>{L"1. new A", L"2. new B", L"3. new C"}));
    DoubleClick(Child(tree().Root(4), 2));
    ASSERT_EQ(view_.asked.size(), 1u);
    EXPECT_EQ(view_.asked[0].second, (DeviceTreeEntry{L"new C", 2}));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, DeviceTreeTest, ::testing::Values(0, 1));

}  // namespace
