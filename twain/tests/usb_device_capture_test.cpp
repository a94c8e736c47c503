// What each capture parameter sends to the camera: the device object over
// the USB library and the simulated cameras linked into this test, the set
// format request read back from the simulated bus as the driver reads it.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/capinfo_record.h"
#include "kqff_protocol.h"
#include "simcam_library.h"
#include "usb_device.h"

namespace twain::win32 {
namespace {

constexpr const char* kBelunKey = "Software\\KQBelun_CMOS_TW\\CAPINFO";

void WriteDword(const char* name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kBelunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

struct Sent {
    std::uint32_t width, height, columnStart, rowStart, exposure;
    std::uint8_t gain, control;
};

TEST(UsbDeviceCapture, EachCaptureParameterReachesTheCameraAsItsRecord) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KQBelun_CMOS_TW");
    WriteDword("SizeMode", 0);
    WriteDword("ZoomMode", 0);
    const std::string ini = "[Cameras]\nCount=1\n[Camera1]\nType=5\n";
    const std::vector<std::uint8_t> bytes(ini.begin(), ini.end());
    ASSERT_EQ(kq::simcam::Cameras().Replace(kq::simcam::ParseSimulatedCameras(bytes)), kq::simcam::SimStatus::ok);

    std::unique_ptr<CUSBDevice> device = CUSBDevice::Open();
    ASSERT_NE(device, nullptr);
    struct Case {
        unsigned id;
        int value;
        Sent sent;
    };
    // Each step starts where the one before left the camera.
    const Case cases[] = {
        {0, 700, {640, 480, 215, 116, 700, 32, 0x00}},  {4, 300, {640, 480, 215, 300, 700, 32, 0x00}},
        {5, 20, {640, 480, 20, 300, 700, 32, 0x00}},    {9, 50, {640, 480, 20, 300, 700, 50, 0x00}},
        {7, 1283, {1280, 480, 20, 300, 700, 50, 0x00}}, {8, 1027, {1280, 1024, 0, 0, 700, 50, 0x00}},
        {10, 2, {1024, 768, 0, 0, 700, 50, 0x00}},  // the window stays where it is
        {19, 2, {1024, 768, 0, 0, 700, 50, 0x08}},  // skip 4: bit 3
        {26, 2, {1024, 768, 0, 0, 700, 50, 0x0C}},  // sensitivity 2: bit 2
        {0, 0, {1024, 768, 0, 0, 700, 50, 0x0C}},   // exposure 0 sends nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "SetParam " << c.id << " = " << c.value);
        device->SetParam(c.id, c.value);
        const auto input = kq::simcam::Cameras().LastControlInput(kqff::kIoctlSetFormat);
        ASSERT_TRUE(input.has_value());
        ASSERT_GE(input->size(), kq::kCapInfoBytes);
        const kq::CapInfo sent =
            kq::DecodeCapInfo(std::span<const std::uint8_t, kq::kCapInfoBytes>(input->data(), kq::kCapInfoBytes));
        EXPECT_EQ(sent.width, c.sent.width);
        EXPECT_EQ(sent.height, c.sent.height);
        EXPECT_EQ(sent.columnStart, c.sent.columnStart);
        EXPECT_EQ(sent.rowStart, c.sent.rowStart);
        EXPECT_EQ(sent.exposure & 0xFFFF, c.sent.exposure);
        EXPECT_EQ(sent.gain[0], c.sent.gain);
        EXPECT_EQ(sent.control, c.sent.control);
    }
    device.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KQBelun_CMOS_TW");
}

}  // namespace
}  // namespace twain::win32
