#include "host_device.h"

#include <new>

namespace kqff::host {

HostDevice::Buffer HostDevice::ZeroedBuffer(std::size_t bytes) {
    // calloc hands out fresh zero pages for blocks this large without writing
    // them: a frame buffer costs time only where frames land.
    auto* memory = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    if (memory == nullptr) throw std::bad_alloc();
    return Buffer(memory);
}

HostDevice::HostDevice(UsbSide& usb, std::uint16_t vendorId, std::uint16_t productId) {
    // Zeroed like the driver's pool allocations.
    frameBuffers_[0] = ZeroedBuffer(kFrameBufferBytes);
    frameBuffers_[1] = ZeroedBuffer(kFrameBufferBytes);
    bulkBuffer_ = ZeroedBuffer(kChunkBytes);
    DeviceMemory memory;
    memory.frameBuffer0 = {frameBuffers_[0].get(), kFrameBufferBytes};
    memory.frameBuffer1 = {frameBuffers_[1].get(), kFrameBufferBytes};
    memory.bulkBuffer = {bulkBuffer_.get(), kChunkBytes};
    device_ = std::make_unique<Device>(usb, wait_, memory);
    device_->SetUsbIdentity(vendorId, productId);
}

HostDevice::~HostDevice() { device_->DeviceStop(); }

}  // namespace kqff::host
