#pragma once
// Which cameras the simulated-camera build of KQCMOSu.dll puts on its bus,
// read from an INI file (KQSimCam.ini):
//
//   [Cameras]
//   Count=2              ; cameras present, 0 to 8
//   [Camera1]            ; Camera1 .. CameraN, in the order KQ_Initialize counts them
//   Type=10              ; the type code the library identifies
//   Monochrome=0         ; 1: the type's monochrome variant
//   Width=752            ; sensor size in pixels
//   Height=480
//   Name=Bench camera    ; friendly name
//   BayerPhase=1         ; colour at (0,0) of each 2 x 2 cell: 1 RGGB, 2 GRBG,
//                        ; 3 GBRG, 4 BGGR (kqff::sim::BayerPhase)
//   RowTime=32           ; microseconds to read one sensor row; a frame takes
//                        ; the longer of its rows and its exposure lines at
//                        ; that time. 0: frames as fast as they are read.
//
// The type code is mapped back to an instance id through the library's own
// identification table, so the library opens the camera as that model.
// Each camera streams the moving scene (ccd_driver/sim/scene_picture.h),
// mosaicked with its Bayer phase, or in grey when it is monochrome.
// Nothing here fails: each bad or missing value has a fallback.
// - Count missing, not a number or outside 0..8: 1.
// - Type missing or without a camera in the table (0, 23, 26, ...): 10.
// - Monochrome other than 0 or 1: 0. A type with no variant of the wanted
//   colour keeps its only one (type 25 is always monochrome).
// - Width or Height missing, not a number or outside 1..65535: the model's
//   sensor size. A window larger than the sensor is read out at the
//   sensor's size, so its frames come short and the library drops them.
// - RowTime missing, not a number or above 100000: 32 (a 480-row window
//   at about 60 frames a second, a 1944-row one at about 16).
// - Name missing or empty: "Simulated camera N"; longer than 255
//   characters: cut there.
// - BayerPhase missing or outside 1..4: the phase the library assumes for
//   the model in the colour mode and flip mode it opens every model with
//   (0 and 0): 2 for types 6 and 22, 3 for the colour camera of type 10,
//   else 1; so a camera shows its true colours unless the file says otherwise.
// Without a file the bus holds one colour camera, type 10.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "scene_picture.h"

namespace kq::simcam {

inline constexpr kqff::sim::BayerPhase kDefaultBayerPhase = kqff::sim::BayerPhase::Rggb;
inline constexpr std::chrono::microseconds kDefaultRowTime{32};

struct SimulatedCamera {
    std::int32_t typeCode = 0;
    bool monochrome = false;
    std::uint16_t sensorWidth = 0;
    std::uint16_t sensorHeight = 0;
    std::u16string friendlyName;
    kqff::sim::BayerPhase bayerPhase = kDefaultBayerPhase;
    std::chrono::microseconds rowTime = kDefaultRowTime;
    // Derived from the type code and colour through the identification table.
    std::u16string instanceId;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

constexpr int kMaxSimulatedCameras = 8;
constexpr std::int32_t kDefaultTypeCode = 10;

std::vector<SimulatedCamera> ParseSimulatedCameras(std::span<const std::uint8_t> iniBytes);
std::vector<SimulatedCamera> DefaultSimulatedCameras();
// The cameras of the file at path; nothing when it cannot be read.
std::optional<std::vector<SimulatedCamera>> ReadSimulatedCameraFile(const std::filesystem::path& path);

}  // namespace kq::simcam
