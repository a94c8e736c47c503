// Starts the real Mikra.exe with a Config.ini of the test's own and checks
// start-up, the single-instance hand-over, the bars' memory, the exit
// question and the language commands from outside, as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "mikra_process.h"
#include "mikra_version.h"
#include "resource.h"

namespace {

constexpr int kViewId = 0xE900 + 16 + 1;  // the splitter's pane (1,1)

std::wstring ConfigPath() { return ProgramFolder() + L"Config.ini"; }

std::wstring ReadSetting(const wchar_t* section, const wchar_t* key) {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 512, ConfigPath().c_str());
    return value;
}

// The running program writes a setting once its message box has gone, so the
// test sees the box gone before the value is written: waits (at most 5 s)
// until the setting reads `expected` and returns what it last read.
std::wstring WaitForSetting(const wchar_t* section, const wchar_t* key, const std::wstring& expected) {
    const ULONGLONG end = GetTickCount64() + 5000;
    std::wstring value = ReadSetting(section, key);
    while (value != expected && GetTickCount64() < end) {
        Sleep(20);
        value = ReadSetting(section, key);
    }
    return value;
}

// Puts a Config.ini of the test's own beside the program and gives the old
// one back afterwards. Also ends any Mikra a failed test left behind.
class MikraTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(std::filesystem::path(ConfigPath()), std::ios::binary);
        if (in) {
            saved_ = std::string(std::istreambuf_iterator<char>(in), {});
        }
        in.close();
        DeleteFileW(ConfigPath().c_str());
        ASSERT_EQ(FindWindowW(nullptr, L"Vizcam Viewer"), nullptr) << "another Mikra is running";
    }

    void TearDown() override {
        first_.Kill();
        second_.Kill();
        DeleteFileW(ConfigPath().c_str());
        if (saved_) {
            std::ofstream(std::filesystem::path(ConfigPath()), std::ios::binary) << *saved_;
        }
    }

    static void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        WritePrivateProfileStringW(section, key, value, ConfigPath().c_str());
    }

    // Starts the first instance and waits for its main frame.
    HWND StartFirst(const std::wstring& arguments = L"") {
        EXPECT_TRUE(first_.Start(arguments));
        HWND frame = first_.WaitForMainFrame();
        EXPECT_NE(frame, nullptr) << "no main frame";
        return frame;
    }

    // Answers the message box that the frame's command or close brings up;
    // returns its text.
    std::wstring Answer(int button) {
        HWND dialog = first_.WaitForDialog();
        EXPECT_NE(dialog, nullptr) << "no message box";
        if (!dialog) {
            return {};
        }
        const std::wstring text = WindowText(GetDlgItem(dialog, IDC_PROMPT_TEXT));
        PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntilGone(dialog, 10000));
        return text;
    }

    void CloseWithOk(HWND frame) {
        PostMessageW(frame, WM_CLOSE, 0, 0);
        Answer(IDOK);
        DWORD code = 1;
        EXPECT_TRUE(first_.WaitForExit(kExitTimeoutMs, &code)) << "Mikra did not end";
        EXPECT_EQ(code, 0u);
    }

    MikraProcess first_;
    MikraProcess second_;

private:
    std::optional<std::string> saved_;
};

TEST_F(MikraTest, FirstStartHidesTheDockingBarsAndClosingWritesAllEightKeys) {
    WriteSetting(L"Option", L"LAN", L"0");
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(frame, className, 64);
    EXPECT_STREQ(className, L"VizcamFrame");

    HWND browser = FindDescendant(frame, IDC_BROWSER_BAR);
    HWND data = FindDescendant(frame, IDC_DATA_BAR);
    ASSERT_NE(browser, nullptr);
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(HasVisibleStyle(browser));
    EXPECT_FALSE(HasVisibleStyle(data));
    for (int toolBar : {IDR_TOOLBAR_MAIN, IDR_TOOLBAR_VIDEO, IDR_TOOLBAR_MEASURE, IDR_TOOLBAR_PICTURE}) {
        HWND bar = FindDescendant(frame, toolBar);
        ASSERT_NE(bar, nullptr) << toolBar;
        EXPECT_TRUE(HasVisibleStyle(bar)) << toolBar;
    }
    for (int combo : {IDC_INTERVAL_COMBO, IDC_RESOLUTION_COMBO, IDC_PARAM_FILE_COMBO, IDC_SCALE_COMBO}) {
        EXPECT_NE(FindDescendant(frame, combo), nullptr) << combo;
    }
    EXPECT_NE(FindDescendant(frame, kViewId), nullptr);

    // The composite window shown before closing is remembered.
    PostMessageW(frame, WM_COMMAND, ID_VIEW_COMPOSITE_WINDOW, 0);
    CloseWithOk(frame);
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"Ruler", L"0"}, {L"Server", L"1"}, {L"Output", L"0"}, {L"Video", L"0"},
        {L"CL", L"0"},    {L"IMG", L"0"},    {L"Main", L"0"},   {L"AVI", L"0"}};
    for (auto [key, value] : expected) {
        EXPECT_EQ(ReadSetting(L"ShowBar", key), value) << "[ShowBar] " << std::string(key, key + wcslen(key));
    }
    // A completed start-up writes the export options back.
    EXPECT_EQ(ReadSetting(L"Option", L"ExportExcelPic"), L"0");
}

TEST_F(MikraTest, CancelOnTheExitQuestionKeepsTheProgramRunning) {
    WriteSetting(L"Option", L"LAN", L"0");
    WriteSetting(L"ShowBar", L"Server", L"1");
    WriteSetting(L"ShowBar", L"Output", L"1");
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(HasVisibleStyle(FindDescendant(frame, IDC_BROWSER_BAR)));
    EXPECT_TRUE(HasVisibleStyle(FindDescendant(frame, IDC_DATA_BAR)));

    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(Answer(IDCANCEL), L"Are you sure you want to exit?");
    Sleep(300);
    EXPECT_TRUE(first_.IsRunning());
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_TRUE(IsWindowVisible(frame));

    PostMessageW(frame, WM_COMMAND, ID_VIEW_DATA_WINDOW, 0);
    CloseWithOk(frame);
    EXPECT_EQ(ReadSetting(L"ShowBar", L"Server"), L"1");
    EXPECT_EQ(ReadSetting(L"ShowBar", L"Output"), L"0");
}

struct LanguageCase {
    const wchar_t* lan;  // null: no LAN key
    const wchar_t* compositeTitle;
};

class MikraLanguageTest : public MikraTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(MikraLanguageTest, LanChoosesTheLanguageLibrary) {
    if (GetParam().lan) {
        WriteSetting(L"Option", L"LAN", GetParam().lan);
    } else {
        WriteSetting(L"Option", L"PicF", L"NULL");
    }
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WindowText(FindDescendant(frame, IDC_BROWSER_BAR)), GetParam().compositeTitle);
    EXPECT_EQ(WindowText(FindDescendant(frame, IDC_DATA_BAR)),
              std::wstring(GetParam().compositeTitle) == L"Composite Window" ? L"Data" : L"\u6570\u636e");
    CloseWithOk(frame);
}

INSTANTIATE_TEST_SUITE_P(Libraries, MikraLanguageTest,
                         ::testing::Values(LanguageCase{L"0", L"Composite Window"},
                                           LanguageCase{L"1", L"\u7efc\u5408\u7a97\u53e3"},
                                           // A missing key reads as 0.
                                           LanguageCase{nullptr, L"Composite Window"}));

TEST_F(MikraTest, MissingLanguageLibraryEndsSilentlyAndKeepsTheExportOptions) {
    WriteSetting(L"Option", L"LAN", L"7");
    WriteSetting(L"Option", L"ExportExcelPic", L"1");
    WriteSetting(L"Option", L"ExportExcelOneFile", L"C:\\keep.xls");
    ASSERT_TRUE(first_.Start());
    DWORD code = 1;
    ASSERT_TRUE(first_.WaitForExit(kStartTimeoutMs, &code)) << "Mikra kept running";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadSetting(L"Option", L"ExportExcelPic"), L"1");
    EXPECT_EQ(ReadSetting(L"Option", L"ExportExcelOneFile"), L"C:\\keep.xls");
    EXPECT_EQ(ReadSetting(L"Option", L"ExportExcelOne"), L"<missing>");
    EXPECT_EQ(ReadSetting(L"ShowBar", L"Server"), L"<missing>");
}

TEST_F(MikraTest, SecondInstanceHandsItsDocumentToTheFirstAndEnds) {
    WriteSetting(L"Option", L"LAN", L"0");
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);

    auto runSecond = [this](const std::wstring& arguments) {
        MikraProcess second;
        ASSERT_TRUE(second.Start(arguments));
        DWORD code = 1;
        EXPECT_TRUE(second.WaitForExit(kStartTimeoutMs, &code)) << "second instance kept running";
        EXPECT_EQ(code, 0u);
        EXPECT_TRUE(first_.IsRunning());
    };

    // No arguments: only the flash, nothing delivered. Not a drawing
    // document: the view drops it without a word.
    runSecond(L"");
    runSecond(L"\"C:\\pictures\\cells.bmp\"");
    // A document arrives as the quoted path, blanks and all; this one is not
    // there, which the first instance tells (the first message told).
    runSecond(L"\"C:\\my data\\cells 1.kqmk\"");
    EXPECT_EQ(Answer(IDC_PROMPT_SINGLE), L"An error occurred while opening the file.\nC:\\my data\\cells 1.kqmk");

    CloseWithOk(frame);
}

TEST_F(MikraTest, DocumentOnTheFirstCommandLineReachesTheView) {
    WriteSetting(L"Option", L"LAN", L"0");
    ASSERT_TRUE(first_.Start(L"\"C:\\my data\\first.kqmk\""));
    // The view is asked to open the unquoted path before the frame shows.
    EXPECT_EQ(Answer(IDC_PROMPT_SINGLE), L"An error occurred while opening the file.\nC:\\my data\\first.kqmk");
    HWND frame = first_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr);
    CloseWithOk(frame);
}

TEST_F(MikraTest, LanguageCommandsWriteLanOnlyAfterOk) {
    WriteSetting(L"Option", L"LAN", L"0");
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);

    PostMessageW(frame, WM_COMMAND, ID_LANGUAGE_CHINESE, 0);
    EXPECT_EQ(Answer(IDCANCEL), L"The language changes the next time the program starts.");
    EXPECT_EQ(ReadSetting(L"Option", L"LAN"), L"0");

    PostMessageW(frame, WM_COMMAND, ID_LANGUAGE_CHINESE, 0);
    Answer(IDOK);
    EXPECT_EQ(WaitForSetting(L"Option", L"LAN", L"1"), L"1");
    // The running program keeps its language.
    EXPECT_EQ(WindowText(FindDescendant(frame, IDC_BROWSER_BAR)), L"Composite Window");

    PostMessageW(frame, WM_COMMAND, ID_LANGUAGE_ENGLISH, 0);
    Answer(IDOK);
    EXPECT_EQ(WaitForSetting(L"Option", L"LAN", L"0"), L"0");
    CloseWithOk(frame);
}

TEST_F(MikraTest, StartUpAssociatesDrawingDocumentsForTheUser) {
    WriteSetting(L"Option", L"LAN", L"0");
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value);
    ASSERT_EQ(
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\.kqmk", nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes),
        ERROR_SUCCESS);
    EXPECT_STREQ(value, L"Kqmk File");
    bytes = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\Kqmk File\\shell\\open\\command", nullptr,
                           RRF_RT_REG_SZ, nullptr, value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), L"\"" + ProgramFolder() + L"Mikra.exe\" \"%1\"");
    CloseWithOk(frame);
}

TEST_F(MikraTest, AboutShowsTheProgramsVersion) {
    WriteSetting(L"Option", L"LAN", L"0");
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);
    PostMessageW(frame, WM_COMMAND, ID_APP_ABOUT, 0);
    HWND about = first_.WaitForDialog();
    ASSERT_NE(about, nullptr) << "no About box";
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_VERSION)),
              L"Version "
              L"" MIKRA_VERSION_TEXT);
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_TITLE)), L"Vizcam Viewer");
    PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(about, 10000));
    CloseWithOk(frame);
}

}  // namespace

namespace {

// The texts of a tab control in another process, read through a buffer in
// that process.
std::vector<std::wstring> RemoteTabTexts(DWORD processId, HWND tabs) {
    std::vector<std::wstring> texts;
    UniqueKernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return texts;
    constexpr SIZE_T kChars = 128;
    auto* remote = static_cast<std::byte*>(
        VirtualAllocEx(process.Get(), nullptr, sizeof(TCITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return texts;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TCITEMW));
        item.cchTextMax = kChars;
        wchar_t text[kChars] = {};
        WriteProcessMemory(process.Get(), remote, &item, sizeof(item), nullptr);
        WriteProcessMemory(process.Get(), remote + sizeof(TCITEMW), text, sizeof(text), nullptr);
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process.Get(), remote + sizeof(TCITEMW), text, sizeof(text) - sizeof(wchar_t), nullptr);
        texts.emplace_back(text);
    }
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return texts;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace

TEST_F(MikraTest, CompositeWindowHoldsThePictureBrowserDeviceTreeAndFileListTabs) {
    WriteSetting(L"Option", L"LAN", L"1");
    WriteSetting(L"ShowBar", L"Server", L"1");
    HWND frame = StartFirst();
    ASSERT_NE(frame, nullptr);
    HWND bar = FindDescendant(frame, IDC_BROWSER_BAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(HasVisibleStyle(bar));
    HWND tabs = FindDescendant(bar, 39321);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(RemoteTabTexts(first_.GetId(), tabs),
              (std::vector<std::wstring>{L"\u56fe\u50cf\u5217\u8868", L"\u8bbe\u5907\u5217\u8868",
                                         L"\u6587\u4ef6\u5217\u8868"}));

    // The tree and both lists are the tabs' windows; the picture browser shows first.
    HWND tree = FindDescendant(tabs, 2);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(ClassOf(tree), L"SysTreeView32");
    std::vector<HWND> lists;
    for (HWND child = GetWindow(tabs, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == 4097 && ClassOf(child) == L"SysListView32") lists.push_back(child);
    }
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(std::count_if(lists.begin(), lists.end(), HasVisibleStyle), 1);
    EXPECT_FALSE(HasVisibleStyle(tree));
    CloseWithOk(frame);
}
