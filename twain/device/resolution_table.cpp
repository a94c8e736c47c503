#include "resolution_table.h"

#include <array>

namespace twain {
namespace {

constexpr ResolutionEntry kVga{"640 * 480", 640, 480};
constexpr ResolutionEntry kSvga{"800 * 600", 800, 600};
constexpr ResolutionEntry kXga{"1024 * 768", 1024, 768};
constexpr ResolutionEntry kSxga{"1280 * 1024", 1280, 1024};
constexpr ResolutionEntry kUxga{"1600 * 1200", 1600, 1200};
constexpr ResolutionEntry kQxga{"2048 * 1536", 2048, 1536};
constexpr ResolutionEntry kFiveMega{"2592 * 1944", 2592, 1944};

constexpr std::array kFour{kVga, kSvga, kXga, kSxga};
constexpr std::array kSix{kVga, kSvga, kXga, kSxga, kUxga, kQxga};
constexpr std::array kFive{kVga, kSvga, kXga, kSxga, kUxga};
constexpr std::array kSeven{kVga, kSvga, kXga, kSxga, kUxga, kQxga, kFiveMega};
constexpr std::array kZundra{ResolutionEntry{"872 * 640", 872, 640}, ResolutionEntry{"1744 * 1280", 1744, 1280},
                             ResolutionEntry{"3488 * 2560", 3488, 2560}};
constexpr std::array kQuessa{ResolutionEntry{"640 * 486", 640, 486}, ResolutionEntry{"1280 * 972", 1280, 972},
                             ResolutionEntry{"1296 * 972", 1296, 972}, ResolutionEntry{"2560 * 1944", 2560, 1944},
                             kFiveMega};
constexpr std::array kQuessaNarrow{ResolutionEntry{"640 * 486", 640, 486}, ResolutionEntry{"1280 * 972", 1280, 972},
                                   ResolutionEntry{"2560 * 1944", 2560, 1944}};
constexpr std::array kDorisk{ResolutionEntry{"752 * 480", 752, 480}};
constexpr std::array kNaprel{kVga, kSvga, kXga, ResolutionEntry{"1280 * 720", 1280, 720},
                             ResolutionEntry{"1280 * 960", 1280, 960}};

constexpr const char* kTarvoKey = "Software\\KQTarvo_CMOS_TW\\CAPINFO";
constexpr const char* kBelunKey = "Software\\KQBelun_CMOS_TW\\CAPINFO";

}  // namespace

ModelProfile ProfileForReportedType(std::int32_t reportedType) {
    switch (reportedType) {
    case 1:
    case 3:
    case 9: return {{1280, 1024, 5000, 63}, kFour, kTarvoKey};
    case 12:
    case 13: return {{1280, 1024, 10000, 63}, kFour, kTarvoKey};
    case 2:
    case 5: return {{2048, 1536, 5000, 63}, kSix, kBelunKey};
    case 11: return {{2048, 1536, 10000, 63}, kSix, kBelunKey};
    case 4: return {{1600, 1200, 255, 255}, kFive, "Software\\KQOrsik_CMOS_TW\\CAPINFO"};
    case 6: return {{2592, 1944, 5000, 63}, kSeven, "Software\\KQPelvar_CMOS_TW\\CAPINFO"};
    case 7: return {{3488, 2560, 5000, 63}, kZundra, "Software\\KQZundra_CMOS_TW\\CAPINFO"};
    case 8: return Type8Profile(kType8ProbeWidth);
    case 10: return {{752, 480, 5000, 63}, kDorisk, "Software\\KQDorisk_CMOS_TW\\CAPINFO"};
    case 16: return {{1280, 960, 10000, 255}, kNaprel, "Software\\KQNaprel_CMOS_TW\\CAPINFO"};
    default: return {{1280, 1024, 5000, 63}, kFour, "Software\\KQ_CMOS_TW\\CAPINFO"};
    }
}

ModelProfile Type8Profile(std::int32_t readBackWidth) {
    constexpr const char* kQuessaKey = "Software\\KQQuessa_CMOS_TW\\CAPINFO";
    if (readBackWidth == kType8ProbeWidth) return {{2592, 1944, 10000, 63}, kQuessa, kQuessaKey};
    return {{2560, 1944, 5000, 63}, kQuessaNarrow, kQuessaKey};
}

}  // namespace twain
