// The simulated bus and the device behind each of its cameras: the driver's
// own core over the simulated USB camera, driven through the control codes
// and frame reads the library uses.

#include <gtest/gtest.h>

#include <vector>

#include "kqff_protocol.h"
#include "le_bytes.h"
#include "sim/simulated_bus.h"

namespace kq::sim {
namespace {

std::vector<std::uint8_t> FormatRecord(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> in(kqff::kCaptureRecordBytes, 0);
    vz::PutLE32(in, kqff::record::kHeight, height);
    vz::PutLE32(in, kqff::record::kWidth, width);
    vz::PutLE32(in, kqff::record::kExposure, 77);
    in[24] = in[25] = in[26] = 40;
    return in;
}

// A device with a handle open on it, as the bus hands one out.
struct OpenDevice {
    OpenDevice(std::uint16_t vendorId, std::uint16_t productId) : device(vendorId, productId) { device.OnCreate(); }
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out) {
        return device.Control(code, in, out);
    }
    std::uint8_t ReadoutMode() { return device.Camera().CommandLog().back()[kqff::block::kReadoutMode]; }
    std::uint32_t FrameBytes() { return device.Core().Diagnostics().formatGeometry.frameBytes; }

    DriverCoreDevice device;
};

struct GeometryCase {
    std::uint32_t width, height;
    std::uint8_t mode;
    std::uint32_t frameBytes;
};

TEST(DriverCoreDevice, WidthTableSetsReadoutModeAndFrameSize) {
    // The outside vendor's camera uses the driver's width table.
    const GeometryCase cases[] = {
        {640, 480, 1, 307200},   {1360, 1024, 1, 2785280}, {640, 486, 4, 311040},
        {2304, 856, 2, 3944448}, {872, 100, 4, 87200},
    };
    for (const auto& c : cases) {
        OpenDevice driver(0xF6B1, 0x1001);
        const auto in = FormatRecord(c.width, c.height);
        ASSERT_TRUE(driver.Control(kqff::kIoctlSetFormat, in, {}));
        EXPECT_EQ(driver.ReadoutMode(), c.mode) << c.width << "x" << c.height;
        EXPECT_EQ(driver.FrameBytes(), c.frameBytes) << c.width << "x" << c.height;
    }
}

TEST(DriverCoreDevice, MakerCamerasUseOneBytePerPixelAndKeepTheMode) {
    OpenDevice driver(0xF5A1, 0x0301);
    ASSERT_TRUE(driver.Control(kqff::kIoctlSetFormat, FormatRecord(1360, 1024), {}));
    EXPECT_EQ(driver.FrameBytes(), 1360u * 1024u);
    EXPECT_EQ(driver.ReadoutMode(), 0);
    // A format beyond the frame buffer is refused; the last one stays.
    EXPECT_FALSE(driver.Control(kqff::kIoctlSetFormat, FormatRecord(4096, 4096), {}));
    EXPECT_EQ(driver.FrameBytes(), 1360u * 1024u);
}

TEST(DriverCoreDevice, CommandBlockCarriesFormatAndIoBytes) {
    OpenDevice driver(0xF5A1, 0x0301);
    const std::uint8_t io[3] = {9, 5, 6};
    ASSERT_TRUE(driver.Control(kqff::kIoctlSetIo, io, {}));
    ASSERT_TRUE(driver.Control(kqff::kIoctlSetFormat, FormatRecord(640, 480), {}));
    const auto block = driver.device.Camera().CommandLog().back();
    EXPECT_EQ(block[0], 0);  // set format
    EXPECT_EQ(vz::GetLE16(block, 4), 640);
    EXPECT_EQ(vz::GetLE16(block, 6), 480);
    EXPECT_EQ(vz::GetLE16(block, 12), 77);
    EXPECT_EQ(block[14], 40);
    EXPECT_EQ(block[18], 5);  // IO bytes stay in later commands
    EXPECT_EQ(block[19], 6);
    // Too short an IO input is refused rather than read past its end.
    const std::uint8_t shortIo[1] = {1};
    EXPECT_FALSE(driver.Control(kqff::kIoctlSetIo, shortIo, {}));
    EXPECT_FALSE(driver.Control(0x22E0FC, {}, {}));  // unknown code
}

TEST(DriverCoreDevice, FramesFollowTheFormatWithBayerPhases) {
    OpenDevice opened(0xF5A1, 0x0301);
    DriverCoreDevice& driver = opened.device;
    driver.Camera().SetPicture(kqff::sim::Picture::Bayer);
    driver.Camera().SetFramesOnRequest(true);
    driver.StartVideo();
    ASSERT_TRUE(driver.Control(kqff::kIoctlSetFormat, FormatRecord(16, 8), {}));
    std::vector<std::uint8_t> buffer(16 * 8 + 64, 0xEE);
    EXPECT_FALSE(driver.Read(buffer));  // not streaming
    ASSERT_TRUE(driver.Control(kqff::kIoctlStartCapture, {}, {}));
    EXPECT_EQ(driver.Read(buffer), 16u * 8u + 64u);
    // Phase bases 160, 96 / 88, 32 plus a ramp that starts at 0.
    EXPECT_EQ(buffer[0], 160);
    EXPECT_EQ(buffer[1], 96);
    EXPECT_EQ(buffer[16], 88);
    EXPECT_EQ(buffer[17], 32);
    // The trailer reports the frame-start flag of the buffer that becomes the
    // next read buffer: the next frame has not started yet.
    EXPECT_EQ(buffer[16 * 8 + 2], 0);
    std::vector<std::uint8_t> second(16 * 8);
    EXPECT_EQ(driver.Read(second), 16u * 8u);  // no room for the trailer: none written
    EXPECT_EQ(second[0], 161);                 // the ramp moved on
    EXPECT_EQ(driver.FramesRead(), 2u);
}

TEST(SimulatedBus, LogsRequestsAndInjectsFaults) {
    SimulatedBus bus;
    bus.AddCamera(u"USB\\VID_F5A1&PID_0301\\1");
    auto cameras = bus.ListInterfaces();
    ASSERT_TRUE(cameras && cameras->size() == 1);
    auto connection = bus.Open((*cameras)[0]);
    ASSERT_TRUE(connection);
    EXPECT_EQ(bus.OpenConnections(), 1);

    bus.FailControl(kqff::kIoctlGetIo, 1);
    std::uint8_t io[1];
    EXPECT_FALSE(connection->Control(kqff::kIoctlGetIo, {}, io));
    EXPECT_TRUE(connection->Control(kqff::kIoctlGetIo, {}, io));
    ASSERT_EQ(bus.LogOf(kqff::kIoctlGetIo).size(), 2u);
    EXPECT_FALSE(bus.LogOf(kqff::kIoctlGetIo)[0].succeeded);

    ASSERT_TRUE(connection->Control(kqff::kIoctlStartCapture, {}, {}));
    bus.ShortReads(0, 1);
    std::vector<std::uint8_t> frame(bus.Device(0).Core().Diagnostics().formatGeometry.frameBytes);
    EXPECT_EQ(connection->ReadFrame(frame), 0u);

    bus.Unplug(0);
    EXPECT_FALSE(connection->Control(kqff::kIoctlGetIo, {}, io));
    EXPECT_TRUE(bus.ListInterfaces()->empty());
    bus.Replug(0);
    EXPECT_FALSE(connection->Control(kqff::kIoctlGetIo, {}, io));  // the old handle stays dead
    connection.reset();
    EXPECT_EQ(bus.OpenConnections(), 0);
    bus.FailListing(true);
    EXPECT_FALSE(bus.ListInterfaces());
}

}  // namespace
}  // namespace kq::sim
