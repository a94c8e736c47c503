// Drawing documents handed to the real Mikra.exe the ways a user hands
// them: on its command line, from a second start (which ends at once), by
// the open command the shell association registers, from the File menu's
// recent documents after a restart, and through File > Open by Ctrl+O.
// Each shows its picture in the view and its objects in the data bar; a
// broken document is told and leaves the view as it was. Print Setup
// brings up the system's print setup dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <winspool.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "drawing_file.h"
#include "live_video_checks.h"
#include "mikra_program_test.h"
#include "object_factory.h"
#include "postscript_printer.h"
#include "resource.h"

namespace {

using namespace live_video;

constexpr DWORD kSecondInstanceMs = 10000;
constexpr const wchar_t* kRecentFiles = L"Software\\Local AppWizard-Generated Applications\\Mikra\\Recent File List";

// A document of one colour with `lines` default line objects.
void WriteDocument(const fs::path& path, int width, int height, COLORREF colour, int lines) {
    CPicture picture(width, height, 24, kPictureBmp);
    std::span<std::uint8_t> pixels = picture.Pixels();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = &pixels[std::size_t(y) * picture.GetStride() + std::size_t(x) * 3];
            pixel[0] = GetBValue(colour);
            pixel[1] = GetGValue(colour);
            pixel[2] = GetRValue(colour);
        }
    }
    ObjectList objects;
    for (int i = 0; i < lines; ++i) objects.push_back(CreateObjectForTag(kTagLine));
    ASSERT_EQ(WriteDrawingFile(path, &picture, kqmk::kKindBmp, objects, {}), DocumentStatus::ok) << path;
}

std::wstring RecentFile(int number) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value);
    const std::wstring name = L"File" + std::to_wstring(number);
    if (RegGetValueW(HKEY_CURRENT_USER, kRecentFiles, name.c_str(), RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS) {
        return L"<missing>";
    }
    return value;
}

COLORREF CentreColour(HWND view) {
    const Screenshot shot = Capture(view);
    return shot.width > 0 ? shot.At(shot.width / 2, shot.height / 2) : CLR_INVALID;
}

// True when the language library's main accelerators send Ctrl+O to File > Open.
bool BindsCtrlOToOpen(const std::wstring& library) {
    const HMODULE module = LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return false;
    bool bound = false;
    if (HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_MAINFRAME))) {
        ACCEL entries[64] = {};
        const int count = CopyAcceleratorTableW(table, entries, 64);
        for (int i = 0; i < count; ++i) {
            bound = bound || (entries[i].key == 'O' && (entries[i].fVirt & (FVIRTKEY | FCONTROL)) == (FVIRTKEY | FCONTROL) &&
                              entries[i].cmd == ID_FILE_OPEN);
        }
        DestroyAcceleratorTable(table);
    }
    FreeLibrary(module);
    return bound;
}

class MikraDocumentsTest : public MikraProgramTest {
protected:
    void SetUp() override {
        ASSERT_EQ(FindWindowW(nullptr, L"Vizcam Viewer"), nullptr) << "another Mikra is running";
        RegDeleteTreeW(HKEY_CURRENT_USER, kRecentFiles);
        UseFreshProgram(L"vz_mikra_documents");
        WriteText(folder_ / L"Config.ini", "[Option]\r\nLAN=0\r\n");
        fs::create_directories(folder_ / L"my docs");
        // Red and blue are larger than the view.
        WriteDocument(Doc(L"red cells.kqmk"), 1600, 1600, kRed, 2);
        WriteDocument(Doc(L"blue.kqmk"), 1600, 1200, kBlue, 1);
        WriteDocument(Doc(L"green.kqmk"), 320, 240, kGreen, 3);
        WriteText(Doc(L"broken.kqmk"), "this is no drawing document");
    }
    void TearDown() override {
        MikraProgramTest::TearDown();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRecentFiles);
    }

    fs::path Doc(const wchar_t* name) const { return folder_ / L"my docs" / name; }
    static std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

    HWND Start(const std::wstring& arguments) {
        if (!mikra_.Start(arguments)) return nullptr;
        frame_ = mikra_.WaitForMainFrame();
        return frame_;
    }
    // The view shows the colour and lists the rows, the browser the pictures.
    bool Shows(COLORREF colour, int rows, int pictures) {
        return WaitFor(
            [&] {
                HWND view = FindView(frame_);
                return view && CentreColour(view) == colour && DataRows(frame_) == rows &&
                       BrowserPictures(frame_) == pictures;
            },
            20000);
    }
    // A second start with these arguments ends on its own within 10 s.
    void RunSecond(const std::wstring& commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::wstring line = commandLine;
        ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                                   &info));
        UniqueKernelHandle process(info.hProcess);
        CloseHandle(info.hThread);
        const bool ended = WaitForSingleObject(process.Get(), kSecondInstanceMs) == WAIT_OBJECT_0;
        EXPECT_TRUE(ended) << "the second start kept running";
        if (!ended) TerminateProcess(process.Get(), 99);
    }
    std::wstring SecondStart(const fs::path& document) const {
        return Quoted(folder_ / L"Mikra.exe") + L" " + Quoted(document);
    }
    // Answers the program's message box; its text.
    std::wstring AnswerMessage() {
        HWND box = mikra_.WaitForDialog();
        EXPECT_NE(box, nullptr) << "nothing was told";
        if (box == nullptr) return {};
        const std::wstring text = WindowText(GetDlgItem(box, IDC_PROMPT_TEXT));
        PostMessageW(GetDlgItem(box, IDC_PROMPT_SINGLE), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntilGone(box, 10000));
        return text;
    }
    void Command(int id) { PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool Exit() {
        PostMessageW(frame_, WM_CLOSE, 0, 0);
        if (HWND question = mikra_.WaitForDialog(kStartTimeoutMs)) {
            PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
        }
        return mikra_.WaitForExit(kExitTimeoutMs);
    }

    static constexpr COLORREF kRed = RGB(200, 30, 40);
    static constexpr COLORREF kBlue = RGB(20, 40, 210);
    static constexpr COLORREF kGreen = RGB(30, 190, 60);

    HWND frame_ = nullptr;
};

TEST_F(MikraDocumentsTest, DocumentsHandedOverOpenInTheView) {
    ASSERT_NE(Start(Quoted(Doc(L"red cells.kqmk"))), nullptr) << "no main frame";
    ASSERT_TRUE(Shows(kRed, 2, 1)) << "the command line's document is not shown";

    RunSecond(SecondStart(Doc(L"blue.kqmk")));
    EXPECT_TRUE(Shows(kBlue, 1, 2)) << "the second start's document is not shown";

    // A broken document: told, and nothing changes.
    RunSecond(SecondStart(Doc(L"broken.kqmk")));
    EXPECT_EQ(AnswerMessage(), L"An error occurred while opening the file.\n" + Doc(L"broken.kqmk").wstring());
    EXPECT_TRUE(Shows(kBlue, 1, 2));

    // The open command the association registered, as the shell runs it.
    wchar_t command[1024] = {};
    DWORD bytes = sizeof(command);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\Kqmk File\\shell\\open\\command", nullptr,
                           RRF_RT_REG_SZ, nullptr, command, &bytes),
              ERROR_SUCCESS);
    std::wstring line = command;
    const std::size_t argument = line.find(L"%1");
    ASSERT_NE(argument, std::wstring::npos) << line;
    line.replace(argument, 2, Doc(L"green.kqmk").wstring());
    RunSecond(line);
    EXPECT_TRUE(Shows(kGreen, 3, 3)) << "the association's document is not shown";

    // Newest first, the broken one not among them.
    EXPECT_EQ(RecentFile(1), Doc(L"green.kqmk").wstring());
    EXPECT_EQ(RecentFile(2), Doc(L"blue.kqmk").wstring());
    EXPECT_EQ(RecentFile(3), Doc(L"red cells.kqmk").wstring());
    EXPECT_EQ(RecentFile(4), L"<missing>");
    ASSERT_TRUE(Exit()) << "Mikra did not end";
}

// Video hides the picture toolbars; the picture shown when it ends fits the
// view, whatever the zoom of the one before.
TEST_F(MikraDocumentsTest, APictureShownAfterVideoFitsTheView) {
    fs::copy_file(fs::path(ProgramFolder()) / L"simcam" / L"KQCMOSu.dll", folder_ / L"KQCMOSu.dll");
    WriteText(folder_ / L"KQSimCam.ini", "[Cameras]\r\nCount=1\r\n[Camera1]\r\nType=10\r\nName=Bench scope\r\n");
    ASSERT_NE(Start(Quoted(Doc(L"red cells.kqmk"))), nullptr);
    ASSERT_TRUE(Shows(kRed, 2, 1));
    auto rightEdge = [this] {
        const Screenshot shot = Capture(FindView(frame_));
        return shot.At(shot.width - 2, shot.height / 2);
    };
    // At its actual size the red picture covers the view.
    EXPECT_EQ(rightEdge(), kRed);

    Command(ID_VIDEO_OPEN);
    ASSERT_TRUE(WaitFor([this] { return CentreColour(FindView(frame_)) != kRed; }, 20000)) << "no video";
    RunSecond(SecondStart(Doc(L"blue.kqmk")));
    ASSERT_TRUE(Shows(kBlue, 1, 2));
    EXPECT_NE(rightEdge(), kBlue) << "the picture was not fitted into the view";
    ASSERT_TRUE(Exit()) << "Mikra did not end";
}

TEST_F(MikraDocumentsTest, RecentDocumentsOpenAndOpenAndPrintSetupAct) {
    ASSERT_NE(Start(Quoted(Doc(L"red cells.kqmk"))), nullptr);
    ASSERT_TRUE(Shows(kRed, 2, 1));
    RunSecond(SecondStart(Doc(L"blue.kqmk")));
    ASSERT_TRUE(Shows(kBlue, 1, 2));
    ASSERT_TRUE(Exit()) << "Mikra did not end";

    // After a restart the File menu's second entry is the red document.
    ASSERT_NE(Start(L""), nullptr);
    Command(ID_FILE_MRU_FILE1 + 1);
    EXPECT_TRUE(Shows(kRed, 2, 1)) << "the recent document did not open";
    EXPECT_EQ(RecentFile(1), Doc(L"red cells.kqmk").wstring());
    EXPECT_EQ(RecentFile(2), Doc(L"blue.kqmk").wstring());

    // A recent document that is gone is told and leaves the list.
    fs::remove(Doc(L"blue.kqmk"));
    Command(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(AnswerMessage(), L"An error occurred while opening the file.\n" + Doc(L"blue.kqmk").wstring());
    EXPECT_TRUE(WaitFor([] { return RecentFile(2) == L"<missing>"; }, 5000));
    EXPECT_TRUE(Shows(kRed, 2, 1));

    // The main toolbar's Open button is enabled and opens File > Open; both
    // language libraries bind Ctrl+O to it. (Typed keys go to whichever
    // window is in front, which other tests' windows may take meanwhile, so
    // the binding is read from the libraries the program loads.)
    HWND toolBar = FindDescendant(frame_, IDR_TOOLBAR_MAIN);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(toolBar, TB_ISBUTTONENABLED, ID_FILE_OPEN, 0) != 0; }, 10000));
    for (const wchar_t* library : {L"Lan_0.dll", L"Lan_1.dll"}) {
        EXPECT_TRUE(BindsCtrlOToOpen(ProgramFolder() + library)) << library;
    }
    PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, BN_CLICKED), reinterpret_cast<LPARAM>(toolBar));
    HWND open = mikra_.WaitForDialog();
    ASSERT_NE(open, nullptr) << "Open showed no dialog";
    ChooseFile(open, Doc(L"green.kqmk").wstring());
    EXPECT_TRUE(Shows(kGreen, 3, 2)) << "the chosen document is not shown";
    EXPECT_EQ(RecentFile(1), Doc(L"green.kqmk").wstring());

    // Print Setup shows the system's setup dialog (paper and orientation)
    // for the prefix's printer.
    ASSERT_TRUE(print_testing::InstallPostScriptPrinter());
    ASSERT_TRUE(SetDefaultPrinterW(print_testing::kPrinterName));
    Command(ID_FILE_PRINT_SETUP);
    HWND setup = mikra_.WaitForDialog();
    ASSERT_NE(setup, nullptr) << "no print setup dialog";
    EXPECT_NE(GetDlgItem(setup, rad1), nullptr) << "no portrait choice";
    EXPECT_NE(GetDlgItem(setup, rad2), nullptr) << "no landscape choice";
    PostMessageW(GetDlgItem(setup, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(setup, 10000));
    ASSERT_TRUE(Exit()) << "Mikra did not end";
}

}  // namespace
