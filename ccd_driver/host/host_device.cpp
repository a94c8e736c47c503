#include "host_device.h"

namespace kqff::host {

HostDevice::HostDevice(UsbSide& usb, std::uint16_t vendorId, std::uint16_t productId) {
  // Zeroed like the driver's pool allocations.
  frameBuffers_[0] = std::make_unique<std::uint8_t[]>(kFrameBufferBytes);
  frameBuffers_[1] = std::make_unique<std::uint8_t[]>(kFrameBufferBytes);
  bulkBuffer_ = std::make_unique<std::uint8_t[]>(kChunkBytes);
  DeviceMemory memory;
  memory.frameBuffer0 = {frameBuffers_[0].get(), kFrameBufferBytes};
  memory.frameBuffer1 = {frameBuffers_[1].get(), kFrameBufferBytes};
  memory.bulkBuffer = {bulkBuffer_.get(), kChunkBytes};
  device_ = std::make_unique<Device>(usb, wait_, memory);
  device_->SetUsbIdentity(vendorId, productId);
}

HostDevice::~HostDevice() { device_->DeviceStop(); }

}  // namespace kqff::host
