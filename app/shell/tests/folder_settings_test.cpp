// The picture, video and export folders settled from Config.ini: always
// with a trailing backslash, searched inside the folder itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "mikra_app.h"
#include "module_folder.h"

namespace {

class FolderSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / L"folders";
        std::filesystem::create_directories(root_ / L"pics");
        std::ofstream(root_ / L"pics" / L"a.jpg") << "x";
        // A sibling whose name starts with the name of a missing folder.
        std::filesystem::create_directories(root_ / L"gone2");
        app_.m_ini.m_strPath = (root_ / L"Config.ini").wstring();
    }

    std::wstring Folder(const std::wstring& key) {
        if (key == L"PicF") return app_.GetPictureFolder();
        if (key == L"AviF") return app_.GetVideoFolder();
        return app_.GetFilesFolder();
    }

    std::filesystem::path root_;
    CMikraApp app_;
};

}  // namespace

TEST_F(FolderSettingsTest, EveryFolderSettingGetsItsBackslashAndIsSearchedInside) {
    const struct {
        const wchar_t* key;
        const wchar_t* fallback;
    } settings[] = {{L"PicF", L"Photos\\"}, {L"AviF", L"Video Capture\\"}, {L"XWF", L"Files\\"}};
    const std::wstring pics = (root_ / L"pics").wstring();
    const std::wstring gone = (root_ / L"gone").wstring();
    for (const auto& setting : settings) {
        SCOPED_TRACE(testing::Message() << setting.key);
        const struct {
            std::wstring stored;
            std::wstring settled;
        } cases[] = {
            {pics, pics + L"\\"},
            {pics + L"\\", pics + L"\\"},
            // "gone*.*" would find the sibling "gone2".
            {gone, GetModuleFolder() + setting.fallback},
            {L"NULL", GetModuleFolder() + setting.fallback},
        };
        for (const auto& c : cases) {
            app_.m_ini.WriteString(c.stored.c_str(), L"Option", setting.key);
            EXPECT_EQ(Folder(setting.key), c.settled) << c.stored;
        }
    }
}
