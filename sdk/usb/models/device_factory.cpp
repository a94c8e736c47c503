#include "device_factory.h"

#include "belun_led.h"
#include "brisel_fpga.h"
#include "dorisk_device.h"
#include "ebrant_fpga.h"
#include "former_device.h"
#include "naprel_fpga.h"
#include "new_chip.h"
#include "navelo_fpga.h"
#include "orsik_device.h"
#include "pelvar_device.h"
#include "quessa_device.h"
#include "rgb565_devices.h"
#include "rovena_yuv.h"
#include "test_camera.h"
#include "trigger_fpga.h"
#include "zundra_device.h"

namespace kq {

namespace {

template <class Fpga>
std::shared_ptr<BaseDevice> MakeFpga(const DeviceIdentity& identity, const DeviceOptions& options) {
    auto device = std::make_shared<Fpga>(identity);
    device->SetSettlingPause(options.fpgaSettlingPause);
    return device;
}

}  // namespace

std::shared_ptr<BaseDevice> MakeDevice(const DeviceIdentity& identity, const DeviceOptions& options) {
    const DeviceClass chosen = ChooseDeviceClass(identity.typeCode, identity.colorType);
    switch (chosen) {
    case DeviceClass::CFormerDevice: return std::make_shared<CFormerDevice>(identity);
    case DeviceClass::CKQBelun_LED: return std::make_shared<CKQBelun_LED>(identity);
    case DeviceClass::CKQNavelo_FPGA: return MakeFpga<CKQNavelo_FPGA>(identity, options);
    case DeviceClass::CKQBrisel_FPGA: return MakeFpga<CKQBrisel_FPGA>(identity, options);
    case DeviceClass::CKQJorvel_FPGA: return MakeFpga<CKQJorvel_FPGA>(identity, options);
    case DeviceClass::CKQNaprel_FPGA: return MakeFpga<CKQNaprel_FPGA>(identity, options);
    case DeviceClass::CKQOrsikDevice: return std::make_shared<CKQOrsikDevice>(identity);
    case DeviceClass::CKQRovena_YUV: return std::make_shared<CKQRovena_YUV>(identity);
    case DeviceClass::CKQDoriskDevice: return std::make_shared<CKQDoriskDevice>(identity);
    case DeviceClass::CKQAlvinoDevice: return std::make_shared<CKQAlvinoDevice>(identity);
    case DeviceClass::CKQPelvarDevice: return std::make_shared<CKQPelvarDevice>(identity);
    case DeviceClass::CKQPelvarsmall: return std::make_shared<CKQPelvarsmall>(identity);
    case DeviceClass::CKQEbrant_FPGA: return MakeFpga<CKQEbrant_FPGA>(identity, options);
    case DeviceClass::CKQQuessa_FPGA: return MakeFpga<CKQQuessa_FPGA>(identity, options);
    case DeviceClass::CKQKelmar_New: return MakeFpga<CKQKelmar_New>(identity, options);
    case DeviceClass::CKQWimbro_New: return MakeFpga<CKQWimbro_New>(identity, options);
    case DeviceClass::CKQYastro_New: return MakeFpga<CKQYastro_New>(identity, options);
    case DeviceClass::CKQNewChip: return std::make_shared<CKQNewChip>(identity);
    case DeviceClass::CKQLismar: return std::make_shared<CKQLismar>(identity);
    case DeviceClass::CKQGurnipDevice: return std::make_shared<CKQGurnipDevice>(identity);
    case DeviceClass::CKQZundra_Device: return std::make_shared<CKQZundra_Device>(identity);
    case DeviceClass::CKQTEST: return MakeFpga<CKQTEST>(identity, options);
    case DeviceClass::CKQQuessa_Device: return std::make_shared<CKQQuessa_Device>(identity);
    default: return std::make_shared<BaseDevice>(identity, chosen);
    }
}

}  // namespace kq
