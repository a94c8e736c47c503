// The one state of the loaded GigE library, which the exports run over.
// Each build of the DLL links one definition of Library().
#pragma once

#include "gige_library.h"

namespace kqge {

GigELibrary& Library();

}  // namespace kqge
