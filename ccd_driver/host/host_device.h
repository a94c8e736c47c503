// A driver core with its memory and a host wait layer, ready to serve
// requests in-process over any USB side (the SDK's simulated device and the
// tests use it with the simulated camera).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "host_wait_layer.h"
#include "kqff_device.h"

namespace kqff::host {

class HostDevice {
public:
    // The USB side must outlive this object.
    explicit HostDevice(UsbSide& usb, std::uint16_t vendorId = 0, std::uint16_t productId = 0);
    // Stops streaming (as a device stop does) before the memory goes.
    ~HostDevice();
    HostDevice(const HostDevice&) = delete;
    HostDevice& operator=(const HostDevice&) = delete;

    Device& device() { return *device_; }
    Device* operator->() { return device_.get(); }

private:
    struct Free {
        void operator()(std::uint8_t* bytes) const { std::free(bytes); }
    };
    using Buffer = std::unique_ptr<std::uint8_t[], Free>;
    static Buffer ZeroedBuffer(std::size_t bytes);

    Buffer frameBuffers_[2];
    Buffer bulkBuffer_;
    HostWaitLayer wait_;
    std::unique_ptr<Device> device_;
};

}  // namespace kqff::host
