#include "ccd_model.h"

namespace {
constexpr LabelledSize kType1[] = {{L"1024 * 768", 1024, 768}};
constexpr LabelledSize kType2[] = {{L"1360 * 1024", 1360, 1024}};
constexpr LabelledSize kType4[] = {{L"2304 * 1712", 2304, 1712}, {L"2304 * 856", 2304, 856}};
constexpr LabelledSize kType5[] = {
    {L"2560 * 1920", 2560, 1920}, {L"1280 * 980", 1280, 980}, {L"1024 * 768", 1024, 768}, {L"640 * 480", 640, 480}};
}  // namespace

CcdModel CcdModelOfType(int deviceType) {
    switch (deviceType) {
    case 1: return {kType1, ExposureRange{71, 1000000}};
    case 2: return {kType2, ExposureRange{75, 1000000}};
    case 4: return {kType4, ExposureRange{111, 1000000}};
    case 5: return {kType5, std::nullopt};
    default: return {kType1, std::nullopt};
    }
}
