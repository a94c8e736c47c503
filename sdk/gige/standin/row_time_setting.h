#pragma once
// The pace of the stand-in build's simulated cameras, read from the
// simulated cameras' INI file (KQSimCam.ini, which the simulated-camera
// build of KQCMOSu.dll reads too):
//
//   [GigE]
//   RowTime=32   ; microseconds to read one sensor row; 0: frames at once
//
// Missing, not a number or above 100000: SimulatedCamera::kDefaultRowTime,
// as is a file that cannot be read.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>

namespace kqge::standin {

std::chrono::microseconds ParseRowTimeSetting(std::span<const std::uint8_t> iniBytes);
std::chrono::microseconds ReadRowTimeSetting(const std::filesystem::path& path);

}  // namespace kqge::standin
