#include "win32_driver_port.h"

#include <string>

namespace kqge {
namespace {

// Waits for an overlapped request; the bytes it moved, or empty on failure.
std::optional<std::size_t> Finish(HANDLE handle, OVERLAPPED& overlapped, BOOL started) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return std::nullopt;
    DWORD moved = 0;
    if (!GetOverlappedResult(handle, &overlapped, &moved, TRUE)) return std::nullopt;
    return moved;
}

}  // namespace

Win32DriverPort::Win32DriverPort(HANDLE driver, std::int32_t adapterNumber)
    : driver_(driver),
      ackEvent_(
          CreateEventW(nullptr, TRUE, FALSE, (L"Local\\KQGigENic_Ctrl_" + std::to_wstring(adapterNumber)).c_str())),
      readDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

std::optional<std::size_t> Win32DriverPort::Control(DriverControl code, std::span<const std::uint8_t> input,
                                                    std::span<std::uint8_t> output) {
    KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return std::nullopt;
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.Get();
    const BOOL started = DeviceIoControl(driver_, static_cast<DWORD>(code),
                                         input.empty() ? nullptr : const_cast<std::uint8_t*>(input.data()),
                                         static_cast<DWORD>(input.size()), output.empty() ? nullptr : output.data(),
                                         static_cast<DWORD>(output.size()), nullptr, &overlapped);
    return Finish(driver_, overlapped, started);
}

bool Win32DriverPort::WaitAck(std::chrono::milliseconds timeout) {
    return ackEvent_ && WaitForSingleObject(ackEvent_.Get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void Win32DriverPort::ResetAck() {
    if (ackEvent_) ResetEvent(ackEvent_.Get());
}

std::array<std::uint8_t, 4> Win32DriverPort::AckEventHandle() const {
    // The driver takes the handle as a 32-bit value; kernel handles fit.
    const auto value = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(ackEvent_.Get()));
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::optional<std::size_t> Win32DriverPort::ReadFrame(std::span<std::uint8_t> buffer) {
    if (!readDone_) return std::nullopt;
    BOOL started = FALSE;
    {
        std::lock_guard guard(readLock_);
        read_ = OVERLAPPED{};
        read_.hEvent = readDone_.Get();
        ResetEvent(readDone_.Get());
        started = ReadFile(driver_, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &read_);
        reading_ = true;
    }
    const auto moved = Finish(driver_, read_, started);
    std::lock_guard guard(readLock_);
    reading_ = false;
    return moved;
}

void Win32DriverPort::CancelRead() {
    std::lock_guard guard(readLock_);
    if (reading_) CancelIoEx(driver_, &read_);
}

DriverPort* Win32DriverPorts::PortForHandle(std::int64_t driverHandle) {
    const auto handle = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(driverHandle));
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
    ports_.push_back(std::make_unique<Win32DriverPort>(handle, static_cast<std::int32_t>(ports_.size())));
    return ports_.back().get();
}

}  // namespace kqge
