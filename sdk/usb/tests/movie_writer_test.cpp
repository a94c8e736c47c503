// The movie writer over AVIFile, under Wine's own avifil32 and compressors.
// The files go to kq_movie_files/ beside the test program, where readers we
// did not write (ffprobe) check them afterwards (check_movie_files.cmake).

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/avi_writer.h"

namespace kq::files {
namespace {

constexpr std::uint32_t FourCc(const char (&code)[5]) {
    return std::uint32_t(std::uint8_t(code[0])) | std::uint32_t(std::uint8_t(code[1])) << 8 |
           std::uint32_t(std::uint8_t(code[2])) << 16 | std::uint32_t(std::uint8_t(code[3])) << 24;
}

std::filesystem::path FilesFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const auto folder = std::filesystem::path(exe).parent_path() / L"kq_movie_files";
    std::filesystem::create_directories(folder);
    return folder;
}

// Bars that move by `shift` columns a frame, so no two frames are alike and
// a run-length coder has runs to find.
std::vector<std::uint8_t> Frame(int width, int height, int bits, int shift) {
    const int bytes = bits / 8;
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(width) * height * bytes);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto v = static_cast<std::uint8_t>(((x + shift) / 8) * 40 + y);
            for (int c = 0; c < bytes; ++c) frame[(static_cast<std::size_t>(y) * width + x) * bytes + c] = v;
        }
    }
    return frame;
}

struct MovieCase {
    const wchar_t* name;
    int bits;
    std::uint32_t compressor;
    std::vector<std::uint32_t> positions;
};

TEST(MovieWriter, WritesFramesThroughTheChosenCompressor) {
    // The files' readback expectations are in check_movie_files.cmake.
    const MovieCase cases[] = {
        {L"uncompressed.avi", 24, 0, {0, 1, 2}},
        {L"grey_rle.avi", 8, FourCc("MRLE"), {0, 1, 2, 3, 4}},
    };
    for (const MovieCase& c : cases) {
        SCOPED_TRACE(std::filesystem::path(c.name).string());
        const auto path = FilesFolder() / c.name;
        std::filesystem::remove(path);
        std::string message;
        auto writer = AviWriter::Create(path, {64, 48, 40, c.bits, c.compressor}, &message);
        ASSERT_NE(writer, nullptr) << message;
        EXPECT_TRUE(std::filesystem::exists(path)) << "open before the first frame";
        int shift = 0;
        for (const std::uint32_t position : c.positions) {
            const auto frame = Frame(64, 48, c.bits, shift += 4);
            ASSERT_TRUE(writer->WriteFrame(position, frame));
        }
        // A position not past the last is dropped, not written again.
        EXPECT_TRUE(writer->WriteFrame(c.positions.back(), Frame(64, 48, c.bits, 0)));
        EXPECT_EQ(writer->Positions(), c.positions.back() + 1);
        const std::uint64_t bound = writer->FileBytes();
        EXPECT_TRUE(writer->Close());
        writer.reset();
        // The size the rollover goes by is never below the file's.
        EXPECT_LE(std::filesystem::file_size(path), bound);
        EXPECT_GT(std::filesystem::file_size(path), 64u * 48u * c.bits / 8);
    }
}

TEST(MovieWriter, ARefusedFormatFailsAndLeavesNoFile) {
    struct Refused {
        const wchar_t* name;
        AviWriter::Format format;
    };
    const Refused cases[] = {
        // The run-length coder takes 8-bit frames only.
        {L"refused_rle.avi", {64, 48, 40, 24, FourCc("MRLE")}},
        {L"refused_codec.avi", {64, 48, 40, 24, FourCc("ZZZZ")}},
        {L"refused_bits.avi", {64, 48, 40, 16, 0}},
        {L"refused_size.avi", {0, 48, 40, 24, 0}},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(std::filesystem::path(c.name).string());
        const auto path = FilesFolder() / c.name;
        std::filesystem::remove(path);
        std::string message;
        EXPECT_EQ(AviWriter::Create(path, c.format, &message), nullptr);
        EXPECT_FALSE(message.empty());
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(MovieWriter, ACompressorFailureNamesTheStep) {
    std::string message;
    const auto path = FilesFolder() / L"refused_message.avi";
    EXPECT_EQ(AviWriter::Create(path, {64, 48, 40, 24, FourCc("MRLE")}, &message), nullptr);
    EXPECT_TRUE(message == "Unable to Create Compressed Stream: Check your CODEC options" ||
                message == "Unable to Set Video Stream Format")
        << message;
    EXPECT_EQ(AviWriter::Create(FilesFolder() / L"no_such_folder" / L"x.avi", {64, 48, 40, 24, 0}, &message),
              nullptr);
    EXPECT_EQ(message, "Unable to Create the Movie File");
}

}  // namespace
}  // namespace kq::files
