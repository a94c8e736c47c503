// KQGE.ini as text: the section of each model and the gains the profile
// functions would read from a value's text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "awb_settings.h"
#include "simcam/ini_text.h"

namespace kqge {
namespace {

TEST(AwbSection, NamedModelsAndTheRest) {
    const std::pair<std::uint32_t, std::u16string> cases[] = {
        {0x14000, u"Parsun_AWB"},
        {0x140B0, u"Lunvik_AWB"},
        {0x20000, u"Sabrel_AWB"},
        {0x400B0, u"Dwinel_AWB"},
        {0x50000, u"Hobrin_AWB"},
        {0x10003600, u"CMOSAlvino_AWB"},
        {0x10030000, u"CMOSNavelo_AWB"},
        {0x10050000, u"CMOSEbrant_AWB"},
        {0x10003601, u"AWB"},
        {0, u"AWB"},
        {0x14001, u"AWB"},
    };
    for (const auto& [model, section] : cases) EXPECT_EQ(AwbSectionName(model), section) << std::hex << model;
}

TEST(ProfileIntText, LeadingDecimalNumber) {
    const std::pair<std::u16string, std::int32_t> cases[] = {
        {u"120", 120},
        {u"  42", 42},
        {u"-3", -3},
        {u"+9", 9},
        {u"7x", 7},
        {u"abc", 0},
        {u"", 0},
        {u"-", 0},
        {u"0x10", 0},
        {u"99999999999", 2147483647},
        {u"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ProfileInt(text), value) << std::string(text.begin(), text.end());
    }
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(AwbGainsFromText, MissingKeysReadOneAndBadTextZero) {
    const auto file = kq::simcam::IniText::Parse(
        Bytes("[AWB]\r\nRValue=9\r\n[Parsun_AWB]\r\nRValue=120\r\nGValue=abc\r\n; BValue=5\r\n"));
    EXPECT_EQ(ReadAwbGains(file, u"Parsun_AWB"), (AwbGains{120, 0, 1}));
    EXPECT_EQ(ReadAwbGains(file, u"AWB"), (AwbGains{9, 1, 1}));
    EXPECT_EQ(ReadAwbGains(file, u"Sabrel_AWB"), (AwbGains{1, 1, 1}));
}

TEST(AwbGainsFromText, WideFileAsTheProfileFunctionsWriteIt) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : std::u16string(u"[Lunvik_AWB]\r\nRValue=3\r\nGValue=4\r\nBValue=5\r\n")) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    EXPECT_EQ(ReadAwbGains(kq::simcam::IniText::Parse(bytes), AwbSectionName(0x140B0)), (AwbGains{3, 4, 5}));
}

}  // namespace
}  // namespace kqge
