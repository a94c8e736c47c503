#include "param_presets.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace {

constexpr std::wstring_view kExtension = L".ini";

wchar_t FoldAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool EqualFoldingAscii(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// Characters no file name may hold, and the separators and colon that would
// make a name a path.
bool IsReservedCharacter(wchar_t c) {
    return c < 0x20 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

// Names the platform opens as devices whatever the extension ("CON.ini" is
// the console).
bool IsDeviceName(std::wstring_view name) {
    static constexpr std::wstring_view kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL"};
    if (std::ranges::any_of(kDevices, [name](std::wstring_view d) { return EqualFoldingAscii(name, d); })) {
        return true;
    }
    return name.size() == 4 &&
           (EqualFoldingAscii(name.substr(0, 3), L"COM") || EqualFoldingAscii(name.substr(0, 3), L"LPT")) &&
           name[3] >= L'0' && name[3] <= L'9';
}

}  // namespace

std::optional<PresetFamily> PresetFamilyFromCode(char code) {
    switch (code) {
    case '0': return PresetFamily::usbCmos;
    case '1': return PresetFamily::ccd;
    case '2': return PresetFamily::gige;
    default: return std::nullopt;
    }
}

const wchar_t* PresetFolderName(PresetFamily family) {
    switch (family) {
    case PresetFamily::usbCmos: return L"CMOSE";
    case PresetFamily::ccd: return L"CCD";
    case PresetFamily::gige: return L"GIGE";
    }
    return L"CMOSE";
}

bool IsPresetNameAllowed(std::wstring_view name) {
    return !name.empty() && std::ranges::none_of(name, IsReservedCharacter) &&
           name.find(L"..") == std::wstring_view::npos && !IsDeviceName(name);
}

std::wstring PresetFolderPath(std::wstring_view programFolder, PresetFamily family) {
    std::wstring path(programFolder);
    path += L"Params\\";
    path += PresetFolderName(family);
    return path;
}

std::optional<std::wstring> PresetFilePath(std::wstring_view programFolder, PresetFamily family,
                                           std::wstring_view name) {
    if (!IsPresetNameAllowed(name)) {
        return std::nullopt;
    }
    std::wstring path = PresetFolderPath(programFolder, family);
    path += L'\\';
    path += name;
    path += kExtension;
    return path;
}

std::vector<std::wstring> ListPresetNames(const std::filesystem::path& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        return names;
    }
    for (const auto& entry : entries) {
        const std::wstring file = entry.path().filename().wstring();
        if (entry.is_directory(error) || file.size() <= kExtension.size() ||
            !EqualFoldingAscii(std::wstring_view(file).substr(file.size() - kExtension.size()), kExtension)) {
            continue;
        }
        names.push_back(file.substr(0, file.size() - kExtension.size()));
    }
    return names;
}

int PresetIndex(const std::vector<std::wstring>& names, std::wstring_view name) {
    const auto found =
        std::ranges::find_if(names, [name](const std::wstring& n) { return EqualFoldingAscii(n, name); });
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

std::vector<PresetKey> PresetFileKeys(PresetFamily family, const PresetValues& v) {
    std::vector<PresetKey> keys{
        {L"Exposure", v.exposure}, {L"Gain_R", v.gainR},        {L"Gain_G", v.gainG},          {L"Gain_B", v.gainB},
        {L"Gain_AD", v.adGain},    {L"Contrast", v.contrast},   {L"Gamma", v.gamma},           {L"FilpKinds", v.flip},
        {L"ColorKinds", v.color},  {L"Sharpness", v.sharpness}, {L"Saturation", v.saturation},
    };
    if (family != PresetFamily::usbCmos) {
        keys.insert(keys.end(), {{L"AVGR", v.averages[0]}, {L"AVGG", v.averages[1]}, {L"AVGB", v.averages[2]}});
    }
    return keys;
}

void TakeCaptureInfo(PresetFamily family, const CaptureInfoReadout& info, PresetValues& values) {
    switch (family) {
    case PresetFamily::usbCmos:
        values.exposure = static_cast<int>(info.exposure);
        values.adGain = info.gain[0];
        break;
    case PresetFamily::ccd:
        values.exposure = static_cast<int>(info.exposure);
        values.adGain = static_cast<int>(info.ccdAdGain);
        values.gainR = info.gain[0];
        values.gainG = info.gain[1];
        values.gainB = info.gain[2];
        break;
    case PresetFamily::gige: break;
    }
}

ExposureTime PresetExposureTime(const CaptureInfoReadout& info) {
    const double k = (info.control & 1) ? 3106.0 : 2984.0;
    const double t = static_cast<double>(info.exposure) * k * 0.025;
    if (t > 1000000.0) {
        return {t * 0.000001, L"s"};
    }
    if (t > 1000.0) {
        return {t * 0.001, L"ms"};
    }
    return {t, L"us"};
}

std::wstring FormatExposureTime(double value) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%.3lf", value);
    return n > 0 ? std::wstring(text, text + std::min<int>(n, static_cast<int>(sizeof text) - 1)) : std::wstring();
}
