// kqge::Library() of the product: the adapters' capture driver through the
// handles the adapter service gives. The stand-in build links
// standin/win32/kqge_standin_library.cpp instead.

#include <memory>

#include "kqge_library.h"
#include "win32_driver_port.h"

namespace kqge {

GigELibrary& Library() {
    static GigELibrary& library = KeepForTheProcess(*std::make_unique<Win32DriverPorts>().release());
    return library;
}

}  // namespace kqge
