// Loads the simulated-camera build of KQCMOSu.dll by full path as a client
// would and drives it: every export is present, and open, close, the
// capture record, hot plug and faults work against the driver core behind
// the simulated bus.

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <utility>
#include <vector>
#include <cstring>
#include <string>

#include "dll_fixture.h"
#include "dll_no_cameras.h"
#include "kqff_protocol.h"

namespace {

using kq::test::KqDll;

constexpr const char* kExports[] = {
    "KQ_Initialize",
    "KQ_Uninitialize",
    "KQ_GetDeviceHandle",
    "KQ_GetTotalDeviceNum",
    "KQ_GetDeviceID",
    "KQ_GetFriendlyName",
    "KQ_GetDeviceType",
    "KQ_GetDeviceColorType",
    "KQ_GetSerialNumber",
    "KQ_SetSerialNumber",
    "KQ_SetFrameCallBack",
    "KQ_SetDeviceEvent",
    "KQ_StartView",
    "KQ_StopView",
    "KQ_SetCapInfo",
    "KQ_GetCapInfo",
    "KQ_SetParamColor",
    "KQ_SetParamFlip",
    "KQ_SetScrollOffset",
    "KQ_SetVideoSize",
    "KQ_SetShowVideo",
    "KQ_SetShowAutoMark",
    "KQ_VideoPause",
    "KQ_SetZoomMode",
    "KQ_SetClearView",
    "KQ_GetClearViewState",
    "KQ_SetClearPic",
    "KQ_GetFrameRate",
    "KQ_MCResolutionShow",
    "KQ_IsMCResolutionShow",
    "KQ_SetMCResolution",
    "KQ_GetMCResolution",
    "KQ_SetSpeedMode",
    "KQ_CapFastMode",
    "KQ_SetSensorRdMode",
    "KQ_SetHBlank",
    "KQ_SetVBlank",
    "KQ_SetSourceFormat",
    "KQ_SetDoAE",
    "KQ_SetDoAWB",
    "KQ_SetDoAEInRegion",
    "KQ_SetDoAWBInRegion",
    "KQ_SetAELevel",
    "KQ_AEParam",
    "KQ_SetContrastValue",
    "KQ_GetContrastValue",
    "KQ_SetGamma",
    "KQ_GetGamma",
    "KQ_SetSaturation",
    "KQ_GetSaturation",
    "KQ_SetSharpness",
    "KQ_GetSharpness",
    "KQ_SetGainR",
    "KQ_SetGainG",
    "KQ_SetGainB",
    "KQ_GetGainR",
    "KQ_GetGainG",
    "KQ_GetGainB",
    "KQ_SetColorAdjust",
    "KQ_GetColorAdjust",
    "KQ_SetOffCenter",
    "KQ_GetOffCenter",
    "KQ_SetExpouseUnit",
    "KQ_SetExpouseDelayTime",
    "KQ_SetGolbalGain",
    "KQ_SetHDR",
    "KQ_ResetLightAvgTable",
    "KQ_EnableLightAvg",
    "KQ_ErasureStripe",
    "KQ_ApplyErasure",
    "KQ_PixelCalibration",
    "KQ_SetLight",
    "KQ_GetLight",
    "KQ_SetCameraLED",
    "KQ_GetRawFrame",
    "KQ_GetRgbFrame",
    "KQ_GetRawFrameToBmp",
    "KQ_GetRgbFrameToBmp",
    "KQ_GetRgbFrameToJpeg",
    "KQ_GetRgbFrameToBmpZoom",
    "KQ_GetRgbFrameToJpegZoom",
    "KQ_FrameToImage",
    "KQ_GetNewCalibrationRawFrame",
    "KQ_RawFrameToRgb",
    "KQ_GetTrigger",
    "KQ_CaptureToAvi",
    "KQ_SelectAviCompressor",
    "KQ_SetAviCompressor",
    "KQ_SetTriggerMode",
    "KQ_SoftTrigger",
    "KQ_SetTriggerDelayTime",
    "KQ_SetTriggerSource",
    "KQ_SetTriggerSourceTime",
    "KQ_SetTriggerCheckSignalTime",
    "KQ_SetCustomIO",
    "KQ_SetIO",
    "KQ_GetIO",
    "KQ_EEProm_Set",
    "KQ_EEProm_Get",
    "KQ_EEProm_SetByte",
    "KQ_EEProm_GetByte",
    "KQ_EEProm_Set_Test",
    "KQ_EEProm_Get_Test",
    "KQ_Write_Register",
    "KQ_WriteDataToDevice",
    "KQ_ReadDataFromDevice",
    "KQ_DeviceIoControl",
    "KQ_UpdateDeviceProgram",
};

TEST_F(KqDll, ExportsAllCameraFunctionsByUndecoratedName) {
    ASSERT_EQ(std::size(kExports), 108u);
    for (const char* name : kExports) {
        EXPECT_NE(GetProcAddress(library.module, name), nullptr) << name;
    }
}

TEST_F(KqDll, WithoutCamerasOpenFailsAndNothingIsCounted) { kq::test::ExpectNoCameras(library.module); }

TEST_F(KqDll, OpensByPositionAndClosesThroughTheSimulatedBus) {
    UseCameras(
        "[Cameras]\nCount=2\n"
        "[Camera1]\nType=25\nName=Camera A\n"    // monochrome only
        "[Camera2]\nType=10\nName=Camera B\n");  // colour
    const HANDLE first = Open(0, Window(640, 480));
    const HANDLE again = Open(1, Window(640, 480));
    const HANDLE second = Open(2, Window(640, 480));
    int type = 0, colour = -1;
    wchar_t name[256] = {};
    ASSERT_EQ(KQ(KQ_GetFriendlyName)(again, name), 0);
    EXPECT_STREQ(name, L"Camera A");
    ASSERT_EQ(KQ(KQ_GetDeviceType)(first, &type), 0);
    EXPECT_EQ(type, 8);
    ASSERT_EQ(KQ(KQ_GetDeviceColorType)(first, &colour), 0);
    EXPECT_EQ(colour, 1);
    ASSERT_EQ(KQ(KQ_GetDeviceType)(second, &type), 0);
    EXPECT_EQ(type, 10);

    int position = 3;
    HANDLE none = reinterpret_cast<HANDLE>(0x77);
    KQ_CAPINFO record = Window(640, 480);
    EXPECT_EQ(KQ(KQ_Initialize)(L"test", &position, &record, &none), 3);
    EXPECT_EQ(none, nullptr);

    int total = 0;
    KQ(KQ_GetTotalDeviceNum)(nullptr, &total);
    EXPECT_EQ(total, 2);
    unsigned short id = 0;
    ASSERT_EQ(KQ(KQ_GetDeviceID)(second, &id), 0);
    EXPECT_EQ(id, 3);
    EXPECT_EQ(KQ(KQ_Uninitialize)(first), 0);
    ASSERT_EQ(KQ(KQ_GetDeviceID)(second, &id), 0);
    EXPECT_EQ(id, 1);

    EXPECT_EQ(KQ(KQ_Uninitialize)(nullptr), 0);
    EXPECT_EQ(KQ(KQ_Uninitialize)(first), 1);
    EXPECT_EQ(KQ(KQ_SetHBlank)(first, 30), 1);
    EXPECT_EQ(KQ(KQ_Uninitialize)(again), 0);
    EXPECT_EQ(KQ(KQ_Uninitialize)(second), 0);
    EXPECT_EQ(OpenConnections(), 0);
}

TEST_F(KqDll, NinthOpenReturns19AndLeavesTheHandle) {
    UseCameras("[Camera1]\nType=3\n");
    std::array<HANDLE, 8> handles{};
    for (auto& h : handles) h = Open(1, Window(640, 480));
    HANDLE untouched = reinterpret_cast<HANDLE>(0x4242);
    int position = 1;
    KQ_CAPINFO record = Window(640, 480);
    EXPECT_EQ(KQ(KQ_Initialize)(L"test", &position, &record, &untouched), 19);
    EXPECT_EQ(untouched, reinterpret_cast<HANDLE>(0x4242));
    for (auto h : handles) EXPECT_EQ(KQ(KQ_Uninitialize)(h), 0);
}

TEST_F(KqDll, CaptureRecordRoundTripsAndReachesTheDriver) {
    UseCameras("[Camera1]\nType=3\n");  // 1280 x 1024
    const HANDLE handle = Open(1, Window(640, 480));
    KQ_CAPINFO record = Window(1000, 750);
    record.reserved = 0xCAFEF00D;
    record.columnStart = 16;
    record.rowStart = 8;
    record.gain[0] = 100;
    record.mode[0] = 3;
    record.extra[0] = 0x5A;
    ASSERT_EQ(KQ(KQ_SetCapInfo)(handle, &record), 0);
    KQ_CAPINFO back{};
    ASSERT_EQ(KQ(KQ_GetCapInfo)(handle, &back), 0);
    EXPECT_EQ(std::memcmp(&back, &record, sizeof record), 0);

    const auto sent = LastInput(kqff::kIoctlSetFormat);
    ASSERT_EQ(sent.size(), 52u);
    EXPECT_EQ(sent[8] | (sent[9] << 8), 1000);
    EXPECT_EQ(sent[4] | (sent[5] << 8), 744);
    EXPECT_EQ(sent[24], 63);
    EXPECT_EQ(sent[29], 127);  // gain 100 is limited to 95 and encoded as 95 + 32

    KQ_CAPINFO empty = Window(0, 480);
    EXPECT_EQ(KQ(KQ_SetCapInfo)(handle, &empty), 10);
    EXPECT_EQ(KQ(KQ_SetCapInfo)(handle, nullptr), 10);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, GainReadBackLeavesTheCallersValueWhenTheTableGivesNone) {
    UseCameras("[Camera1]\nType=3\n");
    const HANDLE handle = Open(1, Window(640, 480));
    ASSERT_EQ(KQ(KQ_SetGainR)(handle, 0), 0);  // every entry 0
    int gain = -7;
    EXPECT_EQ(KQ(KQ_GetGainR)(handle, &gain), 0);
    EXPECT_EQ(gain, -7);
    ASSERT_EQ(KQ(KQ_SetGainR)(handle, 1000), 0);
    EXPECT_EQ(KQ(KQ_GetGainR)(handle, &gain), 0);
    EXPECT_EQ(gain, 1000);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, UnsupportedOperationsSayNotSupportedAfterTheLookup) {
    UseCameras("[Camera1]\nType=3\n");
    const HANDLE handle = Open(1, Window(640, 480));
    unsigned char* buffer = nullptr;
    EXPECT_EQ(KQ(KQ_GetRawFrame)(handle, &buffer), 6);  // a null buffer pointer
    EXPECT_EQ(KQ(KQ_SetTriggerSource)(handle, 1), 10);
    EXPECT_EQ(KQ(KQ_GetRawFrame)(reinterpret_cast<HANDLE>(0x999), &buffer), 1);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, GetDeviceHandleClosesACameraThatRefusedItsRecord) {
    UseCameras("[Camera1]\nType=3\n");
    int position = 1;
    KQ_CAPINFO empty = Window(0, 0);
    EXPECT_EQ(KQ(KQ_GetDeviceHandle)(L"test", &position, &empty), nullptr);
    EXPECT_EQ(OpenConnections(), 0);
    KQ_CAPINFO good = Window(640, 480);
    const HANDLE handle = KQ(KQ_GetDeviceHandle)(L"test", &position, &good);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

// The test exports reach the library as the hardware and the system would.

struct DeviceEvents {
    std::vector<std::pair<int, HANDLE>> seen;
    static void KQAPI Record(int event, HANDLE handle, void* context) {
        static_cast<DeviceEvents*>(context)->seen.emplace_back(event, handle);
    }
};

TEST_F(KqDll, UnplugAndReplugKeepTheHandleAndTellTheCaller) {
    UseCameras("[Camera1]\nType=10\nName=Stage\n");
    const HANDLE handle = Open(1, Window(640, 480));
    DeviceEvents events;
    ASSERT_EQ(KQ(KQ_SetDeviceEvent)(handle, &DeviceEvents::Record, &events), 0);
    unsigned char serial[16] = {};
    ASSERT_EQ(KQ(KQ_GetSerialNumber)(handle, serial), 0);

    ASSERT_EQ(KQ(KQSim_Unplug)(1), KQSIM_OK);
    ASSERT_EQ(events.seen.size(), 1u);
    EXPECT_EQ(events.seen[0], std::make_pair(0, handle));
    EXPECT_EQ(KQ(KQ_GetSerialNumber)(handle, serial), 3);
    EXPECT_EQ(OpenConnections(), 0);
    int position = 1;
    HANDLE none = nullptr;
    KQ_CAPINFO record = Window(640, 480);
    EXPECT_EQ(KQ(KQ_Initialize)(L"test", &position, &record, &none), 3) << "nothing left on the bus";

    ASSERT_EQ(KQ(KQSim_Replug)(1), KQSIM_OK);
    ASSERT_EQ(events.seen.size(), 2u);
    EXPECT_EQ(events.seen[1], std::make_pair(1, handle));
    EXPECT_EQ(KQ(KQ_GetSerialNumber)(handle, serial), 0);
    wchar_t name[256] = {};
    ASSERT_EQ(KQ(KQ_GetFriendlyName)(handle, name), 0);
    EXPECT_STREQ(name, L"Stage");
    EXPECT_EQ(OpenConnections(), 1);
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, AFailedOpenAndAFailedFormatLeaveNothingBehind) {
    UseCameras("[Camera1]\nType=3\n");
    ASSERT_EQ(KQ(KQSim_FailOpen)(1, 1), KQSIM_OK);
    int position = 1;
    HANDLE handle = reinterpret_cast<HANDLE>(0x55);
    KQ_CAPINFO record = Window(640, 480);
    EXPECT_EQ(KQ(KQ_Initialize)(L"test", &position, &record, &handle), 3);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(OpenConnections(), 0);
    ASSERT_EQ(KQ(KQSim_FailOpen)(1, 0), KQSIM_OK);
    handle = Open(1, Window(640, 480));

    // The driver refuses the next format: the record stays as it was.
    ASSERT_EQ(KQ(KQSim_FailControl)(kqff::kIoctlSetFormat, 1), KQSIM_OK);
    KQ_CAPINFO wanted = Window(800, 600);
    EXPECT_EQ(KQ(KQ_SetCapInfo)(handle, &wanted), 10);
    KQ_CAPINFO kept{};
    ASSERT_EQ(KQ(KQ_GetCapInfo)(handle, &kept), 0);
    EXPECT_EQ(kept.width, 640u);
    EXPECT_EQ(kept.height, 480u);
    EXPECT_EQ(KQ(KQ_SetCapInfo)(handle, &wanted), 0) << "only the next one fails";
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
}

TEST_F(KqDll, TestExportsRefuseWhatTheyCannotDo) {
    UseCameras("[Camera1]\nType=3\n");
    for (const int bad : {0, 2, -1}) {
        EXPECT_EQ(KQ(KQSim_Unplug)(bad), KQSIM_BAD_ARGUMENT) << bad;
        EXPECT_EQ(KQ(KQSim_Replug)(bad), KQSIM_BAD_ARGUMENT) << bad;
        EXPECT_EQ(KQ(KQSim_FailOpen)(bad, 1), KQSIM_BAD_ARGUMENT) << bad;
        EXPECT_EQ(KQ(KQSim_SetReadBudget)(bad, 1), KQSIM_BAD_ARGUMENT) << bad;
        EXPECT_EQ(KQ(KQSim_AllowFrames)(bad, 1), KQSIM_BAD_ARGUMENT) << bad;
        EXPECT_EQ(KQ(KQSim_WaitForBlockedRead)(bad, 0), KQSIM_BAD_ARGUMENT) << bad;
    }
    EXPECT_EQ(KQ(KQSim_FailControl)(kqff::kIoctlSetFormat, -1), KQSIM_BAD_ARGUMENT);
    EXPECT_EQ(KQ(KQSim_OpenConnections)(nullptr), KQSIM_BAD_ARGUMENT);
    EXPECT_EQ(KQ(KQSim_WaitForBlockedRead)(1, 0), KQSIM_TIMED_OUT) << "nothing reads";

    int size = -1;
    std::array<unsigned char, 12> bytes{};
    bytes.fill(0xEE);
    EXPECT_EQ(KQ(KQSim_LastControlInput)(kqff::kIoctlSetFormat, bytes.data(), 10, &size), KQSIM_NO_RECORD);
    EXPECT_EQ(KQ(KQSim_LastControlInput)(kqff::kIoctlSetFormat, bytes.data(), 10, nullptr), KQSIM_BAD_ARGUMENT);
    EXPECT_EQ(KQ(KQSim_LastControlInput)(kqff::kIoctlSetFormat, nullptr, 10, &size), KQSIM_BAD_ARGUMENT);
    const HANDLE handle = Open(1, Window(640, 480));
    // A short buffer takes the first bytes; the length is the whole input's.
    ASSERT_EQ(KQ(KQSim_LastControlInput)(kqff::kIoctlSetFormat, bytes.data(), 10, &size), KQSIM_OK);
    EXPECT_EQ(size, 52);
    EXPECT_EQ(bytes[8] | (bytes[9] << 8), 640) << "the width";
    EXPECT_EQ(bytes[10], 0xEE);
    EXPECT_EQ(bytes[11], 0xEE);

    EXPECT_EQ(KQ(KQSim_LoadConfig)(nullptr), KQSIM_BUSY) << "a camera is open";
    EXPECT_EQ(KQ(KQ_Uninitialize)(handle), 0);
    const auto missing = testing_support::UniqueTempPath("kq_dll_cameras") / L"no such file.ini";
    EXPECT_EQ(KQ(KQSim_LoadConfig)(missing.c_str()), KQSIM_NO_FILE);
    EXPECT_EQ(KQ(KQSim_Unplug)(1), KQSIM_OK) << "the cameras stay as they were";
}

}  // namespace
