// `CKQGigECamera`: the monochrome 752 x 480 CMOS camera; its global gain starts at
// 1.
#pragma once

#include "cmos752x480.h"

namespace kqge {

class CKQGigECamera final : public Cmos752x480Camera {
public:
    static constexpr std::int32_t kLeastGain = 1;

    CKQGigECamera(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : Cmos752x480Camera(TraitsOf(0x10003601), kLeastGain, index, channel, record, settings) {}
};

}  // namespace kqge
