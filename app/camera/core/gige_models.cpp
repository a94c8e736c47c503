#include "gige_models.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr LabelledSize k1024x1024[] = {{L"1024 * 1024", 1024, 1024}};
constexpr LabelledSize k1360x1024[] = {{L"1360 * 1024", 1360, 1024}};
constexpr LabelledSize k1600x1200[] = {{L"1600 * 1200", 1600, 1200}, {L"800 * 600", 800, 600}};
constexpr LabelledSize k2336x1752[] = {{L"2336 * 1752", 2336, 1752}};
constexpr LabelledSize k2448x2050[] = {{L"2448 * 2050", 2448, 2050}};
constexpr LabelledSize k752x480[] = {{L"752 * 480", 752, 480}, {L"640 * 480", 640, 480}, {L"640 * 300", 640, 300}};
constexpr LabelledSize k1280x1024[] = {
    {L"1280 * 1024", 1280, 1024}, {L"1024 * 768", 1024, 768}, {L"800 * 600", 800, 600}};
constexpr LabelledSize k2048x1536[] = {
    {L"2048 * 1536", 2048, 1536}, {L"1600 * 1200", 1600, 1200}, {L"1024 * 768", 1024, 768}, {L"800 * 600", 800, 600}};
constexpr LabelledSize k2592x1944[] = {{L"2592 * 1944", 2592, 1944},
                                       {L"2048 * 1536", 2048, 1536},
                                       {L"1600 * 1200", 1600, 1200},
                                       {L"1024 * 768", 1024, 768},
                                       {L"800 * 600", 800, 600}};

using enum GigeColourKind;
const GigeModel kModels[] = {
    {0x100B1, L"KQGE_Wendik", L"GIGE_CCD_M", k1024x1024, mono, {30, 900000}, false},
    {0x14000, L"KQGE_Parsun", L"GIGE_CCD_C", k1360x1024, colour, {75, 1000000}, false},
    {0x14001, L"KQGE_Ostrel", L"GIGE_CCD_M", k1360x1024, mono, {75, 1000000}, false},
    {0x140B0, L"KQGE_Lunvik", L"GIGE_CCD_C", k1360x1024, colour16, {75, 1000000}, false},
    {0x140B1, L"KQGE_Ragnot", L"GIGE_CCD_M", k1360x1024, mono16, {75, 1000000}, false},
    {0x20000, L"KQGE_Sabrel", L"GIGE_CCD_C", k1600x1200, colour, {58, 1000000}, false},
    {0x400B0, L"KQGE_Dwinel", L"GIGE_Dwinel", k2336x1752, colour, {64, 1000000}, false},
    {0x50000, L"KQGE_Hobrin", L"GIGE_Hobrin", k2448x2050, colour, {32, 1000000}, false},
    {0x20100B1, L"KQGE_Ivrose", L"GIGE_CCD_M", k1024x1024, mono, {16, 500000}, false},
    {0x10003600, L"KQGE_CMOS_Alvino", L"GIGE_CMOS_C", k752x480, colour, {100, 1000000}, true},
    {0x10003601, L"KQGE_CMOS_Dorisk", L"GIGE_CMOS_M", k752x480, mono, {100, 1000000}, true},
    // Monochrome, yet kept under the colour key.
    {0x10013001, L"KQGE_CMOS_Jorvel", L"GIGE_CMOS_C", k1280x1024, mono, {32, 1000000}, true},
    {0x10030000, L"KQGE_CMOS_Navelo", L"GIGE_CMOS_C", k2048x1536, colour, {54, 1000000}, true},
    {0x10050000, L"KQGE_CMOS_Ebrant", L"GIGE_CMOS_C", k2592x1944, colour, {65, 1000000}, true},
    {0x10050001, L"KQGE_CMOS_Ulmora", L"GIGE_CMOS_M", k2592x1944, mono, {65, 1000000}, true},
};

constexpr std::uint32_t kRedlessModels[] = {0x100B1, 0x14001, 0x140B1, 0x20100B1};
constexpr std::size_t kIpOffset = 36;
constexpr std::size_t kVersionCharOffset = 143;
}  // namespace

std::optional<GigeModel> GigeModelOfCode(std::uint32_t code) {
    const auto found =
        std::find_if(std::begin(kModels), std::end(kModels), [&](const GigeModel& m) { return m.code == code; });
    return found == std::end(kModels) ? std::nullopt : std::optional<GigeModel>(*found);
}

std::wstring GigeDeviceListName(std::uint32_t code) {
    const auto model = GigeModelOfCode(code);
    return model ? model->deviceName : L"KQGE_UNKNOW";
}

std::wstring GigeSettingsKey(std::uint32_t code) {
    const auto model = GigeModelOfCode(code);
    return model ? model->settingsKey : L"default";
}

bool GigeRefusesRedGain(std::uint32_t code) {
    return std::find(std::begin(kRedlessModels), std::end(kRedlessModels), code) != std::end(kRedlessModels);
}

std::wstring GigeIpText(const GigeDiscoveryRecord& record) {
    std::wstring text;
    for (std::size_t i = 0; i < 4; ++i) {
        text += (i ? L"." : L"") + std::to_wstring(record[kIpOffset + i]);
    }
    return text;
}

bool GigeHasLateSensor(const GigeDiscoveryRecord& record) { return int(record[kVersionCharOffset]) - int('0') >= 5; }
