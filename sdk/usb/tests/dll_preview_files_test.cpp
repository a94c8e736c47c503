// KQCMOSu.dll's preview and files through a simulated camera: the frames
// drawn into a real window, an AVI recording and picture snapshots. The
// files go to kq_dll_files/ next to the test program.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

#include "dll_fixture.h"
#include "preview_test_window.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Keeps the first delivered frame; waits are bounded.
struct FirstFrame {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<std::uint8_t> pixels;
    std::size_t bytes = 0;
    int count = 0;

    static int KQAPI OnFrame(unsigned char* frame, int, void* context) {
        auto* self = static_cast<FirstFrame*>(context);
        std::lock_guard<std::mutex> hold(self->lock);
        if (self->count++ == 0) self->pixels.assign(frame, frame + self->bytes);
        self->arrived.notify_all();
        return 0;
    }
    bool WaitFor(int frames) {
        std::unique_lock<std::mutex> hold(lock);
        return arrived.wait_for(hold, 10s, [&] { return count >= frames; });
    }
};

std::filesystem::path FilesFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const auto folder = std::filesystem::path(exe).parent_path() / L"kq_dll_files";
    std::filesystem::create_directories(folder);
    return folder;
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t LE32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t LE16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

class KqDllPictures : public KqDll {
protected:
    void SetUp() override {
        KqDll::SetUp();
        UseCameras("[Camera1]\nType=10\n");  // colour, no edge repair
        handle = Open(1, Window(kWidth, kHeight));
    }
    void TearDown() override {
        if (handle != nullptr) {
            EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
        }
        KqDll::TearDown();
    }
    HANDLE handle = nullptr;
};

struct PreviewCase {
    int colorMode;
    int bytesPerPixel;
    int width, height;  // the delivered picture: the crop window when smaller than the frame
};

class KqDllPreview : public KqDllPictures, public ::testing::WithParamInterface<PreviewCase> {};

TEST_P(KqDllPreview, DrawsTheDeliveredFrameIntoTheWindow) {
    const PreviewCase c = GetParam();
    TestWindow window(c.width, c.height);
    ASSERT_NE(window.get(), nullptr);
    if (c.width != kWidth || c.height != kHeight) {
        ASSERT_EQ(KQ(KQ_SetMCResolution)(handle, 0, 0, c.width, c.height), 0);
        ASSERT_EQ(KQ(KQ_MCResolutionShow)(handle, 1), 0);
    }
    ASSERT_EQ(KQ(KQ_SetParamColor)(handle, c.colorMode), 0);
    FirstFrame frame;
    frame.bytes = static_cast<std::size_t>(c.width) * c.height * c.bytesPerPixel;
    ASSERT_EQ(KQ(KQ_SetFrameCallBack)(handle, &FirstFrame::OnFrame, &frame), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 1), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, c.width, c.height, window.get(), nullptr), 0);
    ASSERT_TRUE(frame.WaitFor(1));
    // The frame is drawn before the thread reads again and blocks.
    ASSERT_EQ(KQ(KQSim_WaitForBlockedRead)(1, 10000), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StopView)(handle), 0);

    const auto shown = window.ReadBack(c.width, c.height);
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(c.width) * c.height * 3);
    std::vector<std::uint8_t> expected(shown.size());
    for (std::size_t i = 0; i < static_cast<std::size_t>(c.width) * c.height; ++i) {
        for (int k = 0; k < 3; ++k) {
            expected[i * 3 + k] = frame.pixels[i * c.bytesPerPixel + (c.bytesPerPixel == 3 ? k : 0)];
        }
    }
    ASSERT_NE(std::count(expected.begin(), expected.end(), expected[0]), static_cast<long>(expected.size()))
        << "the simulated frame should not be uniform";
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != expected[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u) << "of " << shown.size() << " bytes";
}

// A crop window 322 pixels wide makes rows that are not a multiple of 4
// bytes in both depths (the frame's width is always a multiple of 8).
INSTANTIATE_TEST_SUITE_P(ColourAndGrey, KqDllPreview,
                         ::testing::Values(PreviewCase{0, 3, kWidth, kHeight}, PreviewCase{3, 1, kWidth, kHeight},
                                           PreviewCase{0, 3, 322, 240}, PreviewCase{3, 1, 322, 240}));

TEST_F(KqDllPictures, AStopViewWithoutStartAndANullWindowStreamWithoutDrawing) {
    EXPECT_EQ(KQ(KQ_StopView)(handle), 0);
    FirstFrame frame;
    frame.bytes = static_cast<std::size_t>(kWidth) * kHeight * 3;
    ASSERT_EQ(KQ(KQ_SetFrameCallBack)(handle, &FirstFrame::OnFrame, &frame), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 1), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, kWidth, kHeight, nullptr, nullptr), 0);
    EXPECT_TRUE(frame.WaitFor(1));
    EXPECT_EQ(KQ(KQ_StopView)(handle), 0);
}

TEST_F(KqDllPictures, AWindowThatIsGoneSaysSoAndStreamingGoesOn) {
    HWND gone = nullptr;
    {
        TestWindow window(64, 64);
        gone = window.get();
    }
    FirstFrame frame;
    frame.bytes = static_cast<std::size_t>(kWidth) * kHeight * 3;
    ASSERT_EQ(KQ(KQ_SetFrameCallBack)(handle, &FirstFrame::OnFrame, &frame), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 1), KQSIM_OK);
    EXPECT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, kWidth, kHeight, gone, nullptr), 1);
    EXPECT_TRUE(frame.WaitFor(1));
    EXPECT_EQ(KQ(KQ_StopView)(handle), 0);
}

TEST_F(KqDllPictures, CaptureToAviRecordsTheStreamedFrames) {
    FirstFrame frame;
    frame.bytes = static_cast<std::size_t>(kWidth) * kHeight * 3;
    ASSERT_EQ(KQ(KQ_SetFrameCallBack)(handle, &FirstFrame::OnFrame, &frame), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 0), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, kWidth, kHeight, nullptr, nullptr), 0);
    const auto path = FilesFolder() / L"recording.avi";
    std::filesystem::remove(path);
    ASSERT_EQ(KQ(KQ_CaptureToAvi)(handle, 1, path.c_str()), 0);
    ASSERT_TRUE(std::filesystem::exists(path)) << "the file is open when recording starts";
    // Frames sit on a 40 fps grid of the recording's clock: letting each
    // one through more than 25 ms after the last puts each on its own place.
    constexpr int kFrames = 3;
    for (int n = 1; n <= kFrames; ++n) {
        Sleep(30);
        ASSERT_EQ(KQ(KQSim_AllowFrames)(1, 1), KQSIM_OK);
        ASSERT_TRUE(frame.WaitFor(n));
    }
    ASSERT_EQ(KQ(KQSim_WaitForBlockedRead)(1, 10000), KQSIM_OK);
    EXPECT_EQ(KQ(KQ_CaptureToAvi)(handle, 0, nullptr), 0);
    EXPECT_EQ(KQ(KQ_StopView)(handle), 0);

    const auto file = ReadAll(path);
    ASSERT_GT(file.size(), 240u);
    EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
    EXPECT_LE(LE32(file, 4) + 8, file.size());
    EXPECT_EQ(std::memcmp(file.data() + 8, "AVI ", 4), 0);
    EXPECT_EQ(std::memcmp(file.data() + 24, "avih", 4), 0);
    EXPECT_EQ(LE32(file, 32 + 32), static_cast<std::uint32_t>(kWidth));   // dwWidth
    EXPECT_EQ(LE32(file, 32 + 36), static_cast<std::uint32_t>(kHeight));  // dwHeight
    // Every delivered frame is one full chunk; empty chunks fill the time grid.
    const std::size_t frameBytes = static_cast<std::size_t>(kWidth) * kHeight * 3;
    int full = 0;
    const std::uint8_t* first = nullptr;
    for (std::size_t at = 0; at + 8 <= file.size();) {
        if (std::memcmp(file.data() + at, "00db", 4) == 0) {
            const std::uint32_t size = LE32(file, at + 4);
            if (size == frameBytes) {
                if (first == nullptr) first = file.data() + at + 8;
                ++full;
            }
            at += 8 + size;
        } else if (std::memcmp(file.data() + at, "idx1", 4) == 0) {
            break;
        } else {
            ++at;
        }
    }
    EXPECT_EQ(full, kFrames);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::memcmp(first, frame.pixels.data(), frameBytes), 0) << "the first chunk is the first frame";
}

enum class Picture { RawBmp, RgbBmp, RgbJpeg, RgbBmpZoom, RgbJpegZoom };

struct SnapshotCase {
    Picture kind;
    const wchar_t* name;
    int width, height;
    int bits;  // BMP only
};

class KqDllSnapshot : public KqDllPictures, public ::testing::WithParamInterface<SnapshotCase> {
protected:
    int Take(Picture kind, unsigned char** slot, unsigned char* out, const wchar_t* path) {
        switch (kind) {
        case Picture::RawBmp: return KQ(KQ_GetRawFrameToBmp)(handle, slot, path);
        case Picture::RgbBmp: return KQ(KQ_GetRgbFrameToBmp)(handle, slot, out, path, out != nullptr);
        case Picture::RgbJpeg: return KQ(KQ_GetRgbFrameToJpeg)(handle, slot, 0, path, 150);
        case Picture::RgbBmpZoom: return KQ(KQ_GetRgbFrameToBmpZoom)(handle, slot, out, path, out != nullptr);
        case Picture::RgbJpegZoom: return KQ(KQ_GetRgbFrameToJpegZoom)(handle, slot, 0, path, 90);
        }
        return -1;
    }
};

TEST_P(KqDllSnapshot, WritesAPictureOfTheDeliveredSize) {
    const SnapshotCase c = GetParam();
    const auto path = FilesFolder() / c.name;
    std::filesystem::remove(path);
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(kWidth) * kHeight);
    std::vector<std::uint8_t> rgb(raw.size() * 3);
    unsigned char* slot = raw.data();
    ASSERT_EQ(Take(c.kind, &slot, rgb.data(), path.c_str()), 0);
    const auto file = ReadAll(path);
    ASSERT_GT(file.size(), 54u);
    if (c.bits == 0) {
        ASSERT_EQ(file[0], 0xFF);
        ASSERT_EQ(file[1], 0xD8);
        // The first start-of-frame marker carries height and width.
        std::size_t at = 2;
        while (at + 9 < file.size() && !(file[at] == 0xFF && (file[at + 1] == 0xC0 || file[at + 1] == 0xC2))) {
            at += 2 + ((file[at + 2] << 8) | file[at + 3]);
        }
        ASSERT_LT(at + 9, file.size());
        EXPECT_EQ((file[at + 5] << 8) | file[at + 6], c.height);
        EXPECT_EQ((file[at + 7] << 8) | file[at + 8], c.width);
        EXPECT_EQ(file[at + 9], 3) << "colour components";
        return;
    }
    const int bits = c.bits;
    const std::size_t palette = bits == 8 ? 1024 : 0;
    const std::size_t pixels = static_cast<std::size_t>(c.width) * c.height * bits / 8;  // rows need no padding here
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    ASSERT_EQ(file.size(), 54 + palette + pixels);
    EXPECT_EQ(LE32(file, 10), 54 + palette);
    EXPECT_EQ(static_cast<int>(LE32(file, 18)), c.width);
    EXPECT_EQ(static_cast<int>(LE32(file, 22)), c.height);
    EXPECT_EQ(LE16(file, 28), bits);
    const std::uint8_t* data = file.data() + 54 + palette;
    if (c.kind == Picture::RawBmp) {
        EXPECT_EQ(std::memcmp(data, raw.data(), pixels), 0) << "the raw frame left in the caller's buffer";
    } else {
        EXPECT_EQ(std::memcmp(data, rgb.data(), pixels), 0) << "the picture copied out";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KqDllSnapshot,
                         ::testing::Values(SnapshotCase{Picture::RawBmp, L"raw.bmp", kWidth, kHeight, 8},
                                           SnapshotCase{Picture::RgbBmp, L"rgb.bmp", kWidth, kHeight, 24},
                                           SnapshotCase{Picture::RgbJpeg, L"rgb.jpg", kWidth, kHeight, 0},
                                           SnapshotCase{Picture::RgbBmpZoom, L"half.bmp", kWidth / 2, kHeight / 2, 24},
                                           SnapshotCase{Picture::RgbJpegZoom, L"half.jpg", kWidth / 2, kHeight / 2,
                                                        0}));

TEST_F(KqDllPictures, RawFrameToBmpGrabsWithProcessing) {
    // Light 64 doubles every byte before the demosaic: the processed raw
    // frame has only even bytes (and 255); a plain raw grab keeps odd ones.
    ASSERT_EQ(KQ(KQ_SetLight)(handle, 64), 0);
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(kWidth) * kHeight);
    unsigned char* slot = raw.data();
    ASSERT_EQ(KQ(KQ_GetRawFrame)(handle, &slot), 0);
    const auto odd = [](std::uint8_t v) { return v % 2 == 1 && v != 255; };
    ASSERT_TRUE(std::any_of(raw.begin(), raw.end(), odd)) << "the test picture has odd bytes";

    const auto path = FilesFolder() / L"raw_processed.bmp";
    std::filesystem::remove(path);
    ASSERT_EQ(KQ(KQ_GetRawFrameToBmp)(handle, &slot, path.c_str()), 0);
    EXPECT_FALSE(std::any_of(raw.begin(), raw.end(), odd)) << "the buffer holds the processed frame";
    const auto file = ReadAll(path);
    ASSERT_EQ(file.size(), 54 + 1024 + raw.size());
    EXPECT_EQ(std::memcmp(file.data() + 54 + 1024, raw.data(), raw.size()), 0);
}

TEST_P(KqDllSnapshot, RefusesAMissingOrUnwritablePath) {
    const SnapshotCase c = GetParam();
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(kWidth) * kHeight);
    std::vector<std::uint8_t> rgb(raw.size() * 3);
    unsigned char* slot = raw.data();
    EXPECT_EQ(Take(c.kind, &slot, rgb.data(), nullptr), 10);
    EXPECT_EQ(Take(c.kind, &slot, rgb.data(), L""), 10);
    const auto nowhere = FilesFolder() / L"no such folder" / c.name;
    EXPECT_EQ(Take(c.kind, &slot, rgb.data(), nowhere.c_str()), 10);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    unsigned char* none = nullptr;
    EXPECT_EQ(Take(c.kind, &none, rgb.data(), (FilesFolder() / c.name).c_str()), 6);
}

// A caller's frame written without a camera: an odd width makes the BMP
// rows padded, and the file holds the buffer's rows in the same order.
struct FrameFileCase {
    const wchar_t* name;
    int bits, kind;
};

class KqDllFrameToImage : public KqDll, public ::testing::WithParamInterface<FrameFileCase> {
protected:
    static constexpr int kW = 37, kH = 21;
    static std::vector<std::uint8_t> Pattern(int bytesPerPixel) {
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(kW) * kH * bytesPerPixel);
        for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7 + i / 97);
        return frame;
    }
};

TEST_P(KqDllFrameToImage, WritesTheCallersFrame) {
    const FrameFileCase c = GetParam();
    const int bytes = c.bits / 8;
    auto frame = Pattern(bytes);
    const auto path = FilesFolder() / c.name;
    std::filesystem::remove(path);
    ASSERT_EQ(KQ(KQ_FrameToImage)(path.c_str(), frame.data(), kW, kH, c.bits, c.kind), 0);
    const auto file = ReadAll(path);
    ASSERT_GT(file.size(), 54u);
    if (c.kind == 1) {
        ASSERT_EQ(file[0], 0xFF);
        ASSERT_EQ(file[1], 0xD8);
        std::size_t at = 2;
        while (at + 9 < file.size() && !(file[at] == 0xFF && (file[at + 1] == 0xC0 || file[at + 1] == 0xC2))) {
            at += 2 + ((file[at + 2] << 8) | file[at + 3]);
        }
        ASSERT_LT(at + 9, file.size());
        EXPECT_EQ((file[at + 5] << 8) | file[at + 6], kH);
        EXPECT_EQ((file[at + 7] << 8) | file[at + 8], kW);
        EXPECT_EQ(file[at + 9], c.bits == 24 ? 3 : 1) << "colour components";
        return;
    }
    const std::size_t palette = bytes == 1 ? 1024 : 0;
    const std::size_t row = (static_cast<std::size_t>(kW) * bytes + 3) & ~std::size_t{3};
    ASSERT_EQ(file.size(), 54 + palette + row * kH);
    EXPECT_EQ(LE32(file, 2), file.size());
    EXPECT_EQ(LE32(file, 10), 54 + palette);
    EXPECT_EQ(static_cast<int>(LE32(file, 18)), kW);
    EXPECT_EQ(static_cast<int>(LE32(file, 22)), kH);
    EXPECT_EQ(LE16(file, 28), c.bits);
    const std::size_t used = static_cast<std::size_t>(kW) * bytes;
    for (int y = 0; y < kH; ++y) {
        const std::uint8_t* stored = file.data() + 54 + palette + y * row;
        ASSERT_EQ(std::memcmp(stored, frame.data() + y * used, used), 0) << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(BmpAndJpeg, KqDllFrameToImage,
                         ::testing::Values(FrameFileCase{L"frame8.bmp", 8, 0}, FrameFileCase{L"frame24.bmp", 24, 0},
                                           FrameFileCase{L"frame8.jpg", 8, 1}, FrameFileCase{L"frame24.jpg", 24, 1},
                                           FrameFileCase{L"frame31.jpg", 31, 1}));

TEST_F(KqDll, FrameToImageRefusesWhatItCannotWrite) {
    std::vector<std::uint8_t> frame(16 * 8 * 3, 0x40);
    const auto path = FilesFolder() / L"refused.bmp";
    std::filesystem::remove(path);
    struct Refused {
        int width, height, bits, kind, status;
    };
    for (const Refused r : {Refused{16, 8, 16, 0, 10}, Refused{16, 8, 32, 1, 10}, Refused{16, 8, 7, 0, 10},
                            Refused{16, 8, 24, 2, 10}, Refused{16, 8, 24, -1, 10}, Refused{0, 8, 24, 0, 10},
                            Refused{16, -1, 8, 0, 10}, Refused{70000, 8, 8, 0, 10}}) {
        EXPECT_EQ(KQ(KQ_FrameToImage)(path.c_str(), frame.data(), r.width, r.height, r.bits, r.kind), r.status)
            << r.width << " x " << r.height << " at " << r.bits << " bits, kind " << r.kind;
    }
    EXPECT_EQ(KQ(KQ_FrameToImage)(path.c_str(), nullptr, 16, 8, 24, 0), 6);
    EXPECT_EQ(KQ(KQ_FrameToImage)(nullptr, frame.data(), 16, 8, 24, 0), 10);
    EXPECT_EQ(KQ(KQ_FrameToImage)(L"", frame.data(), 16, 8, 24, 1), 10);
    const auto nowhere = FilesFolder() / L"no such folder" / L"frame.bmp";
    EXPECT_EQ(KQ(KQ_FrameToImage)(nowhere.c_str(), frame.data(), 16, 8, 24, 0), 10);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

// The pixel-path exports reach the device with their arguments in place.
TEST_F(KqDllPictures, PixelExportsAnswerForTheirHandleAndArguments) {
    const HANDLE stranger = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7777));
    std::vector<std::uint8_t> raw(8 * 6, 0x50), out(8 * 6 * 3, 0);
    EXPECT_EQ(KQ(KQ_ResetLightAvgTable)(stranger), 1);
    EXPECT_EQ(KQ(KQ_EnableLightAvg)(stranger, 1), 1);
    EXPECT_EQ(KQ(KQ_PixelCalibration)(stranger), 1);
    EXPECT_EQ(KQ(KQ_GetNewCalibrationRawFrame)(stranger, 8, 6, 0, 0, 0, 0, raw.data(), 32, 16, out.data()), 1);
    EXPECT_EQ(KQ(KQ_RawFrameToRgb)(stranger, 6, 8, 0, 0, raw.data(), out.data()), 1);

    EXPECT_EQ(KQ(KQ_ResetLightAvgTable)(handle), 0);
    EXPECT_EQ(KQ(KQ_EnableLightAvg)(handle, 1), 0);
    EXPECT_EQ(KQ(KQ_EnableLightAvg)(handle, 0), 0);
    EXPECT_EQ(KQ(KQ_PixelCalibration)(handle), 10) << "not the full sensor";

    // Width 8, height 6: light 64 doubles every byte, contrast 16 keeps it.
    std::vector<std::uint8_t> copy(raw.size() + 4, 0xA5);
    EXPECT_EQ(KQ(KQ_GetNewCalibrationRawFrame)(handle, 8, 6, 0, 0, 0, 0, raw.data(), 64, 16, copy.data()), 0);
    EXPECT_TRUE(std::all_of(copy.begin(), copy.begin() + 48, [](std::uint8_t v) { return v == 0xA0; }));
    EXPECT_TRUE(std::all_of(copy.begin() + 48, copy.end(), [](std::uint8_t v) { return v == 0xA5; }));
    EXPECT_EQ(KQ(KQ_GetNewCalibrationRawFrame)(handle, 8, 6, 0, 0, 0, 0, nullptr, 64, 16, copy.data()), -1);

    // Height 6, width 8 of one grey level: 48 grey pixels, nothing past them.
    std::vector<std::uint8_t> rgb(raw.size() * 3 + 4, 0xA5);
    EXPECT_EQ(KQ(KQ_RawFrameToRgb)(handle, 6, 8, 0, 0, raw.data(), rgb.data()), 0);
    EXPECT_TRUE(std::all_of(rgb.begin() + 144, rgb.end(), [](std::uint8_t v) { return v == 0xA5; }));
    for (std::size_t i = 0; i < 144; i += 3) {
        EXPECT_EQ(rgb[i], rgb[i + 1]);
        EXPECT_EQ(rgb[i + 1], rgb[i + 2]);
    }
    EXPECT_EQ(KQ(KQ_RawFrameToRgb)(handle, 6, 8, 0, 0, raw.data(), nullptr), -1);
}

}  // namespace
}  // namespace kq::test
