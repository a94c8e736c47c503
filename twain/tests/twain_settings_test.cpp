// Loading and saving the per-model settings through a store.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "saved_value_names.h"
#include "twain_settings.h"

namespace twain {
namespace {

class MapStore final : public SettingsStore {
public:
    std::optional<std::int32_t> Read(std::string_view name) const override {
        const auto at = values.find(std::string(name));
        if (at == values.end()) return std::nullopt;
        return at->second;
    }
    void Write(std::string_view name, std::int32_t value) override { values[std::string(name)] = value; }

    std::map<std::string, std::int32_t> values;
};

TEST(TwainSettings, AnEmptyStoreLeavesTheDefaults) {
    const MapStore store;
    TwainSettings s;
    s.exposure = -1;  // proves the load does not touch what the store lacks
    LoadSettings(store, s);
    EXPECT_EQ(s.exposure, -1);
    const TwainSettings defaults;
    EXPECT_EQ(defaults.hOffset[2], 215);
    EXPECT_EQ(defaults.vOffset[7], 116);
    EXPECT_EQ(defaults.redGain, 32);
    EXPECT_EQ(defaults.whiteBlue, 500);
    EXPECT_EQ(defaults.exposure, 100);
    EXPECT_EQ(defaults.zoomMode, 1);
    EXPECT_EQ(defaults.sizeMode, 5);
    EXPECT_EQ(defaults.gamma, 1);
    EXPECT_EQ(defaults.gammaValue, 16);
    EXPECT_EQ(defaults.hdr, 1);
    EXPECT_EQ(defaults.subPixel, 1);
    EXPECT_EQ(defaults.outputBits, 24);
}

TEST(TwainSettings, SavedValuesLoadBackAndEveryNameIsWritten) {
    TwainSettings changed;
    std::int32_t next = 1;
    for (auto& v : changed.hOffset) v = next++;
    for (auto& v : changed.vOffset) v = next++;
    for (std::int32_t* v :
         {&changed.redGain,     &changed.greenGain, &changed.blueGain,   &changed.whiteRed,      &changed.whiteGreen,
          &changed.whiteBlue,   &changed.exposure,  &changed.endian,     &changed.zoomMode,      &changed.clearView,
          &changed.sharpView,   &changed.conAe,     &changed.sizeMode,   &changed.sensitiveMode, &changed.bw,
          &changed.colorAdjust, &changed.gamma,     &changed.gammaValue, &changed.winMode,       &changed.upDownRev,
          &changed.hdr,         &changed.xwj}) {
        *v = next++;
    }
    changed.subPixel = 4;
    changed.subSample = 1;
    MapStore store;
    SaveSettings(changed, store);
    for (const char* name : test::kSavedValueNames) {
        SCOPED_TRACE(name);
        EXPECT_EQ(store.values.count(name), 1u);
    }
    EXPECT_EQ(store.values.size(), std::size(test::kSavedValueNames));
    EXPECT_EQ(store.values["HOffset1024"], 5);
    EXPECT_EQ(store.values["VOffset240"], 9);
    EXPECT_EQ(store.values["SubPixel"], 4);
    EXPECT_EQ(store.values["SubSample"], 1);

    TwainSettings loaded;
    LoadSettings(store, loaded);
    EXPECT_EQ(loaded.hOffset, changed.hOffset);
    EXPECT_EQ(loaded.vOffset, changed.vOffset);
    EXPECT_EQ(loaded.whiteGreen, changed.whiteGreen);
    EXPECT_EQ(loaded.exposure, changed.exposure);
    EXPECT_EQ(loaded.xwj, changed.xwj);
    EXPECT_EQ(loaded.hdr, changed.hdr);
    EXPECT_EQ(loaded.redGain, changed.redGain);
    // Skipping is never read back: a camera opens without it.
    EXPECT_EQ(loaded.subPixel, 1);
    EXPECT_EQ(loaded.subSample, 0);
}

TEST(TwainSettings, GainValuesKeepOnlyTheirLowByte) {
    struct Case {
        std::int32_t stored, kept;
    };
    for (const Case c : {Case{0x120, 0x20}, Case{-1, 0xFF}, Case{63, 63}}) {
        SCOPED_TRACE(c.stored);
        MapStore store;
        store.values = {{"RedGain", c.stored}, {"GreenGain", c.stored}, {"BlueGain", c.stored}, {"U_R", c.stored}};
        TwainSettings s;
        LoadSettings(store, s);
        EXPECT_EQ(s.redGain, c.kept);
        EXPECT_EQ(s.greenGain, c.kept);
        EXPECT_EQ(s.blueGain, c.kept);
        EXPECT_EQ(s.whiteRed, c.stored);  // white balance is a whole value
    }
}

}  // namespace
}  // namespace twain
