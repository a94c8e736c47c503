#include "ccd_param_file.h"

namespace {
std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
}  // namespace

CcdParamFile ReadCcdParamFile(const ParamFileReader& read) {
    const CcdParamFile defaults;
    CcdParamFile file;
    file.exposure = read(L"Exposure", defaults.exposure);
    file.gainRed = LowByte(read(L"Gain_R", defaults.gainRed));
    file.gainGreen = LowByte(read(L"Gain_G", defaults.gainGreen));
    file.gainBlue = LowByte(read(L"Gain_B", defaults.gainBlue));
    file.gainAD = read(L"Gain_AD", defaults.gainAD);
    file.contrast = read(L"Contrast", defaults.contrast);
    file.gamma = read(L"Gamma", defaults.gamma);
    file.control = LowByte(read(L"Control", defaults.control));
    file.sharpness = read(L"Sharpness", defaults.sharpness);
    file.saturation = read(L"Saturation", defaults.saturation);
    file.colourMode = read(L"ColorKinds", defaults.colourMode);
    file.flip = read(L"FilpKinds", defaults.flip);
    file.whiteBalanceRed = read(L"AVGR", defaults.whiteBalanceRed);
    file.whiteBalanceGreen = read(L"AVGG", defaults.whiteBalanceGreen);
    file.whiteBalanceBlue = read(L"AVGB", defaults.whiteBalanceBlue);
    return file;
}

bool IsWhiteBalanceValue(int value) { return value >= 2 && value <= 255; }

bool ResetsWhiteBalance(const CcdParamFile& file) {
    return IsWhiteBalanceValue(file.whiteBalanceRed) && IsWhiteBalanceValue(file.whiteBalanceGreen) &&
           IsWhiteBalanceValue(file.whiteBalanceBlue);
}

std::vector<SettingValue> CcdStartupSettings(const CcdParamFile& file) {
    return {{L"Exposure", file.exposure},  {L"Gain_R", file.gainRed},  {L"Gain_G", file.gainGreen},
            {L"Gain_B", file.gainBlue},    {L"Gain_AD", file.gainAD},  {L"Contrast", file.contrast},
            {L"Gamma", file.gamma},        {L"Control", file.control}, {L"Saturation", file.saturation},
            {L"Sharpness", file.sharpness}};
}
