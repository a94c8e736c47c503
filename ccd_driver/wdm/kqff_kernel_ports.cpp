#include "kqff_kernel_ports.h"

namespace kqff::wdm {
namespace {

constexpr ULONG kPoolTag = 0x4646514B;  // 'KQFF'

struct PoolBlock {
    explicit PoolBlock(SIZE_T bytes) : p(ExAllocatePoolWithTag(NonPagedPool, bytes, kPoolTag)) {
        if (p) RtlZeroMemory(p, bytes);
    }
    ~PoolBlock() {
        if (p) ExFreePoolWithTag(p, kPoolTag);
    }
    PoolBlock(const PoolBlock&) = delete;
    PoolBlock& operator=(const PoolBlock&) = delete;
    PVOID p;
};

}  // namespace

// ---------------------------------------------------------------- USB side

void KernelUsbSide::Initialize(PDEVICE_OBJECT lower, PIRP readIrp, PURB readUrb) {
    lower_ = lower;
    readIrp_ = readIrp;
    readUrb_ = readUrb;
}

void KernelUsbSide::SetPipes(USBD_PIPE_HANDLE command, USBD_PIPE_HANDLE video, USBD_PIPE_HANDLE response) {
    pipes_[0] = command;
    pipes_[1] = video;
    pipes_[2] = response;
}

USBD_PIPE_HANDLE KernelUsbSide::Handle(UsbPipe pipe) const { return pipes_[static_cast<int>(pipe)]; }

bool KernelUsbSide::HasPipe(UsbPipe pipe) const { return Handle(pipe) != nullptr; }

NTSTATUS KernelUsbSide::SubmitUrb(PURB urb) {
    KEVENT done;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    IO_STATUS_BLOCK io{};
    PIRP irp =
        IoBuildDeviceIoControlRequest(IOCTL_INTERNAL_USB_SUBMIT_URB, lower_, nullptr, 0, nullptr, 0, TRUE, &done, &io);
    if (!irp) return STATUS_INSUFFICIENT_RESOURCES;
    IoGetNextIrpStackLocation(irp)->Parameters.Others.Argument1 = urb;
    NTSTATUS status = IoCallDriver(lower_, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        status = io.Status;
    }
    return status;
}

NTSTATUS KernelUsbSide::PortRequest(ULONG ioctl, PVOID argument) {
    KEVENT done;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    IO_STATUS_BLOCK io{};
    PIRP irp = IoBuildDeviceIoControlRequest(ioctl, lower_, nullptr, 0, nullptr, 0, TRUE, &done, &io);
    if (!irp) return STATUS_INSUFFICIENT_RESOURCES;
    IoGetNextIrpStackLocation(irp)->Parameters.Others.Argument1 = argument;
    NTSTATUS status = IoCallDriver(lower_, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        status = io.Status;
    }
    return status;
}

NtStatus KernelUsbSide::BulkTransfer(UsbPipe pipe, PUCHAR data, ULONG length, bool in, ULONG& transferred) {
    transferred = 0;
    // The request and its buffer come from non-paged pool for every transfer.
    PoolBlock urb(sizeof(_URB_BULK_OR_INTERRUPT_TRANSFER));
    PoolBlock buffer(length ? length : 1);
    if (!urb.p || !buffer.p) return STATUS_INSUFFICIENT_RESOURCES;
    if (!in) RtlCopyMemory(buffer.p, data, length);
    const ULONG flags = (in ? USBD_TRANSFER_DIRECTION_IN : USBD_TRANSFER_DIRECTION_OUT) | USBD_SHORT_TRANSFER_OK;
    UsbBuildInterruptOrBulkTransferRequest(static_cast<PURB>(urb.p), sizeof(_URB_BULK_OR_INTERRUPT_TRANSFER),
                                           Handle(pipe), buffer.p, nullptr, length, flags, nullptr);
    const NTSTATUS status = SubmitUrb(static_cast<PURB>(urb.p));
    if (NT_SUCCESS(status)) {
        transferred = static_cast<PURB>(urb.p)->UrbBulkOrInterruptTransfer.TransferBufferLength;
        if (transferred > length) transferred = length;
        if (in) RtlCopyMemory(data, buffer.p, transferred);
    }
    return status;
}

NtStatus KernelUsbSide::BulkOut(UsbPipe pipe, std::span<const std::uint8_t> data) {
    ULONG transferred = 0;
    return BulkTransfer(pipe, const_cast<PUCHAR>(data.data()), static_cast<ULONG>(data.size()), false, transferred);
}

NtStatus KernelUsbSide::BulkIn(UsbPipe pipe, std::span<std::uint8_t> data, std::uint32_t& transferred) {
    ULONG n = 0;
    const NtStatus status = BulkTransfer(pipe, data.data(), static_cast<ULONG>(data.size()), true, n);
    transferred = n;
    return status;
}

NTSTATUS KernelUsbSide::ReadComplete(PDEVICE_OBJECT, PIRP irp, PVOID context) {
    auto* self = static_cast<KernelUsbSide*>(context);
    const PURB urb = self->readUrb_;
    self->readDone_->OnVideoReadComplete(irp->IoStatus.Status, urb->UrbHeader.Status,
                                         urb->UrbBulkOrInterruptTransfer.TransferBufferLength);
    // The request is ours and is used again for the next read.
    return STATUS_MORE_PROCESSING_REQUIRED;
}

void KernelUsbSide::SubmitVideoRead(std::span<std::uint8_t> buffer, VideoReadCompletion& done) {
    readDone_ = &done;
    IoReuseIrp(readIrp_, STATUS_SUCCESS);
    UsbBuildInterruptOrBulkTransferRequest(readUrb_, sizeof(_URB_BULK_OR_INTERRUPT_TRANSFER), Handle(UsbPipe::Video),
                                           buffer.data(), nullptr, static_cast<ULONG>(buffer.size()),
                                           USBD_TRANSFER_DIRECTION_IN | USBD_SHORT_TRANSFER_OK, nullptr);
    PIO_STACK_LOCATION next = IoGetNextIrpStackLocation(readIrp_);
    next->MajorFunction = IRP_MJ_INTERNAL_DEVICE_CONTROL;
    next->Parameters.DeviceIoControl.IoControlCode = IOCTL_INTERNAL_USB_SUBMIT_URB;
    next->Parameters.Others.Argument1 = readUrb_;
    IoSetCompletionRoutine(readIrp_, &KernelUsbSide::ReadComplete, this, TRUE, TRUE, TRUE);
    // The completion routine runs on every outcome, failures included.
    IoCallDriver(lower_, readIrp_);
}

NtStatus KernelUsbSide::GetDescriptor(std::uint8_t type, std::span<std::uint8_t> data, std::uint32_t& transferred) {
    transferred = 0;
    PoolBlock urb(sizeof(_URB_CONTROL_DESCRIPTOR_REQUEST));
    if (!urb.p) return STATUS_INSUFFICIENT_RESOURCES;
    auto* request = static_cast<PURB>(urb.p);
    const auto length = static_cast<ULONG>(data.size());
    UsbBuildGetDescriptorRequest(request, sizeof(_URB_CONTROL_DESCRIPTOR_REQUEST), type, 0, 0, data.data(), nullptr,
                                 length, nullptr);
    const NTSTATUS status = SubmitUrb(request);
    if (NT_SUCCESS(status)) {
        const ULONG returned = request->UrbControlDescriptorRequest.TransferBufferLength;
        transferred = returned < length ? returned : length;
    }
    return status;
}

NtStatus KernelUsbSide::GetPortStatus(std::uint32_t& portStatus) {
    ULONG status = 0;
    const NTSTATUS result = PortRequest(IOCTL_INTERNAL_USB_GET_PORT_STATUS, &status);
    portStatus = status;
    return result;
}

NtStatus KernelUsbSide::ResetPort() { return PortRequest(IOCTL_INTERNAL_USB_RESET_PORT, nullptr); }

NtStatus KernelUsbSide::PipeRequest(UsbPipe pipe, USHORT function) {
    PoolBlock urb(sizeof(_URB_PIPE_REQUEST));
    if (!urb.p) return STATUS_INSUFFICIENT_RESOURCES;
    auto* request = static_cast<PURB>(urb.p);
    request->UrbHeader.Length = sizeof(_URB_PIPE_REQUEST);
    request->UrbHeader.Function = function;
    request->UrbPipeRequest.PipeHandle = Handle(pipe);
    return SubmitUrb(request);
}

NtStatus KernelUsbSide::AbortPipe(UsbPipe pipe) { return PipeRequest(pipe, URB_FUNCTION_ABORT_PIPE); }

NtStatus KernelUsbSide::ResetPipe(UsbPipe pipe) {
    return PipeRequest(pipe, URB_FUNCTION_SYNC_RESET_PIPE_AND_CLEAR_STALL);
}

// --------------------------------------------------------------- wait layer

void KernelWaitLayer::Initialize() {
    for (int i = 0; i < kEventCount; ++i) {
        const auto e = static_cast<KqEvent>(i);
        KeInitializeEvent(&events_[i], IsManualReset(e) ? NotificationEvent : SynchronizationEvent,
                          IsInitiallySignalled(e) ? TRUE : FALSE);
    }
    for (KMUTEX& m : locks_) KeInitializeMutex(&m, 0);
}

void KernelWaitLayer::SetEvent(KqEvent event) { KeSetEvent(&events_[static_cast<int>(event)], IO_NO_INCREMENT, FALSE); }

void KernelWaitLayer::ClearEvent(KqEvent event) { KeClearEvent(&events_[static_cast<int>(event)]); }

int KernelWaitLayer::WaitAny(std::span<const KqEvent> events, std::uint32_t timeoutMs) {
    PVOID objects[THREAD_WAIT_OBJECTS] = {};
    const ULONG count = events.size() < THREAD_WAIT_OBJECTS ? static_cast<ULONG>(events.size()) : THREAD_WAIT_OBJECTS;
    for (ULONG i = 0; i < count; ++i) objects[i] = &events_[static_cast<int>(events[i])];
    LARGE_INTEGER timeout;
    timeout.QuadPart = -10000LL * timeoutMs;  // relative, 100 ns units
    const NTSTATUS status = KeWaitForMultipleObjects(count, objects, ::WaitAny, Executive, KernelMode, FALSE,
                                                     timeoutMs == kWaitForever ? nullptr : &timeout, nullptr);
    if (status >= STATUS_WAIT_0 && status < static_cast<NTSTATUS>(STATUS_WAIT_0 + count))
        return static_cast<int>(status - STATUS_WAIT_0);
    return kWaitTimedOut;
}

void KernelWaitLayer::Lock(KqLock lock) {
    KeWaitForSingleObject(&locks_[static_cast<int>(lock)], Executive, KernelMode, FALSE, nullptr);
}

void KernelWaitLayer::Unlock(KqLock lock) { KeReleaseMutex(&locks_[static_cast<int>(lock)], FALSE); }

VOID KernelWaitLayer::ThreadMain(PVOID self) {
    auto* layer = static_cast<KernelWaitLayer*>(self);
    layer->entry_(layer->context_);
    PsTerminateSystemThread(STATUS_SUCCESS);
}

NtStatus KernelWaitLayer::StartThread(void (*entry)(void*), void* context) {
    if (thread_) return STATUS_UNSUCCESSFUL;
    entry_ = entry;
    context_ = context;
    HANDLE handle = nullptr;
    NTSTATUS status =
        PsCreateSystemThread(&handle, THREAD_ALL_ACCESS, nullptr, nullptr, nullptr, &KernelWaitLayer::ThreadMain, this);
    if (!NT_SUCCESS(status)) return status;
    PVOID object = nullptr;
    status = ObReferenceObjectByHandle(handle, THREAD_ALL_ACCESS, nullptr, KernelMode, &object, nullptr);
    ZwClose(handle);
    if (!NT_SUCCESS(status)) return status;
    thread_ = static_cast<PKTHREAD>(object);
    return STATUS_SUCCESS;
}

void KernelWaitLayer::JoinThread() {
    if (!thread_) return;
    KeWaitForSingleObject(thread_, Executive, KernelMode, FALSE, nullptr);
    ObDereferenceObject(thread_);
    thread_ = nullptr;
}

void KernelWaitLayer::Sleep(std::uint32_t milliseconds) {
    LARGE_INTEGER interval;
    interval.QuadPart = -10000LL * (milliseconds ? milliseconds : 1);
    KeDelayExecutionThread(KernelMode, FALSE, &interval);
}

}  // namespace kqff::wdm
