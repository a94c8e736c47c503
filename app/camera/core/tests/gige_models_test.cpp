// The GigE models by model code, and what the discovery record tells.
#include <gtest/gtest.h>

#include <string>

#include "gige_models.h"
#include "labelled_size_check.h"

namespace {

TEST(GigeModels, RowsByModelCode) {
    using enum GigeColourKind;
    struct Case {
        std::uint32_t code;
        const wchar_t* name;
        const wchar_t* key;
        std::wstring labels;
        GigeColourKind kind;
        ExposureRange range;
        bool cmos;
    };
    const std::wstring cmos5 = L"2592 * 1944|2048 * 1536|1600 * 1200|1024 * 768|800 * 600";
    const Case cases[] = {
        {0x100B1, L"KQGE_Wendik", L"GIGE_CCD_M", L"1024 * 1024", mono, {30, 900000}, false},
        {0x14000, L"KQGE_Parsun", L"GIGE_CCD_C", L"1360 * 1024", colour, {75, 1000000}, false},
        {0x14001, L"KQGE_Ostrel", L"GIGE_CCD_M", L"1360 * 1024", mono, {75, 1000000}, false},
        {0x140B0, L"KQGE_Lunvik", L"GIGE_CCD_C", L"1360 * 1024", colour16, {75, 1000000}, false},
        {0x140B1, L"KQGE_Ragnot", L"GIGE_CCD_M", L"1360 * 1024", mono16, {75, 1000000}, false},
        {0x20000, L"KQGE_Sabrel", L"GIGE_CCD_C", L"1600 * 1200|800 * 600", colour, {58, 1000000}, false},
        {0x400B0, L"KQGE_Dwinel", L"GIGE_Dwinel", L"2336 * 1752", colour, {64, 1000000}, false},
        {0x50000, L"KQGE_Hobrin", L"GIGE_Hobrin", L"2448 * 2050", colour, {32, 1000000}, false},
        {0x20100B1, L"KQGE_Ivrose", L"GIGE_CCD_M", L"1024 * 1024", mono, {16, 500000}, false},
        {0x10003600,
         L"KQGE_CMOS_Alvino",
         L"GIGE_CMOS_C",
         L"752 * 480|640 * 480|640 * 300",
         colour,
         {100, 1000000},
         true},
        {0x10003601, L"KQGE_CMOS_Dorisk", L"GIGE_CMOS_M", L"752 * 480|640 * 480|640 * 300", mono, {100, 1000000}, true},
        {0x10013001,
         L"KQGE_CMOS_Jorvel",
         L"GIGE_CMOS_C",
         L"1280 * 1024|1024 * 768|800 * 600",
         mono,
         {32, 1000000},
         true},
        {0x10030000,
         L"KQGE_CMOS_Navelo",
         L"GIGE_CMOS_C",
         L"2048 * 1536|1600 * 1200|1024 * 768|800 * 600",
         colour,
         {54, 1000000},
         true},
        {0x10050000, L"KQGE_CMOS_Ebrant", L"GIGE_CMOS_C", cmos5, colour, {65, 1000000}, true},
        {0x10050001, L"KQGE_CMOS_Ulmora", L"GIGE_CMOS_M", cmos5, mono, {65, 1000000}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code));
        const auto model = GigeModelOfCode(c.code);
        ASSERT_TRUE(model.has_value());
        EXPECT_EQ(GigeDeviceListName(c.code), c.name);
        EXPECT_EQ(GigeSettingsKey(c.code), c.key);
        EXPECT_EQ(JoinLabels(model->resolutions), c.labels);
        ExpectLabelsNameSizesLargestFirst(model->resolutions);
        EXPECT_EQ(model->colourKind, c.kind);
        EXPECT_EQ(model->exposureRange, c.range);
        EXPECT_EQ(model->cmos, c.cmos);
    }
}

TEST(GigeModels, CodesOutsideTheTableAreUnknown) {
    for (std::uint32_t code : {0u, 0x14002u, 0x10013000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(std::to_string(code));
        EXPECT_FALSE(GigeModelOfCode(code).has_value());
        EXPECT_EQ(GigeDeviceListName(code), L"KQGE_UNKNOW");
        EXPECT_EQ(GigeSettingsKey(code), L"default");
    }
}

TEST(GigeModels, OnlyTheMonochromeCcdModelsRefuseARedGain) {
    for (std::uint32_t code : {0x100B1u, 0x14001u, 0x140B1u, 0x20100B1u}) {
        EXPECT_TRUE(GigeRefusesRedGain(code)) << code;
    }
    for (std::uint32_t code : {0x14000u, 0x140B0u, 0x10003601u, 0x10013001u, 0u}) {
        EXPECT_FALSE(GigeRefusesRedGain(code)) << code;
    }
}

TEST(GigeDiscoveryRecord, IpAddressInNetworkOrder) {
    GigeDiscoveryRecord record{};
    record[35] = 9;  // neighbours stay out of the text
    record[36] = 192;
    record[37] = 168;
    record[38] = 0;
    record[39] = 255;
    record[40] = 7;
    EXPECT_EQ(GigeIpText(record), L"192.168.0.255");
    EXPECT_EQ(GigeIpText(GigeDiscoveryRecord{}), L"0.0.0.0");
}

TEST(GigeDiscoveryRecord, LateSensorByTheEighthVersionCharacter) {
    struct Case {
        std::uint8_t character;
        bool late;
    };
    const Case cases[] = {{'4', false}, {'5', true}, {'9', true}, {'0', false}, {0, false}};
    for (const Case& c : cases) {
        GigeDiscoveryRecord record{};
        record[143] = c.character;
        record[142] = '9';  // the seventh character counts for nothing
        EXPECT_EQ(GigeHasLateSensor(record), c.late) << int(c.character);
    }
}

}  // namespace
