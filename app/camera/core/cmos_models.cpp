#include "cmos_models.h"

namespace {

constexpr ResolutionRecord kSxga[] = {
    {L"1280 * 1024", 1280, 1024}, {L"1024 * 768", 1024, 768}, {L"800 * 600", 800, 600}, {L"640 * 480", 640, 480}};
constexpr ResolutionRecord kQxga[] = {{L"2048 * 1536", 2048, 1536}, {L"1600 * 1200", 1600, 1200},
                                      {L"1280 * 1024", 1280, 1024}, {L"1024 * 768", 1024, 768},
                                      {L"800 * 600", 800, 600},     {L"640 * 480", 640, 480}};
constexpr ResolutionRecord kUxga[] = {{L"1600 * 1200", 1600, 1200},
                                      {L"1280 * 1024", 1280, 1024},
                                      {L"1024 * 768", 1024, 768},
                                      {L"800 * 600", 800, 600},
                                      {L"640 * 480", 640, 480}};
constexpr ResolutionRecord k5Mp[] = {{L"2592 * 1944", 2592, 1944}, {L"2048 * 1536", 2048, 1536},
                                     {L"1600 * 1200", 1600, 1200}, {L"1280 * 1024", 1280, 1024},
                                     {L"1024 * 768", 1024, 768},   {L"800 * 600", 800, 600},
                                     {L"640 * 480", 640, 480}};
constexpr ResolutionRecord k9Mp[] = {
    {L"3488 * 2560", 3488, 2560}, {L"1744 * 1280", 1744, 1280}, {L"872 * 640", 872, 640}};
constexpr ResolutionRecord kType8[] = {{L"2592 * 1944", 2592, 1944}, {L"2560 * 1944", 2560, 1944},
                                       {L"2048 * 1536", 2048, 1536}, {L"1296 * 972", 1296, 972},
                                       {L"1280 * 972", 1280, 972},   {L"640 * 480", 640, 480}};
constexpr ResolutionRecord kType8Narrow[] = {
    {L"2560 * 1944", 2560, 1944}, {L"1280 * 972", 1280, 972}, {L"640 * 486", 640, 486}};
constexpr ResolutionRecord kWvga[] = {{L"752 * 480", 752, 480}};
constexpr ResolutionRecord kType16[] = {{L"1280 * 960", 1280, 960},
                                        {L"1280 * 720", 1280, 720},
                                        {L"1024 * 768", 1024, 768},
                                        {L"800 * 600", 800, 600},
                                        {L"640 * 480", 640, 480}};

constexpr int kLongest = 1000000;

}  // namespace

CmosModel CmosModelOf(int deviceType) {
    switch (deviceType) {
    case 1:
    case 3: return {kSxga, std::array{89, kLongest}, true};
    case 2:
    case 5: return {kQxga, std::array{107, kLongest}};
    case 4: return {kUxga, std::nullopt};
    case 6: return {k5Mp, std::array{54, kLongest}};
    case 7: return {k9Mp, std::array{44, kLongest}, false, 50};
    case 8: return {kType8, std::array{46, kLongest}};
    case 9:
    case 15: return {kSxga, std::array{83, 400000}, true};
    case 10: return {kWvga, std::array{85, 980000}};
    case 11: return {kQxga, std::array{53, kLongest}};
    case 16: return {kType16, std::array{53, kLongest}};
    default: return {kSxga, std::array{91, 290000}, true};
    }
}

std::span<const ResolutionRecord> NarrowType8Resolutions() { return kType8Narrow; }

bool NeedsNarrowType8Table(int deviceType, int requestedWidth, int widthReadBack) {
    return deviceType == kProbedDeviceType && widthReadBack != requestedWidth;
}
