// The Win32 driver port under Wine. No capture driver loads here, so a named
// pipe stands in for the driver's handle: whole messages come back from
// ReadFile like frames, a stop cancels the pending read, and device control
// requests, which a pipe refuses, come back as refusals.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "cnic.h"
#include "kernel_handle.h"
#include "win32_driver_port.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct PipePair {
    PipePair() {
        const std::wstring name = LR"(\\.\pipe\kqge_port_test_)" + std::to_wstring(GetCurrentProcessId());
        server = KernelHandle(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                               PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 65536, 65536,
                                               0, nullptr));
        client = KernelHandle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_OVERLAPPED, nullptr));
        DWORD mode = PIPE_READMODE_MESSAGE;
        SetNamedPipeHandleState(client.Get(), &mode, nullptr, nullptr);
    }
    void Send(const Bytes& message) {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(server.Get(), message.data(), static_cast<DWORD>(message.size()), &written, nullptr));
    }
    KernelHandle server;
    KernelHandle client;
};

class OneCamera final : public ChannelHost, public FrameSink {
public:
    std::size_t CreateCameras(CNIC&, std::span<const DiscoveryRecord>) override { return 4096; }
    FrameSink* FindByPort(std::uint16_t port) override { return port == 55005 ? this : nullptr; }
    void StoreFrame(const DeliveredFrame& frame) override {
        std::lock_guard guard(lock);
        frames.emplace_back(frame.bytes.begin(), frame.bytes.end());
        arrived.notify_all();
    }
    bool TriggerOn() const override { return false; }
    bool ContinuousCapture() const override { return false; }
    void StartSnapshot(const DeliveredFrame&) override {}

    std::mutex lock;
    std::condition_variable arrived;
    std::vector<Bytes> frames;
};

TEST(Win32DriverPortTest, ReadsWholeMessagesAndStopsWithAReadPending) {
    PipePair pipe;
    ASSERT_TRUE(pipe.server && pipe.client);
    Win32DriverPort port(pipe.client.Get(), 7);

    Bytes first(300, 0x11), second(60, 0x22);
    first[42] = second[42] = 55005 >> 8;
    first[43] = second[43] = 55005 & 0xFF;
    pipe.Send(first);
    std::vector<std::uint8_t> buffer(4096, 0);
    const auto read = port.ReadFrame(buffer);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(*read)), first);

    OneCamera camera;
    CNIC nic(&port, nullptr, &camera);
    // A pipe takes no device control request: the event registration and
    // the device list are refused, and the rest of the opening still runs.
    EXPECT_EQ(nic.Open(), -1);
    EXPECT_EQ(nic.GetDeviceList(), 36);
    EXPECT_EQ(nic.ReceiveBufferBytes(), 4096u);
    ASSERT_EQ(nic.StartReceive(), 0);
    pipe.Send(second);
    {
        std::unique_lock guard(camera.lock);
        ASSERT_TRUE(camera.arrived.wait_for(guard, std::chrono::seconds(10), [&] { return !camera.frames.empty(); }));
        EXPECT_EQ(camera.frames, std::vector<Bytes>{second});
    }
    // Nothing more comes: the read is pending and the stop cancels it.
    EXPECT_EQ(nic.StopReceive(), 0);
    EXPECT_FALSE(nic.Receiving());
}

TEST(Win32DriverPortTest, TheAcknowledgementEventIsNamedForTheAdapter) {
    PipePair pipe;
    Win32DriverPort port(pipe.client.Get(), 12);
    KernelHandle named(OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Local\\KQGigENic_Ctrl_12"));
    ASSERT_TRUE(named);
    EXPECT_NE(port.AckEventHandle(), (std::array<std::uint8_t, 4>{}));
    EXPECT_FALSE(port.WaitAck(std::chrono::milliseconds(0)));
    SetEvent(named.Get());
    EXPECT_TRUE(port.WaitAck(std::chrono::milliseconds(0)));
    EXPECT_TRUE(port.WaitAck(std::chrono::milliseconds(0)));  // manual reset
    port.ResetAck();
    EXPECT_FALSE(port.WaitAck(std::chrono::milliseconds(0)));
}

}  // namespace
}  // namespace kqge
