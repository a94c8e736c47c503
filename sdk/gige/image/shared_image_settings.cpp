#include "shared_image_settings.h"

namespace kqge {

ImageSettings SharedImageSettings::Load() const {
    constexpr auto relaxed = std::memory_order_relaxed;
    ImageSettings s;
    s.contrast = contrast_.load(relaxed);
    s.saturation = saturation_.load(relaxed);
    s.sharpness = sharpness_.load(relaxed);
    s.flipMode = flipMode_.load(relaxed);
    s.interpolationPhase = interpolationPhase_.load(relaxed);
    s.measurementPhase = measurementPhase_.load(relaxed);
    s.sensorColorKind = sensorColorKind_.load(relaxed);
    s.validBits = validBits_.load(relaxed);
    s.familyMarker = familyMarker_.load(relaxed);
    s.hdr = hdr_.load(relaxed);
    s.convert = convert_.load(relaxed);
    s.monoPath = monoPath_.load(relaxed);
    return s;
}

void SharedImageSettings::Store(const ImageSettings& s) {
    SetContrast(s.contrast);
    SetSaturation(s.saturation);
    SetSharpness(s.sharpness);
    SetFlip(s.flipMode, s.interpolationPhase, s.measurementPhase);
    SetSensor(s.sensorColorKind, s.familyMarker);
    SetValidBits(s.validBits);
    SetHdr(s.hdr);
    SetConvert(s.convert);
    SetMonoPath(s.monoPath);
}

void SharedImageSettings::SetFlip(int flipMode, int interpolationPhase, int measurementPhase) {
    flipMode_.store(flipMode, std::memory_order_relaxed);
    interpolationPhase_.store(interpolationPhase, std::memory_order_relaxed);
    measurementPhase_.store(measurementPhase, std::memory_order_relaxed);
}

void SharedImageSettings::SetSensor(int sensorColorKind, int familyMarker) {
    sensorColorKind_.store(sensorColorKind, std::memory_order_relaxed);
    familyMarker_.store(familyMarker, std::memory_order_relaxed);
}

}  // namespace kqge
