#include "camera_factory.h"

#include "models/ccd_dwinel.h"
#include "models/ccd_hobrin.h"
#include "models/ccd_ivrose.h"
#include "models/ccd_lunvik.h"
#include "models/ccd_ragnot.h"
#include "models/cmos_alvino.h"
#include "models/cmos_ebrant.h"
#include "models/cmos_jorvel.h"
#include "models/cmos_ulmora.h"
#include "models/kq_gige_camera.h"

namespace kqge {
namespace {

template <typename Camera>
std::unique_ptr<IGigECamera> MakeCamera(std::int32_t index, CNIC& channel, const DiscoveryRecord& record,
                                        AwbSettingsFile& settings) {
    return std::make_unique<Camera>(index, &channel, record, settings);
}

}  // namespace

std::unique_ptr<IGigECamera> GigECameraFactory::Make(std::uint32_t modelCode, CNIC& channel,
                                                     const DiscoveryRecord& record) {
    const std::int32_t index = nextIndex_++;
    switch (modelCode) {
    case 0x10003600: return MakeCamera<CKQGige_CMOSAlvino>(index, channel, record, settings_);
    case 0x10003601: return MakeCamera<CKQGigECamera>(index, channel, record, settings_);
    case 0x14000: return MakeCamera<CKQGige_Parsun>(index, channel, record, settings_);
    case 0x14001: return MakeCamera<CKQGige_Ostrel>(index, channel, record, settings_);
    case 0x140B0: return MakeCamera<CKQGige_Lunvik>(index, channel, record, settings_);
    case 0x140B1: return MakeCamera<CKQGige_Ragnot>(index, channel, record, settings_);
    case 0x100B1: return MakeCamera<CKQGige_Wendik>(index, channel, record, settings_);
    case 0x20100B1: return MakeCamera<CKQGige_Ivrose>(index, channel, record, settings_);
    case 0x20000: return MakeCamera<CKQGige_Sabrel>(index, channel, record, settings_);
    case 0x400B0: return MakeCamera<CKQGige_Dwinel>(index, channel, record, settings_);
    case 0x50000: return MakeCamera<CKQGige_Hobrin>(index, channel, record, settings_);
    case 0x10030000: return MakeCamera<CKQGigE_CMOSNavelo>(index, channel, record, settings_);
    case 0x10050000: return MakeCamera<CKQGigE_CMOSEbrant>(index, channel, record, settings_);
    case 0x10050001: return MakeCamera<CKQGigE_CMOSUlmora>(index, channel, record, settings_);
    case 0x10013001: return MakeCamera<CKQGigE_CMOSJorvel>(index, channel, record, settings_);
    default: return MakeCamera<CDefaultCamera>(index, channel, record, settings_);
    }
}

}  // namespace kqge
