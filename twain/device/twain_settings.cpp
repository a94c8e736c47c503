#include "twain_settings.h"

#include <string>

namespace twain {
namespace {

struct Named {
    const char* name;
    std::int32_t TwainSettings::*member;
};

constexpr std::array<const char*, kOffsetSlots> kHOffsetNames{
    "HOffset320", "HOffset640", "HOffset768", "HOffset800", "HOffset1024", "HOffset1280", "HOffset1600", "HOffset2048"};
constexpr std::array<const char*, kOffsetSlots> kVOffsetNames{
    "VOffset240", "VOffset480", "VOffset576", "VOffset600", "VOffset768", "VOffset1024", "VOffset1200", "VOffset1536"};

constexpr Named kLoaded[] = {
    {"U_R", &TwainSettings::whiteRed},
    {"U_G", &TwainSettings::whiteGreen},
    {"U_B", &TwainSettings::whiteBlue},
    {"Exposure", &TwainSettings::exposure},
    {"Endian", &TwainSettings::endian},
    {"ZoomMode", &TwainSettings::zoomMode},
    {"ClearView", &TwainSettings::clearView},
    {"SharpView", &TwainSettings::sharpView},
    {"ConAe", &TwainSettings::conAe},
    {"SizeMode", &TwainSettings::sizeMode},
    {"SensitiveMode", &TwainSettings::sensitiveMode},
    {"BW", &TwainSettings::bw},
    {"ColorAdjust", &TwainSettings::colorAdjust},
    {"Gamma", &TwainSettings::gamma},
    {"GammaValue", &TwainSettings::gammaValue},
    {"WinMode", &TwainSettings::winMode},
    {"UpDownRev", &TwainSettings::upDownRev},
    {"HDR", &TwainSettings::hdr},
    {"XWJ", &TwainSettings::xwj},
};

constexpr Named kGainBytes[] = {
    {"RedGain", &TwainSettings::redGain},
    {"GreenGain", &TwainSettings::greenGain},
    {"BlueGain", &TwainSettings::blueGain},
};

constexpr Named kSavedOnly[] = {
    {"SubSample", &TwainSettings::subSample},
    {"SubPixel", &TwainSettings::subPixel},
};

}  // namespace

void LoadSettings(const SettingsStore& store, TwainSettings& settings) {
    for (int i = 0; i < kOffsetSlots; ++i) {
        if (const auto v = store.Read(kHOffsetNames[i])) settings.hOffset[i] = *v;
        if (const auto v = store.Read(kVOffsetNames[i])) settings.vOffset[i] = *v;
    }
    for (const Named& n : kGainBytes) {
        if (const auto v = store.Read(n.name)) settings.*n.member = *v & 0xFF;
    }
    for (const Named& n : kLoaded) {
        if (const auto v = store.Read(n.name)) settings.*n.member = *v;
    }
}

void SaveSettings(const TwainSettings& settings, SettingsStore& store) {
    for (int i = 0; i < kOffsetSlots; ++i) {
        store.Write(kHOffsetNames[i], settings.hOffset[i]);
        store.Write(kVOffsetNames[i], settings.vOffset[i]);
    }
    for (const Named& n : kGainBytes) store.Write(n.name, settings.*n.member);
    for (const Named& n : kLoaded) store.Write(n.name, settings.*n.member);
    for (const Named& n : kSavedOnly) store.Write(n.name, settings.*n.member);
}

}  // namespace twain
