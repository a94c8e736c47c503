// The capture sizes, limits and settings key chosen per reported type.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resolution_table.h"

namespace twain {
namespace {

struct Row {
    std::int32_t type;
    ModelLimits limits;
    std::vector<std::string> names;
    std::string key;
};

std::vector<std::string> Names(const ModelProfile& p) {
    std::vector<std::string> out;
    for (const ResolutionEntry& e : p.resolutions) {
        out.emplace_back(e.name);
        // The name says the entry's own size.
        EXPECT_EQ(std::string(e.name), std::to_string(e.width) + " * " + std::to_string(e.height));
    }
    return out;
}

const std::vector<std::string> kFour{"640 * 480", "800 * 600", "1024 * 768", "1280 * 1024"};
const std::vector<std::string> kSix{"640 * 480",   "800 * 600",   "1024 * 768",
                                    "1280 * 1024", "1600 * 1200", "2048 * 1536"};
const std::string kTarvo = "Software\\KQTarvo_CMOS_TW\\CAPINFO";
const std::string kBelun = "Software\\KQBelun_CMOS_TW\\CAPINFO";
const std::string kOther = "Software\\KQ_CMOS_TW\\CAPINFO";

TEST(ResolutionTable, EveryReportedTypeGetsItsSizesLimitsAndKey) {
    const Row rows[] = {
        {1, {1280, 1024, 5000, 63}, kFour, kTarvo},
        {3, {1280, 1024, 5000, 63}, kFour, kTarvo},
        {9, {1280, 1024, 5000, 63}, kFour, kTarvo},
        {12, {1280, 1024, 10000, 63}, kFour, kTarvo},
        {13, {1280, 1024, 10000, 63}, kFour, kTarvo},
        {2, {2048, 1536, 5000, 63}, kSix, kBelun},
        {5, {2048, 1536, 5000, 63}, kSix, kBelun},
        {11, {2048, 1536, 10000, 63}, kSix, kBelun},
        {4,
         {1600, 1200, 255, 255},
         {"640 * 480", "800 * 600", "1024 * 768", "1280 * 1024", "1600 * 1200"},
         "Software\\KQOrsik_CMOS_TW\\CAPINFO"},
        {6,
         {2592, 1944, 5000, 63},
         {"640 * 480", "800 * 600", "1024 * 768", "1280 * 1024", "1600 * 1200", "2048 * 1536", "2592 * 1944"},
         "Software\\KQPelvar_CMOS_TW\\CAPINFO"},
        {7, {3488, 2560, 5000, 63}, {"872 * 640", "1744 * 1280", "3488 * 2560"}, "Software\\KQZundra_CMOS_TW\\CAPINFO"},
        {8,
         {2592, 1944, 10000, 63},
         {"640 * 486", "1280 * 972", "1296 * 972", "2560 * 1944", "2592 * 1944"},
         "Software\\KQQuessa_CMOS_TW\\CAPINFO"},
        {10, {752, 480, 5000, 63}, {"752 * 480"}, "Software\\KQDorisk_CMOS_TW\\CAPINFO"},
        {16,
         {1280, 960, 10000, 255},
         {"640 * 480", "800 * 600", "1024 * 768", "1280 * 720", "1280 * 960"},
         "Software\\KQNaprel_CMOS_TW\\CAPINFO"},
        {14, {1280, 1024, 5000, 63}, kFour, kOther},
        {15, {1280, 1024, 5000, 63}, kFour, kOther},
        {17, {1280, 1024, 5000, 63}, kFour, kOther},
        {18, {1280, 1024, 5000, 63}, kFour, kOther},
        {0, {1280, 1024, 5000, 63}, kFour, kOther},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        const ModelProfile p = ProfileForReportedType(row.type);
        EXPECT_EQ(p.limits.maxWidth, row.limits.maxWidth);
        EXPECT_EQ(p.limits.maxHeight, row.limits.maxHeight);
        EXPECT_EQ(p.limits.maxExposure, row.limits.maxExposure);
        EXPECT_EQ(p.limits.maxGain, row.limits.maxGain);
        EXPECT_EQ(Names(p), row.names);
        EXPECT_EQ(std::string(p.registryKey), row.key);
        // The largest entry is the sensor, which sizes the frame buffers.
        EXPECT_EQ(p.resolutions.back().width, p.limits.maxWidth);
        EXPECT_EQ(p.resolutions.back().height, p.limits.maxHeight);
    }
}

TEST(ResolutionTable, Type8KeepsTheFullTableOnlyWhenTheProbeWidthReadsBack) {
    const ModelProfile full = Type8Profile(kType8ProbeWidth);
    EXPECT_EQ(Names(full),
              (std::vector<std::string>{"640 * 486", "1280 * 972", "1296 * 972", "2560 * 1944", "2592 * 1944"}));
    for (const std::int32_t readBack : {2560, 2584, 0}) {
        SCOPED_TRACE(readBack);
        const ModelProfile narrow = Type8Profile(readBack);
        EXPECT_EQ(Names(narrow), (std::vector<std::string>{"640 * 486", "1280 * 972", "2560 * 1944"}));
        EXPECT_EQ(narrow.limits.maxWidth, 2560);
        EXPECT_EQ(narrow.limits.maxHeight, 1944);
        EXPECT_EQ(narrow.limits.maxExposure, 5000);
        EXPECT_EQ(std::string(narrow.registryKey), "Software\\KQQuessa_CMOS_TW\\CAPINFO");
    }
}

}  // namespace
}  // namespace twain
