#pragma once
// What the fusion and stitching dialog tests share: the Chinese language
// library as the resource module, a folder of their own, file dialogs that
// answer from queues, and pictures written and read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bgr_scene.h"
#include "common_dialogs.h"
#include "picture.h"
#include "picture_file_dialogs.h"
#include "language_library.h"
#include "unique_temp_dir.h"

namespace imaging_testing {

// Answers the open and save dialogs from queues the test fills.
class ScriptedFileDialogs final : public ICommonDialogs, public IPictureFileDialogs {
public:
    FileSelection OpenFiles(HWND, const FileDialogRequest& request) override {
        openRequests.push_back(request);
        FileSelection selection;
        if (!opens.empty()) {
            selection.paths = opens.front();
            opens.pop_front();
        }
        return selection;
    }
    std::optional<std::wstring> SaveFile(HWND, const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        if (saves.empty()) {
            return std::nullopt;
        }
        std::wstring next = saves.front();
        saves.pop_front();
        return next;
    }
    std::optional<std::wstring> BrowseFolder(HWND, const std::wstring&, const std::optional<std::wstring>&) override {
        return std::nullopt;
    }
    std::vector<std::wstring> ChoosePictures(HWND) override {
        if (opens.empty()) {
            return {};
        }
        std::vector<std::wstring> next = opens.front();
        opens.pop_front();
        return next;
    }
    std::wstring ChoosePicture(HWND) override { return {}; }

    std::deque<std::vector<std::wstring>> opens;
    std::deque<std::wstring> saves;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
};

class ImagingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = testing_support::UniqueTempPath(std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::wstring Write(const BgrImage& image, const wchar_t* name) {
        const std::filesystem::path path = folder / name;
        EXPECT_TRUE(bgr_testing::SaveBgr(image, path));
        return path.wstring();
    }
    std::wstring PathOf(const wchar_t* name) const { return (folder / name).wstring(); }

    // The picture's pixels as packed top-down BGR rows.
    static std::vector<std::uint8_t> TopDownRows(const CPicture& picture) {
        std::vector<std::uint8_t> rows;
        for (int y = picture.GetHeight() - 1; y >= 0; --y) {
            const std::uint8_t* row = picture.GetBits(y);
            rows.insert(rows.end(), row, row + static_cast<std::size_t>(picture.GetWidth()) * 3);
        }
        return rows;
    }
    static std::string FileStart(const std::wstring& path) {
        std::ifstream file(std::filesystem::path(path), std::ios::binary);
        std::string start(4, '\0');
        file.read(start.data(), 4);
        return file ? start : std::string();
    }
    // The picture type a file's first bytes show: 1 BMP, 2 JPEG, 3 TIFF, 0 other.
    static int TypeOfFile(const std::wstring& path) {
        const std::string start = FileStart(path);
        if (start.rfind("BM", 0) == 0) return kPictureBmp;
        if (start.size() == 4 && static_cast<unsigned char>(start[0]) == 0xFF &&
            static_cast<unsigned char>(start[1]) == 0xD8) {
            return kPictureJpeg;
        }
        if (start == std::string("II*\0", 4) || start == std::string("MM\0*", 4)) return kPictureTiff;
        return 0;
    }

    LanguageLibrary language_{1};
    std::filesystem::path folder;
    ScriptedFileDialogs dialogs;
};

}  // namespace imaging_testing
