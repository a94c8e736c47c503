// Frame side of the FPGA family: the steps of a pixel calibration and the
// names of automatic snapshots.

#include <cstdio>
#include <ctime>

#include "navelo_fpga.h"

namespace kq {
namespace {

std::tm LocalTime(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return local;
}

}  // namespace

void CKQNavelo_FPGA::SendCaptureSettings(const kqcmos::CaptureSettings& settings) {
    capInfo_.exposure = static_cast<std::uint32_t>(settings.exposure);
    capInfo_.columnStart = static_cast<std::uint32_t>(settings.window.columnStart);
    capInfo_.rowStart = static_cast<std::uint32_t>(settings.window.rowStart);
    WriteSensorRegister(ExposureRegister(), ExposureLines());
}

std::filesystem::path CKQNavelo_FPGA::SnapshotStem(std::int32_t number) const {
    if (!autoSavePrefix_.empty()) return BaseDevice::SnapshotStem(number);
    // Seconds alone would repeat within a burst of triggers: the running
    // number follows.
    const std::tm t = LocalTime(std::time(nullptr));
    char name[48];
    std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d%02d_%05d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec, static_cast<int>(number));
    return std::filesystem::path(name);
}

}  // namespace kq
