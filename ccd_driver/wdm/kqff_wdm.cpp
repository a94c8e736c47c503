// KQFF.sys: the WDM function driver around the driver core. Everything the
// driver decides lives in the core; this file turns IRPs into core calls and
// carries out the plug-and-play, power and USB configuration work.
#include <new>

#include "kqff_device.h"
#include "kqff_kernel_ports.h"
#include "kqff_start.h"

extern "C" {
#include <initguid.h>
#include <wdmguid.h>
}

namespace {

using kqff::wdm::KernelUsbSide;
using kqff::wdm::KernelWaitLayer;

constexpr ULONG kPoolTag = 0x4646514B;  // 'KQFF'
constexpr ULONG kVideoPipeMaxTransfer = 0x301000;
constexpr ULONG kSmallPipeMaxTransfer = 128;

const GUID kCameraInterface = {
    kqff::kCameraInterfaceGuid.data1,
    kqff::kCameraInterfaceGuid.data2,
    kqff::kCameraInterfaceGuid.data3,
    {kqff::kCameraInterfaceGuid.data4[0], kqff::kCameraInterfaceGuid.data4[1], kqff::kCameraInterfaceGuid.data4[2],
     kqff::kCameraInterfaceGuid.data4[3], kqff::kCameraInterfaceGuid.data4[4], kqff::kCameraInterfaceGuid.data4[5],
     kqff::kCameraInterfaceGuid.data4[6], kqff::kCameraInterfaceGuid.data4[7]}};

struct KqDeviceExtension {
    PDEVICE_OBJECT self;
    PDEVICE_OBJECT lower;
    PDEVICE_OBJECT physical;
    LONG inUse;  // starts at 1; removal waits for it to reach 0
    BOOLEAN removing;
    BOOLEAN surpriseRemoved;
    BOOLEAN interfaceEnabled;
    KEVENT removeEvent;
    UNICODE_STRING interfaceName;
    PUCHAR frameBuffers[2];
    PUCHAR bulkBuffer;
    PIRP readIrp;
    PURB readUrb;
    KernelUsbSide usb;
    KernelWaitLayer wait;
    kqff::Device* core;  // placement-constructed in coreStorage
    alignas(kqff::Device) unsigned char coreStorage[sizeof(kqff::Device)];
};

KqDeviceExtension* Extension(PDEVICE_OBJECT device) { return static_cast<KqDeviceExtension*>(device->DeviceExtension); }

NTSTATUS CompleteRequest(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

// ------------------------------------------------------------ in-use count

bool AcquireIo(KqDeviceExtension* ext) {
    InterlockedIncrement(&ext->inUse);
    if (ext->removing) {
        if (InterlockedDecrement(&ext->inUse) == 0) KeSetEvent(&ext->removeEvent, IO_NO_INCREMENT, FALSE);
        return false;
    }
    return true;
}

void ReleaseIo(KqDeviceExtension* ext) {
    if (InterlockedDecrement(&ext->inUse) == 0) KeSetEvent(&ext->removeEvent, IO_NO_INCREMENT, FALSE);
}

// --------------------------------------------------------------- passing down

NTSTATUS PassDown(KqDeviceExtension* ext, PIRP irp) {
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(ext->lower, irp);
}

NTSTATUS SignalOnCompletion(PDEVICE_OBJECT, PIRP, PVOID event) {
    KeSetEvent(static_cast<PKEVENT>(event), IO_NO_INCREMENT, FALSE);
    return STATUS_MORE_PROCESSING_REQUIRED;
}

NTSTATUS ForwardAndWait(KqDeviceExtension* ext, PIRP irp) {
    KEVENT done;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    IoCopyCurrentIrpStackLocationToNext(irp);
    IoSetCompletionRoutine(irp, &SignalOnCompletion, &done, TRUE, TRUE, TRUE);
    NTSTATUS status = IoCallDriver(ext->lower, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        status = irp->IoStatus.Status;
    }
    return status;
}

// ------------------------------------------------------------ interface

void EnableInterface(KqDeviceExtension* ext, bool enable) {
    if (!ext->interfaceName.Buffer || ext->interfaceEnabled == enable) return;
    if (NT_SUCCESS(IoSetDeviceInterfaceState(&ext->interfaceName, enable ? TRUE : FALSE)))
        ext->interfaceEnabled = enable;
}

void FreeInterfaceName(KqDeviceExtension* ext) {
    if (ext->interfaceName.Buffer) RtlFreeUnicodeString(&ext->interfaceName);
    ext->interfaceName.Buffer = nullptr;
}

// ------------------------------------------------------------ start / stop

NTSTATUS SelectConfiguration(KqDeviceExtension* ext) {
    auto& usb = ext->usb;
    // Device descriptor: the vendor and product decide the frame sizing.
    kqff::UsbIdentity identity;
    NTSTATUS status = kqff::ReadUsbIdentity(usb, identity);
    if (!NT_SUCCESS(status)) return status;
    ext->core->SetUsbIdentity(identity.vendorId, identity.productId);

    std::uint32_t fullLength = 0;
    status = kqff::ReadConfigurationHead(usb, fullLength);
    if (!NT_SUCCESS(status)) return status;
    auto* config =
        static_cast<PUSB_CONFIGURATION_DESCRIPTOR>(ExAllocatePoolWithTag(NonPagedPool, fullLength, kPoolTag));
    if (!config) return STATUS_INSUFFICIENT_RESOURCES;
    RtlZeroMemory(config, fullLength);
    std::uint32_t transferred = 0;
    status = kqff::ReadConfiguration(usb, std::span(reinterpret_cast<std::uint8_t*>(config), fullLength), transferred);
    PURB select = nullptr;
    if (NT_SUCCESS(status)) {
        PUSB_INTERFACE_DESCRIPTOR iface = USBD_ParseConfigurationDescriptorEx(config, config, -1, -1, -1, -1, -1);
        if (!iface) status = STATUS_DEVICE_CONFIGURATION_ERROR;
        USBD_INTERFACE_LIST_ENTRY list[2] = {{iface, nullptr}, {nullptr, nullptr}};
        if (NT_SUCCESS(status)) select = USBD_CreateConfigurationRequestEx(config, list);
        if (NT_SUCCESS(status) && !select) status = STATUS_INSUFFICIENT_RESOURCES;
        if (NT_SUCCESS(status)) {
            PUSBD_INTERFACE_INFORMATION info = list[0].Interface;
            const ULONG pipes = info->NumberOfPipes;
            for (ULONG i = 0; i < pipes; ++i)
                info->Pipes[i].MaximumTransferSize = i == 1 ? kVideoPipeMaxTransfer : kSmallPipeMaxTransfer;
            status = usb.SubmitUrb(select);
            if (NT_SUCCESS(status) && !USBD_SUCCESS(select->UrbHeader.Status))
                status = STATUS_DEVICE_CONFIGURATION_ERROR;
            // Without the command and video pipes the camera cannot be served.
            if (NT_SUCCESS(status) && pipes < 2) status = STATUS_DEVICE_CONFIGURATION_ERROR;
            if (NT_SUCCESS(status)) {
                info = &select->UrbSelectConfiguration.Interface;
                usb.SetPipes(info->Pipes[0].PipeHandle, info->Pipes[1].PipeHandle,
                             pipes == 3 ? info->Pipes[2].PipeHandle : nullptr);
            }
        }
    }
    if (select) ExFreePool(select);
    ExFreePoolWithTag(config, kPoolTag);
    return status;
}

void StopDevice(KqDeviceExtension* ext) {
    ext->core->DeviceStop();
    ext->usb.ClearPipes();
}

void FreeResources(KqDeviceExtension* ext) {
    if (ext->core) {
        ext->core->~Device();
        ext->core = nullptr;
    }
    if (ext->readIrp) IoFreeIrp(ext->readIrp);
    if (ext->readUrb) ExFreePoolWithTag(ext->readUrb, kPoolTag);
    if (ext->bulkBuffer) ExFreePoolWithTag(ext->bulkBuffer, kPoolTag);
    for (PUCHAR& buffer : ext->frameBuffers) {
        if (buffer) ExFreePoolWithTag(buffer, kPoolTag);
        buffer = nullptr;
    }
    ext->readIrp = nullptr;
    ext->readUrb = nullptr;
    ext->bulkBuffer = nullptr;
}

// ------------------------------------------------------------ dispatch

NTSTATUS DispatchCreateClose(PDEVICE_OBJECT device, PIRP irp) {
    KqDeviceExtension* ext = Extension(device);
    if (!AcquireIo(ext)) return CompleteRequest(irp, STATUS_DELETE_PENDING, 0);
    NTSTATUS status = STATUS_SUCCESS;
    if (IoGetCurrentIrpStackLocation(irp)->MajorFunction == IRP_MJ_CREATE)
        ext->core->Open();
    else
        status = ext->core->Close();
    CompleteRequest(irp, status, 0);
    ReleaseIo(ext);
    return status;
}

NTSTATUS DispatchRead(PDEVICE_OBJECT device, PIRP irp) {
    KqDeviceExtension* ext = Extension(device);
    if (!AcquireIo(ext)) return CompleteRequest(irp, STATUS_UNSUCCESSFUL, 0);
    kqff::RequestResult result{STATUS_UNSUCCESSFUL, 0};
    if (irp->MdlAddress) {
        auto* address = static_cast<std::uint8_t*>(MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority));
        const ULONG length = MmGetMdlByteCount(irp->MdlAddress);
        if (address) result = ext->core->ReadFrame(std::span<std::uint8_t>(address, length));
    }
    CompleteRequest(irp, result.status, result.information);
    ReleaseIo(ext);
    return result.status;
}

NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    KqDeviceExtension* ext = Extension(device);
    if (!AcquireIo(ext)) return CompleteRequest(irp, STATUS_UNSUCCESSFUL, 0);
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    auto* system = static_cast<std::uint8_t*>(irp->AssociatedIrp.SystemBuffer);
    const ULONG inLength = system ? stack->Parameters.DeviceIoControl.InputBufferLength : 0;
    const ULONG outLength = system ? stack->Parameters.DeviceIoControl.OutputBufferLength : 0;
    // METHOD_BUFFERED: one system buffer holds the input and takes the output;
    // the core reads the input before it writes.
    const kqff::RequestResult result = ext->core->Control(code, std::span<const std::uint8_t>(system, inLength),
                                                          std::span<std::uint8_t>(system, outLength));
    CompleteRequest(irp, result.status, result.information);
    ReleaseIo(ext);
    return result.status;
}

NTSTATUS DispatchSystemControl(PDEVICE_OBJECT device, PIRP irp) {
    KqDeviceExtension* ext = Extension(device);
    if (!AcquireIo(ext)) return CompleteRequest(irp, STATUS_DELETE_PENDING, 0);
    const NTSTATUS status = PassDown(ext, irp);
    ReleaseIo(ext);
    return status;
}

NTSTATUS DispatchPower(PDEVICE_OBJECT device, PIRP irp) {
    KqDeviceExtension* ext = Extension(device);
    PoStartNextPowerIrp(irp);
    // Held across the call so that removal cannot detach the lower device
    // while a power request is on its way down.
    if (!AcquireIo(ext)) return CompleteRequest(irp, STATUS_DELETE_PENDING, 0);
    IoCopyCurrentIrpStackLocationToNext(irp);
    const NTSTATUS status = PoCallDriver(ext->lower, irp);
    ReleaseIo(ext);
    return status;
}

NTSTATUS DispatchPnp(PDEVICE_OBJECT device, PIRP irp) {
    KqDeviceExtension* ext = Extension(device);
    if (!AcquireIo(ext)) return CompleteRequest(irp, STATUS_DELETE_PENDING, 0);
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status = STATUS_SUCCESS;
    switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE:
        status = ForwardAndWait(ext, irp);
        if (NT_SUCCESS(status)) status = SelectConfiguration(ext);
        if (NT_SUCCESS(status)) {
            ext->surpriseRemoved = FALSE;
            // Clients see the camera only once it can be served.
            EnableInterface(ext, true);
        } else {
            ext->usb.ClearPipes();
        }
        CompleteRequest(irp, status, 0);
        break;
    case IRP_MN_STOP_DEVICE:
        if (!ext->surpriseRemoved) EnableInterface(ext, false);
        StopDevice(ext);
        status = PassDown(ext, irp);
        break;
    case IRP_MN_SURPRISE_REMOVAL:
        EnableInterface(ext, false);
        FreeInterfaceName(ext);
        StopDevice(ext);
        ext->surpriseRemoved = TRUE;
        irp->IoStatus.Status = STATUS_SUCCESS;
        status = PassDown(ext, irp);
        break;
    case IRP_MN_REMOVE_DEVICE: {
        ext->removing = TRUE;
        ReleaseIo(ext);  // this request's count
        ReleaseIo(ext);  // the initial count
        KeWaitForSingleObject(&ext->removeEvent, Executive, KernelMode, FALSE, nullptr);
        StopDevice(ext);
        irp->IoStatus.Status = STATUS_SUCCESS;
        status = PassDown(ext, irp);
        if (!ext->surpriseRemoved) EnableInterface(ext, false);
        FreeInterfaceName(ext);
        FreeResources(ext);
        IoDetachDevice(ext->lower);
        IoDeleteDevice(device);
        return status;
    }
    case IRP_MN_QUERY_CAPABILITIES: {
        PDEVICE_CAPABILITIES caps = stack->Parameters.DeviceCapabilities.Capabilities;
        if (caps->Version < 1) {
            status = PassDown(ext, irp);
            break;
        }
        status = ForwardAndWait(ext, irp);
        if (NT_SUCCESS(status)) caps->SurpriseRemovalOK = TRUE;
        CompleteRequest(irp, status, irp->IoStatus.Information);
        break;
    }
    default: status = PassDown(ext, irp); break;
    }
    ReleaseIo(ext);
    return status;
}

// ------------------------------------------------------------ add device

NTSTATUS AddDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT physical) {
    PDEVICE_OBJECT device = nullptr;
    NTSTATUS status = IoCreateDevice(driver, sizeof(KqDeviceExtension), nullptr, FILE_DEVICE_UNKNOWN,
                                     FILE_AUTOGENERATED_DEVICE_NAME, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    KqDeviceExtension* ext = Extension(device);
    RtlZeroMemory(ext, sizeof *ext);
    new (&ext->usb) KernelUsbSide();
    new (&ext->wait) KernelWaitLayer();
    ext->self = device;
    ext->physical = physical;
    ext->inUse = 1;
    KeInitializeEvent(&ext->removeEvent, NotificationEvent, FALSE);
    ext->wait.Initialize();

    device->Flags |= DO_DIRECT_IO;
    if (physical->Flags & DO_POWER_PAGABLE) device->Flags |= DO_POWER_PAGABLE;

    ext->lower = IoAttachDeviceToDeviceStack(device, physical);
    if (!ext->lower) {
        IoDeleteDevice(device);
        return STATUS_NO_SUCH_DEVICE;
    }
    status = IoRegisterDeviceInterface(physical, &kCameraInterface, nullptr, &ext->interfaceName);
    if (!NT_SUCCESS(status)) {
        IoDetachDevice(ext->lower);
        IoDeleteDevice(device);
        return status;
    }

    ext->frameBuffers[0] = static_cast<PUCHAR>(ExAllocatePoolWithTag(NonPagedPool, kqff::kFrameBufferBytes, kPoolTag));
    ext->frameBuffers[1] = static_cast<PUCHAR>(ExAllocatePoolWithTag(NonPagedPool, kqff::kFrameBufferBytes, kPoolTag));
    ext->bulkBuffer = static_cast<PUCHAR>(ExAllocatePoolWithTag(NonPagedPool, kqff::kChunkBytes, kPoolTag));
    ext->readUrb =
        static_cast<PURB>(ExAllocatePoolWithTag(NonPagedPool, sizeof(_URB_BULK_OR_INTERRUPT_TRANSFER), kPoolTag));
    ext->readIrp = IoAllocateIrp(static_cast<CCHAR>(ext->lower->StackSize + 1), FALSE);
    if (!ext->frameBuffers[0] || !ext->frameBuffers[1] || !ext->bulkBuffer || !ext->readUrb || !ext->readIrp) {
        FreeResources(ext);
        FreeInterfaceName(ext);
        IoDetachDevice(ext->lower);
        IoDeleteDevice(device);
        return STATUS_INSUFFICIENT_RESOURCES;
    }
    RtlZeroMemory(ext->frameBuffers[0], kqff::kFrameBufferBytes);
    RtlZeroMemory(ext->frameBuffers[1], kqff::kFrameBufferBytes);
    RtlZeroMemory(ext->readUrb, sizeof(_URB_BULK_OR_INTERRUPT_TRANSFER));
    ext->usb.Initialize(ext->lower, ext->readIrp, ext->readUrb);

    kqff::DeviceMemory memory;
    memory.frameBuffer0 = {ext->frameBuffers[0], kqff::kFrameBufferBytes};
    memory.frameBuffer1 = {ext->frameBuffers[1], kqff::kFrameBufferBytes};
    memory.bulkBuffer = {ext->bulkBuffer, kqff::kChunkBytes};
    ext->core = new (ext->coreStorage) kqff::Device(ext->usb, ext->wait, memory);

    // Last: from here on the I/O manager may send requests.
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

VOID DriverUnload(PDRIVER_OBJECT) {}

}  // namespace

// No C++ runtime in the kernel: a pure virtual call is a driver bug.
extern "C" void __cxa_pure_virtual() { KeBugCheckEx(0xE2, 0, 0, 0, 0); }

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    driver->DriverUnload = &DriverUnload;
    driver->DriverExtension->AddDevice = &AddDevice;
    driver->MajorFunction[IRP_MJ_CREATE] = &DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = &DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_READ] = &DispatchRead;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = &DispatchDeviceControl;
    driver->MajorFunction[IRP_MJ_POWER] = &DispatchPower;
    driver->MajorFunction[IRP_MJ_SYSTEM_CONTROL] = &DispatchSystemControl;
    driver->MajorFunction[IRP_MJ_PNP] = &DispatchPnp;
    return STATUS_SUCCESS;
}
