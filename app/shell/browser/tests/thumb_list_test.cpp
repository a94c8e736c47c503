// The export file list inside the real browser bar: which documents it takes
// with and without the spreadsheet stand-in, their icons, the folder's order
// and the notices of a failed open.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "docking_bar.h"
#include "browser_resource.h"
#include "resource.h"
#include "browser_test_support.h"
#include "excel_stand_in_registration.h"
#include "excel_version.h"
#include "language_library.h"
#include "modal_script.h"
#include "thumb_list.h"

namespace fs = std::filesystem;
using testing_support::ModalScript;

namespace {

constexpr std::uint32_t kWordBand = 0x2850AA;
constexpr std::uint32_t kWorkbookBand = 0x1E783C;

class ThumbListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 480, 640, nullptr, nullptr, nullptr,
                                  nullptr);
        ASSERT_NE(parent_, nullptr);
        // A docking bar hands the list's notifications back to it, as the
        // browser bar does.
        ASSERT_TRUE(bar_.Create(L"Files", parent_, 2454));
        ASSERT_TRUE(list_.Create(0, RECT{0, 0, 0, 0}, bar_.GetSafeHwnd(), 4097));
        bar_.SetContent(list_.GetSafeHwnd());
        MoveWindow(bar_.GetSafeHwnd(), 0, 0, 480, 640, TRUE);
        ShowWindow(bar_.GetSafeHwnd(), SW_SHOW);
    }
    void TearDown() override {
        list_.DestroyWindow();
        bar_.DestroyWindow();
        DestroyWindow(parent_);
        CoUninitialize();
    }

    CThumbList& list() { return list_; }
    std::wstring File(const wchar_t* name) {
        const fs::path path = folder_ / name;
        std::ofstream(path) << "document";
        return path.wstring();
    }
    std::vector<std::wstring> AddAll(const std::vector<std::wstring>& paths) {
        std::vector<std::wstring> added;
        for (const std::wstring& path : paths) {
            if (list().AddFile(path, list().GetItemCount())) added.push_back(path);
        }
        return added;
    }

    LanguageLibrary language_{1};
    fs::path folder_ = fs::temp_directory_path() / L"files";
    HWND parent_ = nullptr;
    int versionAsked_ = 0;
    std::optional<std::wstring> excel_;
    CDockingBar bar_;
    // The installed version as the program would read it, asked anew here.
    CThumbList list_{folder_.wstring() + L"\\", [this] {
                         ++versionAsked_;
                         if (!excel_) excel_ = QueryExcelVersion().value_or(L"11.0");
                         return *excel_;
                     }};
};

}  // namespace

TEST_F(ThumbListTest, WorkbooksAreListedInTheFormTheInstalledVersionWrites) {
    const std::wstring doc = File(L"r.doc");
    const std::wstring xls = File(L"r.xls");
    const std::wstring xlsx = File(L"r.xlsx");
    const std::wstring txt = File(L"r.txt");
    const struct {
        const wchar_t* installed;  // null: no spreadsheet program
        std::vector<std::wstring> listed;
    } cases[] = {
        {nullptr, {doc, xls}},  {L"11.0", {doc, xls}},  {L"12.0", {doc, xlsx}},
        {L"14.0", {doc, xlsx}}, {L"16.0", {doc, xlsx}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.installed ? c.installed : L"none"));
        std::optional<ExcelStandInRegistration> excel;
        if (c.installed) {
            excel.emplace(c.installed, fs::temp_directory_path() / L"excel.txt");
            ASSERT_TRUE(excel->Registered());
        }
        excel_.reset();
        list().Reload();
        list().ClearPaths();
        EXPECT_EQ(AddAll({doc, xls, xlsx, txt}), c.listed);
        EXPECT_EQ(list().GetItemCount(), 2);
        if (excel) {
            // Asked once and told to quit: no hidden instance stays.
            EXPECT_EQ(excel->Calls(), (std::vector<std::string>{"Created", "Version", "Quit", "Released"}));
        }
        fs::remove(fs::temp_directory_path() / L"excel.txt");
    }
}

TEST_F(ThumbListTest, DocumentsNeedNoSpreadsheetVersionAndShowTheirTypesIcon) {
    const std::wstring doc = File(L"a.doc");
    ASSERT_TRUE(list().AddFile(doc, 0));
    EXPECT_EQ(versionAsked_, 0);
    ASSERT_TRUE(list().AddFile(File(L"b.xls"), 1));
    EXPECT_EQ(versionAsked_, 1);
    EXPECT_FALSE(list().AddFile(doc, 0));
    EXPECT_FALSE(list().AddFile((folder_ / L"missing.doc").wstring(), 0));
    EXPECT_EQ(ImagePixel(list().GetImageList(), 0, 20, 20), kWordBand);
    EXPECT_EQ(ImagePixel(list().GetImageList(), 1, 20, 20), kWorkbookBand);
    EXPECT_EQ(list().GetItemCaption(0), L"a.doc");
}

TEST_F(ThumbListTest, ReloadTakesEveryFileNewestFirst) {
    const struct {
        const wchar_t* name;
        int minutes;
    } files[] = {{L"old.doc", 1}, {L"notes.txt", 9}, {L"mid.xls", 5}};
    for (const auto& f : files) {
        const std::wstring path = File(f.name);
        HANDLE file =
            CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const ULONGLONG time = 133000000000000000ULL + static_cast<ULONGLONG>(f.minutes) * 60 * 10000000;
        FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
        CloseHandle(file);
    }
    ASSERT_TRUE(list().AddFile((folder_ / L"old.doc").wstring(), 0));
    list().Reload();
    EXPECT_EQ(list().GetPaths(),
              (std::vector<std::wstring>{(folder_ / L"notes.txt").wstring(), (folder_ / L"mid.xls").wstring(),
                                         (folder_ / L"old.doc").wstring()}));
    EXPECT_EQ(list().GetItemCount(), 0);
}

TEST(OpenFailureMessage, ShellResultsGiveTheirNotices) {
    const struct {
        INT_PTR result;
        unsigned message;
    } cases[] = {{2, IDS_FILE_MISSING},
                 {31, IDS_NO_OFFICE_PROGRAM},
                 {0, IDS_OPEN_FILE_FAILED},
                 {5, IDS_OPEN_FILE_FAILED},
                 {32, IDS_OPEN_FILE_FAILED},
                 {33, 0u},
                 {42, 0u}};
    for (const auto& c : cases) {
        EXPECT_EQ(OpenFailureMessage(c.result), c.message) << c.result;
    }
}

TEST_F(ThumbListTest, EveryDoubleClickOpensAndAFailedOpenIsTold) {
    const std::wstring gone = File(L"gone.doc");
    const std::wstring doc = File(L"report.doc");
    ASSERT_TRUE(list().AddFile(gone, 0));
    ASSERT_TRUE(list().AddFile(doc, 1));
    fs::remove(gone);

    std::vector<std::wstring> notices;
    const ModalScript::Step answer = [&](HWND box) {
        notices.push_back(ModalScript::ItemText(box, IDC_PROMPT_TEXT));
        ModalScript::Press(box, IDC_PROMPT_SINGLE);
    };
    ModalScript script({answer, answer, answer});
    HWND window = list().GetSafeHwnd();
    for (int item : {0, 0, 1}) {
        RECT rect{};
        rect.left = LVIR_ICON;
        ASSERT_TRUE(SendMessageW(window, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(window, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(list().GetCurrentIndex(), item);
    }
    EXPECT_TRUE(script.Finished());
    const std::wstring missing = L"\u6587\u4ef6\u4e0d\u5b58\u5728\u3002";
    const std::wstring noProgram =
        L"\u60a8\u8fd8\u6ca1\u6709\u5b89\u88c5Excel\u6216Word!\n \u5b89\u88c5\u540e\u624d\u53ef\u4ee5\u6253\u5f00"
        L"\u6587\u4ef6!";
    EXPECT_EQ(notices, (std::vector<std::wstring>{missing, missing, noProgram}));

    list().OpenItem(-1);
    EXPECT_EQ(list().GetCurrentIndex(), -1);
    EXPECT_TRUE(list().GetCurrentPath().empty());
}
