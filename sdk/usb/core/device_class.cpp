#include "device_class.h"

namespace kq {

DeviceClass ChooseDeviceClass(std::int32_t typeCode, std::int32_t colorType) {
    switch (typeCode) {
    case 0: return DeviceClass::none;
    case 1:
    case 2: return DeviceClass::CFormerDevice;
    case 4: return DeviceClass::CKQOrsikDevice;
    case 6: return DeviceClass::CKQPelvarDevice;
    case 7: return DeviceClass::CKQZundra_Device;
    case 8: return DeviceClass::CKQQuessa_Device;
    case 9: return DeviceClass::CKQNewChip;
    case 10:
        if (colorType == 1) return DeviceClass::CKQDoriskDevice;
        if (colorType == 0) return DeviceClass::CKQAlvinoDevice;
        return DeviceClass::CBaseDevice;
    case 11: return DeviceClass::CKQNavelo_FPGA;
    case 12: return DeviceClass::CKQBrisel_FPGA;
    case 13: return DeviceClass::CKQJorvel_FPGA;
    case 14: return DeviceClass::CKQLismar;
    case 15: return DeviceClass::CKQRovena_YUV;
    case 16: return DeviceClass::CKQNaprel_FPGA;
    case 17: return DeviceClass::CKQBelun_LED;
    case 18: return DeviceClass::CKQTEST;
    case 19: return DeviceClass::CKQWimbro_New;
    case 20: return DeviceClass::CKQYastro_New;
    case 21: return DeviceClass::CKQKelmar_New;
    case 22: return DeviceClass::CKQPelvarsmall;
    case 23: return DeviceClass::CKQGurnipDevice;
    case 24: return DeviceClass::CKQEbrant_FPGA;
    case 25: return DeviceClass::CKQQuessa_FPGA;
    default: return DeviceClass::CBaseDevice;  // 3, 5 and unknown codes
    }
}

std::string_view DeviceClassName(DeviceClass deviceClass) {
    switch (deviceClass) {
    case DeviceClass::none: return "none";
    case DeviceClass::CFormerDevice: return "CFormerDevice";
    case DeviceClass::CBaseDevice: return "CBaseDevice";
    case DeviceClass::CKQOrsikDevice: return "CKQOrsikDevice";
    case DeviceClass::CKQPelvarDevice: return "CKQPelvarDevice";
    case DeviceClass::CKQZundra_Device: return "CKQZundra_Device";
    case DeviceClass::CKQQuessa_Device: return "CKQQuessa_Device";
    case DeviceClass::CKQNewChip: return "CKQNewChip";
    case DeviceClass::CKQDoriskDevice: return "CKQDoriskDevice";
    case DeviceClass::CKQAlvinoDevice: return "CKQAlvinoDevice";
    case DeviceClass::CKQNavelo_FPGA: return "CKQNavelo_FPGA";
    case DeviceClass::CKQBrisel_FPGA: return "CKQBrisel_FPGA";
    case DeviceClass::CKQJorvel_FPGA: return "CKQJorvel_FPGA";
    case DeviceClass::CKQLismar: return "CKQLismar";
    case DeviceClass::CKQRovena_YUV: return "CKQRovena_YUV";
    case DeviceClass::CKQNaprel_FPGA: return "CKQNaprel_FPGA";
    case DeviceClass::CKQBelun_LED: return "CKQBelun_LED";
    case DeviceClass::CKQTEST: return "CKQTEST";
    case DeviceClass::CKQWimbro_New: return "CKQWimbro_New";
    case DeviceClass::CKQYastro_New: return "CKQYastro_New";
    case DeviceClass::CKQKelmar_New: return "CKQKelmar_New";
    case DeviceClass::CKQPelvarsmall: return "CKQPelvarsmall";
    case DeviceClass::CKQGurnipDevice: return "CKQGurnipDevice";
    case DeviceClass::CKQEbrant_FPGA: return "CKQEbrant_FPGA";
    case DeviceClass::CKQQuessa_FPGA: return "CKQQuessa_FPGA";
    }
    return "?";
}

std::int32_t ReportedDeviceType(std::int32_t typeCode) {
    switch (typeCode) {
    case 19: return 11;
    case 20: return 13;
    case 21:
    case 24:
    case 25: return 8;
    case 22:
    case 23: return 6;
    default: return typeCode;
    }
}

}  // namespace kq
