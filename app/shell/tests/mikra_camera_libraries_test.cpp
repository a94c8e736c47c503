// Mikra with a library double under each camera family's file name in its
// own folder: the libraries are loaded before start-up, the GigE library is
// started once and shut down once when the view goes, and exit frees each
// library once, after the application is gone, in the order UVC, GigE, USB
// CMOS, CCD.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "mikra_program_test.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

class MikraCameraLibrariesTest : public MikraProgramTest {
protected:
    void SetUp() override {
        const fs::path bin = ProgramFolder();
        UseFreshProgram(L"vz_mikra_libraries");
        // The scripted library double, built once per family's export list.
        const fs::path fixtures = bin.parent_path().parent_path() / L"camera_fixtures";
        const std::pair<const wchar_t*, const wchar_t*> doubles[] = {{L"sdk_double_ccd.dll", L"KQCCDu.dll"},
                                                                     {L"sdk_double_cmos.dll", L"KQCMOSu.dll"},
                                                                     {L"sdk_double_gige.dll", L"KQGEu.dll"},
                                                                     {L"sdk_double_uvc.dll", L"KQUVCu.dll"}};
        for (const auto& [library, file] : doubles) {
            fs::copy_file(fixtures / library, folder_ / file);
        }
    }
};

TEST_F(MikraCameraLibrariesTest, LibrariesLiveFromBeforeStartUpUntilAfterExit) {
    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr) << "no main frame";
    PostMessageW(frame, WM_CLOSE, 0, 0);
    HWND question = mikra_.WaitForDialog();
    ASSERT_NE(question, nullptr) << "no exit question";
    PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(mikra_.WaitForExit(kExitTimeoutMs, &code)) << "Mikra did not end";
    EXPECT_EQ(code, 0u);

    const std::vector<std::string> log = ReadLines(folder_ / L"sdk_calls.log");
    ASSERT_GE(log.size(), 10u);
    const std::vector<std::string> loads(log.begin(), log.begin() + 4);
    EXPECT_EQ(loads,
              (std::vector<std::string>{"KQCCDu.dll load", "KQCMOSu.dll load", "KQGEu.dll load", "KQUVCu.dll load"}));
    // Start-up runs the GigE library's start once: initialise, then count.
    EXPECT_EQ(log[4], "KQGEu.dll KQGE_Initialize");
    EXPECT_EQ(log[5], "KQGEu.dll KQGE_GetCameraCount");
    EXPECT_EQ(std::count(log.begin(), log.end(), "KQGEu.dll KQGE_Initialize"), 1);
    const std::vector<std::string> frees(log.end() - 4, log.end());
    EXPECT_EQ(frees,
              (std::vector<std::string>{"KQUVCu.dll free", "KQGEu.dll free", "KQCMOSu.dll free", "KQCCDu.dll free"}));
    for (const std::string& line : log) {
        EXPECT_EQ(line.find(" exit"), std::string::npos) << line;
    }
    // The view asked the CCD and UVC families for their devices through
    // cameras the factory made, and closed every device it opened before
    // the libraries were freed.
    EXPECT_GE(std::count(log.begin(), log.end(), "KQCCDu.dll KQ_GetTotalDeviceNum"), 1);
    EXPECT_NE(std::find(log.begin(), log.end(), "KQUVCu.dll KQ_GetTotalDeviceNum h0"), log.end());
    for (const std::string& line : log) {
        EXPECT_EQ(line.find(" left open "), std::string::npos) << line;
    }
    // The view's going shuts the GigE library down once, after its last
    // call into it and before it is freed.
    const auto shutDown = std::find(log.begin(), log.end(), "KQGEu.dll KQGE_UnInitialize");
    ASSERT_NE(shutDown, log.end()) << "the GigE library was never shut down";
    EXPECT_EQ(std::count(log.begin(), log.end(), "KQGEu.dll KQGE_UnInitialize"), 1);
    for (auto line = shutDown + 1; line != log.end(); ++line) {
        EXPECT_NE(line->rfind("KQGEu.dll KQ", 0), 0u) << *line;
    }
}

}  // namespace
