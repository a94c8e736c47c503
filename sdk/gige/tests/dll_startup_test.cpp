// The stand-in build of KQGEu.dll loaded by full path, as a client loads the
// library: start-up against the adapter service stand-in over real pipes,
// its failures and retries, shut-down and a rebuilding restart. Its adapters
// are the simulated ones, which list every model name over two adapters.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <filesystem>
#include <fstream>
#include <vector>

#include "KQGEu.h"
#include "adapter_service_client.h"
#include "adapter_service_fixture.h"
#include "discovery_records.h"
#include "kernel_handle.h"
#include "standin_dll.h"

namespace kqge {
namespace {

using fixture::StartService;

using StandInLibrary = fixture::StandInExports;
StandInLibrary& Library() { return fixture::StandIn(); }

constexpr std::int32_t kSimulatedCameras = 16;

TEST(StandInDllTest, StartUpFailsWithoutTheServiceAndRetriesStopsAndRestarts) {
    StandInLibrary& dll = Library();
    ASSERT_TRUE(dll.Bound());
    const DWORD self = GetCurrentProcessId();

    std::int32_t count = 77;
    EXPECT_EQ(dll.GetCameraCount(&count), 25) << "before start-up";
    EXPECT_EQ(count, 77);

    EXPECT_EQ(dll.Initialize(), 23) << "no service";
    EXPECT_EQ(dll.GetCameraCount(&count), 25);
    EXPECT_EQ(count, 77);

    {
        fixture::Service service = StartService(self, 2, 2);
        EXPECT_EQ(dll.Initialize(), 0) << "the retry with the service up";
        EXPECT_EQ(service.ExitCode(), 0u) << "the service was asked by this process";
    }
    ASSERT_EQ(dll.GetCameraCount(&count), 0);
    EXPECT_EQ(count, kSimulatedCameras);
    EXPECT_EQ(dll.GetCameraCount(nullptr), 2);

    {
        // A second start leaves the waiting service alone: it still answers
        // the first request that reaches it, this test's own.
        fixture::Service service = StartService(self, 2, 2);
        EXPECT_EQ(dll.Initialize(), 0);
        const AdapterReply reply = RequestAdapters(self);
        EXPECT_EQ(reply.status, 0);
        EXPECT_EQ(reply.adapters.size(), 2u);
        EXPECT_EQ(service.ExitCode(), 0u);
    }
    ASSERT_EQ(dll.GetCameraCount(&count), 0);
    EXPECT_EQ(count, kSimulatedCameras);

    EXPECT_EQ(dll.UnInitialize(), 0);
    count = 77;
    EXPECT_EQ(dll.GetCameraCount(&count), 25) << "after shut-down";
    EXPECT_EQ(count, 77);
    EXPECT_EQ(dll.UnInitialize(), 0) << "a second shut-down is harmless";

    {
        fixture::Service service = StartService(self, 1, 1);
        EXPECT_EQ(dll.Initialize(), 0) << "start, stop, start";
        EXPECT_EQ(service.ExitCode(), 0u) << "the restart asked the service again";
    }
    ASSERT_EQ(dll.GetCameraCount(&count), 0);
    EXPECT_EQ(count, 8) << "one adapter this time";
    EXPECT_EQ(dll.UnInitialize(), 0);
}

// Every simulated model on two adapters, eight each: indices and host ports
// in adapter order, then record order; each camera's type and its discovery
// record with the addresses turned to host order.
TEST(StandInDllTest, CamerasOfTwoAdaptersInOrder) {
    StandInLibrary& dll = Library();
    ASSERT_TRUE(dll.Bound());
    {
        fixture::Service service = StartService(GetCurrentProcessId(), 2, 2);
        ASSERT_EQ(dll.Initialize(), 0);
    }
    const std::uint32_t codes[] = {0x10003601, 0x10030000, 0x20000,   0x14000,    0x100B1,    0x400B0,
                                   0x140B1,    0x140B0,    0x14001,   0x10003600, 0x10050000, 0x10050001,
                                   0x10013001, 0x50000,    0x20100B1, 0};
    for (std::int32_t i = 0; i < kSimulatedCameras; ++i) {
        std::int32_t code = -1;
        EXPECT_EQ(dll.GetCameraType(i, &code), codes[i] == 0 ? 19 : 0) << i;
        EXPECT_EQ(static_cast<std::uint32_t>(code), codes[i]) << i;
        std::uint16_t port = 0;
        EXPECT_EQ(dll.GetCameraPort(i, &port), 0) << i;
        EXPECT_EQ(port, 55005 + i);
        unsigned char record[248] = {};
        ASSERT_EQ(dll.GetCameraInfo(i, record), 0) << i;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 104)),
                  standin::kSimulatedModelNames[static_cast<std::size_t>(i)]);
        std::uint32_t ip = 0;
        std::memcpy(&ip, record + 36, 4);
        EXPECT_EQ(ip, 0xC0A80100u + 100 + static_cast<std::uint32_t>(i % 8)) << "host order, camera " << i;
        EXPECT_EQ(record[10 + 5], i % 8) << "the camera's MAC";
    }
    std::int32_t code = 77;
    std::uint16_t port = 77;
    EXPECT_EQ(dll.GetCameraType(kSimulatedCameras, &code), 21);
    EXPECT_EQ(dll.GetCameraPort(-1, &port), 21);
    EXPECT_EQ(code, 77);
    EXPECT_EQ(port, 77);
    EXPECT_EQ(dll.GetCameraInfo(0, nullptr), 2);
    EXPECT_EQ(dll.UnInitialize(), 0);
}

}  // namespace
}  // namespace kqge
