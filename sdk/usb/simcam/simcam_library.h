#pragma once
// The simulated-camera build's one set of cameras and the configuration
// file it starts from.

#include <filesystem>

#include "sim_config_path.h"
#include "simulated_cameras.h"

namespace kq::simcam {

SimulatedCameras& Cameras();
// The cameras of that file, or the default set when it cannot be read.
std::vector<SimulatedCamera> StartupCameras();
// While set, the message window's registration for device broadcasts fails.
void FailNoticeRegistration(bool fail);

}  // namespace kq::simcam
