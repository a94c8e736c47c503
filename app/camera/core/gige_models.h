#pragma once
// What a GigE camera is by the 32-bit model code its library reports: the
// name the device list shows, the Config.ini section of its model settings,
// its resolution table (default first), its colour kind, exposure range in
// microseconds and sensor type; and what the 248-byte discovery record of a
// camera tells (its IP address, its sensor generation).
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "labelled_size.h"

// 0 colour, 1 monochrome, 2 monochrome 16-bit, 3 colour 16-bit.
enum class GigeColourKind : int { colour = 0, mono = 1, mono16 = 2, colour16 = 3 };

struct GigeModel {
    std::uint32_t code;
    const wchar_t* deviceName;
    const wchar_t* settingsKey;
    std::span<const LabelledSize> resolutions;
    GigeColourKind colourKind;
    ExposureRange exposureRange;
    bool cmos;
};

// The monochrome CMOS model whose late sensor delivers 10-bit samples.
inline constexpr std::uint32_t kGigeTenBitCapableModel = 0x10013001;
// The colour CMOS model without colour gains.
inline constexpr std::uint32_t kGigeNoColourGainModel = 0x10003600;
// The monochrome CMOS model that keeps HDR.
inline constexpr std::uint32_t kGigeMonoHdrModel = 0x10003601;
// The CCD model with the on-camera correction and a global gain up to 250.
inline constexpr std::uint32_t kGigeCorrectingModel = 0x20100B1;

// None for a code outside the table.
std::optional<GigeModel> GigeModelOfCode(std::uint32_t code);
// "KQGE_UNKNOW" and "default" for a code outside the table.
std::wstring GigeDeviceListName(std::uint32_t code);
std::wstring GigeSettingsKey(std::uint32_t code);
// The monochrome CCD models, which refuse a red gain.
bool GigeRefusesRedGain(std::uint32_t code);
// The library records only 24-bit pictures: colour modes 0 (RGB), 1 (grey
// as RGB) and 5; the 8- and 16-bit modes cannot be recorded.
inline bool GigeColourModeRecords(int mode) { return mode == 0 || mode == 1 || mode == 5; }

inline constexpr std::size_t kGigeDiscoveryRecordBytes = 248;
using GigeDiscoveryRecord = std::array<std::uint8_t, kGigeDiscoveryRecordBytes>;

// The current IP address (bytes 36 to 39, network order) as dotted text.
std::wstring GigeIpText(const GigeDiscoveryRecord& record);
// The eighth character of the device-version text (byte 143) minus '0' is 5
// or more: a late sensor.
bool GigeHasLateSensor(const GigeDiscoveryRecord& record);
