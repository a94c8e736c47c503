// Kernel implementations of the driver core's two seams: the USB side over
// URBs sent to the bus driver, and the wait layer over dispatcher objects.
#pragma once

extern "C" {
#include <ntddk.h>
#include <usb.h>
#include <usbdlib.h>
#include <usbioctl.h>
}

#include "kqff_ports.h"

namespace kqff::wdm {

class KernelUsbSide final : public UsbSide {
public:
    void Initialize(PDEVICE_OBJECT lower, PIRP readIrp, PURB readUrb);
    void SetPipes(USBD_PIPE_HANDLE command, USBD_PIPE_HANDLE video, USBD_PIPE_HANDLE response);
    void ClearPipes() { SetPipes(nullptr, nullptr, nullptr); }

    bool HasPipe(UsbPipe pipe) const override;
    NtStatus BulkOut(UsbPipe pipe, std::span<const std::uint8_t> data) override;
    NtStatus BulkIn(UsbPipe pipe, std::span<std::uint8_t> data, std::uint32_t& transferred) override;
    void SubmitVideoRead(std::span<std::uint8_t> buffer, VideoReadCompletion& done) override;
    NtStatus GetDescriptor(std::uint8_t type, std::span<std::uint8_t> data, std::uint32_t& transferred) override;
    NtStatus GetPortStatus(std::uint32_t& portStatus) override;
    NtStatus ResetPort() override;
    NtStatus AbortPipe(UsbPipe pipe) override;
    NtStatus ResetPipe(UsbPipe pipe) override;

    // Synchronous internal request to the bus driver.
    NTSTATUS SubmitUrb(PURB urb);

private:
    NTSTATUS PortRequest(ULONG ioctl, PVOID argument);
    NtStatus BulkTransfer(UsbPipe pipe, PUCHAR data, ULONG length, bool in, ULONG& transferred);
    NtStatus PipeRequest(UsbPipe pipe, USHORT function);
    USBD_PIPE_HANDLE Handle(UsbPipe pipe) const;
    static NTSTATUS ReadComplete(PDEVICE_OBJECT, PIRP irp, PVOID context);

    PDEVICE_OBJECT lower_ = nullptr;
    USBD_PIPE_HANDLE pipes_[3] = {};
    PIRP readIrp_ = nullptr;
    PURB readUrb_ = nullptr;
    VideoReadCompletion* readDone_ = nullptr;
};

class KernelWaitLayer final : public WaitLayer {
public:
    void Initialize();

    void SetEvent(KqEvent event) override;
    void ClearEvent(KqEvent event) override;
    int WaitAny(std::span<const KqEvent> events, std::uint32_t timeoutMs) override;
    void Lock(KqLock lock) override;
    void Unlock(KqLock lock) override;
    NtStatus StartThread(void (*entry)(void*), void* context) override;
    void JoinThread() override;
    void Sleep(std::uint32_t milliseconds) override;

private:
    static VOID ThreadMain(PVOID self);

    KEVENT events_[kEventCount];
    // Mutexes, not fast mutexes: the holder sends synchronous URBs, whose
    // completion needs special kernel APCs that APC_LEVEL would block.
    KMUTEX locks_[kLockCount];
    PKTHREAD thread_ = nullptr;
    void (*entry_)(void*) = nullptr;
    void* context_ = nullptr;
};

}  // namespace kqff::wdm
