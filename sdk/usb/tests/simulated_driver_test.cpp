#include <gtest/gtest.h>

#include <vector>

#include "core/le_bytes.h"
#include "sim/simulated_bus.h"

namespace kq::sim {
namespace {

std::vector<std::uint8_t> FormatRecord(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> in(36, 0);
    PutLE32(in, 4, height);
    PutLE32(in, 8, width);
    PutLE32(in, 20, 77);
    in[24] = in[25] = in[26] = 40;
    return in;
}

struct GeometryCase {
    std::uint32_t width, height;
    std::uint8_t mode;
    std::uint32_t frameBytes;
};

TEST(SimulatedDriver, WidthTableSetsReadoutModeAndFrameSize) {
    // The outside vendor's camera uses the driver's width table.
    const GeometryCase cases[] = {
        {640, 480, 1, 307200}, {1360, 1024, 1, 2785280}, {640, 486, 4, 311040},
        {2304, 856, 2, 3944448}, {872, 100, 4, 87200},
    };
    for (const auto& c : cases) {
        SimulatedDriver driver(u"USB\\VID_F6B1&PID_1001\\1");
        const auto in = FormatRecord(c.width, c.height);
        ASSERT_TRUE(driver.Control(driver::kSetFormat, in, {}));
        EXPECT_EQ(driver.ReadoutMode(), c.mode) << c.width << "x" << c.height;
        EXPECT_EQ(driver.FrameBytes(), c.frameBytes) << c.width << "x" << c.height;
    }
}

TEST(SimulatedDriver, MakerCamerasUseOneBytePerPixelAndKeepTheMode) {
    SimulatedDriver driver(u"USB\\VID_F5A1&PID_0301\\1");
    ASSERT_TRUE(driver.Control(driver::kSetFormat, FormatRecord(1360, 1024), {}));
    EXPECT_EQ(driver.FrameBytes(), 1360u * 1024u);
    EXPECT_EQ(driver.ReadoutMode(), 0);
    // A format beyond the frame buffer never yields a frame.
    ASSERT_TRUE(driver.Control(driver::kSetFormat, FormatRecord(4096, 4096), {}));
    EXPECT_EQ(driver.FrameBytes(), 0u);
}

TEST(SimulatedDriver, CommandBlockCarriesFormatAndIoBytes) {
    SimulatedDriver driver(u"USB\\VID_F5A1&PID_0301\\1");
    const std::uint8_t io[3] = {9, 5, 6};
    ASSERT_TRUE(driver.Control(driver::kSetIo, io, {}));
    ASSERT_TRUE(driver.Control(driver::kSetFormat, FormatRecord(640, 480), {}));
    const auto& block = driver.SentBlocks().back();
    EXPECT_EQ(block[0], 0);                // set format
    EXPECT_EQ(GetLE16(block, 4), 640);
    EXPECT_EQ(GetLE16(block, 6), 480);
    EXPECT_EQ(GetLE16(block, 12), 77);
    EXPECT_EQ(block[14], 40);
    EXPECT_EQ(block[18], 5);               // IO bytes stay in later commands
    EXPECT_EQ(block[19], 6);
    // Too short an IO input is refused rather than read past its end.
    const std::uint8_t shortIo[1] = {1};
    EXPECT_FALSE(driver.Control(driver::kSetIo, shortIo, {}));
    EXPECT_FALSE(driver.Control(0x22E0FC, {}, {}));  // unknown code
}

TEST(SimulatedDriver, FramesFollowTheFormatWithBayerPhases) {
    SimulatedDriver driver(u"USB\\VID_F5A1&PID_0301\\1");
    ASSERT_TRUE(driver.Control(driver::kSetFormat, FormatRecord(16, 8), {}));
    std::vector<std::uint8_t> buffer(16 * 8 + 64, 0xEE);
    EXPECT_FALSE(driver.Read(buffer));  // not streaming
    ASSERT_TRUE(driver.Control(driver::kStartCapture, {}, {}));
    EXPECT_EQ(driver.Read(buffer), 16u * 8u + 64u);
    // Phase bases 160, 96 / 88, 32 plus a ramp that starts at 0.
    EXPECT_EQ(buffer[0], 160);
    EXPECT_EQ(buffer[1], 96);
    EXPECT_EQ(buffer[16], 88);
    EXPECT_EQ(buffer[17], 32);
    EXPECT_EQ(buffer[16 * 8 + 2], 1);  // first frame after the start
    std::vector<std::uint8_t> second(16 * 8);
    EXPECT_EQ(driver.Read(second), 16u * 8u);  // no room for the trailer: none written
    EXPECT_EQ(second[0], 161);                 // the ramp moved on
}

TEST(SimulatedBus, LogsRequestsAndInjectsFaults) {
    SimulatedBus bus;
    bus.AddCamera(u"USB\\VID_F5A1&PID_0301\\1");
    auto cameras = bus.ListInterfaces();
    ASSERT_TRUE(cameras && cameras->size() == 1);
    auto connection = bus.Open((*cameras)[0]);
    ASSERT_TRUE(connection);
    EXPECT_EQ(bus.OpenConnections(), 1);

    bus.FailControl(driver::kGetIo, 1);
    std::uint8_t io[1];
    EXPECT_FALSE(connection->Control(driver::kGetIo, {}, io));
    EXPECT_TRUE(connection->Control(driver::kGetIo, {}, io));
    ASSERT_EQ(bus.LogOf(driver::kGetIo).size(), 2u);
    EXPECT_FALSE(bus.LogOf(driver::kGetIo)[0].succeeded);

    ASSERT_TRUE(connection->Control(driver::kStartCapture, {}, {}));
    bus.ShortReads(0, 1);
    std::vector<std::uint8_t> frame(bus.Driver(0).FrameBytes());
    EXPECT_EQ(connection->ReadFrame(frame), 0u);

    bus.Unplug(0);
    EXPECT_FALSE(connection->Control(driver::kGetIo, {}, io));
    EXPECT_TRUE(bus.ListInterfaces()->empty());
    bus.Replug(0);
    EXPECT_FALSE(connection->Control(driver::kGetIo, {}, io));  // the old handle stays dead
    connection.reset();
    EXPECT_EQ(bus.OpenConnections(), 0);
    bus.FailListing(true);
    EXPECT_FALSE(bus.ListInterfaces());
}

}  // namespace
}  // namespace kq::sim
