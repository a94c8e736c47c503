#pragma once
// The device object a camera opens as: the model class of its type code
// (ChooseDeviceClass names it), or the base class for a type whose class
// has no behaviour of its own here.

#include <memory>

#include "core/base_device.h"
#include "core/device_identification.h"

namespace kq {

// Throws std::bad_alloc when the object cannot be made.
std::shared_ptr<BaseDevice> MakeDevice(const DeviceIdentity& identity);

}  // namespace kq
