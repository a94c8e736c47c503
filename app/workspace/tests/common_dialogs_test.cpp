// The system's file and folder dialogs, filled in as a user would: several
// files chosen in the open dialog come back in the order typed, the save
// dialog gives the typed path, and the folder dialog opens at the folder
// handed in.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "common_dialogs.h"
#include "modal_script.h"
#include "picture_files.h"
#include "unique_handle.h"

namespace {

using testing_support::ModalScript;

// The file name box of the explorer-style dialogs: a combo box (cmb13) or
// an edit (edt1), by the system's template.
void TypeFileName(HWND dialog, const std::wstring& text) {
    ModalScript::SetText(dialog, cmb13, text.c_str());
    ModalScript::SetText(dialog, edt1, text.c_str());
}

class CommonDialogsTest : public testing::Test {
protected:
    PictureFiles files_{L"vizcam_common_dialogs"};
    CSystemDialogs dialogs_;
};

TEST_F(CommonDialogsTest, OpenGivesTheChosenFilesInTheOrderTyped) {
    const std::wstring folder = files_.Folder().wstring();
    files_.Text(L"a.bmp", "a");
    files_.Text(L"b.bmp", "b");
    ModalScript user({[&](HWND d) {
                          TypeFileName(d, folder);
                          ModalScript::Press(d, IDOK);
                      },
                      [](HWND d) {
                          TypeFileName(d, L"\"b.bmp\" \"a.bmp\"");
                          ModalScript::Press(d, IDOK);
                      }});
    const FileSelection chosen =
        dialogs_.OpenFiles(nullptr, {L"BMP File(*.bmp)|*.bmp|", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT, L""});
    EXPECT_TRUE(user.Finished());
    EXPECT_FALSE(chosen.tooMany);
    ASSERT_EQ(chosen.paths.size(), 2u);
    EXPECT_TRUE(std::filesystem::equivalent(chosen.paths[0], files_.Folder() / L"b.bmp"));
    EXPECT_TRUE(std::filesystem::equivalent(chosen.paths[1], files_.Folder() / L"a.bmp"));
}

TEST_F(CommonDialogsTest, SaveGivesTheTypedPathAndCancelGivesNone) {
    const std::wstring path = (files_.Folder() / L"copy.png").wstring();
    ModalScript user({[&](HWND d) {
        TypeFileName(d, path);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dialogs_.SaveFile(nullptr, {L"kqmk File(*.kqmk)|*.kqmk|", 0, L""}), path);
    EXPECT_TRUE(user.Finished());

    ModalScript cancelling({[](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    EXPECT_EQ(dialogs_.SaveFile(nullptr, {L"kqmk File(*.kqmk)|*.kqmk|", 0, L""}), std::nullopt);
    EXPECT_TRUE(cancelling.Finished());
}

// The dialog walks its tree down to the folder, listing each folder on the
// way: not under the temporary folder, whose test folders other test
// programs make and delete meanwhile.
//
// The dialog finds the folder handed in by comparing it, folder by folder,
// with its tree's items, access time included (to two seconds). Listing a
// folder for the first time since it changed moves its access time, and the
// dialog lists them between reading the folder handed in and filling its
// tree: with the two on either side of a two-second step the folder is not
// found and OK gives the Desktop. A folder a user hands in has mostly been
// looked at since it last changed; these are made so, their access time
// after every change, which listing them leaves as it is.
class QuietFolder {
public:
    QuietFolder()
        : root_(L"C:\\vizcam_folder_dialog_" + std::to_wstring(GetCurrentProcessId())), inner_(root_ / L"inner") {
        std::filesystem::create_directories(inner_);
        SettleAccessTime(root_);
        SettleAccessTime(inner_);
    }
    ~QuietFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::filesystem::path& Inner() const { return inner_; }

private:
    // A minute ahead: setting the time is itself a change, stamped now.
    static void SettleAccessTime(const std::filesystem::path& folder) {
        const HANDLE opened =
            CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (opened == INVALID_HANDLE_VALUE) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "open test folder");
        }
        const UniqueKernelHandle handle(opened);
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        constexpr std::uint64_t kMinute = 60ULL * 10'000'000ULL;  // in 100 ns steps
        const std::uint64_t ahead = ((std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime) + kMinute;
        const FILETIME accessed{static_cast<DWORD>(ahead), static_cast<DWORD>(ahead >> 32)};
        if (!SetFileTime(handle.Get(), nullptr, &accessed, nullptr)) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "set access time");
        }
    }

    std::filesystem::path root_;
    std::filesystem::path inner_;
};

TEST_F(CommonDialogsTest, TheFolderDialogOpensAtTheFolderHandedIn) {
    const QuietFolder quiet;
    const std::filesystem::path& folder = quiet.Inner();
    ModalScript user({[](HWND d) { ModalScript::Press(d, IDOK); }});
    const std::optional<std::wstring> chosen = dialogs_.BrowseFolder(nullptr, L"Choose a folder:", folder.wstring());
    EXPECT_TRUE(user.Finished());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(*chosen, folder)) << *chosen;

    ModalScript cancelling({[](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    EXPECT_EQ(dialogs_.BrowseFolder(nullptr, L"Choose a folder:", folder.wstring()), std::nullopt);
    EXPECT_TRUE(cancelling.Finished());
}

}  // namespace
