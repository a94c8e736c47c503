// kqge::Library() of the stand-in build, never shipped: the adapters the
// adapter service stand-in lists are simulated, each a loopback driver with
// a simulated camera behind it, paced by the row time KQSimCam.ini gives
// (row_time_setting.h). The product's dll/kqge_product_library.cpp puts the
// library over the capture driver instead.

#include <memory>

#include "kqge_library.h"
#include "row_time_setting.h"
#include "sim_config_path.h"
#include "simulated_adapters.h"

namespace kqge {

GigELibrary& Library() {
    static GigELibrary& library = KeepForTheProcess(*std::make_unique<standin::SimulatedAdapters>(
                                                     standin::ReadRowTimeSetting(kq::simcam::StartupConfigPath()))
                                                     .release());
    return library;
}

}  // namespace kqge
