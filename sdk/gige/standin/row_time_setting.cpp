#include "row_time_setting.h"

#include "simcam/ini_text.h"
#include "simulated_camera.h"

namespace kqge::standin {

std::chrono::microseconds ParseRowTimeSetting(std::span<const std::uint8_t> iniBytes) {
    const auto ini = kq::simcam::IniText::Parse(iniBytes);
    const auto rowTime = kq::simcam::IniNumber(ini.Value(u"GigE", u"RowTime"), 0, 100000);
    return rowTime ? std::chrono::microseconds(*rowTime) : SimulatedCamera::kDefaultRowTime;
}

std::chrono::microseconds ReadRowTimeSetting(const std::filesystem::path& path) {
    const auto bytes = kq::simcam::ReadIniBytes(path);
    return bytes ? ParseRowTimeSetting(*bytes) : SimulatedCamera::kDefaultRowTime;
}

}  // namespace kqge::standin
