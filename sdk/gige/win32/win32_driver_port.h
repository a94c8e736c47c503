// The capture driver reached through the handle the adapter service gave an
// adapter: control requests as DeviceIoControl, frames as ReadFile, a stop
// as CancelIoEx of the pending read only. Every request is overlapped and
// waited for, so it works whether the service opened the driver for
// overlapped I/O or not. The handle is the service's: never closed here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "driver_port.h"
#include "kernel_handle.h"
#include "nic_manager.h"

namespace kqge {

class Win32DriverPort final : public DriverPort {
public:
    // The acknowledgement event is named "Local\KQGigENic_Ctrl_<number>".
    Win32DriverPort(HANDLE driver, std::int32_t adapterNumber);
    Win32DriverPort(const Win32DriverPort&) = delete;
    Win32DriverPort& operator=(const Win32DriverPort&) = delete;
    ~Win32DriverPort() = default;

    std::optional<std::size_t> Control(DriverControl code, std::span<const std::uint8_t> input,
                                       std::span<std::uint8_t> output) override;
    bool WaitAck(std::chrono::milliseconds timeout) override;
    void ResetAck() override;
    std::array<std::uint8_t, 4> AckEventHandle() const override;
    std::optional<std::size_t> ReadFrame(std::span<std::uint8_t> buffer) override;
    void CancelRead() override;

private:
    HANDLE driver_;
    KernelHandle ackEvent_;
    KernelHandle readDone_;
    std::mutex readLock_;  // guards the read's OVERLAPPED against a cancel
    OVERLAPPED read_{};
    bool reading_ = false;
};

// The ports of the adapter records' handles, made on first use and owned
// here; the invalid handles name no port.
class Win32DriverPorts final : public DriverPortSource {
public:
    DriverPort* PortForHandle(std::int64_t driverHandle) override;

private:
    std::vector<std::unique_ptr<Win32DriverPort>> ports_;
};

}  // namespace kqge
