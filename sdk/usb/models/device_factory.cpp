#include "device_factory.h"

#include "belun_led.h"
#include "brisel_fpga.h"
#include "former_device.h"
#include "naprel_fpga.h"
#include "navelo_fpga.h"
#include "orsik_device.h"
#include "rovena_yuv.h"

namespace kq {

std::shared_ptr<BaseDevice> MakeDevice(const DeviceIdentity& identity) {
    const DeviceClass chosen = ChooseDeviceClass(identity.typeCode, identity.colorType);
    switch (chosen) {
    case DeviceClass::CFormerDevice: return std::make_shared<CFormerDevice>(identity);
    case DeviceClass::CKQBelun_LED: return std::make_shared<CKQBelun_LED>(identity);
    case DeviceClass::CKQNavelo_FPGA: return std::make_shared<CKQNavelo_FPGA>(identity);
    case DeviceClass::CKQBrisel_FPGA: return std::make_shared<CKQBrisel_FPGA>(identity);
    case DeviceClass::CKQJorvel_FPGA: return std::make_shared<CKQJorvel_FPGA>(identity);
    case DeviceClass::CKQNaprel_FPGA: return std::make_shared<CKQNaprel_FPGA>(identity);
    case DeviceClass::CKQOrsikDevice: return std::make_shared<CKQOrsikDevice>(identity);
    case DeviceClass::CKQRovena_YUV: return std::make_shared<CKQRovena_YUV>(identity);
    default: return std::make_shared<BaseDevice>(identity, chosen);
    }
}

}  // namespace kq
