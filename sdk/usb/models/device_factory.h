#pragma once
// The device object a camera opens as: the model class of its type code
// (ChooseDeviceClass names it), or the base class for a type whose class
// has no behaviour of its own here.

#include <memory>

#include "core/base_device.h"
#include "core/device_identification.h"

namespace kq {

// What a build chooses for every device object it makes.
struct DeviceOptions {
    // The FPGA family waits for the sensor to settle after each capture
    // parameter request; a build whose caller paces its own requests skips it.
    bool fpgaSettlingPause = true;
};

// Throws std::bad_alloc when the object cannot be made.
std::shared_ptr<BaseDevice> MakeDevice(const DeviceIdentity& identity, const DeviceOptions& options = {});

}  // namespace kq
