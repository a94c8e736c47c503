// Mikra.exe's export folder as a fresh installation has it: no "Files"
// folder beside the program. A picture opened from the File menu and
// exported to Word (through the stand-in registered as "Word.Application")
// makes the folder and leaves the document in it; where a file takes the
// folder's name, the language library's message names the folder and
// nothing is exported.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "handover_resource.h"
#include "live_video_checks.h"
#include "mikra_program_test.h"
#include "office_stand_in_registration.h"
#include "picture_session.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;
using live_video::FilesIn;
using live_video::WriteText;

// The document package the word processor saves, written to its end: its
// first local header and the end record of its directory.
bool IsWholePackage(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t end = bytes.rfind("PK\x05\x06");
    return bytes.compare(0, 4, "PK\x03\x04") == 0 && end != std::string::npos && end + 22 <= bytes.size();
}

class MikraExportFolderTest : public MikraProgramTest {
protected:
    void SetUp() override {
        // A folder of each test's own: a word processor left running by a
        // failed export keeps its folder.
        const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        UseFreshProgram(L"vz_mikra_export_" + std::wstring(test.begin(), test.end()));
        fs::create_directories(folder_ / L"work");
        picture_ = folder_ / L"work" / L"sample.bmp";
        picture_session::WriteBmp(picture_, 64, 48, [](int x, int) { return x < 32 ? RGB(200, 30, 30) : RGB(30, 30, 200); });
    }
    void TearDown() override {
        mikra_.Kill();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        fs::remove(log_, ignored);
    }

    // Starts the program, opens the picture and exports it to Word from
    // the menu; the main frame, or null.
    HWND StartAndExport() {
        if (!mikra_.Start()) return nullptr;
        HWND frame = mikra_.WaitForMainFrame();
        if (!frame || !picture_session::OpenFromFileMenu(mikra_, frame, picture_)) return nullptr;
        PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_EXPORT_WORD, 0), 0);
        return frame;
    }

    fs::path picture_;
    fs::path log_ = fs::temp_directory_path() / (L"vz_export_folder_word_" + std::to_wstring(GetCurrentProcessId()));
};

TEST_F(MikraExportFolderTest, AWordExportMakesTheMissingFilesFolder) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, log_);
    ASSERT_TRUE(word.Registered());
    ASSERT_FALSE(fs::exists(folder_ / L"Files"));
    ASSERT_NE(StartAndExport(), nullptr);

    std::vector<fs::path> documents;
    ASSERT_TRUE(WaitFor(
        [&] {
            documents = FilesIn(folder_ / L"Files", L".doc");
            return documents.size() == 1 && IsWholePackage(documents.front());
        },
        30000))
        << "no document in the Files folder";
    EXPECT_EQ(mikra_.WaitForDialog(500), nullptr) << "a message instead of the export";
    // The word processor, let go of, ends by itself; it was started in the
    // program's folder, which is removed afterwards.
    EXPECT_TRUE(word.AllEnded(std::chrono::seconds(60)));
}

TEST_F(MikraExportFolderTest, AFilesFolderThatCannotBeMadeIsTold) {
    OfficeStandIn word(L"Word.Application", kWordStandInClsidText, log_);
    ASSERT_TRUE(word.Registered());
    WriteText(folder_ / L"Files", "not a folder");
    ASSERT_NE(StartAndExport(), nullptr);

    HWND box = mikra_.WaitForDialog(20000);
    ASSERT_NE(box, nullptr) << "nothing was told";
    EXPECT_EQ(WindowText(GetDlgItem(box, IDC_PROMPT_TEXT)),
              LanguageText(folder_, IDS_FOLDER_NOT_MADE) + L"\n" + (folder_ / L"Files").wstring());
    PostMessageW(GetDlgItem(box, IDC_PROMPT_SINGLE), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(box, 10000));
    EXPECT_TRUE(fs::is_regular_file(folder_ / L"Files"));
    EXPECT_TRUE(word.Calls().empty()) << "the word processor was started";
    EXPECT_TRUE(mikra_.IsRunning());
}

}  // namespace
