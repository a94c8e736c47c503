// `CKQGige_CMOSAlvino`: the Bayer colour 752 x 480 CMOS camera; its global gain starts at
// 16.
#pragma once

#include "cmos752x480.h"

namespace kqge {

class CKQGige_CMOSAlvino final : public Cmos752x480Camera {
public:
    static constexpr std::int32_t kLeastGain = 16;

    CKQGige_CMOSAlvino(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : Cmos752x480Camera(TraitsOf(0x10003600), kLeastGain, index, channel, record, settings) {}
};

}  // namespace kqge
