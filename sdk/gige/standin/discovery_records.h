// Discovery records as simulated cameras announce themselves to the driver
// stand-in: one per model name, camera i with MAC 02-00-00-00-00-i and IP
// 192.168.1.(100 + i). The names cover every model the library knows and
// one it does not.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kqge::standin {

inline constexpr std::array<std::string_view, 16> kSimulatedModelNames = {
    "Gige-CMOSDorisk", "Gige-CMOSNavelo", "Gige-Sabrel", "Gige-Parsun",     "Gige-Wendik",     "Gige-Dwinel",
    "Gige-Ragnot",     "Gige-Lunvik",     "Gige-Ostrel", "Gige-CMOSAlvino", "Gige-CMOSEbrant", "Gige-CMOSUlmora",
    "Gige-CMOSJorvel", "Gige-Hobrin",     "Gige-Ivrose", "Gige-Unlisted"};

// Names longer than the 32-byte field are cut to it.
std::vector<std::uint8_t> DiscoveryListFor(std::span<const std::string_view> modelNames);

}  // namespace kqge::standin
