#include "device_factory.h"

#include "belun_led.h"
#include "former_device.h"

namespace kq {

std::shared_ptr<BaseDevice> MakeDevice(const DeviceIdentity& identity) {
    const DeviceClass chosen = ChooseDeviceClass(identity.typeCode, identity.colorType);
    switch (chosen) {
    case DeviceClass::CFormerDevice: return std::make_shared<CFormerDevice>(identity);
    case DeviceClass::CKQBelun_LED: return std::make_shared<CKQBelun_LED>(identity);
    default: return std::make_shared<BaseDevice>(identity, chosen);
    }
}

}  // namespace kq
