#pragma once
// Which camera model sits behind a device instance id: the USB vendor and
// product identifiers in the id are looked up in three ordered pattern
// tables (type code, monochrome sensor, model flag).

#include <cstdint>
#include <span>
#include <string_view>

namespace kq {

struct TypePattern {
    std::u16string_view pattern;  // "VID_xxxx&PID_xxxx", 17 characters
    std::int32_t typeCode;        // 1..25
};

// The product tables, in match order.
std::span<const TypePattern> DeviceTypeTable();
std::span<const std::u16string_view> DeviceColorTable();
std::span<const std::u16string_view> DeviceModelFlagTable();

// 1 when pattern occurs anywhere in instanceId (case-sensitive), else 0.
int MatchHardwareId(std::u16string_view instanceId, std::u16string_view pattern);

struct DeviceIdentity {
    std::int32_t typeCode = 0;   // 0 = no known camera
    std::int32_t colorType = 0;  // 1 = monochrome sensor, 0 = colour
    std::int32_t modelFlag = 0;  // 1 = trigger through bit 7 of the control byte
};

// Identifies one interface from its instance id; an empty id is no camera.
DeviceIdentity IdentifyInstanceId(std::u16string_view instanceId);

}  // namespace kq
