#pragma once
// The device class that a type code opens, and the type code reported to
// callers (newer models report the older model they replace).

#include <cstdint>
#include <string_view>

namespace kq {

enum class DeviceClass {
    none,  // type 0: no camera
    CFormerDevice,
    CBaseDevice,
    CKQOrsikDevice,
    CKQPelvarDevice,
    CKQZundra_Device,
    CKQQuessa_Device,
    CKQNewChip,
    CKQDoriskDevice,
    CKQAlvinoDevice,
    CKQNavelo_FPGA,
    CKQBrisel_FPGA,
    CKQJorvel_FPGA,
    CKQLismar,
    CKQRovena_YUV,
    CKQNaprel_FPGA,
    CKQBelun_LED,
    CKQTEST,
    CKQWimbro_New,
    CKQYastro_New,
    CKQKelmar_New,
    CKQPelvarsmall,
    CKQGurnipDevice,
    CKQEbrant_FPGA,
    CKQQuessa_FPGA,
};

// Type 10 is the only code whose class depends on the colour type; a colour
// type other than 0 or 1 falls back to the base class there.
DeviceClass ChooseDeviceClass(std::int32_t typeCode, std::int32_t colorType);
std::string_view DeviceClassName(DeviceClass deviceClass);
std::int32_t ReportedDeviceType(std::int32_t typeCode);

}  // namespace kq
