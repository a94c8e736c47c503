#include "uvc_model.h"

namespace {
constexpr LabelledSize kZelphaLong[] = {{L"2592 * 1944", 2592, 1944}, {L"2048 * 1536", 2048, 1536},
                                        {L"1600 * 1200", 1600, 1200}, {L"1280 * 1024", 1280, 1024},
                                        {L"1280 * 960", 1280, 960},   {L"1024 * 768", 1024, 768},
                                        {L"800 * 600", 800, 600},     {L"640 * 480", 640, 480}};
constexpr LabelledSize kZelphaShort[] = {
    {L"2592 * 1944", 2592, 1944}, {L"1280 * 960", 1280, 960}, {L"640 * 480", 640, 480}};
constexpr LabelledSize kOther[] = {{L"1600 * 1200", 1600, 1200}, {L"1280 * 960", 1280, 960}, {L"1280 * 720", 1280, 720},
                                   {L"800 * 600", 800, 600},     {L"640 * 480", 640, 480},   {L"320 * 240", 320, 240}};

constexpr UvcPropertyKey kOpenOrder[] = {
    {UvcProperty::colourMode, L"ColorMode"},
    {UvcProperty::flip, L"FlipMode"},
    {UvcProperty::contrast, L"Contrast"},
    {UvcProperty::brightness, L"Brightness"},
    {UvcProperty::hue, L"Hue"},
    {UvcProperty::saturation, L"Saturation"},
    {UvcProperty::sharpness, L"Sharpness"},
    {UvcProperty::gamma, L"Gamma"},
    {UvcProperty::whiteBalance, L"WhiteBalance"},
    {UvcProperty::backlightCompensation, L"BacklightCompensation"},
    {UvcProperty::zoom, L"Zoom"},
    {UvcProperty::exposure, L"Expouse"},
    {UvcProperty::offsetX, L"OffsetX"},
    {UvcProperty::offsetY, L"OffsetY"},
    {UvcProperty::autoExposure, L"AEing"},
    {UvcProperty::autoWhiteBalance, L"AWBing"},
};

constexpr UvcPropertyKey kSaveOrder[] = {
    {UvcProperty::colourMode, L"ColorMode"},
    {UvcProperty::flip, L"FlipMode"},
    {UvcProperty::contrast, L"Contrast"},
    {UvcProperty::brightness, L"Brightness"},
    {UvcProperty::hue, L"Hue"},
    {UvcProperty::saturation, L"Saturation"},
    {UvcProperty::sharpness, L"Sharpness"},
    {UvcProperty::gamma, L"Gamma"},
    {UvcProperty::autoExposure, L"AEing"},
    {UvcProperty::autoWhiteBalance, L"AWBing"},
    {UvcProperty::whiteBalance, L"WhiteBalance"},
    {UvcProperty::backlightCompensation, L"BacklightCompensation"},
    {UvcProperty::zoom, L"Zoom"},
    {UvcProperty::exposure, L"Expouse"},
    {UvcProperty::offsetX, L"OffsetX"},
    {UvcProperty::offsetY, L"OffsetY"},
};
}  // namespace

std::span<const LabelledSize> UvcResolutionTable(int cameraType, int reportedCount) {
    if (cameraType != kUvcZelphaType) {
        return kOther;
    }
    return reportedCount > 4 ? std::span<const LabelledSize>(kZelphaLong) : std::span<const LabelledSize>(kZelphaShort);
}

const wchar_t* UvcDeviceName(int cameraType) { return cameraType == kUvcZelphaType ? L"KQZelpha" : L"UNKNOWN"; }

std::span<const UvcPropertyKey> UvcPropertiesInOpenOrder() { return kOpenOrder; }
std::span<const UvcPropertyKey> UvcPropertiesInSaveOrder() { return kSaveOrder; }
