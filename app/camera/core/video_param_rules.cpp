#include "video_param_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr int kMillisecondsFrom = 1000;
constexpr double kLargestShownMilliseconds = 1000.0;

int Lowest(ExposureRange range) { return std::max(range.lowest, 1); }
}  // namespace

int ClampToRange(long long typed, IntRange range) {
    return static_cast<int>(std::clamp<long long>(typed, range.lowest, std::max(range.lowest, range.highest)));
}

IntRange ExposureSliderRange(ExposureRange range) {
    const int step = Lowest(range);
    return {1, std::max((range.highest - step + 1) / step + 1, 1)};
}

int ExposureSliderPosition(int exposure, ExposureRange range) {
    return ClampToRange(exposure / Lowest(range), ExposureSliderRange(range));
}

int ExposureAtPosition(int position, ExposureRange range) {
    const long long exposure = static_cast<long long>(position) * Lowest(range);
    return ClampToRange(exposure, {Lowest(range), range.highest});
}

ExposureText ShownExposure(int exposure, ExposureRange range) {
    if (exposure < kMillisecondsFrom) {
        return {double(std::max(exposure, Lowest(range))), ExposureUnit::microseconds};
    }
    return {std::min(exposure * 0.001, kLargestShownMilliseconds), ExposureUnit::milliseconds};
}

TypedExposure ExposureFromTyped(double typed, ExposureUnit unit, ExposureRange range) {
    const IntRange allowed{Lowest(range), range.highest};
    if (!std::isfinite(typed)) {
        typed = 0.0;
    }
    if (unit == ExposureUnit::milliseconds) {
        const double micro = std::clamp(typed * 1000.0, -1e12, 1e12);
        return {ClampToRange(static_cast<long long>(micro), allowed),
                typed < 1.0 ? ExposureUnit::microseconds : ExposureUnit::milliseconds};
    }
    const double micro = std::clamp(typed, -1e12, 1e12);
    return {ClampToRange(static_cast<long long>(micro), allowed),
            typed >= kMillisecondsFrom ? ExposureUnit::milliseconds : ExposureUnit::microseconds};
}

std::wstring_view UnitText(ExposureUnit unit) { return unit == ExposureUnit::milliseconds ? L"ms" : L"us"; }

IntRange LineExposureRange(bool ccd, int deviceType) {
    constexpr std::array kLongTypes = {8, 11, 12, 13, 16};
    const bool longRange = ccd || std::find(kLongTypes.begin(), kLongTypes.end(), deviceType) != kLongTypes.end();
    return {1, longRange ? 10000 : 5000};
}

IntRange ColourGainRange(bool ccd, int deviceType) {
    if (ccd) {
        return {1, 63};
    }
    return {1, deviceType == 15 ? 127 : 6000};
}

IntRange AnalogueGainRange(bool ccd, int deviceType) { return {1, ccd || deviceType == 16 ? 255 : 63}; }

IntRange SharpnessRange(bool ccd, int deviceType) { return !ccd && deviceType == 15 ? IntRange{0, 7} : IntRange{1, 8}; }

bool UsbCmosCorrectsStripes(int deviceType, bool monochrome) {
    constexpr int kFpgaTypes[] = {11, 12, 13, 19, 20};
    return !monochrome && std::find(std::begin(kFpgaTypes), std::end(kFpgaTypes), deviceType) == std::end(kFpgaTypes);
}

UsbControlsOffered UsbOfferedControls(const UsbCameraFacts& facts) {
    UsbControlsOffered offered{};
    const bool gainsByte = !facts.ccd && facts.deviceType == 15;
    offered.colourGains = facts.ccd || !facts.monochrome;
    offered.greenBlueShown = !(facts.ccd && facts.monochrome);
    offered.saturation = !facts.monochrome && !gainsByte;
    offered.analogueGain = !gainsByte;
    offered.offsets = !facts.ccd && facts.offsetAllowed;
    offered.correctionShown = !facts.ccd && facts.correctionControls;
    offered.badPixel = !facts.ccd && facts.captureWidth == facts.maxWidth && facts.captureHeight == facts.maxHeight;
    offered.hdrShown = facts.ccd ? !facts.hdrHidden : facts.deviceType == 10 || !facts.fourEntryModel;
    return offered;
}

int MappedColourMode(int mode, bool fourEntryModel) {
    return fourEntryModel && (mode == 0 || mode == 1 || mode == 5) ? 2 : mode;
}

std::optional<int> HdrAfterColourChange(int previousMode, int newMode) {
    constexpr int kRgbColour = 5;
    if (newMode == kRgbColour) {
        return 1;
    }
    if (previousMode == kRgbColour) {
        return 0;
    }
    return std::nullopt;
}

IntRange GigeGlobalGainRange(std::uint32_t modelCode, bool cmos) {
    if (cmos) {
        return {16, 63};
    }
    return {1, modelCode == kGigeCorrectingModel ? 250 : 255};
}

bool GigeHasTenBitModes(std::uint32_t modelCode, GigeColourKind kind) {
    return modelCode == kGigeTenBitCapableModel && kind == GigeColourKind::mono16;
}

std::vector<std::wstring_view> GigeColourModeNames(std::uint32_t modelCode, GigeColourKind kind) {
    return {L"RGB",           L"BW24", L"Gray", L"Raw", GigeHasTenBitModes(modelCode, kind) ? L"MONO10" : L"MONO12",
            L"RGB_Microscope"};
}

std::vector<std::wstring_view> GigeValidBitsNames(std::uint32_t modelCode, GigeColourKind kind) {
    std::vector<std::wstring_view> names = {L"  0  ", L"  1  ", L"  2  ", L"  3  ", L"  4  "};
    if (GigeHasTenBitModes(modelCode, kind)) {
        names.resize(3);
    }
    return names;
}

GigeControlsOffered GigeOfferedControls(std::uint32_t modelCode, GigeColourKind kind, bool cmos, bool zoomAllowed) {
    const bool mono = kind == GigeColourKind::mono || kind == GigeColourKind::mono16;
    GigeControlsOffered offered{};
    offered.colourGains = !mono && modelCode != kGigeNoColourGainModel;
    offered.saturation = !mono;
    offered.globalGain = !(cmos && !mono && modelCode != kGigeNoColourGainModel);
    offered.hdr = kind == GigeColourKind::colour || kind == GigeColourKind::colour16;
    offered.validBits = kind == GigeColourKind::mono16 || kind == GigeColourKind::colour16;
    offered.zoom = zoomAllowed;
    offered.speed = zoomAllowed;
    if (modelCode == kGigeMonoHdrModel) {
        offered.zoom = false;
        offered.hdr = true;
    }
    if (modelCode == kGigeNoColourGainModel) {
        offered.zoom = false;
    }
    offered.correction = modelCode == kGigeCorrectingModel;
    return offered;
}
