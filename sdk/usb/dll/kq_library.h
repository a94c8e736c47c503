#pragma once
// The one device table of the loaded library.

#include "core/device_library.h"

namespace kq {
DeviceLibrary& Library();
}
