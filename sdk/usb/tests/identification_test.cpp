#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "core/device_class.h"
#include "core/device_identification.h"
#include "kqff_protocol.h"
#include "sim_fixture.h"

namespace kq {
namespace {

std::map<int, int> CountByType(std::span<const std::u16string_view> patterns) {
    std::map<int, int> counts;
    for (auto p : patterns) {
        const auto it = std::find_if(DeviceTypeTable().begin(), DeviceTypeTable().end(),
                                     [&](const TypePattern& t) { return t.pattern == p; });
        counts[it == DeviceTypeTable().end() ? 0 : it->typeCode]++;
    }
    return counts;
}

bool IsHardwarePattern(std::u16string_view p) {
    auto hex = [](char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); };
    return p.size() == 17 && p.substr(0, 4) == u"VID_" && p.substr(8, 5) == u"&PID_" &&
           std::all_of(p.begin() + 4, p.begin() + 8, hex) && std::all_of(p.begin() + 13, p.end(), hex);
}

TEST(DeviceTables, TypeTableHasTheBoundStructure) {
    const auto table = DeviceTypeTable();
    ASSERT_EQ(table.size(), 56u);
    std::map<int, int> perType;
    std::set<std::u16string_view> distinct;
    for (const auto& entry : table) {
        EXPECT_TRUE(IsHardwarePattern(entry.pattern));
        perType[entry.typeCode]++;
        distinct.insert(entry.pattern);
    }
    EXPECT_EQ(distinct.size(), table.size());
    const std::map<int, int> expected{{1, 2},  {2, 3},  {3, 8},  {4, 1},  {5, 8},  {6, 7},  {7, 2},  {8, 2},
                                      {9, 2},  {10, 4}, {11, 1}, {12, 1}, {13, 1}, {14, 1}, {15, 1}, {16, 1},
                                      {17, 1}, {18, 1}, {19, 1}, {20, 1}, {21, 2}, {22, 2}, {24, 2}, {25, 1}};
    EXPECT_EQ(perType, expected);  // no pattern yields 23
}

TEST(DeviceTables, MonochromeAndModelFlagTablesCoverTheirTypes) {
    for (auto p : DeviceColorTable()) EXPECT_TRUE(IsHardwarePattern(p));
    const std::map<int, int> mono{{0, 2},  {1, 1},  {3, 3},  {6, 3},  {8, 1},  {9, 1}, {10, 2},
                                  {13, 1}, {20, 1}, {21, 1}, {22, 1}, {24, 1}, {25, 1}};
    EXPECT_EQ(DeviceColorTable().size(), 19u);
    EXPECT_EQ(CountByType(DeviceColorTable()), mono);
    const std::map<int, int> flag{{3, 1}, {5, 1}, {6, 2}, {10, 2}, {19, 1}, {20, 1}, {21, 2}};
    EXPECT_EQ(DeviceModelFlagTable().size(), 10u);
    EXPECT_EQ(CountByType(DeviceModelFlagTable()), flag);
}

TEST(MatchHardwareId, FindsThePatternAnywhereCaseSensitively) {
    const std::u16string_view pattern = u"VID_F5A1&PID_0A01";
    EXPECT_EQ(MatchHardwareId(u"USB\\VID_F5A1&PID_0A01\\5&1A2B3C&0&2", pattern), 1);
    EXPECT_EQ(MatchHardwareId(u"VID_F5A1&PID_0A01", pattern), 1);
    EXPECT_EQ(MatchHardwareId(u"USB\\vid_f5a1&pid_0a01\\1", pattern), 0);
    EXPECT_EQ(MatchHardwareId(u"USB\\VID_F5A1&PID_0A0", pattern), 0);  // cut short at the end
    EXPECT_EQ(MatchHardwareId(u"", pattern), 0);
}

struct IdentityCase {
    std::u16string_view id;
    DeviceIdentity expected;
};

TEST(IdentifyInstanceId, ReadsTypeColourAndFlagFromOneId) {
    const IdentityCase cases[] = {
        {u"USB\\VID_F5A1&PID_0A01\\1", {10, 0, 0}},
        {u"USB\\VID_F5A1&PID_0A04\\1", {10, 1, 1}},
        {u"USB\\VID_F6B1&PID_1001\\1", {1, 0, 0}},   // outside vendor of an old model
        {u"USB\\VID_FFF0&PID_0018\\1", {18, 0, 0}},  // test camera
        {u"USB\\VID_F5A2&PID_1502\\1", {21, 1, 1}},
        {u"USB\\VID_F5A1&PID_1F01\\1", {0, 1, 0}},  // monochrome but no type: no camera
        {u"USB\\VID_1234&PID_5678\\1", {0, 0, 0}},
        {u"", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const DeviceIdentity got = IdentifyInstanceId(c.id);
        EXPECT_EQ(got.typeCode, c.expected.typeCode) << std::string(c.id.begin(), c.id.end());
        EXPECT_EQ(got.colorType, c.expected.colorType) << std::string(c.id.begin(), c.id.end());
        EXPECT_EQ(got.modelFlag, c.expected.modelFlag) << std::string(c.id.begin(), c.id.end());
    }
}

TEST(DeviceClassChoice, FollowsTheTypeTable) {
    EXPECT_EQ(ChooseDeviceClass(10, 1), DeviceClass::CKQDoriskDevice);
    EXPECT_EQ(ChooseDeviceClass(10, 0), DeviceClass::CKQAlvinoDevice);
    EXPECT_EQ(ChooseDeviceClass(10, 2), DeviceClass::CBaseDevice);
    EXPECT_EQ(ChooseDeviceClass(0, 0), DeviceClass::none);
    EXPECT_EQ(ChooseDeviceClass(2, 1), DeviceClass::CFormerDevice);
    EXPECT_EQ(ChooseDeviceClass(3, 0), DeviceClass::CBaseDevice);
    EXPECT_EQ(ChooseDeviceClass(5, 1), DeviceClass::CBaseDevice);
    EXPECT_EQ(ChooseDeviceClass(23, 0), DeviceClass::CKQGurnipDevice);
    EXPECT_EQ(ChooseDeviceClass(26, 0), DeviceClass::CBaseDevice);
    EXPECT_EQ(DeviceClassName(ChooseDeviceClass(18, 0)), "CKQTEST");
}

TEST(ReportedDeviceType, NewerModelsReportTheModelTheyReplace) {
    const std::pair<int, int> cases[] = {{19, 11}, {20, 13}, {21, 8},  {24, 8}, {25, 8},
                                         {22, 6},  {23, 6},  {12, 12}, {1, 1},  {18, 18}};
    for (auto [stored, reported] : cases) EXPECT_EQ(ReportedDeviceType(stored), reported) << stored;
}

// The products whose frames the driver sizes by its width table on the
// maker's vendor id are cameras the library knows, colour and monochrome as
// their names say.
TEST(DriverModels, DriverTableProductsAreKnownModels) {
    struct Case {
        std::uint16_t productId;
        std::int32_t colorType;
    };
    const Case cases[] = {
        {kqff::kTableProductIds[0], 0},  // Quessa colour
        {kqff::kTableProductIds[1], 1},  // Quessa mono
        {kqff::kTableProductIds[2], 0},  // Zundra
    };
    static_assert(std::size(kqff::kTableProductIds) == std::size(cases));
    for (const Case& c : cases) {
        const DeviceIdentity identity = IdentifyInstanceId(test::UsbInstanceId(kqff::kMakerVendorIds[0], c.productId));
        EXPECT_NE(identity.typeCode, 0) << "product " << c.productId;
        EXPECT_EQ(identity.colorType, c.colorType) << "product " << c.productId;
    }
}

// Every model pattern names a vendor the driver knows as the maker's, or one
// of the outside vendors whose cameras always use the width table.
TEST(DriverModels, TypeTableVendorsAreMakerOrOutside) {
    static_assert(std::size(kqff::kMakerVendorIds) == 2);
    int maker = 0;
    for (const TypePattern& entry : DeviceTypeTable()) {
        const std::u16string_view vid = entry.pattern.substr(4, 4);
        for (std::uint16_t v : kqff::kMakerVendorIds) maker += vid == test::Hex4(v) ? 1 : 0;
    }
    // All but the three outside-vendor patterns and the test camera.
    EXPECT_EQ(maker, static_cast<int>(DeviceTypeTable().size()) - 4);
}

}  // namespace
}  // namespace kq
