// The grid's open-file dialogs under Wine: the real common dialog, driven
// by typing names into its file name box.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "modal_script.h"
#include "picture_file_dialogs.h"
#include "unique_temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ModalScript;

constexpr int kFileNameBox = 0x47C;

class PictureFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::UniqueTempPath("picture_file_dialogs_test");
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const wchar_t* name : {L"a.bmp", L"b.jpg", L"c.tiff"}) {
            std::ofstream(folder / name) << "x";
        }
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    static ModalScript Type(const wchar_t* text, int button = IDOK) {
        return ModalScript({[text](HWND d) { ModalScript::SetText(d, kFileNameBox, text); },
                            [button](HWND d) { ModalScript::Press(d, button); }});
    }
    fs::path folder;
};

TEST_F(PictureFileDialogsTest, SeveralChosenFilesComeBackAsFullPathsInOrder) {
    CPictureFileDialogs dialogs(folder.wstring());
    ModalScript script = Type(L"\"c.tiff\" \"a.bmp\"");
    const std::vector<std::wstring> paths = dialogs.ChoosePictures(nullptr);
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_TRUE(fs::equivalent(paths[0], folder / L"c.tiff")) << fs::path(paths[0]).string();
    EXPECT_TRUE(fs::equivalent(paths[1], folder / L"a.bmp")) << fs::path(paths[1]).string();
    // The working folder is not the chosen one (it would stay in use).
    EXPECT_FALSE(fs::equivalent(fs::current_path(), folder));
}

TEST_F(PictureFileDialogsTest, OneFileOrNoneWhenCancelled) {
    CPictureFileDialogs dialogs(folder.wstring());
    {
        ModalScript script = Type(L"b.jpg");
        const std::wstring path = dialogs.ChoosePicture(nullptr);
        ASSERT_FALSE(path.empty());
        EXPECT_TRUE(fs::equivalent(path, folder / L"b.jpg"));
    }
    {
        ModalScript script = Type(L"a.bmp", IDCANCEL);
        EXPECT_EQ(dialogs.ChoosePicture(nullptr), L"");
        EXPECT_TRUE(dialogs.ChoosePictures(nullptr).empty());
    }
}

}  // namespace
