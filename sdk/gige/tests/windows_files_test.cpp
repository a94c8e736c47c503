// The picture writers of the Windows build write through wide paths: each
// format once at every depth it takes, into kqge_files/ next to the test
// program under a name that no ANSI code page holds. check_files.cmake then
// reads them with ImageMagick and tiffinfo, which are Linux programs.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <vector>

#include "picture_files.h"

namespace kqge {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path OutputFolder() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const fs::path folder = fs::path(exe).parent_path() / L"kqge_files";
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// 7 x 3, bottom-up: the picture's top-left pixel is stored row 2, column 0.
Bytes Picture(int bytesPerPixel) {
    Bytes p;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 7; ++c) {
            if (bytesPerPixel == 3) {
                p.insert(p.end(), {static_cast<std::uint8_t>(10 + c), static_cast<std::uint8_t>(60 + 40 * r),
                                   static_cast<std::uint8_t>(250 - c)});
            } else if (bytesPerPixel == 2) {
                const int v = 1000 * c + 100 * r;
                p.insert(p.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
            } else {
                p.push_back(static_cast<std::uint8_t>(30 * r + c));
            }
        }
    return p;
}

TEST(WindowsPictureFiles, EveryFormatThroughWidePaths) {
    const fs::path folder = OutputFolder();
    struct Case {
        const wchar_t* name;
        int bits;
        int kind;
    };
    const Case cases[] = {
        {L"grey8_\u56fe", 8, 0},   {L"colour24_\u56fe", 24, 0}, {L"colour24_\u56fe", 24, 1}, {L"grey8_\u56fe", 8, 1},
        {L"grey8_\u56fe", 8, 2},   {L"wide16_\u56fe", 16, 2},   {L"colour24_\u56fe", 24, 2}, {L"grey8_\u56fe", 8, 3},
        {L"wide16_\u56fe", 16, 3}, {L"colour24_\u56fe", 24, 3},
    };
    for (const Case& c : cases) {
        const Bytes pixels = Picture(c.bits / 8);
        const Bytes before = pixels;
        EXPECT_EQ(SavePicture(pixels, folder / c.name, 7, 3, c.bits, c.kind), kPictureSaved) << c.kind << " " << c.bits;
        EXPECT_EQ(pixels, before);
    }
    for (const wchar_t* name :
         {L"grey8_\u56fe.bmp", L"colour24_\u56fe.jpg", L"wide16_\u56fe.tif", L"colour24_\u56fe.png"}) {
        EXPECT_TRUE(fs::exists(folder / name));
    }
}

}  // namespace
}  // namespace kqge
