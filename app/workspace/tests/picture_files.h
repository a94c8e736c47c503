#pragma once
// Picture files for the view's tests: one colour each, in a folder of their
// own that goes with the object.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "picture.h"

class PictureFiles {
public:
    explicit PictureFiles(const std::wstring& name) : folder_(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    ~PictureFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    PictureFiles(const PictureFiles&) = delete;
    PictureFiles& operator=(const PictureFiles&) = delete;

    // A 24-bit bmp filled with one colour (0x00RRGGBB); empty when it could
    // not be written.
    std::wstring Bmp(const std::wstring& name, int width, int height, std::uint32_t colour) const {
        CPicture picture(width, height, 24, kPictureBmp);
        for (int row = 0; row < height; ++row) {
            std::uint8_t* bits = picture.GetBits(row);
            for (int x = 0; x < width; ++x) {
                bits[x * 3] = static_cast<std::uint8_t>(colour);
                bits[x * 3 + 1] = static_cast<std::uint8_t>(colour >> 8);
                bits[x * 3 + 2] = static_cast<std::uint8_t>(colour >> 16);
            }
        }
        const std::filesystem::path path = folder_ / name;
        return picture.Save(path, kPictureBmp) ? path.wstring() : std::wstring();
    }
    std::wstring Text(const std::wstring& name, const std::string& content) const {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.wstring();
    }
    const std::filesystem::path& Folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};
