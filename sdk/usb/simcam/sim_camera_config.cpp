#include "sim_camera_config.h"

#include <algorithm>

#include "core/device_identification.h"
#include "core/model_geometry.h"
#include "ini_text.h"

namespace kq::simcam {
namespace {

constexpr std::size_t kMaxNameChars = 255;

std::uint16_t HexField(std::u16string_view pattern, std::size_t at) {
    std::uint16_t value = 0;
    for (char16_t c : pattern.substr(at, 4)) {
        const int digit = c <= u'9' ? c - u'0' : c - u'A' + 10;
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

bool IsMonochromePattern(std::u16string_view pattern) {
    const auto table = DeviceColorTable();
    return std::find(table.begin(), table.end(), pattern) != table.end();
}

// The table's first pattern of the type with the wanted colour, else its
// first of any colour; nothing when the type has no camera.
std::optional<std::u16string_view> PatternFor(std::int32_t typeCode, bool monochrome) {
    std::optional<std::u16string_view> any;
    for (const TypePattern& entry : DeviceTypeTable()) {
        if (entry.typeCode != typeCode) continue;
        if (IsMonochromePattern(entry.pattern) == monochrome) return entry.pattern;
        if (!any) any = entry.pattern;
    }
    return any;
}

std::u16string DecimalText(int n) {
    std::u16string out;
    for (char c : std::to_string(n)) out.push_back(static_cast<char16_t>(c));
    return out;
}

// The phase the library's kernels read for the model in flip mode 0: the
// cameras of types 6 and 22 and the FPGA colour cameras (G R / B G) and the
// colour camera of type 10 (G B / R G) have their own; every other model
// reads R G / G B.
kqff::sim::BayerPhase ModelBayerPhase(std::int32_t typeCode, bool monochrome) {
    if (typeCode == 6 || typeCode == 22) return kqff::sim::BayerPhase::Grbg;
    for (const std::int32_t fpga : {11, 12, 16, 19, 21, 24}) {
        if (typeCode == fpga && !monochrome) return kqff::sim::BayerPhase::Grbg;
    }
    if (typeCode == 10 && !monochrome) return kqff::sim::BayerPhase::Gbrg;
    return kDefaultBayerPhase;
}

SimulatedCamera MakeCamera(int number, std::int32_t typeCode, bool monochrome) {
    SimulatedCamera camera;
    auto pattern = PatternFor(typeCode, monochrome);
    if (!pattern) {
        typeCode = kDefaultTypeCode;
        pattern = PatternFor(typeCode, monochrome);
    }
    // "VID_xxxx&PID_xxxx"
    camera.typeCode = typeCode;
    camera.monochrome = IsMonochromePattern(*pattern);
    camera.vendorId = HexField(*pattern, 4);
    camera.productId = HexField(*pattern, 13);
    camera.instanceId = u"USB\\" + std::u16string(*pattern) + u"\\SIM" + DecimalText(number);
    const ModelGeometry geometry = GeometryForType(typeCode);
    camera.sensorWidth = static_cast<std::uint16_t>(geometry.maxWidth);
    camera.sensorHeight = static_cast<std::uint16_t>(geometry.maxHeight);
    camera.friendlyName = u"Simulated camera " + DecimalText(number);
    camera.bayerPhase = ModelBayerPhase(typeCode, camera.monochrome);
    return camera;
}

}  // namespace

std::vector<SimulatedCamera> ParseSimulatedCameras(std::span<const std::uint8_t> iniBytes) {
    const IniText ini = IniText::Parse(iniBytes);
    const int count = IniNumber(ini.Value(u"Cameras", u"Count"), 0, kMaxSimulatedCameras).value_or(1);
    std::vector<SimulatedCamera> cameras;
    for (int n = 1; n <= count; ++n) {
        const std::u16string section = u"Camera" + DecimalText(n);
        const auto type = IniNumber(ini.Value(section, u"Type"), 1, 99).value_or(kDefaultTypeCode);
        const bool monochrome = IniNumber(ini.Value(section, u"Monochrome"), 0, 1).value_or(0) == 1;
        SimulatedCamera camera = MakeCamera(n, type, monochrome);
        if (const auto width = IniNumber(ini.Value(section, u"Width"), 1, 65535)) {
            camera.sensorWidth = static_cast<std::uint16_t>(*width);
        }
        if (const auto height = IniNumber(ini.Value(section, u"Height"), 1, 65535)) {
            camera.sensorHeight = static_cast<std::uint16_t>(*height);
        }
        if (const auto phase = IniNumber(ini.Value(section, u"BayerPhase"), 1, 4)) {
            camera.bayerPhase = static_cast<kqff::sim::BayerPhase>(*phase);
        }
        if (const auto rowTime = IniNumber(ini.Value(section, u"RowTime"), 0, 100000)) {
            camera.rowTime = std::chrono::microseconds(*rowTime);
        }
        if (auto name = ini.Value(section, u"Name"); name && !name->empty()) {
            if (name->size() > kMaxNameChars) {
                name->resize(kMaxNameChars);
                if (name->back() >= 0xD800 && name->back() <= 0xDBFF) name->pop_back();  // half a pair
            }
            camera.friendlyName = std::move(*name);
        }
        cameras.push_back(std::move(camera));
    }
    return cameras;
}

std::vector<SimulatedCamera> DefaultSimulatedCameras() { return {MakeCamera(1, kDefaultTypeCode, false)}; }

std::optional<std::vector<SimulatedCamera>> ReadSimulatedCameraFile(const std::filesystem::path& path) {
    const auto bytes = ReadIniBytes(path);
    if (!bytes) return std::nullopt;
    return ParseSimulatedCameras(*bytes);
}

}  // namespace kq::simcam
