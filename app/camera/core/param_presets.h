#pragma once
// Named parameter presets of the camera families: one small settings file per
// preset in the family's folder under "Params" of the program folder. Here
// are where a file lives, which names may become one, the keys a file holds
// in their order, which presets a folder lists, how a list finds a name, and
// the exposure time the presets dialog shows.
//
// A preset name becomes a file name and "delete current" removes the file it
// names, so a name that could reach outside the family folder (separators,
// "..", a drive colon, reserved characters or device names) is refused
// exactly like an empty one.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class PresetFamily { usbCmos, ccd, gige };

// The family of the presets dialog's family code: '0' USB CMOS, '1' CCD,
// '2' GigE; none for any other code.
std::optional<PresetFamily> PresetFamilyFromCode(char code);

// The family folder under "Params", which is also the section its files are
// written in: "CMOSE", "CCD" or "GIGE".
const wchar_t* PresetFolderName(PresetFamily family);

// Whether `name` may name a preset file (see the file comment).
bool IsPresetNameAllowed(std::wstring_view name);

// The family folder: `programFolder` (with its trailing backslash), "Params",
// a backslash and the folder name.
std::wstring PresetFolderPath(std::wstring_view programFolder, PresetFamily family);

// The preset's file: the family folder, a backslash, the name and ".ini";
// none when the name is not allowed.
std::optional<std::wstring> PresetFilePath(std::wstring_view programFolder, PresetFamily family,
                                           std::wstring_view name);

// The preset names of a family folder: every file whose name ends in ".ini"
// (any case), less those four characters, in the order the directory lists
// them; folders and dot entries are skipped. A missing folder lists nothing.
std::vector<std::wstring> ListPresetNames(const std::filesystem::path& folder);

// The position of `name` in `names`, -1 when absent. Letters A-Z compare
// without case, as the file system compares the file names they become.
int PresetIndex(const std::vector<std::wstring>& names, std::wstring_view name);

// The numbers a preset file holds.
struct PresetValues {
    int exposure = 0;
    int gainR = 0;
    int gainG = 0;
    int gainB = 0;
    int adGain = 0;  // the analogue gain; the GigE global gain
    int contrast = 0;
    int gamma = 0;
    int flip = 0;   // flip combo index
    int color = 0;  // colour-mode combo index
    int sharpness = 0;
    int saturation = 0;
    std::array<int, 3> averages{};  // white-balance averages R, G, B (CCD and GigE)
};

struct PresetKey {
    const wchar_t* key;
    int value;
};

// The keys of a preset file in the order they are written: "Exposure",
// "Gain_R", "Gain_G", "Gain_B", "Gain_AD", "Contrast", "Gamma", "FilpKinds",
// "ColorKinds", "Sharpness", "Saturation", and for CCD and GigE "AVGR",
// "AVGG", "AVGB".
std::vector<PresetKey> PresetFileKeys(PresetFamily family, const PresetValues& values);

// What a USB CMOS or CCD preset takes from the library's capture
// information.
struct CaptureInfoReadout {
    std::uint32_t exposure = 0;
    std::array<std::uint8_t, 3> gain{};
    std::uint8_t control = 0;     // bit 0 selects the longer line time
    std::uint32_t ccdAdGain = 0;  // CCD: the AD-gain field
};

// Fills the exposure and the analogue gain of `values` from the capture
// information: USB CMOS takes gain byte 0, the analogue gain its video page
// edits (the red, green and blue gains are the library's user gains, read
// apart); CCD takes the AD-gain field and its three gains from bytes 0 to 2.
// GigE has no capture information and leaves `values` alone.
void TakeCaptureInfo(PresetFamily family, const CaptureInfoReadout& info, PresetValues& values);

// The exposure time the presets dialog shows.
struct ExposureTime {
    double value = 0.0;
    const wchar_t* unit = L"us";
};

// t = exposure x k x 0.025 microseconds, k = 3106 with control bit 0 set,
// else 2984; above 1000000 shown in "s", above 1000 in "ms", else in "us".
ExposureTime PresetExposureTime(const CaptureInfoReadout& info);

// The shown number: three decimals.
std::wstring FormatExposureTime(double value);
