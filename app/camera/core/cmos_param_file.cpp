#include "cmos_param_file.h"

namespace {
constexpr int kType15 = 15;
constexpr int kType16 = 16;
constexpr int kType15GainLimit = 128;
constexpr std::uint8_t kType15FallbackGain = 32;

std::uint8_t Type15Gain(int value) {
    return value >= kType15GainLimit || value < 0 ? kType15FallbackGain : static_cast<std::uint8_t>(value);
}
}  // namespace

CmosParamValues ReadCmosParamValues(const ParamKeyReader& read) {
    const CmosParamValues d;
    CmosParamValues v;
    v.exposure = read(L"Exposure", d.exposure);
    v.gainR = read(L"Gain_R", d.gainR);
    v.gainG = read(L"Gain_G", d.gainG);
    v.gainB = read(L"Gain_B", d.gainB);
    v.gainAD = read(L"Gain_AD", d.gainAD);
    v.contrast = read(L"Contrast", d.contrast);
    v.gamma = read(L"Gamma", d.gamma);
    v.control = read(L"Control", d.control) & 0xFF;
    v.sharpness = read(L"Sharpness", d.sharpness);
    v.saturation = read(L"Saturation", d.saturation);
    v.colorKinds = read(L"ColorKinds", d.colorKinds);
    v.flipKinds = read(L"FilpKinds", d.flipKinds);
    return v;
}

std::array<std::uint8_t, 3> AnalogueGainsOf(int deviceType, const CmosParamValues& values) {
    if (deviceType == kType15) {
        return {Type15Gain(values.gainR), Type15Gain(values.gainG), Type15Gain(values.gainB)};
    }
    const auto gain = static_cast<std::uint8_t>(values.gainAD & 0xFF);
    return {gain, gain, gain};
}

std::vector<SettingsKeyValue> CmosStartupSettingsOf(int deviceType, const CmosParamValues& values) {
    const std::array<std::uint8_t, 3> analogue = AnalogueGainsOf(deviceType, values);
    return {
        {L"Exposure", values.exposure},
        {deviceType == kType16 ? L"Gain_All120" : L"Gain_R", analogue[0]},
        {L"Gain_G", analogue[1]},
        {L"Gain_B", analogue[2]},
        {L"U_R", values.gainR},
        {L"U_G", values.gainG},
        {L"U_B", values.gainB},
        {L"Contrast", values.contrast},
        {L"Gamma", values.gamma},
        {L"Control", values.control & 0xFF},
        {L"Saturation", values.saturation},
        {deviceType == kType15 ? L"SharpYUV" : L"Sharpness", values.sharpness},
    };
}
