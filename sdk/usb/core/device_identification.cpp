#include "device_identification.h"

#include <array>

namespace kq {
namespace {

// Product data of our own: VID_F5A1 and VID_F5A2 are the maker's vendor
// identifiers, VID_F6B1 and VID_F6C1 the two outside vendors of the oldest
// models, VID_FFF0 the test camera. Product identifiers carry the type code in
// their high byte so that a pattern reads as the model it names.
constexpr std::array<TypePattern, 56> kTypeTable{{
    {u"VID_F5A1&PID_0101", 1},  {u"VID_F6B1&PID_1001", 1},  {u"VID_F5A1&PID_0201", 2},  {u"VID_F6B1&PID_1002", 2},
    {u"VID_F6C1&PID_2002", 2},  {u"VID_F5A1&PID_0301", 3},  {u"VID_F5A1&PID_0302", 3},  {u"VID_F5A1&PID_0303", 3},
    {u"VID_F5A1&PID_0304", 3},  {u"VID_F5A1&PID_0305", 3},  {u"VID_F5A1&PID_0306", 3},  {u"VID_F5A1&PID_0307", 3},
    {u"VID_F5A1&PID_0308", 3},  {u"VID_F5A1&PID_0401", 4},  {u"VID_F5A1&PID_0501", 5},  {u"VID_F5A1&PID_0502", 5},
    {u"VID_F5A1&PID_0503", 5},  {u"VID_F5A1&PID_0504", 5},  {u"VID_F5A1&PID_0505", 5},  {u"VID_F5A1&PID_0506", 5},
    {u"VID_F5A1&PID_0507", 5},  {u"VID_F5A1&PID_0508", 5},  {u"VID_F5A1&PID_0601", 6},  {u"VID_F5A1&PID_0602", 6},
    {u"VID_F5A1&PID_0603", 6},  {u"VID_F5A1&PID_0604", 6},  {u"VID_F5A1&PID_0605", 6},  {u"VID_F5A1&PID_0606", 6},
    {u"VID_F5A1&PID_0607", 6},  {u"VID_F5A1&PID_0701", 7},  {u"VID_F5A1&PID_0702", 7},  {u"VID_F5A1&PID_0801", 8},
    {u"VID_F5A1&PID_0802", 8},  {u"VID_F5A1&PID_0901", 9},  {u"VID_F5A1&PID_0902", 9},  {u"VID_F5A1&PID_0A01", 10},
    {u"VID_F5A1&PID_0A02", 10}, {u"VID_F5A1&PID_0A03", 10}, {u"VID_F5A1&PID_0A04", 10}, {u"VID_F5A1&PID_0B01", 11},
    {u"VID_F5A1&PID_0C01", 12}, {u"VID_F5A1&PID_0D01", 13}, {u"VID_F5A1&PID_0E01", 14}, {u"VID_F5A1&PID_0F01", 15},
    {u"VID_F5A1&PID_1001", 16}, {u"VID_F5A1&PID_1101", 17}, {u"VID_FFF0&PID_0018", 18}, {u"VID_F5A1&PID_1301", 19},
    {u"VID_F5A1&PID_1401", 20}, {u"VID_F5A2&PID_1501", 21}, {u"VID_F5A2&PID_1502", 21}, {u"VID_F5A1&PID_1601", 22},
    {u"VID_F5A1&PID_1602", 22}, {u"VID_F5A2&PID_1801", 24}, {u"VID_F5A2&PID_1802", 24}, {u"VID_F5A2&PID_1901", 25},
}};

// Monochrome sensors; the last two products have no type code.
constexpr std::array<std::u16string_view, 19> kColorTable{
    u"VID_F5A1&PID_0101", u"VID_F5A1&PID_0302", u"VID_F5A1&PID_0304", u"VID_F5A1&PID_0306", u"VID_F5A1&PID_0602",
    u"VID_F5A1&PID_0604", u"VID_F5A1&PID_0606", u"VID_F5A1&PID_0802", u"VID_F5A1&PID_0902", u"VID_F5A1&PID_0A02",
    u"VID_F5A1&PID_0A04", u"VID_F5A1&PID_0D01", u"VID_F5A1&PID_1401", u"VID_F5A2&PID_1502", u"VID_F5A1&PID_1602",
    u"VID_F5A2&PID_1802", u"VID_F5A2&PID_1901", u"VID_F5A1&PID_1F01", u"VID_F5A1&PID_1F02",
};

constexpr std::array<std::u16string_view, 10> kModelFlagTable{
    u"VID_F5A1&PID_0308", u"VID_F5A1&PID_0508", u"VID_F5A1&PID_0606", u"VID_F5A1&PID_0607", u"VID_F5A1&PID_0A03",
    u"VID_F5A1&PID_0A04", u"VID_F5A1&PID_1301", u"VID_F5A1&PID_1401", u"VID_F5A2&PID_1501", u"VID_F5A2&PID_1502",
};

bool MatchesAny(std::u16string_view instanceId, std::span<const std::u16string_view> table) {
    for (auto pattern : table) {
        if (MatchHardwareId(instanceId, pattern)) return true;
    }
    return false;
}

}  // namespace

std::span<const TypePattern> DeviceTypeTable() { return kTypeTable; }
std::span<const std::u16string_view> DeviceColorTable() { return kColorTable; }
std::span<const std::u16string_view> DeviceModelFlagTable() { return kModelFlagTable; }

int MatchHardwareId(std::u16string_view instanceId, std::u16string_view pattern) {
    if (pattern.empty()) return 0;
    return instanceId.find(pattern) != std::u16string_view::npos ? 1 : 0;
}

DeviceIdentity IdentifyInstanceId(std::u16string_view instanceId) {
    DeviceIdentity identity;
    if (instanceId.empty()) return identity;
    for (const auto& entry : kTypeTable) {
        if (MatchHardwareId(instanceId, entry.pattern)) {
            identity.typeCode = entry.typeCode;
            break;
        }
    }
    identity.colorType = MatchesAny(instanceId, kColorTable) ? 1 : 0;
    identity.modelFlag = MatchesAny(instanceId, kModelFlagTable) ? 1 : 0;
    return identity;
}

}  // namespace kq
