// The simulated-camera build of KQCMOSu.dll with model cameras on its bus:
// the exports the base device answers with 10 reach the FPGA, type 10, YUV
// and LED cameras' requests, byte for byte; the 16-bit and YUV cameras take
// their source format; the FPGA and YUV cameras' turned pictures are drawn into a real
// window and written as pictures, which readers we did not write check
// afterwards (kq_dll_files/).

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "dll_fixture.h"
#include "kqff_protocol.h"
#include "preview_test_window.h"

namespace {

using kq::test::KqDll;
using namespace std::chrono_literals;

std::vector<std::uint8_t> Block(std::initializer_list<std::uint8_t> head) {
    std::vector<std::uint8_t> block(64, 0);
    std::copy(head.begin(), head.end(), block.begin());
    return block;
}

TEST_F(KqDll, FpgaCameraTakesTheTriggerTimingAndEepromTestRequests) {
    UseCameras("[Camera1]\nType=11\nName=FPGA camera\n");
    const HANDLE handle = Open(1, Window(1024, 768));
    struct Case {
        const char* what;
        int (*call)(HANDLE);
        std::vector<std::uint8_t> sent;
    };
    const Case cases[] = {
        // 2 x 48000 = 0x017700, 3 x 24000 = 0x011940, little-endian after the subcommand.
        {"delay", [](HANDLE h) { return KQ(KQ_SetTriggerDelayTime)(h, 2); }, Block({11, 0x00, 0x77, 0x01, 0x00})},
        {"source time", [](HANDLE h) { return KQ(KQ_SetTriggerSourceTime)(h, 3); },
         Block({12, 0x40, 0x19, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(handle), 0) << c.what;
        EXPECT_EQ(LastInput(kqff::kIoctlWriteCommand), c.sent) << c.what;
    }

    // Trigger source and custom IO ride on the control byte of the record.
    ASSERT_EQ(KQ(KQ_SetTriggerSource)(handle, 1), 0);
    ASSERT_EQ(KQ(KQ_SetCustomIO)(handle, 1), 0);
    const auto record = LastInput(kqff::kIoctlSetFormat);
    ASSERT_EQ(record.size(), 36u);
    EXPECT_EQ(record[27] & 0xC0, 0xC0);

    std::array<unsigned char, 40> area{};
    for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<unsigned char>(0xA0 + i);
    ASSERT_EQ(KQ(KQ_EEProm_Set_Test)(handle, area.data()), 0);
    const auto sent = LastInput(kqff::kIoctlWriteCommand);
    ASSERT_EQ(sent.size(), 64u);
    EXPECT_EQ(sent[0], 7);
    EXPECT_TRUE(std::equal(area.begin(), area.end(), sent.begin() + 2));
    std::array<unsigned char, 40> read{};
    read.fill(0x55);
    ASSERT_EQ(KQ(KQ_EEProm_Get_Test)(handle, read.data()), 0);
    EXPECT_EQ(LastInput(kqff::kIoctlTransact), Block({8}));
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, FpgaCameraTakesUpToNineRegisterPairs) {
    UseCameras("[Camera1]\nType=12\n");
    const HANDLE handle = Open(1, Window(640, 480));
    std::array<unsigned short, 10> registers{0x09, 0x05, 0x06, 1, 2, 3, 4, 5, 6, 7};
    std::array<unsigned short, 10> values{300, 20, 30, 1, 2, 3, 4, 5, 6, 7};
    ASSERT_EQ(KQ(KQ_Write_Register)(handle, registers.data(), values.data(), 3), 0);
    const auto list = LastInput(kqff::kIoctlWriteCommand);
    ASSERT_EQ(list.size(), 64u);
    EXPECT_EQ(list[0], 16);
    EXPECT_EQ(list[6], 3) << "all three pairs, not the base's two";
    EXPECT_EQ(std::vector<std::uint8_t>(list.begin() + 7, list.begin() + 19),
              (std::vector<std::uint8_t>{0x2C, 0x01, 0x09, 20, 0, 0x05, 30, 0, 0x06, 30, 0, 0x06}));
    EXPECT_EQ(KQ(KQ_Write_Register)(handle, registers.data(), values.data(), 10), 10);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, LedCameraSendsItsChannels) {
    UseCameras("[Camera1]\nType=17\n");
    const HANDLE handle = Open(1, Window(640, 480));
    ASSERT_EQ(KQ(KQ_SetCameraLED)(handle, 0, 5), 0);
    EXPECT_EQ(LastInput(kqff::kIoctlWriteBlock), Block({0x2C, 0, 0x06, 0, 0x15, 0, 0, 0}));
    EXPECT_EQ(KQ(KQ_SetCameraLED)(handle, 4, 1), -1);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, SixteenBitCamerasTakeTheirSourceFormatAndSendTheWidthInBytes) {
    struct Case {
        const char* ini;
        int sourceFormat;
        std::size_t recordBytes;
        std::uint32_t sentWidth;
    };
    for (const Case c : {Case{"[Camera1]\nType=9\n", 0, 36, 1280}, Case{"[Camera1]\nType=14\n", 0, 36, 1280},
                         Case{"[Camera1]\nType=15\n", 0, 52, 1280}, Case{"[Camera1]\nType=3\n", 10, 52, 640}}) {
        SCOPED_TRACE(c.ini);
        UseCameras(c.ini);
        const HANDLE handle = Open(1, Window(640, 480));
        EXPECT_EQ(KQ(KQ_SetSourceFormat)(handle, 1), c.sourceFormat);
        const auto record = LastInput(kqff::kIoctlSetFormat);
        ASSERT_EQ(record.size(), c.recordBytes);
        const std::uint32_t width = record[8] | (record[9] << 8);
        EXPECT_EQ(width, c.sentWidth);
        EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
    }
}

TEST_F(KqDll, YuvCameraTakesItsGlobalGainAsItsSharpness) {
    UseCameras("[Camera1]\nType=15\n");
    const HANDLE handle = Open(1, Window(640, 480));
    ASSERT_EQ(KQ(KQ_SetGolbalGain)(handle, 5), 0);
    const auto record = LastInput(kqff::kIoctlSetFormat);
    ASSERT_EQ(record.size(), 52u);
    EXPECT_EQ(record[29], 5);
    int sharpness = -1;
    ASSERT_EQ(KQ(KQ_GetSharpness)(handle, &sharpness), 0);
    EXPECT_EQ(sharpness, 5);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

// Keeps the last delivered frame; waits are bounded.
struct LastFrame {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<std::uint8_t> pixels;
    std::size_t bytes = 0;
    int count = 0;

    static int KQAPI OnFrame(unsigned char* frame, int, void* context) {
        auto* self = static_cast<LastFrame*>(context);
        std::lock_guard<std::mutex> hold(self->lock);
        self->pixels.assign(frame, frame + self->bytes);
        ++self->count;
        self->arrived.notify_all();
        return 0;
    }
    bool WaitFor(int frames) {
        std::unique_lock<std::mutex> hold(lock);
        return arrived.wait_for(hold, 10s, [&] { return count >= frames; });
    }
};

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TurnedCase {
    int type;
    const wchar_t* prefix;  // of the picture files
    int rawBytesPerPixel;
};

class KqDllTurned : public KqDll, public ::testing::WithParamInterface<TurnedCase> {};

// A 640 x 480 window turned by flip 4 shows and stores 480 x 640 pictures.
TEST_P(KqDllTurned, PreviewAndPicturesOfTheTurnedFrame) {
    const TurnedCase c = GetParam();
    constexpr int kWidth = 480, kHeight = 640;
    UseCameras("[Camera1]\nType=" + std::to_string(c.type) + "\n");
    const HANDLE handle = Open(1, Window(640, 480));
    ASSERT_EQ(KQ(KQ_SetParamFlip)(handle, 4), 0);

    kq::test::TestWindow window(kWidth, kHeight);
    ASSERT_NE(window.get(), nullptr);
    LastFrame frame;
    frame.bytes = static_cast<std::size_t>(kWidth) * kHeight * 3;
    ASSERT_EQ(KQ(KQ_SetFrameCallBack)(handle, &LastFrame::OnFrame, &frame), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 1), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, kWidth, kHeight, window.get(), nullptr), 0);
    ASSERT_TRUE(frame.WaitFor(1));
    ASSERT_EQ(KQ(KQSim_WaitForBlockedRead)(1, 10000), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StopView)(handle), 0);
    const auto shown = window.ReadBack(kWidth, kHeight);
    ASSERT_EQ(shown.size(), frame.pixels.size());
    ASSERT_NE(std::count(shown.begin(), shown.end(), shown[0]), static_cast<long>(shown.size()))
        << "the simulated frame should not be uniform";
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != frame.pixels[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u) << "of " << shown.size() << " bytes";

    // Single grabs after the stream: the BMP holds the picture copied out,
    // bottom-up rows of 480 pixels; the JPEG is read back by the checker.
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const auto folder = std::filesystem::path(exe).parent_path() / L"kq_dll_files";
    std::filesystem::create_directories(folder);
    const auto bmp = folder / (std::wstring(c.prefix) + L"_turned.bmp");
    const auto jpeg = folder / (std::wstring(c.prefix) + L"_turned.jpg");
    std::filesystem::remove(bmp);
    std::filesystem::remove(jpeg);
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(kWidth) * kHeight * c.rawBytesPerPixel);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    unsigned char* slot = raw.data();
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, -1), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_GetRgbFrameToBmp)(handle, &slot, rgb.data(), bmp.c_str(), 1), 0);
    const auto file = ReadAll(bmp);
    ASSERT_EQ(file.size(), 54 + rgb.size());
    EXPECT_EQ(file[18] | file[19] << 8, kWidth);
    EXPECT_EQ(file[22] | file[23] << 8, kHeight);
    EXPECT_EQ(std::memcmp(file.data() + 54, rgb.data(), rgb.size()), 0);
    ASSERT_EQ(KQ(KQ_GetRgbFrameToJpeg)(handle, &slot, 0, jpeg.c_str(), 90), 0);
    EXPECT_GT(ReadAll(jpeg).size(), 2u);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

INSTANTIATE_TEST_SUITE_P(FpgaAndYuv, KqDllTurned,
                         ::testing::Values(TurnedCase{11, L"fpga", 1}, TurnedCase{15, L"yuv", 2},
                                           TurnedCase{7, L"zundra", 1}));

// The trigger source and its time reach the models that take them, the
// signal check time only type 10; the others answer 10.
TEST_F(KqDll, TriggerSourceAndItsTimeAnswerPerModel) {
    struct Case {
        int type;
        int answer;
        int checkAnswer;
    };
    for (const Case c : {Case{10, 0, 0}, Case{11, 0, 10}, Case{7, 10, 10}, Case{8, 10, 10}}) {
        SCOPED_TRACE(c.type);
        UseCameras("[Camera1]\nType=" + std::to_string(c.type) + "\n");
        const HANDLE handle = Open(1, Window(640, 480));
        EXPECT_EQ(KQ(KQ_SetTriggerSource)(handle, 1), c.answer);
        EXPECT_EQ(KQ(KQ_SetTriggerSourceTime)(handle, 40), c.answer);
        EXPECT_EQ(KQ(KQ_SetTriggerCheckSignalTime)(handle, 20), c.checkAnswer);
        EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
    }
}

// Type 10 sends its trigger settings in its 52-byte block: the external
// trigger as bit 3 of the control byte, the trigger period at 48 and the
// signal check time (1 to 1000) at 50.
TEST_F(KqDll, TypeTenSendsItsTriggerSettingsInItsBlock) {
    UseCameras("[Camera1]\nType=10\n");
    const HANDLE handle = Open(1, Window(640, 480));
    struct Case {
        const char* what;
        int (*call)(HANDLE);
        std::size_t at;
        unsigned value;
    };
    // Each case builds on the settings the one before left.
    const Case cases[] = {
        {"check time 0", [](HANDLE h) { return KQ(KQ_SetTriggerCheckSignalTime)(h, 0); }, 50, 1},
        {"check time 5000", [](HANDLE h) { return KQ(KQ_SetTriggerCheckSignalTime)(h, 5000); }, 50, 1000},
        {"check time 250", [](HANDLE h) { return KQ(KQ_SetTriggerCheckSignalTime)(h, 250); }, 50, 250},
        {"source time", [](HANDLE h) { return KQ(KQ_SetTriggerSourceTime)(h, 700); }, 48, 700},
        {"source on", [](HANDLE h) { return KQ(KQ_SetTriggerSource)(h, 1); }, 27, 0x08},
        {"period kept", [](HANDLE h) { return KQ(KQ_SetTriggerSource)(h, 1); }, 48, 700},
        {"check time kept", [](HANDLE h) { return KQ(KQ_SetTriggerSource)(h, 1); }, 50, 250},
        {"source off", [](HANDLE h) { return KQ(KQ_SetTriggerSource)(h, 0); }, 27, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.call(handle), 0);
        const auto block = LastInput(kqff::kIoctlSetFormat);
        ASSERT_EQ(block.size(), 52u);
        const unsigned value = c.at == 27 ? (block[27] & 0x08u) : (block[c.at] | (block[c.at + 1] << 8));
        EXPECT_EQ(value, c.value);
    }
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

// In trigger mode the type 7 camera keeps the frames its trailer marks as
// triggered and saves them as "%s%05d.jpg" with its model's running number,
// which starts at 1 (the checker reads the first file).
TEST_F(KqDll, TypeSevenSavesItsTriggerFramesWithItsOwnNumbers) {
    UseCameras("[Camera1]\nType=7\n");
    const HANDLE handle = Open(1, Window(640, 480));
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const auto folder = std::filesystem::path(exe).parent_path() / L"kq_dll_files";
    std::filesystem::create_directories(folder);
    const auto first = folder / L"zundra_trigger00001.jpg";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().wstring().starts_with(L"zundra_trigger")) std::filesystem::remove(entry.path());
    }
    const std::wstring prefix = (folder / L"zundra_trigger").wstring();
    ASSERT_EQ(KQ(KQ_SetTriggerMode)(handle, 1), 0);
    ASSERT_EQ(KQ(KQ_GetTrigger)(handle, 1, 1, prefix.c_str(), 90), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 4), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, 640, 480, nullptr, nullptr), 0);
    ASSERT_EQ(KQ(KQSim_WaitForBlockedRead)(1, 10000), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StopView)(handle), 0);
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_FALSE(std::filesystem::exists(folder / L"zundra_trigger00000.jpg"));
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

// Type 18 opens as the test camera: its own 3488 x 2560 record, register
// 251 kept without a request, and pictures of that size to the callback
// even in a quarter-turn flip; a grab while streaming is the last picture.
TEST_F(KqDll, TestCameraOpensWithItsOwnFrameAndStreamsToTheCallback) {
    constexpr int kWidth = 3488, kHeight = 2560;
    UseCameras("[Camera1]\nType=18\n");
    const HANDLE handle = Open(1, Window(640, 480));
    int type = 0;
    ASSERT_EQ(KQ(KQ_GetDeviceType)(handle, &type), 0);
    EXPECT_EQ(type, 18);
    const auto record = LastInput(kqff::kIoctlSetFormat);
    ASSERT_EQ(record.size(), 36u);
    EXPECT_EQ(record[4] | record[5] << 8, kHeight);
    EXPECT_EQ(record[8] | record[9] << 8, kWidth);
    unsigned short reg = 251, value = 5;
    ASSERT_EQ(KQ(KQ_Write_Register)(handle, &reg, &value, 1), 0);
    ASSERT_EQ(KQ(KQ_SetHBlank)(handle, 300), 0);
    std::array<unsigned char, 64> none{};
    int size = 0;
    EXPECT_EQ(KQ(KQSim_LastControlInput)(kqff::kIoctlWriteCommand, none.data(), 64, &size), KQSIM_NO_RECORD)
        << "register writes and blanking send nothing";

    ASSERT_EQ(KQ(KQ_SetParamFlip)(handle, 4), 0);
    LastFrame frame;
    frame.bytes = static_cast<std::size_t>(kWidth) * kHeight * 3;
    ASSERT_EQ(KQ(KQ_SetFrameCallBack)(handle, &LastFrame::OnFrame, &frame), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 2), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, 320, 240, nullptr, nullptr), 0);
    ASSERT_TRUE(frame.WaitFor(2));
    ASSERT_EQ(KQ(KQSim_WaitForBlockedRead)(1, 10000), KQSIM_OK);
    ASSERT_NE(std::count(frame.pixels.begin(), frame.pixels.end(), frame.pixels[0]),
              static_cast<long>(frame.pixels.size()))
        << "the simulated frame should not be uniform";
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(kWidth) * kHeight);
    std::vector<std::uint8_t> rgb(frame.bytes);
    unsigned char* slot = raw.data();
    ASSERT_EQ(KQ(KQ_GetRgbFrame)(handle, &slot, rgb.data(), 0), 0);
    EXPECT_TRUE(rgb == frame.pixels) << "the grab while streaming is the picture delivered";
    ASSERT_EQ(KQ(KQ_StopView)(handle), 0);
    EXPECT_EQ(frame.count, 2);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

// The YUV camera's white balance through the exports: the test scene, read
// as 4:2:2 pairs, is tinted, so its red sensor gain moves one step on every
// second frame, always the same way, each step reported with the gains
// (green following red) and the exposure.
TEST_F(KqDll, YuvCameraStepsItsRedGainOnEverySecondFrame) {
    struct Reports {
        std::mutex lock;
        std::vector<int> values, seconds;
        static void KQAPI On(int v1, int v2, void* context) {
            auto* self = static_cast<Reports*>(context);
            std::lock_guard<std::mutex> hold(self->lock);
            self->values.push_back(v1);
            self->seconds.push_back(v2);
        }
    } reports;
    UseCameras("[Camera1]\nType=15\n");
    const HANDLE handle = Open(1, Window(640, 480));
    ASSERT_EQ(KQ(KQ_SetDoAWB)(handle, 1, 0, &Reports::On, &reports), 0);
    LastFrame frame;
    frame.bytes = 640 * 480 * 3;
    ASSERT_EQ(KQ(KQ_SetFrameCallBack)(handle, &LastFrame::OnFrame, &frame), 0);
    ASSERT_EQ(KQ(KQSim_SetReadBudget)(1, 4), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StartView)(handle, L"preview", 0, 0, 0, 640, 480, nullptr, nullptr), 0);
    ASSERT_TRUE(frame.WaitFor(4));
    ASSERT_EQ(KQ(KQSim_WaitForBlockedRead)(1, 10000), KQSIM_OK);
    ASSERT_EQ(KQ(KQ_StopView)(handle), 0);
    {
        std::lock_guard<std::mutex> hold(reports.lock);
        ASSERT_EQ(reports.values.size(), 2u);
        const int first = reports.values[0] >> 16;
        const int step = first - 32;
        EXPECT_TRUE(step == 1 || step == -1) << first;
        EXPECT_EQ(reports.values[0] & 0xFFFF, first);
        EXPECT_EQ(reports.values[1], (first + step) << 16 | (first + step));
        EXPECT_EQ(reports.seconds, (std::vector<int>{32 << 16 | 100, 32 << 16 | 100}));
    }
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

}  // namespace
