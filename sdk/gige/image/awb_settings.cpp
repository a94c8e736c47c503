#include "awb_settings.h"

#include <limits>

#include "simcam/ini_text.h"

namespace kqge {

std::u16string AwbSectionName(std::uint32_t modelCode) {
    std::u16string_view prefix;
    switch (modelCode) {
    case 0x14000: prefix = u"Parsun_"; break;
    case 0x140B0: prefix = u"Lunvik_"; break;
    case 0x20000: prefix = u"Sabrel_"; break;
    case 0x400B0: prefix = u"Dwinel_"; break;
    case 0x50000: prefix = u"Hobrin_"; break;
    case 0x10003600: prefix = u"CMOSAlvino_"; break;
    case 0x10030000: prefix = u"CMOSNavelo_"; break;
    case 0x10050000: prefix = u"CMOSEbrant_"; break;
    default: break;
    }
    return std::u16string(prefix) + u"AWB";
}

std::int32_t ProfileInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(kLimit, value * 10 + (text[i] - u'0'));
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

AwbGains ReadAwbGains(const kq::simcam::IniText& file, std::u16string_view section) {
    auto read = [&](std::u16string_view key) {
        const auto value = file.Value(section, key);
        return value ? ProfileInt(*value) : 1;
    };
    return {read(kRedGainKey), read(kGreenGainKey), read(kBlueGainKey)};
}

}  // namespace kqge
