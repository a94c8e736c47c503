#pragma once
// Where a simulated-camera build finds the simulated cameras' INI file
// (KQSimCam.ini). Linked into each such DLL, so "this DLL" is the one that
// links it.

#include <windows.h>

#include <filesystem>

namespace kq::simcam {

// The module this code was linked into.
HMODULE ThisModule();
// KQSIM_CONFIG when set and not empty, else KQSimCam.ini beside this DLL.
std::filesystem::path StartupConfigPath();

}  // namespace kq::simcam
