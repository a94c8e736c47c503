// The user's files survive the faults of a workstation, shown through the real
// Mikra.exe: the program ended in the middle of saving a document leaves the
// earlier document or the new one, never a torn one; a disk with no room left
// for a document or a camera snapshot gets the language library's message,
// keeps the earlier file byte for byte and is left without a partial file.
// (Snapshots take names no file has, so there the earlier files are the
// disk's others.)
//
// The full disk is a small filesystem the small_disk fixture mounts, reached
// through Wine's drive of the Unix root.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "drawing_file.h"
#include "file_commands_resource.h"
#include "live_video_checks.h"
#include "live_video_session.h"
#include "mikra_program_test.h"
#include "resource.h"

namespace {

using namespace live_video;

std::vector<char> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A document of one grey-blue picture of that size and no objects.
bool WriteDocument(const fs::path& path, int width, int height) {
    const int stride = width * 3;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 7 % 251);
    CPicture picture;
    return picture.CreateFromArray(rows, width, height, 24, stride, true) &&
           WriteDrawingFile(path, &picture, kqmk::kKindOther, {}, {}) == DocumentStatus::ok;
}

// Fills the disk of `folder` up to `leftBytes` free with one file.
bool FillDisk(const fs::path& folder, std::uint64_t leftBytes) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) return false;
    if (available.QuadPart <= leftBytes) return true;
    std::ofstream filler(folder / L"filler.bin", std::ios::binary);
    const std::vector<char> block(64 * 1024, 0);
    for (std::uint64_t left = available.QuadPart - leftBytes; left > 0;) {
        const std::uint64_t size = std::min<std::uint64_t>(left, block.size());
        filler.write(block.data(), static_cast<std::streamsize>(size));
        left -= size;
    }
    filler.close();
    return true;
}

class MikraSaveFaultsTest : public MikraProgramTest {
protected:
    void SetUp() override {
        UseFreshProgram(L"vz_mikra_save_faults");
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(smallDisk_, ignored)) fs::remove_all(entry.path(), ignored);
    }
    void TearDown() override {
        mikra_.Kill();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        for (const auto& entry : fs::directory_iterator(smallDisk_, ignored)) fs::remove_all(entry.path(), ignored);
    }

    // Starts Mikra and opens the document through the File menu's dialog;
    // its main frame once the browser lists the document, or null.
    HWND StartWithDocument(const fs::path& document) {
        if (!mikra_.Start()) return nullptr;
        HWND frame = mikra_.WaitForMainFrame();
        if (!frame) return nullptr;
        const int listed = ListedPictures(frame);
        Command(frame, ID_FILE_LOAD_PICTURES);
        HWND dialog = mikra_.WaitForDialog();
        if (!dialog) return nullptr;
        ChooseFile(dialog, document);
        if (!WaitFor([&] { return ListedPictures(frame) > listed; }, 30000)) return nullptr;
        return frame;
    }
    void Command(HWND frame, int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // The text of the message box the program shows, answered with OK.
    std::wstring AnswerMessage() {
        HWND dialog = mikra_.WaitForDialog(20000);
        if (!dialog) return L"(no message)";
        const std::wstring text = WindowText(GetDlgItem(dialog, IDC_PROMPT_TEXT));
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntilGone(dialog, 10000));
        return text;
    }
    void ExpectNoPartialFile(const fs::path& folder) {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
            const std::wstring name = entry.path().filename().wstring();
            EXPECT_EQ(name.find(L".part"), std::wstring::npos) << entry.path();
        }
    }

    const fs::path smallDisk_ = fs::path(MIKRA_SMALL_DISK).make_preferred();
};

TEST_F(MikraSaveFaultsTest, EndedDuringADocumentSaveLeavesTheEarlierOrTheNewDocumentWhole) {
    // Large enough that the save takes a while to write.
    const fs::path document = folder_ / L"large.kqmk";
    const int width = 3000, height = 2000;
    ASSERT_TRUE(WriteDocument(document, width, height));
    const std::vector<char> earlier = Bytes(document);
    HWND frame = StartWithDocument(document);
    ASSERT_NE(frame, nullptr) << "the document was not opened";

    Command(frame, ID_FILE_SAVE_PICTURE);
    // Ended as soon as the save has begun writing.
    const fs::path partial = fs::path(document) += L".part";
    const ULONGLONG end = GetTickCount64() + 30000;
    std::error_code error;
    while (!fs::exists(partial, error) && GetTickCount64() < end) {
    }
    ASSERT_TRUE(fs::exists(partial, error)) << "the save wrote no file beside the document";
    mikra_.Kill();
    ASSERT_TRUE(mikra_.WaitForExit(kExitTimeoutMs));

    // The earlier bytes, or a new document read whole.
    if (Bytes(document) != earlier) {
        DrawingDocument read;
        ASSERT_EQ(ReadDrawingFile(document, read), DocumentStatus::ok) << "a torn document";
        EXPECT_EQ(read.picture.GetWidth(), width);
        EXPECT_EQ(read.picture.GetHeight(), height);
    }
}

TEST_F(MikraSaveFaultsTest, ADocumentOnAFullDiskIsToldAndKeptByteForByte) {
    const fs::path document = smallDisk_ / L"cells.kqmk";
    ASSERT_TRUE(WriteDocument(document, 400, 300));
    const std::vector<char> earlier = Bytes(document);
    ASSERT_TRUE(FillDisk(smallDisk_, 16 * 1024));
    HWND frame = StartWithDocument(document);
    ASSERT_NE(frame, nullptr) << "the document was not opened";

    Command(frame, ID_FILE_SAVE_PICTURE);
    EXPECT_EQ(AnswerMessage(), LanguageText(folder_, IDS_SAVE_FAILED));
    EXPECT_EQ(Bytes(document), earlier);
    ExpectNoPartialFile(smallDisk_);
}

TEST_F(MikraSaveFaultsTest, ASnapshotIntoAFullPictureFolderIsToldAndLeavesNoFile) {
    const fs::path bin = ProgramFolder();
    fs::copy_file(bin / L"simcam" / L"KQCMOSu.dll", folder_ / L"KQCMOSu.dll");
    fs::create_directories(folder_ / L"Video Capture");
    const fs::path photos = smallDisk_ / L"Photos";
    fs::create_directories(photos);
    WriteText(folder_ / L"KQSimCam.ini", "[Cameras]\r\nCount=1\r\n[Camera1]\r\nType=10\r\nName=Bench scope\r\n");
    // Snapshots as BMP into the picture folder on the small disk; a centred
    // green crosshair line shows the live video.
    WriteText(folder_ / L"Config.ini",
              "[CMOS]\r\nImgType=1\r\n[Option]\r\nPicF=" + photos.string() +
                  "\\\r\n[CROSSLINE]\r\nTotal=1\r\n[CROSSLINEINFO_0]\r\nIndex=1\r\nIsDraw=1\r\n"
                  "IsCenter=1\r\nR=0\r\nG=255\r\nB=0\r\n");
    ASSERT_TRUE(FillDisk(smallDisk_, 16 * 1024));
    const std::vector<char> filler = Bytes(smallDisk_ / L"filler.bin");

    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr) << "no main frame";
    ASSERT_TRUE(OpenVideoWithItsLine(frame, {752, 480, RGB(0, 255, 0)}));  // type 10

    Command(frame, ID_VIDEO_SNAPSHOT);
    EXPECT_EQ(AnswerMessage(), LanguageText(folder_, IDS_SAVE_FAILED));
    std::error_code error;
    EXPECT_TRUE(fs::is_empty(photos, error)) << "a cut-short snapshot was left";
    EXPECT_EQ(Bytes(smallDisk_ / L"filler.bin"), filler);
}

}  // namespace
