// The stand-in cameras' pace as the simulated cameras' INI file sets it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "row_time_setting.h"
#include "simulated_camera.h"

namespace kqge {
namespace {

using std::chrono::microseconds;

std::chrono::microseconds Parse(std::string_view text) {
    return standin::ParseRowTimeSetting(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(RowTimeSetting, TheGigESectionsRowTimeOrTheDefault) {
    const microseconds fallback = standin::SimulatedCamera::kDefaultRowTime;
    struct Case {
        std::string_view text;
        microseconds rowTime;
    };
    const Case cases[] = {
        {"[GigE]\nRowTime=0\n", microseconds(0)},
        {"[gige]\nrowtime = 75\n", microseconds(75)},
        {"[GigE]\nRowTime=100000\n", microseconds(100000)},
        {"[GigE]\nRowTime=100001\n", fallback},
        {"[GigE]\nRowTime=-5\n", fallback},
        {"[GigE]\nRowTime=2.5\n", fallback},
        {"[GigE]\nRowTime=\n", fallback},
        // A USB camera's row time is its own.
        {"[Camera1]\nRowTime=7\n", fallback},
        {"", fallback},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(Parse(c.text), c.rowTime);
    }
}

TEST(RowTimeSetting, AFileIsReadAndAMissingOneGivesTheDefault) {
    const auto folder = std::filesystem::path(testing::TempDir()) / "row_time_setting";
    std::filesystem::create_directories(folder);
    const auto file = folder / "KQSimCam.ini";
    std::ofstream(file, std::ios::binary) << "[Cameras]\nCount=1\n[GigE]\nRowTime=250\n";
    EXPECT_EQ(standin::ReadRowTimeSetting(file), microseconds(250));
    EXPECT_EQ(standin::ReadRowTimeSetting(folder / "missing.ini"), standin::SimulatedCamera::kDefaultRowTime);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kqge
