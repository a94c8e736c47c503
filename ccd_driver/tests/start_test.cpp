// The descriptor reads of a device start, against the simulated camera: what
// the driver asks for and how it judges what the camera answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "kqff_start.h"
#include "le_bytes.h"
#include "sim_camera.h"

namespace kqff {
namespace sim {

void PrintTo(const DescriptorRequest& r, std::ostream* os) {
    *os << "{type " << static_cast<int>(r.type) << ", " << r.requestedBytes << " bytes}";
}

}  // namespace sim
namespace {

using sim::DescriptorRequest;

// The start's reads in the shell's order; the whole descriptor goes into a
// buffer of the size the head asked for.
struct StartReads {
    NtStatus headStatus = kStatusUnsuccessful;
    NtStatus configurationStatus = kStatusUnsuccessful;
    std::uint32_t bufferBytes = 0;
    std::uint32_t transferred = 0;
    std::vector<std::uint8_t> configuration;
};

StartReads ReadConfigurationAsStartDoes(sim::SimCamera& camera) {
    StartReads r;
    r.headStatus = ReadConfigurationHead(camera, r.bufferBytes);
    if (!IsSuccess(r.headStatus)) return r;
    r.configuration.assign(r.bufferBytes, 0);
    r.configurationStatus = ReadConfiguration(camera, r.configuration, r.transferred);
    return r;
}

// The same descriptor with another wTotalLength.
std::vector<std::uint8_t> WithTotalLength(std::vector<std::uint8_t> d, std::uint16_t total) {
    vz::PutLE16(d, 2, total);
    return d;
}

class StartTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> CameraConfiguration(bool responsePipe) {
        sim::SimCamera c;
        c.SetHasResponsePipe(responsePipe);
        return c.ConfigurationDescriptor();
    }

    sim::SimCamera camera;
};

TEST_F(StartTest, DeviceDescriptorGivesTheUsbIdentity) {
    camera.SetUsbIdentity(0x1234, 0xABCD);
    UsbIdentity identity;
    ASSERT_EQ(ReadUsbIdentity(camera, identity), kStatusSuccess);
    EXPECT_EQ(identity.vendorId, 0x1234);
    EXPECT_EQ(identity.productId, 0xABCD);
    EXPECT_EQ(camera.DescriptorLog(), (std::vector<DescriptorRequest>{{kDeviceDescriptorType, 18}}));
}

TEST_F(StartTest, CameraAnswersAShortRequestWithThatManyBytes) {
    const std::vector<std::uint8_t> whole = camera.ConfigurationDescriptor();
    ASSERT_EQ(whole.size(), 39u);
    for (const std::size_t asked : {std::size_t{9}, std::size_t{25}, std::size_t{39}, std::size_t{100}}) {
        std::vector<std::uint8_t> buffer(asked, 0xCC);
        std::uint32_t transferred = 0;
        ASSERT_EQ(camera.GetDescriptor(kConfigurationDescriptorType, buffer, transferred), kStatusSuccess);
        const std::size_t expected = std::min(asked, whole.size());
        EXPECT_EQ(transferred, expected) << asked;
        EXPECT_TRUE(std::equal(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(expected), buffer.begin()))
            << asked;
    }
}

struct ConfigurationCase {
    const char* name;
    std::vector<std::uint8_t> descriptor;
    NtStatus headStatus;
    NtStatus configurationStatus;  // of the whole read, when the head succeeded
};

TEST_F(StartTest, ReadsTheHeadThenTheWholeDescriptorWithRoomToSpare) {
    const std::vector<std::uint8_t> three = CameraConfiguration(true);
    const std::vector<std::uint8_t> two = CameraConfiguration(false);
    const std::vector<std::uint8_t> noEndpoint = WithTotalLength({three.begin(), three.begin() + 18}, 18);
    const ConfigurationCase cases[] = {
        {"three pipes", three, kStatusSuccess, kStatusSuccess},
        {"two pipes", two, kStatusSuccess, kStatusSuccess},
        {"shorter than the head", noEndpoint, kStatusSuccess, kStatusSuccess},
        {"claims more than it sends", WithTotalLength(three, 60), kStatusSuccess, kStatusDeviceConfigurationError},
        {"total below a configuration descriptor", WithTotalLength(three, 5), kStatusDeviceConfigurationError, 0},
    };
    for (const ConfigurationCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimCamera cam;
        cam.SetConfigurationDescriptor(c.descriptor);
        const std::uint16_t total = vz::GetLE16(c.descriptor, 2);
        const StartReads r = ReadConfigurationAsStartDoes(cam);

        EXPECT_EQ(r.headStatus, c.headStatus);
        std::vector<DescriptorRequest> expected{{kConfigurationDescriptorType, 25}};
        if (IsSuccess(c.headStatus)) {
            EXPECT_EQ(r.bufferBytes, total + 16u);
            expected.push_back({kConfigurationDescriptorType, total + 16u});
            EXPECT_EQ(r.configurationStatus, c.configurationStatus);
            // The camera sends its whole descriptor; the rest stays zero.
            const std::size_t sent = std::min<std::size_t>(c.descriptor.size(), r.bufferBytes);
            EXPECT_EQ(r.transferred, sent);
            EXPECT_TRUE(std::equal(c.descriptor.begin(), c.descriptor.begin() + static_cast<std::ptrdiff_t>(sent),
                                   r.configuration.begin()));
            EXPECT_TRUE(std::all_of(r.configuration.begin() + static_cast<std::ptrdiff_t>(sent), r.configuration.end(),
                                    [](std::uint8_t b) { return b == 0; }));
        }
        EXPECT_EQ(cam.DescriptorLog(), expected);
    }
}

TEST_F(StartTest, AnUnpluggedCameraFailsTheStart) {
    camera.SetConnected(false);
    std::uint32_t bufferBytes = 0;
    EXPECT_EQ(ReadConfigurationHead(camera, bufferBytes), kStatusDeviceNotConnected);
    UsbIdentity identity;
    EXPECT_EQ(ReadUsbIdentity(camera, identity), kStatusDeviceNotConnected);
}

}  // namespace
}  // namespace kqff
