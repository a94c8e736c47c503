#pragma once
// Where the camera tests find what is built beside them: the test program's
// own folder and the simulated-camera build of KQCMOSu.dll in its "simcam"
// folder.
#include <windows.h>

#include <filesystem>

inline std::filesystem::path TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

inline std::filesystem::path SimulatedCmosPath() { return TestProgramFolder() / L"simcam" / L"KQCMOSu.dll"; }
