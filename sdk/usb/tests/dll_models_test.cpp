// The simulated-camera build of KQCMOSu.dll with model cameras on its bus:
// the exports the base device answers with 10 reach the FPGA and LED
// cameras' requests, byte for byte; the 16-bit cameras take their source
// format.

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <vector>

#include "dll_fixture.h"
#include "kqff_protocol.h"

namespace {

using kq::test::KqDll;

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
    };
    for (const Case c : {Case{"[Camera1]\nType=9\n", 0, 36}, Case{"[Camera1]\nType=14\n", 0, 36},
                         Case{"[Camera1]\nType=3\n", 10, 52}}) {
        SCOPED_TRACE(c.ini);
        UseCameras(c.ini);
        const HANDLE handle = Open(1, Window(640, 480));
        EXPECT_EQ(KQ(KQ_SetSourceFormat)(handle, 1), c.sourceFormat);
        const auto record = LastInput(kqff::kIoctlSetFormat);
        ASSERT_EQ(record.size(), c.recordBytes);
        const std::uint32_t width = record[8] | (record[9] << 8);
        EXPECT_EQ(width, c.recordBytes == 36 ? 1280u : 640u);
        EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
    }
}

}  // namespace
