// The library's start-up over the adapter service's real pipes under Wine,
// with the service stand-in as its own process and the simulated adapters
// behind the handles it lists: no service gives 23, a retry with the
// service up succeeds, a second start does not ask the service, and a
// restart after a stop asks it again and rebuilds every camera.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "adapter_service_client.h"
#include "adapter_service_fixture.h"
#include "channel_fixture.h"
#include "gige_library.h"
#include "pipe_adapter_service.h"
#include "simulated_adapters.h"
#include "unsupported_camera.h"

namespace kqge {
namespace {

using fixture::StartService;

class NumberedCamera final : public testing::UnsupportedCamera {
public:
    explicit NumberedCamera(std::int32_t index) : index_(index) {}
    std::int32_t Index() const override { return index_; }
    void AssignPort(std::uint16_t) override {}
    std::size_t ReceiveBytes() const override { return 1500; }

private:
    std::int32_t index_;
};

class NumberedFactory final : public CameraFactory {
public:
    std::unique_ptr<IGigECamera> Make(std::uint32_t, CNIC&, const DiscoveryRecord&) override {
        return std::make_unique<NumberedCamera>(next++);
    }
    std::int32_t next = 0;
};

TEST(PipeStartUpTest, NoServiceRetryNoSecondRequestAndRestart) {
    const DWORD self = GetCurrentProcessId();
    standin::SimulatedAdapters adapters;
    PipeAdapterService service;
    NumberedFactory factory;
    GigELibrary library(service, adapters, factory, fixture::kTestAckTimeout);

    std::int32_t count = 77;
    EXPECT_EQ(library.Initialize(), 23) << "no service";
    EXPECT_EQ(library.GetCameraCount(&count), 25);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(factory.next, 0) << "nothing was built";

    {
        fixture::Service running = StartService(self, 2, 2);
        EXPECT_EQ(library.Initialize(), 0) << "the retry with the service up";
        EXPECT_EQ(running.ExitCode(), 0u) << "the service answered this process";
    }
    ASSERT_EQ(library.GetCameraCount(&count), 0);
    EXPECT_EQ(count, 16) << "every simulated model on two adapters";

    {
        // The second start leaves the waiting service alone: it still
        // answers the first request that reaches it, this test's own.
        fixture::Service running = StartService(self, 1, 1);
        EXPECT_EQ(library.Initialize(), 0);
        const AdapterReply reply = RequestAdapters(self);
        EXPECT_EQ(reply.status, 0);
        EXPECT_EQ(reply.adapters.size(), 1u);
        EXPECT_EQ(running.ExitCode(), 0u);
    }
    EXPECT_EQ(factory.next, 16) << "nothing was rebuilt";

    EXPECT_EQ(library.UnInitialize(), 0);
    count = 77;
    EXPECT_EQ(library.GetCameraCount(&count), 25);
    EXPECT_EQ(count, 77);
    {
        fixture::Service running = StartService(self, 1, 1);
        EXPECT_EQ(library.Initialize(), 0) << "start, stop, start";
        EXPECT_EQ(running.ExitCode(), 0u) << "the restart asked the service again";
    }
    ASSERT_EQ(library.GetCameraCount(&count), 0);
    EXPECT_EQ(count, 8) << "one adapter this time";
    ASSERT_NE(library.FindCamera(0), nullptr);
    EXPECT_EQ(library.FindCamera(0)->Index(), 16) << "new cameras, named from 0 by the caller";
    EXPECT_EQ(library.FindCamera(8), nullptr);
}

}  // namespace
}  // namespace kqge
