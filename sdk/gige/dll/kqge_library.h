// The one state of the loaded GigE library, which the exports run over.
// Each build of the DLL links one definition of Library().
#pragma once

#include "gige_library.h"
#include "nic_manager.h"

namespace kqge {

GigELibrary& Library();

// The library over `ports` (kept for the life of the process), the adapter
// service's pipes and the camera classes, with KQGE.ini beside this module.
// The library itself is kept for the life of the process and this module
// pinned: camera and receive threads cannot be joined under the loader lock
// a DLL unloads with, so only KQGE_UnInitialize tears the cameras down.
GigELibrary& KeepForTheProcess(DriverPortSource& ports);

}  // namespace kqge
